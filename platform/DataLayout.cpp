#include "platform/DataLayout.h"

#include "platform/ProgramPath.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef VEMI_DATAROOT_FROM_BIN
#define VEMI_DATAROOT_FROM_BIN "../share"
#endif

namespace {
const QString ProblemFolderName = QStringLiteral("問題");
const QString AppFolderName = QStringLiteral("vemitrainer");
// The learner's guide, rendered from docs/guide.md by the build.
const QString GuideFileName = QStringLiteral("guide.html");

// A relative XDG_CONFIG_HOME or XDG_DATA_HOME counts as unset (the XDG base
// directory rules say so; Qt 6.4 takes it as given): followed, it would put the
// settings wherever the program happened to be started from.
QString userFolder(QStandardPaths::StandardLocation location, const QString &homeDefault)
{
    QString base = QStandardPaths::writableLocation(location);
    if (QDir::isRelativePath(base))
        base = QDir::homePath() + u'/' + homeDefault;
    return base + u'/' + AppFolderName;
}

// <prefix>/share from <prefix>/bin/vemitrainer, found from the executable so a
// package unpacked anywhere works.
QString dataRootOf(const QString &programFile)
{
    return QDir::cleanPath(
        ProgramPath::folderOf(programFile) + QStringLiteral(VEMI_DATAROOT_FROM_BIN));
}

QString shippedFolderUnder(const QString &dataRoot)
{
    return dataRoot + u'/' + AppFolderName;
}
} // namespace

DataLayout DataLayout::forProgram(const QString &programFile)
{
    const bool installed
        = !QFileInfo(ProgramPath::folderOf(programFile) + ProblemFolderName).isDir()
        && QFileInfo(shippedFolderUnder(dataRootOf(programFile))).isDir();
    return installed ? DataLayout::installed(programFile) : DataLayout::portable(programFile);
}

DataLayout DataLayout::portable(const QString &programFile)
{
    DataLayout layout;
    layout.m_portable = true;
    layout.m_settingsFile = ProgramPath::settingsFileFor(programFile);
    layout.m_shippedFolder = ProgramPath::folderOf(programFile);
    layout.m_problemFolders = { layout.m_shippedFolder + u'/' + ProblemFolderName + u'/' };
    layout.m_userGuide = layout.m_shippedFolder + GuideFileName;
    return layout;
}

DataLayout DataLayout::installed(const QString &programFile)
{
    const QString dataRoot = dataRootOf(programFile);
    const QString config
        = userFolder(QStandardPaths::GenericConfigLocation, QStringLiteral(".config"));
    const QString userProblems
        = userFolder(QStandardPaths::GenericDataLocation, QStringLiteral(".local/share")) + u'/'
        + ProblemFolderName + u'/';

    DataLayout layout;
    layout.m_portable = false;
    layout.m_settingsFile = config + QStringLiteral("/vemitrainer.ini");
    layout.m_shippedFolder = shippedFolderUnder(dataRoot);
    layout.m_problemFolders
        = { layout.m_shippedFolder + u'/' + ProblemFolderName + u'/', userProblems };
    layout.m_userGuide = dataRoot + QStringLiteral("/doc/vemitrainer/") + GuideFileName;
    layout.m_userFolders = { config, userProblems };
    return layout;
}

void DataLayout::makeUserFolders() const
{
    // A folder that cannot be made shows later, when the settings are written.
    for (const QString &folder : m_userFolders)
        QDir().mkpath(folder);
}
