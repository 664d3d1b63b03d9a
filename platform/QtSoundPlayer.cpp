#include "platform/QtSoundPlayer.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

#include <limits>
#include <utility>

namespace {

// QSoundEffect stops its output as soon as it has handed over the last sample,
// which throws away what the sound server still holds (about 0.1 s), so every
// sound would lose its end. Silence after the sound is what gets lost instead.
constexpr int TrailingSilenceMs = 300;

// Larger files are played as they are: reading them to add the silence would
// hold up the timer tick that asked for the sound.
constexpr qint64 LargestPaddedFile = 16 * 1024 * 1024;

constexpr quint16 FormatPcm = 1;
constexpr quint16 FormatFloat = 3;
constexpr quint16 FormatExtensible = 0xFFFE;

void appendU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

QtSoundPlayer::QtSoundPlayer(QObject *parent)
    : QObject(parent)
    , m_effect(new QSoundEffect(this))
{
    connect(m_effect, &QSoundEffect::statusChanged, this, &QtSoundPlayer::startWhenLoaded);
}

QtSoundPlayer::~QtSoundPlayer()
{
    // The effect goes before the staged files it may still be reading.
    delete m_effect;
}

void QtSoundPlayer::play(const QString &path)
{
    m_effect->stop();
    // Asking for a new sound while another is still loading can leave the new
    // one loading for ever (Qt's loader thread may wind down under it), so the
    // newest request waits for the load in flight, then takes its place.
    if (m_effect->status() == QSoundEffect::Loading) {
        m_pending = path;
        return;
    }
    m_pending.reset();
    load(path);
}

void QtSoundPlayer::load(const QString &path)
{
    // Dropping the source also drops the decoded copy, so a file that failed
    // or changed since the last time is read afresh.
    m_effect->setSource(QUrl());
    if (!m_staged.isEmpty()) {
        QFile::remove(m_staged);
        m_staged.clear();
    }

    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        QApplication::beep();
        return;
    }
    QString source = path;
    if (file.size() <= LargestPaddedFile) {
        if (const auto padded = withTrailingSilence(file.readAll(), TrailingSilenceMs)) {
            const QString staged = stage(*padded);
            if (!staged.isEmpty())
                source = staged;
        }
    }
    // Left without a device, the effect plays on the server's first output
    // rather than the default one; asking each time also follows the user
    // switching outputs while the trainer runs.
    m_effect->setAudioDevice(QMediaDevices::defaultAudioOutput());
    // Loads asynchronously; startWhenLoaded plays it.
    m_effect->setSource(QUrl::fromLocalFile(source));
}

// Each sound gets a new name: the effect identifies loaded sounds by address.
QString QtSoundPlayer::stage(const QByteArray &wav)
{
    if (!m_stagingDir.isValid())
        return {};
    const QString path = m_stagingDir.filePath(QStringLiteral("sound%1.wav").arg(++m_stagedCount));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(wav) != wav.size() || !out.flush()) {
        out.remove();
        return {};
    }
    m_staged = path;
    return path;
}

void QtSoundPlayer::startWhenLoaded()
{
    const QSoundEffect::Status status = m_effect->status();
    if (status != QSoundEffect::Ready && status != QSoundEffect::Error)
        return;
    if (m_pending) {
        // A newer sound was asked for meanwhile: this one neither plays nor
        // beeps. The effect is still inside its own signal, so the next load
        // starts once it has returned.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_pending)
                    load(*std::exchange(m_pending, std::nullopt));
            },
            Qt::QueuedConnection);
        return;
    }
    if (status == QSoundEffect::Ready)
        m_effect->play();
    else
        QApplication::beep();
}

std::optional<QByteArray> QtSoundPlayer::withTrailingSilence(
    const QByteArray &wav, int milliseconds)
{
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE" || milliseconds < 0)
        return std::nullopt;
    const char *bytes = wav.constData();
    const auto u16 = [bytes](qsizetype at) { return qFromLittleEndian<quint16>(bytes + at); };
    const auto u32 = [bytes](qsizetype at) { return qFromLittleEndian<quint32>(bytes + at); };

    QByteArray format;
    quint16 tag = 0;
    for (qsizetype at = 12; at + 8 <= wav.size();) {
        const QByteArray id = wav.mid(at, 4);
        const qsizetype body = at + 8;
        const qsizetype available = wav.size() - body;
        // A file cut short keeps whatever samples it has.
        const qsizetype size = std::min<qsizetype>(u32(at + 4), available);
        if (id == "fmt ") {
            if (size < 16)
                return std::nullopt;
            format = wav.mid(body, size);
            tag = u16(body);
            if (tag == FormatExtensible && size >= 26)
                tag = u16(body + 24); // the sub-format GUID starts with the plain tag
        } else if (id == "data") {
            if (format.isEmpty() || (tag != FormatPcm && tag != FormatFloat))
                return std::nullopt;
            const quint16 channels = qFromLittleEndian<quint16>(format.constData() + 2);
            const quint32 sampleRate = qFromLittleEndian<quint32>(format.constData() + 4);
            const quint16 blockAlign = qFromLittleEndian<quint16>(format.constData() + 12);
            const quint16 bits = qFromLittleEndian<quint16>(format.constData() + 14);
            if (channels == 0 || sampleRate == 0 || blockAlign == 0 || bits == 0)
                return std::nullopt;

            const qsizetype samples = size - size % blockAlign;
            const qint64 silence = qint64(sampleRate) * milliseconds / 1000 * blockAlign;
            const qint64 dataSize = qint64(samples) + silence;
            const qint64 riffSize
                = 4 + 8 + format.size() + format.size() % 2 + 8 + dataSize + dataSize % 2;
            if (riffSize > std::numeric_limits<quint32>::max())
                return std::nullopt;

            QByteArray out;
            out.reserve(8 + riffSize);
            out.append("RIFF");
            appendU32(out, quint32(riffSize));
            out.append("WAVE");
            out.append("fmt ");
            appendU32(out, quint32(format.size()));
            out.append(format);
            if (format.size() % 2)
                out.append('\0');
            out.append("data");
            appendU32(out, quint32(dataSize));
            out.append(bytes + body, samples);
            // 8-bit PCM is unsigned, so its silence is the middle value.
            out.append(qsizetype(silence), tag == FormatPcm && bits == 8 ? char(0x80) : '\0');
            if (dataSize % 2)
                out.append('\0');
            return out;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}
