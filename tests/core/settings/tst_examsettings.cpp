#include "core/Errors.h"
#include "core/settings/ExamSettings.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsValues.h"
#include "core/text/Cp932.h"
#include "platform/IniProfile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray cp932(const QString &text)
{
    return Cp932::encode(text);
}

QString describe(const ExamSettings &exam)
{
    return QStringLiteral("Level=%1 CustomPenalty=%2 CustomPassMark=%3 ShowFigures=%4")
        .arg(exam.Level)
        .arg(exam.CustomPenalty)
        .arg(exam.CustomPassMark)
        .arg(exam.ShowFigures ? 1 : 0);
}

ExamSettings exam(const QString &level, int penalty, int mark, bool figures)
{
    ExamSettings settings;
    settings.Level = level;
    settings.CustomPenalty = penalty;
    settings.CustomPassMark = mark;
    settings.ShowFigures = figures;
    return settings;
}

// The section alone, through the settings file's own reader and writer.
ExamSettings loadExam(const QString &path)
{
    const IniProfile profile(path);
    return ExamSettings::read(SettingsReader(profile));
}

bool saveExam(const ExamSettings &exam, const QString &path)
{
    IniProfile profile(path);
    SettingsWriter writer(profile);
    exam.write(writer);
    return profile.save();
}

} // namespace

class TestExamSettings final : public QObject
{
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void saveKeepsTheRestAndReadsBack_data();
    void saveKeepsTheRestAndReadsBack();
    void defaultsLeaveAFileWithoutTheSectionAlone();
    void theSettingsFileWritesItOnce();
};

void TestExamSettings::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    const QString defaults = describe(ExamSettings());
    QTest::newRow("older file without the section")
        << QByteArray("[Timer]\r\nAlarmTime=10\r\n") << defaults;
    QTest::newRow("no file") << QByteArray() << defaults;
    QTest::newRow("every key")
        << "[Exam]\r\nLevel=" + cp932(QStringLiteral("準2級"))
            + "\r\nCustomPenalty=4\r\nCustomPassMark=450\r\nShowFigures=0\r\n"
        << QStringLiteral("Level=準2級 CustomPenalty=4 CustomPassMark=450 ShowFigures=0");
    QTest::newRow("unknown level") << "[Exam]\r\nLevel=" + cp932(QStringLiteral("5級")) + "\r\n"
                                   << defaults;
    QTest::newRow("level in another form") << "[Exam]\r\nLevel=" + cp932(QStringLiteral("３級"))
            + "\r\n" << defaults;
    QTest::newRow("numbers out of range are held to it")
        << QByteArray("[Exam]\r\nCustomPenalty=-3\r\nCustomPassMark=1000000\r\n")
        << QStringLiteral("Level=3級 CustomPenalty=0 CustomPassMark=99999 ShowFigures=1");
    QTest::newRow("words read as the defaults")
        << QByteArray("[Exam]\r\nCustomPenalty=five\r\nCustomPassMark=\r\nShowFigures=no\r\n")
        << defaults;
    QTest::newRow("hexadecimal as elsewhere in the file")
        << QByteArray("[Exam]\r\nCustomPenalty=0x0A\r\nShowFigures=2\r\n")
        << QStringLiteral("Level=3級 CustomPenalty=10 CustomPassMark=300 ShowFigures=1");
    QTest::newRow("UTF-8 file from an editor")
        << "\xEF\xBB\xBF[Exam]\r\nLevel=" + QStringLiteral("自由設定").toUtf8() + "\r\n"
        << QStringLiteral("Level=自由設定 CustomPenalty=1 CustomPassMark=300 ShowFigures=1");
}

void TestExamSettings::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vemitrainer.ini"));
    if (!file.isNull())
        QVERIFY(writeAll(path, file));
    const ExamSettings loaded = loadExam(path);
    QCOMPARE(describe(loaded), expected);
    QCOMPARE(loaded.level().name, loaded.Level);
}

void TestExamSettings::saveKeepsTheRestAndReadsBack_data()
{
    QTest::addColumn<ExamSettings>("settings");
    QTest::addColumn<QByteArray>("section");
    QTest::newRow("2級, figures hidden") << exam(QStringLiteral("2級"), 1, 300, false)
                                         << "[Exam]\r\nLevel=" + cp932(QStringLiteral("2級"))
            + "\r\nCustomPenalty=1\r\nCustomPassMark=300\r\nShowFigures=0\r\n";
    QTest::newRow("自由設定") << exam(QStringLiteral("自由設定"), 7, 1234, true)
                              << "[Exam]\r\nLevel=" + cp932(QStringLiteral("自由設定"))
            + "\r\nCustomPenalty=7\r\nCustomPassMark=1234\r\nShowFigures=1\r\n";
}

void TestExamSettings::saveKeepsTheRestAndReadsBack()
{
    QFETCH(ExamSettings, settings);
    QFETCH(QByteArray, section);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vemitrainer.ini"));
    const QByteArray before = "[Score]\r\nScoreCount=1\r\nScore0=523\r\n[Other]\r\nKey=value\r\n";
    QVERIFY(writeAll(path, before));
    QVERIFY(saveExam(settings, path));
    const QByteArray written = readAll(path);
    QVERIFY2(written.startsWith(before) && written.contains(section), written.constData());
    QCOMPARE(describe(loadExam(path)), describe(settings));
}

// A learner who never touches scoring keeps the very file older versions wrote.
void TestExamSettings::defaultsLeaveAFileWithoutTheSectionAlone()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vemitrainer.ini"));
    const QByteArray before = "[Timer]\r\nAlarmTime=10\r\n";
    QVERIFY(writeAll(path, before));
    QVERIFY(saveExam(ExamSettings(), path));
    QCOMPARE(readAll(path), before);

    // Once there, the section follows every change, back to the defaults too.
    QVERIFY(saveExam(exam(QStringLiteral("1級"), 1, 300, true), path));
    QVERIFY(saveExam(ExamSettings(), path));
    QVERIFY(readAll(path).contains("[Exam]\r\nLevel=" + cp932(QStringLiteral("3級")) + "\r\n"));
}

// The section is one of the settings file's: read with the rest, and written
// in the same save, which fails as a whole.
void TestExamSettings::theSettingsFileWritesItOnce()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vemitrainer.ini"));
    const ExamSettings chosen = exam(QStringLiteral("自由設定"), 5, 700, false);
    Settings settings;
    settings.applyDefaults(folder.path());
    QStringList scores { QStringLiteral("321") };
    SettingsFile(path).save(
        settings, { QStringLiteral("MS ゴシック"), QStringLiteral("12") }, chosen, scores);

    const QByteArray written = readAll(path);
    QVERIFY2(written.contains("Score0=321\r\n") && written.endsWith("ShowFigures=0\r\n"),
        written.constData());
    ExamSettings loaded;
    QStringList loadedScores;
    SettingsFile(path).load(settings, loadedScores, loaded);
    QCOMPARE(describe(loaded), describe(chosen));

    QVERIFY(QFile::remove(path) && QDir().mkdir(path)); // a folder where the file should be
    QVERIFY_THROWS_EXCEPTION(VemiError, SettingsFile(path).save(settings, {}, chosen, scores));
}

QTEST_APPLESS_MAIN(TestExamSettings)
#include "tst_examsettings.moc"
