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
    return QStringLiteral("Level=%1 CustomPenalty=%2 CustomPassMark=%3 ShowFigures=%4 ExamMode=%5")
        .arg(exam.Level)
        .arg(exam.CustomPenalty)
        .arg(exam.CustomPassMark)
        .arg(exam.ShowFigures ? 1 : 0)
        .arg(exam.ExamMode ? 1 : 0);
}

ExamSettings exam(const QString &level, int penalty, int mark, bool figures, bool examMode = false)
{
    ExamSettings settings;
    settings.ExamMode = examMode;
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
    void levelNamesOldAndNew_data();
    void levelNamesOldAndNew();
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
            + "\r\nCustomPenalty=4\r\nCustomPassMark=450\r\nShowFigures=0\r\nExamMode=1\r\n"
        << QStringLiteral(
               "Level=wp:準2級 CustomPenalty=4 CustomPassMark=450 ShowFigures=0 ExamMode=1");
    QTest::newRow("unknown level") << "[Exam]\r\nLevel=" + cp932(QStringLiteral("5級")) + "\r\n"
                                   << defaults;
    QTest::newRow("level in another form") << "[Exam]\r\nLevel=" + cp932(QStringLiteral("３級"))
            + "\r\n" << defaults;
    QTest::newRow("numbers out of range are held to it")
        << QByteArray("[Exam]\r\nCustomPenalty=-3\r\nCustomPassMark=1000000\r\n")
        << QStringLiteral(
               "Level=wp:3級 CustomPenalty=0 CustomPassMark=99999 ShowFigures=1 ExamMode=0");
    QTest::newRow("words read as the defaults")
        << QByteArray("[Exam]\r\nCustomPenalty=five\r\nCustomPassMark=\r\nShowFigures=no\r\n")
        << defaults;
    QTest::newRow("hexadecimal as elsewhere in the file")
        << QByteArray("[Exam]\r\nCustomPenalty=0x0A\r\nShowFigures=2\r\nExamMode=no\r\n")
        << QStringLiteral(
               "Level=wp:3級 CustomPenalty=10 CustomPassMark=300 ShowFigures=1 ExamMode=0");
    QTest::newRow("UTF-8 file from an editor")
        << "\xEF\xBB\xBF[Exam]\r\nLevel=" + QStringLiteral("自由設定").toUtf8() + "\r\n"
        << QStringLiteral(
               "Level=custom CustomPenalty=1 CustomPassMark=300 ShowFigures=1 ExamMode=0");
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
    QCOMPARE(loaded.level().key, loaded.Level);
}

// A level as today's files and older ones name it, and what it scores: 500
// characters typed with 4 errors under the level's penalty, against its mark.
void TestExamSettings::levelNamesOldAndNew_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("netScore");
    QTest::addColumn<int>("passMark");
    QTest::newRow("older file, 3級") << "3級"
                                     << "ワープロ 3級" << 496 << 300;
    QTest::newRow("older file, 準2級") << "準2級"
                                       << "ワープロ 準2級" << 488 << 400;
    QTest::newRow("older file, 1級") << "1級"
                                     << "ワープロ 1級" << 480 << 700;
    QTest::newRow("older file, 自由設定") << "自由設定"
                                          << "自由設定" << 496 << 300;
    QTest::newRow("wp:2級") << "wp:2級"
                            << "ワープロ 2級" << 488 << 500;
    QTest::newRow("biz:4級") << "biz:4級"
                             << "ビジネス 4級" << 496 << 200;
    QTest::newRow("biz:3級") << "biz:3級"
                             << "ビジネス 3級" << 496 << 300;
    QTest::newRow("biz:2級") << "biz:2級"
                             << "ビジネス 2級" << 496 << 450;
    QTest::newRow("biz:1級") << "biz:1級"
                             << "ビジネス 1級" << 496 << 700;
    QTest::newRow("custom") << "custom"
                            << "自由設定" << 496 << 300;
    QTest::newRow("no 準2級 in the second exam") << "biz:準2級"
                                                 << "ワープロ 3級" << 496 << 300;
    QTest::newRow("the shown title is not a name") << "ビジネス 1級"
                                                   << "ワープロ 3級" << 496 << 300;
    QTest::newRow("自由設定 is no exam's") << "wp:自由設定"
                                           << "ワープロ 3級" << 496 << 300;
}

void TestExamSettings::levelNamesOldAndNew()
{
    QFETCH(QString, stored);
    QFETCH(QString, title);
    QFETCH(int, netScore);
    QFETCH(int, passMark);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vemitrainer.ini"));
    QVERIFY(writeAll(path, "[Exam]\r\nLevel=" + cp932(stored) + "\r\n"));
    const ExamLevel level = loadExam(path).level();
    QCOMPARE(level.title(), title);
    QCOMPARE(ExamProfile::netScore(500, 4, level.penalty), netScore);
    QCOMPARE(level.passMark, passMark);
}

void TestExamSettings::saveKeepsTheRestAndReadsBack_data()
{
    QTest::addColumn<ExamSettings>("settings");
    QTest::addColumn<QByteArray>("section");
    QTest::newRow("2級, figures hidden") << exam(QStringLiteral("wp:2級"), 1, 300, false)
                                         << "[Exam]\r\nLevel=" + cp932(QStringLiteral("wp:2級"))
            + "\r\nCustomPenalty=1\r\nCustomPassMark=300\r\nShowFigures=0\r\nExamMode=0\r\n";
    QTest::newRow("ビジネス 2級 in exam mode")
        << exam(QStringLiteral("biz:2級"), 1, 300, true, true)
        << "[Exam]\r\nLevel=" + cp932(QStringLiteral("biz:2級"))
            + "\r\nCustomPenalty=1\r\nCustomPassMark=300\r\nShowFigures=1\r\nExamMode=1\r\n";
    QTest::newRow("自由設定") << exam(QStringLiteral("custom"), 7, 1234, true)
                              << QByteArray(
                                     "[Exam]\r\nLevel=custom\r\nCustomPenalty=7\r\n"
                                     "CustomPassMark=1234\r\nShowFigures=1\r\nExamMode=0\r\n");
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
    QVERIFY(saveExam(exam(QStringLiteral("wp:1級"), 1, 300, true), path));
    QVERIFY(saveExam(ExamSettings(), path));
    QVERIFY(readAll(path).contains("[Exam]\r\nLevel=" + cp932(QStringLiteral("wp:3級")) + "\r\n"));
}

// The section is one of the settings file's: read with the rest, and written
// in the same save, which fails as a whole.
void TestExamSettings::theSettingsFileWritesItOnce()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vemitrainer.ini"));
    const ExamSettings chosen = exam(QStringLiteral("custom"), 5, 700, false);
    Settings settings;
    settings.applyDefaults(folder.path());
    QStringList scores { QStringLiteral("321") };
    SettingsFile(path).save(
        settings, { QStringLiteral("MS ゴシック"), QStringLiteral("12") }, chosen, scores);

    const QByteArray written = readAll(path);
    QVERIFY2(
        written.contains("Score0=321\r\n") && written.endsWith("ShowFigures=0\r\nExamMode=0\r\n"),
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
