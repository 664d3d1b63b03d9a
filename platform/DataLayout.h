#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps the learner's settings and finds its practice texts,
// sounds and guide. A folder "問題" beside the executable marks a portable copy:
// everything lives beside the program, as it always has. A program installed as
// <prefix>/bin/vemitrainer, with its shipped files in <prefix>/share/vemitrainer,
// reads those from there, and keeps the settings and the learner's own texts in
// the user's configuration and data folders. An executable with no "問題" beside
// it and no shipped files under its prefix keeps everything beside itself too.
class DataLayout
{
public:
    // Chooses the layout from what lies around the executable.
    static DataLayout forProgram(const QString &programFile);
    static DataLayout portable(const QString &programFile);
    // The user's folders are taken from the XDG environment as it is now.
    static DataLayout installed(const QString &programFile);

    bool isPortable() const { return m_portable; }
    QString settingsFile() const { return m_settingsFile; }
    // The folder that "Sound" and "問題" stand in, for joining "/Sound/..." onto.
    // A portable copy gives the program folder with its trailing separator, so
    // joined paths keep the doubled separator stored settings files carry.
    QString shippedFolder() const { return m_shippedFolder; }
    // The practice-text folders, each ending in a separator; a text in a later
    // folder hides one of the same name in an earlier folder.
    QStringList problemFolders() const { return m_problemFolders; }
    QString userGuide() const { return m_userGuide; }

    // Creates the folders the learner's settings and own texts go into, so the
    // first start already shows where to drop new texts.
    void makeUserFolders() const;

private:
    bool m_portable = true;
    QString m_settingsFile;
    QString m_shippedFolder;
    QStringList m_problemFolders;
    QString m_userGuide;
    QStringList m_userFolders;
};
