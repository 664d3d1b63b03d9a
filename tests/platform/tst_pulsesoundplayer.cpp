// Plays the bundled alarm tones through the real sound service and listens to
// them on the sound server's monitor of the default sink (a null sink when run
// through with_pulseaudio.sh), so what is checked is what a learner would hear.

#include "platform/PulseSoundPlayer.h"
#include "platform/SoundFileReader.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>

namespace {

// What ToneGen writes into the bundled files.
struct ToneFile
{
    const char *name;
    double hz;
    int beeps;
    double beepSeconds;
};
constexpr ToneFile Timeup { "Timeup.wav", 880.0, 3, 0.25 };
constexpr ToneFile Hurryup { "Hurryup.wav", 523.25, 2, 0.20 };

// 20 ms frames resolve the gaps between beeps and still give 50 Hz bins, far
// finer than the 357 Hz between the two tones.
constexpr double FrameSeconds = 0.02;
// A beep measured in whole frames may gain or lose about one frame at each end.
constexpr double BeepTolerance = 0.05;
// ToneGen writes at half of full scale and the sink is at full volume, so a
// tone under a quarter was not played properly.
constexpr double LoudEnough = 0.25;
// A frame holds a tone when it is clearly there and clearly not the other one;
// the click of a cut-off sound spreads over all frequencies and does not count.
constexpr double ToneFloor = 0.05;
constexpr double Dominance = 4.0;
// Silence that means a sound is over: longer than any gap inside a tone file.
constexpr double QuietSeconds = 0.25;

// What the test returns when it passed without a sound server to listen to.
constexpr int SkippedExitCode = 77;

struct Pcm
{
    int sampleRate = 0;
    QList<float> samples; // first channel, full scale = 1
    double seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0.0; }
};

struct WavLayout
{
    int sampleRate = 0;
    int channels = 0;
    qsizetype dataOffset = 0;
};

// Finds the sample format and the start of the samples of a 16-bit PCM WAV.
std::optional<WavLayout> readWavLayout(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    const auto u16
        = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto u32
        = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };

    WavLayout layout;
    int bits = 0;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = u32(at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && body + 16 <= bytes.size()) {
            if (u16(body) != 1)
                return std::nullopt;
            layout.channels = u16(body + 2);
            layout.sampleRate = int(u32(body + 4));
            bits = u16(body + 14);
        } else if (id == "data") {
            if (layout.channels < 1 || bits != 16 || layout.sampleRate <= 0)
                return std::nullopt;
            layout.dataOffset = body;
            return layout;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

// Amplitude of one frequency in a frame (Goertzel): a full-scale sine at that
// frequency gives about 1, other frequencies give little.
double toneAmplitude(const float *x, qsizetype n, double hz, int sampleRate)
{
    const double coeff = 2.0 * std::cos(2.0 * std::numbers::pi * hz / sampleRate);
    double s1 = 0.0;
    double s2 = 0.0;
    for (qsizetype i = 0; i < n; ++i) {
        const double s0 = x[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = std::max(0.0, s1 * s1 + s2 * s2 - coeff * s1 * s2);
    return 2.0 * std::sqrt(power) / double(n);
}

double frameRms(const float *x, qsizetype n)
{
    double sum = 0.0;
    for (qsizetype i = 0; i < n; ++i)
        sum += double(x[i]) * x[i];
    return n ? std::sqrt(sum / double(n)) : 0.0;
}

struct Beep
{
    double start;
    double end;
};

// What one tone did in a recording after a given moment.
struct Heard
{
    QList<Beep> beeps;
    double seconds = 0.0; // time the tone was the one sounding
    double peak = 0.0; // loudest frame of that tone

    QString describe() const
    {
        QStringList parts;
        for (const Beep &b : beeps)
            parts << QStringLiteral("%1-%2").arg(b.start, 0, 'f', 2).arg(b.end, 0, 'f', 2);
        return QStringLiteral("%1 beeps [%2], %3 s, peak %4")
            .arg(beeps.size())
            .arg(parts.join(QLatin1Char(' ')))
            .arg(seconds, 0, 'f', 2)
            .arg(peak, 0, 'f', 3);
    }
};

Heard listen(const Pcm &pcm, double hz, double otherHz, double from)
{
    Heard heard;
    const qsizetype frameLength = qsizetype(FrameSeconds * pcm.sampleRate);
    if (frameLength <= 0)
        return heard;
    double runStart = -1.0; // start of the beep being read
    double runEnd = -1.0; // end of its last tone frame
    const auto closeRun = [&] {
        // A single frame is a blip, not a beep.
        if (runStart >= 0 && runEnd - runStart > 1.5 * FrameSeconds)
            heard.beeps.append({ runStart, runEnd });
        runStart = -1.0;
    };
    for (qsizetype at = qsizetype(from * pcm.sampleRate); at + frameLength <= pcm.samples.size();
         at += frameLength) {
        const float *frame = pcm.samples.constData() + at;
        const double mine = toneAmplitude(frame, frameLength, hz, pcm.sampleRate);
        const double other = toneAmplitude(frame, frameLength, otherHz, pcm.sampleRate);
        const double t = double(at) / pcm.sampleRate;
        if (mine > ToneFloor && mine > Dominance * other) {
            // One frame may straddle the edge of a beep; two mean a real gap.
            if (runStart >= 0 && t - runEnd > FrameSeconds * 1.5)
                closeRun();
            if (runStart < 0)
                runStart = t;
            runEnd = t + FrameSeconds;
            heard.peak = std::max(heard.peak, mine);
            heard.seconds += FrameSeconds;
        }
    }
    closeRun();
    return heard;
}

// Records the monitor of the default sink into a WAV file with parecord, and
// reads the file while it grows. The sizes in a WAV header are written only
// when the recording ends, so samples are taken as far as the file goes.
class MonitorRecorder
{
public:
    ~MonitorRecorder() { stop(); }

    bool start(const QString &path, QString *error)
    {
        m_path = path;
        const QString sink = qEnvironmentVariable("VEMI_PULSE_SINK");
        const QString source = sink.isEmpty() ? QStringLiteral("@DEFAULT_MONITOR@")
                                              : sink + QStringLiteral(".monitor");
        // A short fragment keeps the file close to real time, so the test can
        // follow a sound while it plays.
        m_process.start(QStringLiteral("parecord"),
            { QStringLiteral("--device=") + source, QStringLiteral("--file-format=wav"),
                QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20"), path });
        if (!m_process.waitForStarted(5000)) {
            *error = QStringLiteral("parecord did not start: ") + m_process.errorString();
            return false;
        }
        // The monitor delivers silence while nothing plays, so audio in the
        // file proves the recording is live before anything is played.
        QElapsedTimer clock;
        clock.start();
        while (current().seconds() < 0.1) {
            if (m_process.state() == QProcess::NotRunning || clock.hasExpired(10000)) {
                *error = QStringLiteral("parecord recorded nothing: ")
                    + QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed();
                return false;
            }
            QTest::qWait(20);
        }
        return true;
    }

    const Pcm &current()
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return m_pcm;
        if (!m_layout) {
            m_layout = readWavLayout(file.read(4096));
            if (!m_layout)
                return m_pcm;
            m_pcm.sampleRate = m_layout->sampleRate;
            m_read = m_layout->dataOffset;
        }
        if (!file.seek(m_read))
            return m_pcm;
        const QByteArray more = file.readAll();
        const qsizetype frameBytes = 2 * m_layout->channels;
        const qsizetype frames = more.size() / frameBytes;
        for (qsizetype i = 0; i < frames; ++i) {
            const auto s = qFromLittleEndian<qint16>(more.constData() + i * frameBytes);
            m_pcm.samples.append(float(s) / 32768.0f);
        }
        m_read += frames * frameBytes;
        return m_pcm;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

private:
    QString m_path;
    QProcess m_process;
    std::optional<WavLayout> m_layout;
    qsizetype m_read = 0;
    Pcm m_pcm;
};

// The event loop keeps running while the test listens: the player loads and
// starts sounds from it. Recorded time, not wall time, measures the waits, so
// a busy machine does not cut the listening short.

// Listens until `tone` has sounded as often as the file beeps and then gone
// quiet (so an extra beep would still be caught), or for `limit` seconds.
Pcm listenForBeeps(MonitorRecorder &recorder, double from, const ToneFile &tone,
    const ToneFile &other, double limit)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QTest::qWait(50);
        const Pcm &pcm = recorder.current();
        const Heard heard = listen(pcm, tone.hz, other.hz, from);
        const qsizetype frameLength = qsizetype(FrameSeconds * pcm.sampleRate);
        double lastSound = from;
        for (qsizetype at = qsizetype(from * pcm.sampleRate);
             at + frameLength <= pcm.samples.size(); at += frameLength) {
            if (frameRms(pcm.samples.constData() + at, frameLength) > ToneFloor / 2)
                lastSound = double(at + frameLength) / pcm.sampleRate;
        }
        if (heard.beeps.size() >= tone.beeps && pcm.seconds() - lastSound >= QuietSeconds)
            return pcm;
        if (pcm.seconds() - from >= limit || clock.hasExpired(qint64((limit + 5) * 1000)))
            return pcm;
    }
}

Pcm listenFor(MonitorRecorder &recorder, double from, double seconds)
{
    QElapsedTimer clock;
    clock.start();
    while (recorder.current().seconds() - from < seconds
        && !clock.hasExpired(qint64((seconds + 5) * 1000)))
        QTest::qWait(50);
    return recorder.current();
}

QString checkBeeps(const Heard &heard, const ToneFile &tone)
{
    if (heard.beeps.size() != tone.beeps)
        return QStringLiteral("expected %1 beeps").arg(tone.beeps);
    for (const Beep &b : heard.beeps) {
        if (std::abs(b.end - b.start - tone.beepSeconds) > BeepTolerance)
            return QStringLiteral("expected beeps of %1 s").arg(tone.beepSeconds);
    }
    if (heard.peak < LoudEnough)
        return QStringLiteral("too quiet");
    return {};
}

// A WAV file built field by field, so each case shows what it feeds in.
QByteArray chunk(const char *id, const QByteArray &body, qint64 declaredSize = -1)
{
    QByteArray out(id, 4);
    char size[4];
    qToLittleEndian(quint32(declaredSize < 0 ? body.size() : declaredSize), size);
    out.append(size, 4);
    out.append(body);
    if (body.size() % 2)
        out.append('\0');
    return out;
}

QByteArray formatBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits, quint16 subTag = 0)
{
    const quint16 blockAlign = quint16(channels * ((bits + 7) / 8));
    QByteArray body(subTag ? 40 : 16, '\0');
    char *p = body.data();
    qToLittleEndian(tag, p);
    qToLittleEndian(channels, p + 2);
    qToLittleEndian(rate, p + 4);
    qToLittleEndian(quint32(rate * blockAlign), p + 8);
    qToLittleEndian(blockAlign, p + 12);
    qToLittleEndian(bits, p + 14);
    if (subTag) {
        qToLittleEndian(quint16(22), p + 16); // extension size
        qToLittleEndian(bits, p + 18); // valid bits
        qToLittleEndian(subTag, p + 24); // first field of the sub-format GUID
        // The rest of the GUID, the same for every format tag.
        const char tail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
        std::memcpy(p + 26, tail, 14);
    }
    return body;
}

QByteArray riff(const QByteArray &chunks)
{
    QByteArray out("RIFF");
    char size[4];
    qToLittleEndian(quint32(4 + chunks.size()), size);
    out.append(size, 4);
    return out + "WAVE" + chunks;
}

} // namespace

#define REQUIRE_SOUND_SERVER()                                                                     \
    do {                                                                                           \
        if (!m_noSound.isEmpty())                                                                  \
            QSKIP(qPrintable(m_noSound));                                                          \
    } while (false)

class TestPulseSoundPlayer final : public QObject
{
    Q_OBJECT

public:
    bool soundSkipped() const { return !m_noSound.isEmpty(); }

private slots:
    void initTestCase();
    void init();

    void readsSampleFormats_data();
    void readsSampleFormats();

    void bundledToneIsHeard_data();
    void bundledToneIsHeard();
    void nextSoundCutsOffCurrent_data();
    void nextSoundCutsOffCurrent();
    void unplayablePathSoundsNoTone_data();
    void unplayablePathSoundsNoTone();
    void repairedFilePlaysAgain();
    void missingServerIsReported();

private:
    enum AlarmFirst { NoAlarmFirst, AlarmStarting, AlarmSounding };

    static QString soundFile(const ToneFile &tone)
    {
        return QStringLiteral(VEMI_SOUND_DIR "/") + QLatin1String(tone.name);
    }

    QString m_noSound; // why the sound cases cannot run, if they cannot
    QTemporaryDir m_dir;
    // One recording for the whole run: parecord takes a while to start.
    std::optional<MonitorRecorder> m_recorder;
    double m_start = 0.0; // recorded seconds when the case began
};

void TestPulseSoundPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString reason = qEnvironmentVariable("VEMI_NO_PULSEAUDIO");
    QProcess pactl;
    if (!reason.isEmpty()) {
        m_noSound = QStringLiteral("no sound server: ") + reason;
    } else if (QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty()) {
        m_noSound
            = QStringLiteral("no sound server: pactl is not installed (package pulseaudio-utils)");
    } else {
        pactl.start(QStringLiteral("pactl"), { QStringLiteral("info") });
        if (!pactl.waitForFinished(5000) || pactl.exitStatus() != QProcess::NormalExit
            || pactl.exitCode() != 0)
            m_noSound = QStringLiteral(
                "no sound server answers (run the test through with_pulseaudio.sh)");
    }
    if (!m_noSound.isEmpty())
        return;

    QVERIFY2(QFile::exists(soundFile(Timeup)), VEMI_SOUND_DIR);
    QVERIFY2(QFile::exists(soundFile(Hurryup)), VEMI_SOUND_DIR);
    QString error;
    m_recorder.emplace();
    QVERIFY2(
        m_recorder->start(m_dir.filePath(QStringLiteral("heard.wav")), &error), qPrintable(error));
}

void TestPulseSoundPlayer::init()
{
    if (m_recorder)
        m_start = m_recorder->current().seconds();
}

void TestPulseSoundPlayer::readsSampleFormats_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QList<float>>("samples"); // empty: the file is refused

    const QByteArray pcm16 = formatBody(1, 1, 8000, 16);
    const QByteArray samples16("\x01\x02\x03\x04", 4);
    const QList<float> read16 { 0x0201 / 32768.0f, 0x0403 / 32768.0f };
    QTest::newRow("16-bit mono") << riff(chunk("fmt ", pcm16) + chunk("data", samples16)) << 1
                                 << read16;
    QTest::newRow("8-bit stereo is unsigned")
        << riff(chunk("fmt ", formatBody(1, 2, 8000, 8))
               + chunk("data", QByteArray("\x10\xF0\x20\xE0", 4)))
        << 2 << QList<float> { -112 / 128.0f, 112 / 128.0f, -96 / 128.0f, 96 / 128.0f };
    QTest::newRow("float") << riff(chunk("fmt ", formatBody(3, 1, 1000, 32))
        + chunk("data", QByteArray("\x00\x00\x80\x3F", 4)))
                           << 1 << QList<float> { 1.0f };
    QTest::newRow("extensible PCM")
        << riff(chunk("fmt ", formatBody(0xFFFE, 1, 1000, 16, 1)) + chunk("data", samples16)) << 1
        << read16;
    // An odd-sized chunk is followed by a pad byte that is not part of it.
    QTest::newRow("odd chunk before the samples")
        << riff(chunk("fmt ", pcm16) + chunk("LIST", "abc") + chunk("data", samples16)) << 1
        << read16;
    QTest::newRow("file cut short keeps what it has")
        << riff(chunk("fmt ", pcm16) + chunk("data", samples16, 1000)) << 1 << read16;
    QTest::newRow("half a sample frame is dropped")
        << riff(chunk("fmt ", pcm16) + chunk("data", QByteArray("\x01\x02\x03", 3))) << 1
        << read16.mid(0, 1);

    QTest::newRow("compressed") << riff(
        chunk("fmt ", formatBody(2, 1, 8000, 4)) + chunk("data", samples16))
                                << 0 << QList<float>();
    QTest::newRow("extensible compressed")
        << riff(chunk("fmt ", formatBody(0xFFFE, 1, 8000, 4, 2)) + chunk("data", samples16)) << 0
        << QList<float>();
    QTest::newRow("no format") << riff(chunk("data", samples16)) << 0 << QList<float>();
    QTest::newRow("short format") << riff(chunk("fmt ", pcm16.left(14)) + chunk("data", samples16))
                                  << 0 << QList<float>();
    QTest::newRow("not a WAV") << QByteArray("ID3\x04 some other sound") << 0 << QList<float>();
}

void TestPulseSoundPlayer::readsSampleFormats()
{
    QFETCH(QByteArray, wav);
    QFETCH(int, channels);
    QFETCH(QList<float>, samples);

    const QString path = m_dir.filePath(QStringLiteral("format.wav"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(wav), wav.size());
    file.close();

    SoundFileReader reader(path);
    QCOMPARE(reader.isOpen(), !samples.isEmpty());
    if (samples.isEmpty()) {
        QVERIFY(!reader.error().isEmpty());
        return;
    }
    QCOMPARE(reader.channels(), channels);
    QList<float> read(samples.size() + 8 * channels, -9.0f);
    // Read in pieces smaller than the file, as the player does.
    qint64 frames = 0;
    while (const qint64 got = reader.read(read.data() + frames * channels, 1))
        frames += got;
    read.resize(frames * channels);
    QCOMPARE(read, samples);
}

void TestPulseSoundPlayer::bundledToneIsHeard_data()
{
    QTest::addColumn<bool>("alarm");
    QTest::newRow("alarm") << true;
    QTest::newRow("pre-alarm") << false;
}

void TestPulseSoundPlayer::bundledToneIsHeard()
{
    REQUIRE_SOUND_SERVER();
    QFETCH(bool, alarm);
    const ToneFile &tone = alarm ? Timeup : Hurryup;
    const ToneFile &other = alarm ? Hurryup : Timeup;

    PulseSoundPlayer player;
    QElapsedTimer call;
    call.start();
    player.play(soundFile(tone));
    // The trainer's timer tick plays the sound: it must not wait for it.
    QVERIFY2(
        call.elapsed() < 200, qPrintable(QStringLiteral("play() took %1 ms").arg(call.elapsed())));

    const Pcm pcm = listenForBeeps(*m_recorder, m_start, tone, other, 3.0);
    const Heard heard = listen(pcm, tone.hz, other.hz, m_start);
    const Heard wrong = listen(pcm, other.hz, tone.hz, m_start);
    const QString problem = checkBeeps(heard, tone);
    QVERIFY2(problem.isEmpty(), qPrintable(problem + QStringLiteral(": ") + heard.describe()));
    QVERIFY2(wrong.seconds == 0.0, qPrintable(QStringLiteral("other tone: ") + wrong.describe()));
}

void TestPulseSoundPlayer::nextSoundCutsOffCurrent_data()
{
    QTest::addColumn<bool>("waitUntilHeard");

    // Both in one timer tick, as when the pre-alarm and the alarm fall on the
    // same second; and a new sound arriving while the first is sounding.
    QTest::newRow("same moment") << false;
    QTest::newRow("while sounding") << true;
}

void TestPulseSoundPlayer::nextSoundCutsOffCurrent()
{
    REQUIRE_SOUND_SERVER();
    QFETCH(bool, waitUntilHeard);

    PulseSoundPlayer player;
    player.play(soundFile(Timeup));
    if (waitUntilHeard) {
        QElapsedTimer clock;
        clock.start();
        while (listen(m_recorder->current(), Timeup.hz, Hurryup.hz, m_start).seconds
            < 2 * FrameSeconds) {
            QVERIFY2(!clock.hasExpired(3000), "the first sound never started");
            QTest::qWait(10);
        }
    }
    player.play(soundFile(Hurryup));

    const Pcm pcm = listenForBeeps(*m_recorder, m_start, Hurryup, Timeup, 3.0);
    const Heard first = listen(pcm, Timeup.hz, Hurryup.hz, m_start);
    const Heard second = listen(pcm, Hurryup.hz, Timeup.hz, m_start);
    const QByteArray report = (QStringLiteral("first ") + first.describe()
        + QStringLiteral("; second ") + second.describe())
                                  .toUtf8();
    const QString problem = checkBeeps(second, Hurryup);
    QVERIFY2(problem.isEmpty(), qPrintable(problem + QStringLiteral(": ") + report));
    // Cut within its first beep, and before the second sound began.
    QVERIFY2(first.seconds < Timeup.beepSeconds - BeepTolerance, report);
    if (waitUntilHeard) {
        QVERIFY2(first.beeps.size() == 1, report);
        QVERIFY2(first.beeps[0].end <= second.beeps[0].start + FrameSeconds, report);
    }
}

void TestPulseSoundPlayer::unplayablePathSoundsNoTone_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("alarmFirst");

    const QString missing = m_dir.filePath(QStringLiteral("missing.wav"));
    const QString notWave = m_dir.filePath(QStringLiteral("notwave.wav"));
    QFile file(notWave);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("RIFF this is not a sound at all");
    file.close();

    QTest::newRow("missing file") << missing << int(NoAlarmFirst);
    QTest::newRow("empty path") << QString() << int(NoAlarmFirst);
    QTest::newRow("not a WAV") << notWave << int(NoAlarmFirst);
    // The unplayable path is the newest request: the alarm it replaces stops,
    // whether it was still being opened or already sounding.
    QTest::newRow("missing file replaces a starting alarm") << missing << int(AlarmStarting);
    QTest::newRow("missing file replaces a sounding alarm") << missing << int(AlarmSounding);
    QTest::newRow("not a WAV replaces a sounding alarm") << notWave << int(AlarmSounding);
}

void TestPulseSoundPlayer::unplayablePathSoundsNoTone()
{
    REQUIRE_SOUND_SERVER();
    QFETCH(QString, path);
    QFETCH(int, alarmFirst);

    PulseSoundPlayer player;
    QStringList reasons;
    player.setFailureHandler([&](const QString &reason) { reasons << reason; });
    if (alarmFirst != NoAlarmFirst)
        player.play(soundFile(Timeup));
    // Playing runs on a thread of its own: blocking here lets it start the
    // alarm before the unplayable path replaces it.
    if (alarmFirst == AlarmSounding)
        QThread::msleep(150);
    player.play(path);

    // Long enough for a wrongly started alarm to be heard.
    Pcm pcm = listenFor(*m_recorder, m_start, alarmFirst != NoAlarmFirst ? 1.0 : 0.3);
    const Heard alarm = listen(pcm, Timeup.hz, Hurryup.hz, m_start);
    Heard prealarm = listen(pcm, Hurryup.hz, Timeup.hz, m_start);
    const QByteArray report = (QStringLiteral("alarm ") + alarm.describe()
        + QStringLiteral("; pre-alarm ") + prealarm.describe())
                                  .toUtf8();
    QVERIFY2(prealarm.seconds == 0.0, report);
    // A sounding alarm is cut within its first beep; one still starting is never heard.
    if (alarmFirst == AlarmSounding)
        QVERIFY2(alarm.seconds < Timeup.beepSeconds - BeepTolerance, report);
    else
        QVERIFY2(alarm.seconds == 0.0, report);
    // Told once, naming the file; the alarm that was cut off is no failure.
    QCOMPARE(reasons.size(), 1);
    QVERIFY2(path.isEmpty() ? reasons[0] == QStringLiteral("音声ファイルが設定されていません")
                            : reasons[0].contains(QDir::toNativeSeparators(path)),
        qPrintable(reasons[0]));

    // The failure leaves the player working: this also proves the silence above
    // was heard through a live recording.
    const double again = pcm.seconds();
    player.play(soundFile(Hurryup));
    pcm = listenForBeeps(*m_recorder, again, Hurryup, Timeup, 3.0);
    prealarm = listen(pcm, Hurryup.hz, Timeup.hz, again);
    const QString problem = checkBeeps(prealarm, Hurryup);
    QVERIFY2(problem.isEmpty(), qPrintable(problem + QStringLiteral(": ") + prealarm.describe()));
}

// A sound file that could not be played (half copied, say) plays once it has
// been put right, without restarting the trainer.
void TestPulseSoundPlayer::repairedFilePlaysAgain()
{
    REQUIRE_SOUND_SERVER();
    const QString path = m_dir.filePath(QStringLiteral("repaired.wav"));
    QFile broken(path);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("RIFF\0\0\0\0WAVE", 12);
    broken.close();

    PulseSoundPlayer player;
    player.play(path);
    Pcm pcm = listenFor(*m_recorder, m_start, 0.3);
    QCOMPARE(listen(pcm, Timeup.hz, Hurryup.hz, m_start).seconds, 0.0);

    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::copy(soundFile(Timeup), path));
    const double again = pcm.seconds();
    player.play(path);
    pcm = listenForBeeps(*m_recorder, again, Timeup, Hurryup, 3.0);
    const Heard alarm = listen(pcm, Timeup.hz, Hurryup.hz, again);
    const QString problem = checkBeeps(alarm, Timeup);
    QVERIFY2(problem.isEmpty(), qPrintable(problem + QStringLiteral(": ") + alarm.describe()));
}

// Without a sound server the learner is told so; this needs no server to run.
void TestPulseSoundPlayer::missingServerIsReported()
{
    const QByteArray saved = qgetenv("PULSE_SERVER");
    const auto restore = qScopeGuard([&] {
        if (saved.isNull())
            qunsetenv("PULSE_SERVER");
        else
            qputenv("PULSE_SERVER", saved);
    });
    qputenv("PULSE_SERVER", QFile::encodeName(m_dir.filePath(QStringLiteral("no-server"))));
    PulseSoundPlayer player;
    QStringList reasons;
    player.setFailureHandler([&](const QString &reason) { reasons << reason; });
    player.play(soundFile(Timeup));
    QTRY_COMPARE_WITH_TIMEOUT(reasons.size(), 1, 5000);
    QVERIFY2(reasons[0].startsWith(QStringLiteral("サウンドサーバーに接続できません")),
        qPrintable(reasons[0]));
}

// QTEST_MAIN, except that a run whose sound cases could not run ends with
// SkippedExitCode, so CTest shows it as skipped rather than passed.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    TestPulseSoundPlayer test;
    const int failures = QTest::qExec(&test, argc, argv);
    return failures == 0 && test.soundSkipped() ? SkippedExitCode : failures;
}

#include "tst_pulsesoundplayer.moc"
