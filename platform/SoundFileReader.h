#pragma once

#include <QString>

#include <sndfile.h>

// Reads a sound file (WAV and the other formats libsndfile knows) as float
// sample frames, a piece at a time, so a long file is never held whole.
class SoundFileReader
{
public:
    explicit SoundFileReader(const QString &path);
    ~SoundFileReader();
    SoundFileReader(const SoundFileReader &) = delete;
    SoundFileReader &operator=(const SoundFileReader &) = delete;

    bool isOpen() const { return m_file != nullptr; }
    // Why the file could not be opened, as libsndfile says it.
    QString error() const { return m_error; }
    int sampleRate() const { return m_info.samplerate; }
    int channels() const { return m_info.channels; }

    // Reads up to `frames` frames of channels() samples each (full scale = 1)
    // into `out`; the frames read, 0 at the end.
    qint64 read(float *out, qint64 frames);

private:
    SNDFILE *m_file = nullptr;
    SF_INFO m_info {};
    QString m_error;
};
