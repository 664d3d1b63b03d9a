#include "core/Errors.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsFile.h"
#include "core/text/Cp932.h"
#include "platform/IniProfile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace {

// Every loaded value as "Key=value", so one comparison shows every difference.
QStringList snapshot(const Settings &s, const FontTexts &font, const QStringList &scores)
{
    const auto flag = [](bool value) { return QString::number(value ? 1 : 0); };
    QStringList lines {
        QStringLiteral("FontName=") + font.name,
        QStringLiteral("FontSize=") + font.size,
        QStringLiteral("AlarmTime=") + QString::number(s.AlarmTime),
        QStringLiteral("PreAlarmTime=") + QString::number(s.PreAlarmTime),
        QStringLiteral("Alarm=") + flag(s.Alarm),
        QStringLiteral("PreAlarm=") + flag(s.PreAlarm),
        QStringLiteral("DoubleView=") + flag(s.DoubleView),
        QStringLiteral("ShowReturnMark=") + flag(s.ShowReturnMark),
        QStringLiteral("ShowSpaceMark=") + flag(s.ShowSpaceMark),
        QStringLiteral("LCDForeColor=") + s.LCDForeColor,
        QStringLiteral("LCDBackColor=") + s.LCDBackColor,
        QStringLiteral("AlarmSoundFile=") + s.AlarmSoundFile,
        QStringLiteral("PreAlarmSoundFile=") + s.PreAlarmSoundFile,
    };
    for (qsizetype i = 0; i < scores.size(); ++i)
        lines << QStringLiteral("Score%1=%2").arg(i).arg(scores.at(i));
    return lines;
}

// What a file without any of the program's keys loads as, with some lines replaced or added.
QStringList missingKeyValues(const QStringList &changes = {})
{
    QStringList lines { "FontName=Error", "FontSize=Error", "AlarmTime=10", "PreAlarmTime=8",
        "Alarm=1", "PreAlarm=1", "DoubleView=1", "ShowReturnMark=0", "ShowSpaceMark=0",
        "LCDForeColor=clBlack", "LCDBackColor=clWhite", "AlarmSoundFile=", "PreAlarmSoundFile=" };
    for (const QString &change : changes) {
        const QString key = change.section(u'=', 0, 0) + u'=';
        const auto it = std::find_if(
            lines.begin(), lines.end(), [&](const QString &line) { return line.startsWith(key); });
        if (it == lines.end())
            lines << change;
        else
            *it = change;
    }
    return lines;
}

// Opposite or absurd values, so a field that load() forgets to set shows up.
Settings poisoned()
{
    Settings s;
    s.AlarmTime = s.PreAlarmTime = -999;
    s.Alarm = s.PreAlarm = s.DoubleView = false;
    s.ShowReturnMark = s.ShowSpaceMark = true;
    s.LCDForeColor = s.LCDBackColor = s.AlarmSoundFile = s.PreAlarmSoundFile
        = QStringLiteral("poison");
    return s;
}

Settings defaults()
{
    Settings s;
    s.applyDefaults(QStringLiteral("/opt/vemi/"));
    return s;
}

const FontTexts DefaultFont { QStringLiteral("MS ゴシック"), QStringLiteral("12") };

// The settings alone: no exam choices, which keeps the file free of their section.
QList<SettingsFile::ReplacedValue> saveSettings(
    SettingsFile &file, const Settings &settings, const FontTexts &font, QStringList scores)
{
    return file.save(settings, font, ExamSettings(), scores);
}

} // namespace

class TestSettingsFile final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void exists_data();
    void exists();
    void missingFileIsNotCreated();
    void savesDefaultsToNewFile();
    void load_data();
    void load();
    void roundTrip_data();
    void roundTrip();
    void scoreKeysBeyondCountSurvive();
    void strayFarScoreKeyCannotExhaustMemory();
    void unknownEntriesSurvive();
    void unwritableFileIsReported_data();
    void unwritableFileIsReported();
    void bomFileKeepsItsFirstSectionAndEncoding();
    void valuesCp932CannotHold();
    void copiesOnOneFileKeepEachOthersScores_data();
    void copiesOnOneFileKeepEachOthersScores();

private:
    QString filePath() const { return m_dir.filePath(QStringLiteral("vemi.ini")); }

    QTemporaryDir m_dir;
};

void TestSettingsFile::init()
{
    QVERIFY(m_dir.isValid());
    QFile::remove(filePath());
}

void TestSettingsFile::exists_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("expected");

    QTest::newRow("missing") << QString() << false;
    QTest::newRow("file") << QStringLiteral("file") << true;
    QTest::newRow("empty file") << QStringLiteral("empty") << true;
    QTest::newRow("folder") << QStringLiteral("folder") << false;
}

void TestSettingsFile::exists()
{
    QFETCH(QString, entry);
    QFETCH(bool, expected);

    if (entry == u"folder")
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("vemi.ini")));
    else if (!entry.isEmpty())
        QVERIFY(writeAll(filePath(), entry == u"file" ? QByteArray("[Timer]\r\n") : QByteArray()));
    const auto cleanup = qScopeGuard([&] { QDir(m_dir.path()).rmdir(QStringLiteral("vemi.ini")); });

    QCOMPARE(SettingsFile(filePath()).exists(), expected);
}

void TestSettingsFile::missingFileIsNotCreated()
{
    Settings settings = poisoned();
    QStringList scores;
    const FontTexts font = SettingsFile(filePath()).load(settings, scores);
    QCOMPARE(snapshot(settings, font, scores), missingKeyValues());
    QVERIFY(!QFile::exists(filePath()));
}

void TestSettingsFile::savesDefaultsToNewFile()
{
    const Settings settings = defaults();
    SettingsFile file(filePath());
    saveSettings(file, settings, DefaultFont, {});

    const QByteArray expected = QByteArray("[General]\r\n"
                                           "DoubleView=1\r\n"
                                           "ShowReturnMark=0\r\n"
                                           "ShowSpaceMark=0\r\n"
                                           "AlarmSoundFile=/opt/vemi//Sound/Timeup.wav\r\n"
                                           "PreAlarmSoundFile=/opt/vemi//Sound/Hurryup.wav\r\n"
                                           "\r\n"
                                           "[Font]\r\n"
                                           "FontName=MS \x83\x53\x83\x56\x83\x62\x83\x4e\r\n"
                                           "FontSize=12\r\n"
                                           "\r\n"
                                           "[Timer]\r\n"
                                           "AlarmTime=10\r\n"
                                           "PreAlarmTime=8\r\n"
                                           "Alarm=1\r\n"
                                           "PreAlarm=1\r\n"
                                           "\r\n"
                                           "[Score]\r\n"
                                           "ScoreCount=0\r\n"
                                           "\r\n"
                                           "[Color]\r\n"
                                           "LCDForeColor=clBlack\r\n"
                                           "LCDBackColor=clWhite\r\n");
    QCOMPARE(readAll(filePath()), expected);

    Settings loaded = poisoned();
    QStringList scores;
    const FontTexts font = file.load(loaded, scores);
    QCOMPARE(snapshot(loaded, font, scores), snapshot(settings, DefaultFont, {}));
}

void TestSettingsFile::load_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("empty file") << QByteArray("") << QStringList();
    QTest::newRow("timer values") << QByteArray(
        "[Timer]\r\nAlarmTime=25\r\nPreAlarmTime=-5\r\nAlarm=0\r\nPreAlarm=0\r\n")
                                  << QStringList { "AlarmTime=25", "PreAlarmTime=-5", "Alarm=0",
                                         "PreAlarm=0" };
    QTest::newRow("general values")
        << QByteArray("[General]\r\nDoubleView=0\r\nShowReturnMark=1\r\nShowSpaceMark=1\r\n"
                      "AlarmSoundFile=C:\\\x89\xb9\\a.wav\r\nPreAlarmSoundFile=b.wav\r\n")
        << QStringList { "DoubleView=0", "ShowReturnMark=1", "ShowSpaceMark=1",
               QStringLiteral("AlarmSoundFile=C:\\音\\a.wav"), "PreAlarmSoundFile=b.wav" };
    QTest::newRow("UTF-8 with a BOM, as editors save it")
        << QByteArray("\xef\xbb\xbf[General]\r\nDoubleView=0\r\nAlarmSoundFile=/caf\xc3\xa9/"
                      "\xe9\x9f\xb3.wav\r\n[Font]\r\nFontName=MS \xe3\x82\xb4\xe3\x82\xb7"
                      "\xe3\x83\x83\xe3\x82\xaf\r\n")
        << QStringList { "DoubleView=0", QStringLiteral("AlarmSoundFile=/café/音.wav"),
               QStringLiteral("FontName=MS ゴシック") };
    QTest::newRow("font texts as they stand")
        << QByteArray("[Font]\r\nFontName=MS \x83\x53\x83\x56\x83\x62\x83\x4e\r\nFontSize=big\r\n")
        << QStringList { QStringLiteral("FontName=MS ゴシック"), "FontSize=big" };
    QTest::newRow("colour texts as they stand")
        << QByteArray("[Color]\r\nLCDForeColor=$00563412\r\nLCDBackColor=nonsense\r\n")
        << QStringList { "LCDForeColor=$00563412", "LCDBackColor=nonsense" };
    QTest::newRow("words read as the default")
        << QByteArray("[Timer]\r\nAlarm=yes\r\nPreAlarm=0\r\n[General]\r\nShowReturnMark=yes\r\n")
        << QStringList { "PreAlarm=0" };
    QTest::newRow("0x0 is zero") << QByteArray("[Timer]\r\nAlarm=0x0\r\n")
                                 << QStringList { "Alarm=0" };
    QTest::newRow("0x alone") << QByteArray("[Timer]\r\nAlarm=0x\r\n") << QStringList();
    QTest::newRow("any non-zero is true") << QByteArray(
        "[Timer]\r\nAlarm=2\r\n[General]\r\nShowReturnMark=-1\r\nShowSpaceMark=$10\r\n")
                                          << QStringList { "ShowReturnMark=1", "ShowSpaceMark=1" };
    QTest::newRow("hexadecimal times")
        << QByteArray("[Timer]\r\nAlarmTime=0x1E\r\nPreAlarmTime=$1E\r\n")
        << QStringList { "AlarmTime=30", "PreAlarmTime=30" };
    QTest::newRow("times not range-checked")
        << QByteArray("[Timer]\r\nAlarmTime=0\r\nPreAlarmTime=500\r\n")
        << QStringList { "AlarmTime=0", "PreAlarmTime=500" };
    QTest::newRow("unparsable times")
        << QByteArray("[Timer]\r\nAlarmTime=\r\nPreAlarmTime=8.5\r\nAlarm=\x82\x54\r\n")
        << QStringList();
    QTest::newRow("scores") << QByteArray(
        "[Score]\r\nScoreCount=3\r\nScore0=a\r\nScore1=120\r\nScore2=c\r\n")
                            << QStringList { "Score0=a", "Score1=120", "Score2=c" };
    QTest::newRow("missing middle score")
        << QByteArray("[Score]\r\nScoreCount=3\r\nScore0=a\r\nScore2=c\r\n")
        << QStringList { "Score0=a", "Score1=0", "Score2=c" };
    QTest::newRow("keys past the count ignored") << QByteArray(
        "[Score]\r\nScoreCount=2\r\nScore0=a\r\nScore1=b\r\nScore2=c\r\n"
        "Score3=d\r\nScore4=e\r\n") << QStringList { "Score0=a", "Score1=b" };
    QTest::newRow("negative count")
        << QByteArray("[Score]\r\nScoreCount=-1\r\nScore0=a\r\n") << QStringList();
    QTest::newRow("no entries past the last key")
        << QByteArray("[Score]\r\nScoreCount=5\r\nScore0=a\r\nScore1=b\r\n")
        << QStringList { "Score0=a", "Score1=b" };
    QTest::newRow("huge count") << QByteArray(
        "[Score]\r\nScoreCount=2000000000\r\nScore0=a\r\nScore1=b\r\nScore2=c\r\n")
                                << QStringList { "Score0=a", "Score1=b", "Score2=c" };
    QTest::newRow("leading zero is another key")
        << QByteArray("[Score]\r\nScoreCount=3\r\nScore0=a\r\nScore02=z\r\n")
        << QStringList { "Score0=a" };
    QTest::newRow("hexadecimal count")
        << QByteArray("[Score]\r\nScoreCount=0x2\r\nScore0=a\r\nScore1=b\r\n")
        << QStringList { "Score0=a", "Score1=b" };
    QTest::newRow("case of names ignored")
        << QByteArray("[score]\r\nscorecount=2\r\nSCORE1=x\r\nscore0=y\r\n")
        << QStringList { "Score0=y", "Score1=x" };
    QTest::newRow("text and empty scores")
        << QByteArray("[Score]\r\nScoreCount=2\r\nScore0=abc\r\nScore1=\r\n")
        << QStringList { "Score0=abc", "Score1=" };
    QTest::newRow("garbage") << bytes("\0\xff\x80\x81junk\r\n=\r\n[\r\n\x82") << QStringList();
    QTest::newRow("keys in other sections")
        << QByteArray("AlarmTime=1\r\n[Other]\r\nAlarmTime=2\r\n[Font]\r\nAlarm=0\r\n")
        << QStringList();
    QTest::newRow("first duplicate key")
        << QByteArray("[Timer]\r\nAlarmTime=5\r\nalarmtime=6\r\n") << QStringList { "AlarmTime=5" };
    QTest::newRow("first duplicate section")
        << QByteArray("[Timer]\r\nAlarmTime=5\r\n[TIMER]\r\nAlarmTime=6\r\nPreAlarmTime=7\r\n")
        << QStringList { "AlarmTime=5" };
    QTest::newRow("long value cut")
        << QByteArray("[Font]\r\nFontName=" + QByteArray(2100, 'x') + "\r\nFontSize=9\r\n")
        << QStringList { "FontName=" + QString(2047, u'x'), "FontSize=9" };
    QTest::newRow("long double-byte value cut")
        << QByteArray("[Font]\r\nFontName=" + QByteArray("\x82\xa0").repeated(1100) + "\r\n")
        << QStringList { "FontName=" + QString(1023, u'あ') };
    QTest::newRow("lone CR breaks") << QByteArray("[Timer]\rAlarmTime=5\r[Font]\rFontSize=9\r")
                                    << QStringList { "AlarmTime=5", "FontSize=9" };
    QTest::newRow("lone LF breaks") << QByteArray("[Timer]\nAlarmTime=5\n[Font]\nFontSize=9\n")
                                    << QStringList { "AlarmTime=5", "FontSize=9" };
    QTest::newRow("no final break")
        << QByteArray("[Timer]\r\nAlarmTime=5") << QStringList { "AlarmTime=5" };
    QTest::newRow("lead byte without its trail spoils a number")
        << QByteArray("[Timer]\r\nAlarmTime=7\x81\r\nPreAlarmTime=6\x81\x20\r\n") << QStringList();
    // A lead byte right before a line break must not swallow the break.
    const QByteArray badName("a\xfd\x82");
    QTest::newRow("invalid CP932 in values")
        << QByteArray("[Font]\r\nFontName=" + badName
               + "\r\nFontSize=9\r\n[Timer]\r\nAlarmTime=\x82\r\nPreAlarmTime=3\r\n")
        << QStringList { "FontName=" + Cp932::decode(badName), "FontSize=9", "PreAlarmTime=3" };
}

void TestSettingsFile::load()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, changes);

    QVERIFY(writeAll(filePath(), content));
    Settings settings = poisoned();
    QStringList scores;
    QElapsedTimer timer;
    timer.start();
    const FontTexts font = SettingsFile(filePath()).load(settings, scores);
    QVERIFY2(timer.elapsed() < 5000, "a small file must load at once");

    QCOMPARE(snapshot(settings, font, scores), missingKeyValues(changes));
    QCOMPARE(readAll(filePath()), content);
}

void TestSettingsFile::strayFarScoreKeyCannotExhaustMemory()
{
    QVERIFY(writeAll(
        filePath(), "[Score]\r\nScoreCount=2000000000\r\nScore0=a\r\nScore1999999999=x\r\n"));
    Settings settings;
    QStringList scores;
    QElapsedTimer timer;
    timer.start();
    SettingsFile(filePath()).load(settings, scores);
    QVERIFY2(timer.elapsed() < 10000, "loading must stay quick");
    QCOMPARE(scores.size(), 100000);
    QCOMPARE(scores.first(), QStringLiteral("a"));
    QCOMPARE(scores.last(), QStringLiteral("0"));
}

void TestSettingsFile::roundTrip_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<FontTexts>("font");
    QTest::addColumn<QStringList>("scores");

    QTest::newRow("defaults") << defaults() << DefaultFont << QStringList();

    Settings changed;
    changed.AlarmTime = -3;
    changed.PreAlarmTime = 500;
    changed.Alarm = changed.PreAlarm = changed.DoubleView = false;
    changed.ShowReturnMark = changed.ShowSpaceMark = true;
    changed.LCDForeColor = QStringLiteral("$00563412");
    changed.LCDBackColor = QStringLiteral("clWindow");
    changed.AlarmSoundFile = QStringLiteral("/home/学習者/音 1.wav");
    changed.PreAlarmSoundFile = QStringLiteral("C:\\①～髙\\ｱ.wav");
    QTest::newRow("every value changed")
        << changed << FontTexts { QStringLiteral("ＭＳ 明朝"), QStringLiteral("abc") }
        << QStringList { "120", "abc", "", QStringLiteral("①") };

    // Present but empty is not missing: nothing falls back to a default.
    QTest::newRow("empty texts") << Settings() << FontTexts() << QStringList { "" };

    // The file's reader takes one pair of matching quotes off a value.
    Settings quoted = defaults();
    quoted.AlarmSoundFile = QStringLiteral("'/a b/x.wav'");
    quoted.LCDForeColor = QStringLiteral("\"clRed\"");
    quoted.PreAlarmSoundFile = QStringLiteral(" /x.wav\t"); // blanks are kept too
    QTest::newRow("values in quotes or blanks of their own")
        << quoted << FontTexts { QStringLiteral("'x'"), QStringLiteral("\"12\"") }
        << QStringList { "\"\"", "'7'" };

    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many << QString::number(i * 7);
    QTest::newRow("many scores") << defaults() << DefaultFont << many;
}

void TestSettingsFile::roundTrip()
{
    QFETCH(Settings, settings);
    QFETCH(FontTexts, font);
    QFETCH(QStringList, scores);

    SettingsFile file(filePath());
    saveSettings(file, settings, font, scores);
    const QByteArray firstSave = readAll(filePath());

    Settings loaded = poisoned();
    QStringList loadedScores;
    const FontTexts loadedFont = file.load(loaded, loadedScores);
    QCOMPARE(snapshot(loaded, loadedFont, loadedScores), snapshot(settings, font, scores));

    // Saving the same values again changes nothing: no duplicate keys, no extra blank lines.
    saveSettings(file, loaded, loadedFont, loadedScores);
    QCOMPARE(readAll(filePath()), firstSave);
}

void TestSettingsFile::scoreKeysBeyondCountSurvive()
{
    QVERIFY(writeAll(filePath(),
        "[Score]\r\nScoreCount=2\r\nScore0=s0\r\nScore1=s1\r\nScore2=old2\r\nScore3=old3\r\n"
        "Score4=old4\r\n"));
    SettingsFile file(filePath());
    Settings settings = poisoned();
    QStringList scores;
    const FontTexts font = file.load(settings, scores);
    QCOMPARE(scores, (QStringList { "s0", "s1" }));

    scores << QStringLiteral("new");
    saveSettings(file, settings, font, scores);

    const IniProfile profile(filePath());
    QCOMPARE(profile.keys("Score"),
        (QByteArrayList { "ScoreCount", "Score0", "Score1", "Score2", "Score3", "Score4" }));
    const QByteArrayList values { "3", "s0", "s1", "new", "old3", "old4" };
    for (qsizetype i = 0; i < values.size(); ++i)
        QCOMPARE(profile.readString("Score", profile.keys("Score").at(i), "?"), values.at(i));

    QStringList reloaded;
    file.load(settings, reloaded);
    QCOMPARE(reloaded, scores);
}

void TestSettingsFile::unknownEntriesSurvive()
{
    QVERIFY(writeAll(filePath(),
        "; edited by hand\r\n[general]\r\ndoubleview=0\r\nMyKey=x\r\n\r\n"
        "[Plugins]\r\nA=1\r\n; keep me\r\n[Timer]\r\nALARMTIME=3\r\nExtra=\x82\xa0\r\n"));
    SettingsFile unknown(filePath());
    saveSettings(unknown, defaults(), DefaultFont, {});

    const QByteArray saved = readAll(filePath());
    QVERIFY2(saved.startsWith("; edited by hand\r\n[general]\r\n"), saved.constData());
    QVERIFY2(saved.contains("\r\n[Plugins]\r\nA=1\r\n; keep me\r\n"), saved.constData());
    QCOMPARE(saved.toLower().count("doubleview="), 1);
    QCOMPARE(saved.toLower().count("alarmtime="), 2); // AlarmTime and PreAlarmTime

    const IniProfile profile(filePath());
    QCOMPARE(profile.readString("General", "MyKey", "?"), QByteArray("x"));
    QCOMPARE(profile.readString("General", "DoubleView", "?"), QByteArray("1"));
    QCOMPARE(profile.readString("Timer", "AlarmTime", "?"), QByteArray("10"));
    QCOMPARE(profile.readString("Timer", "Extra", "?"), QByteArray("\x82\xa0"));
    QCOMPARE(profile.readString("Font", "FontSize", "?"), QByteArray("12"));
}

void TestSettingsFile::unwritableFileIsReported_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("read-only file") << QStringLiteral("read-only");
    QTest::newRow("missing folder") << QStringLiteral("missing");
}

void TestSettingsFile::unwritableFileIsReported()
{
    QFETCH(QString, kind);

    const QByteArray original("[Timer]\r\nAlarmTime=3\r\n");
    QString path = filePath();
    if (kind == u"read-only") {
        QVERIFY(writeAll(path, original));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    } else {
        path = m_dir.filePath(QStringLiteral("missing/vemi.ini"));
    }
    const auto restore
        = qScopeGuard([&] { QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner); });

    try {
        SettingsFile unwritable(path);
        saveSettings(unwritable, defaults(), DefaultFont, { "1" });
        QFAIL("saved to an unwritable file");
    } catch (const VemiError &error) {
        QCOMPARE(error.message(), path + QStringLiteral(" に書き込めません"));
    }
    if (kind == u"read-only")
        QCOMPARE(readAll(path), original);
    else
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("missing"))));
}

void TestSettingsFile::bomFileKeepsItsFirstSectionAndEncoding()
{
    const QByteArray bom("\xef\xbb\xbf");
    QVERIFY(writeAll(filePath(), bom + "[General]\r\nDoubleView=0\r\n"));
    SettingsFile file(filePath());
    Settings settings = poisoned();
    QStringList scores;
    FontTexts font = file.load(settings, scores);
    QVERIFY(!settings.DoubleView);
    settings.AlarmSoundFile = QStringLiteral("/home/été/驿.wav"); // UTF-8 holds any path
    font.name = QStringLiteral("文泉驿");
    QVERIFY(saveSettings(file, settings, font, scores).isEmpty());

    const QByteArray saved = readAll(filePath());
    QVERIFY(saved.startsWith(bom + "[General]\r\nDoubleView=0\r\n"));
    QCOMPARE(saved.count("[General]"), 1);
    Settings loaded = poisoned();
    QStringList loadedScores;
    const FontTexts loadedFont = file.load(loaded, loadedScores);
    QCOMPARE(snapshot(loaded, loadedFont, loadedScores), snapshot(settings, font, scores));
}

// A program folder named with characters code page 932 lacks: the default sound
// paths still come back whole, and any other value that cannot be held is
// written with "?" and reported, never changed silently.
void TestSettingsFile::valuesCp932CannotHold()
{
    const QString folder = m_dir.filePath(QStringLiteral("café 驿")) + u'/';
    QVERIFY(QDir().mkpath(folder));
    SettingsFile file(folder + QStringLiteral("vemitrainer.ini"));
    Settings settings;
    settings.applyDefaults(folder);
    const FontTexts font { QStringLiteral("文泉驿"), QStringLiteral("12") };

    const auto replaced = saveSettings(file, settings, font, {});
    QCOMPARE(replaced.size(), 1);
    QCOMPARE(replaced[0].key, QStringLiteral("FontName"));
    QCOMPARE(replaced[0].value, font.name);
    QCOMPARE(replaced[0].character, QStringLiteral("驿"));
    const QByteArray saved = readAll(file.path());
    QVERIFY(saved.contains("FontName=\x95\xb6\x90\xf2?\r\n"));
    QVERIFY(saved.contains("/caf? ?//Sound/Timeup.wav\r\n"));

    Settings loaded = poisoned();
    QStringList scores;
    QCOMPARE(file.load(loaded, scores).name, QStringLiteral("文泉?"));
    QCOMPARE(loaded.AlarmSoundFile, settings.AlarmSoundFile);
    QCOMPARE(loaded.PreAlarmSoundFile, settings.PreAlarmSoundFile);

    // Files written before kept the codec's substitute; another path stays as written.
    QVERIFY(writeAll(file.path(),
        "[General]\r\nAlarmSoundFile=" + Cp932::encode(settings.AlarmSoundFile)
            + "\r\nPreAlarmSoundFile=" + Cp932::encodeReplacing(folder + "other.wav") + "\r\n"));
    file.load(loaded, scores);
    QCOMPARE(loaded.AlarmSoundFile, settings.AlarmSoundFile);
    QCOMPARE(loaded.PreAlarmSoundFile, m_dir.filePath(QStringLiteral("caf? ?/other.wav")));
}

void TestSettingsFile::copiesOnOneFileKeepEachOthersScores_data()
{
    QTest::addColumn<QString>("steps"); // "A+x": copy A records x; "A!": copy A saves
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("A closes, then B") << "A+a B+b A! B!" << QStringList { "old", "a", "b" };
    QTest::newRow("B closes, then A") << "A+a B+b B! A!" << QStringList { "old", "b", "a" };
    QTest::newRow("A writes at capture, B closes, A closes")
        << "A+a A! B+b B! A+c A!" << QStringList { "old", "a", "b", "c" };
    QTest::newRow("saves repeated") << "B+b A+a B! B! A! A! B!" << QStringList { "old", "b", "a" };
}

// Two copies of the program on one settings file, each recording ten-minute
// scores: whatever order they save in, neither takes away the other's.
void TestSettingsFile::copiesOnOneFileKeepEachOthersScores()
{
    QFETCH(QString, steps);
    QFETCH(QStringList, expected);
    QVERIFY(writeAll(filePath(), "[Score]\r\nScoreCount=1\r\nScore0=old\r\n"));
    struct Copy
    {
        SettingsFile file;
        Settings settings;
        QStringList scores;
    };
    std::map<QChar, Copy> copies;
    for (const QChar name : { u'A', u'B' }) {
        Copy &copy = copies.emplace(name, Copy { SettingsFile(filePath()), {}, {} }).first->second;
        copy.file.load(copy.settings, copy.scores);
    }

    for (const QString &step : steps.split(u' ')) {
        Copy &copy = copies.at(step.at(0));
        if (step.at(1) == u'+') {
            copy.scores << step.mid(2);
            continue;
        }
        copy.file.save(copy.settings, DefaultFont, ExamSettings(), copy.scores);
        QStringList saved;
        SettingsFile(filePath()).load(copy.settings, saved);
        QCOMPARE(copy.scores, saved); // the copy now shows what the file holds
    }

    Settings settings;
    QStringList stored;
    SettingsFile(filePath()).load(settings, stored);
    QCOMPARE(stored, expected);
}

QTEST_APPLESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
