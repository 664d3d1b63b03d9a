#include "platform/SoundFileReader.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

SoundFileReader::SoundFileReader(const QString &path)
{
    // A folder or a device would open, and then read as nothing or never end.
    if (!QFileInfo(path).isFile()) {
        m_error = QStringLiteral("ファイルがありません");
        return;
    }
    m_file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &m_info);
    if (!m_file) {
        m_error = QStringLiteral("音声ファイルとして読めません");
        qWarning("%s: %s", qPrintable(path), sf_strerror(nullptr));
    } else if (m_info.channels < 1 || m_info.samplerate < 1) {
        m_error = QStringLiteral("音の形式が不正です");
        sf_close(std::exchange(m_file, nullptr));
    }
}

SoundFileReader::~SoundFileReader()
{
    if (m_file)
        sf_close(m_file);
}

qint64 SoundFileReader::read(float *out, qint64 frames)
{
    if (!m_file || frames <= 0)
        return 0;
    return qMax<qint64>(0, sf_readf_float(m_file, out, frames));
}
