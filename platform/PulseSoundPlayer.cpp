#include "platform/PulseSoundPlayer.h"

#include "platform/SoundFileReader.h"

#include <QApplication>
#include <QDir>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

// Samples are written in pieces this long, and the server is asked to hold
// about this much ahead, so a newer sound cuts in within a fraction of a second.
constexpr pa_usec_t PieceUsec = 20'000;
constexpr pa_usec_t BufferUsec = 100'000;

struct StreamDeleter
{
    void operator()(pa_simple *stream) const { pa_simple_free(stream); }
};
using Stream = std::unique_ptr<pa_simple, StreamDeleter>;

QString serverError(int error)
{
    return QStringLiteral("サウンドサーバーに接続できません（%1）")
        .arg(QString::fromLocal8Bit(pa_strerror(error)));
}

} // namespace

PulseSoundPlayer::PulseSoundPlayer(QObject *parent)
    : QObject(parent)
    , m_worker([this] { run(); })
{ }

PulseSoundPlayer::~PulseSoundPlayer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
        m_interrupted = true;
    }
    m_wake.notify_one();
    m_worker.join();
}

void PulseSoundPlayer::play(const QString &path)
{
    {
        const std::lock_guard lock(m_mutex);
        m_request = path;
        m_interrupted = true;
    }
    m_wake.notify_one();
}

void PulseSoundPlayer::run()
{
    for (;;) {
        QString path;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_request; });
            if (m_quit)
                return;
            path = *std::exchange(m_request, std::nullopt);
            m_interrupted = false;
        }
        const QString failure = playFile(path);
        if (!failure.isEmpty())
            failed(failure);
    }
}

QString PulseSoundPlayer::playFile(const QString &path)
{
    if (path.isEmpty())
        return QStringLiteral("音声ファイルが設定されていません");
    SoundFileReader file(path);
    if (!file.isOpen())
        return QStringLiteral("音声ファイル %1 を再生できません（%2）")
            .arg(QDir::toNativeSeparators(path), file.error());

    pa_sample_spec spec {};
    spec.format = PA_SAMPLE_FLOAT32NE;
    spec.rate = quint32(file.sampleRate());
    spec.channels = quint8(qMin(file.channels(), 255));
    if (file.channels() > int(PA_CHANNELS_MAX) || !pa_sample_spec_valid(&spec))
        return QStringLiteral("音声ファイル %1 の形式は再生できません")
            .arg(QDir::toNativeSeparators(path));

    pa_buffer_attr buffer {};
    buffer.maxlength = quint32(-1);
    buffer.tlength = quint32(pa_usec_to_bytes(BufferUsec, &spec));
    buffer.prebuf = quint32(-1);
    buffer.minreq = quint32(-1);
    buffer.fragsize = quint32(-1);
    int error = 0;
    // No device named: the server's default output, which follows the user's choice.
    const Stream stream(pa_simple_new(nullptr, "VemiTrainer", PA_STREAM_PLAYBACK, nullptr, "alarm",
        &spec, nullptr, &buffer, &error));
    if (!stream)
        return serverError(error);

    const qint64 pieceFrames = qMax<qint64>(1, qint64(spec.rate) * PieceUsec / 1'000'000);
    std::vector<float> piece(size_t(pieceFrames) * spec.channels);
    while (!m_interrupted) {
        const qint64 frames = file.read(piece.data(), pieceFrames);
        if (frames == 0)
            break;
        if (pa_simple_write(
                stream.get(), piece.data(), size_t(frames) * pa_frame_size(&spec), &error)
            < 0)
            return serverError(error);
    }
    // Cut off, what the server still holds is dropped; played out, the end is
    // waited for, so the sound's last part is not lost.
    if (m_interrupted)
        pa_simple_flush(stream.get(), &error);
    else if (pa_simple_drain(stream.get(), &error) < 0)
        return serverError(error);
    return {};
}

// As the sound service does for a sound it cannot play; told on the thread
// that owns the player, and not at all once the player is gone.
void PulseSoundPlayer::failed(const QString &reason)
{
    qWarning("Sound not played: %s", qPrintable(reason));
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            QApplication::beep();
            reportFailure(reason);
        },
        Qt::QueuedConnection);
}
