#include "core/text/PracticeText.h"

#include "core/Errors.h"
#include "core/text/Cp932.h"
#include "core/text/RtfText.h"
#include "core/text/TextFile.h"

#include <QFile>

namespace PracticeText {

namespace {

// Reads up to `limit` bytes, to the end of the data. The size is only a hint:
// files that report none (or change meanwhile) are read to their end all the same.
QByteArray readHead(QIODevice &device, qsizetype limit)
{
    const qint64 hint = device.isSequential() ? 0 : device.size() - device.pos();
    QByteArray data(qBound<qint64>(1, hint + 1, limit), Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        const qsizetype wanted = data.size() - filled;
        const qint64 got = device.read(data.data() + filled, wanted);
        if (got < 0)
            throwStreamReadError();
        filled += got;
        if (got == 0 || filled == limit)
            break;
        if (filled < data.size())
            continue;
        data.resize(qMin(limit, 2 * data.size()));
    }
    data.truncate(filled);
    return data;
}

void cutAtZeroByte(QByteArray &bytes)
{
    if (const qsizetype zero = bytes.indexOf('\0'); zero >= 0)
        bytes.truncate(zero);
}

} // namespace

Text read(QIODevice &device, qsizetype visibleLimit)
{
    QByteArray data = readHead(device, TextFile::MaxFileBytes);
    if (RtfText::isRtf(data)) {
        data = RtfText::visibleText(data, device, visibleLimit, TextFile::MaxFileBytes);
        cutAtZeroByte(data);
        return { data, false };
    }
    cutAtZeroByte(data);
    if (const auto utf8 = TextFile::decodeUtf8(data))
        return { utf8->toUtf8(), true };
    return { data, false };
}

QByteArray toCp932(const Text &text)
{
    return text.utf8 ? Cp932::encodeReplacing(QString::fromUtf8(text.bytes)) : text.bytes;
}

QString toPaneText(const Text &text)
{
    if (!text.utf8)
        return TextFile::decodeCp932(text.bytes);
    QString pane = QString::fromUtf8(text.bytes);
    return pane.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

QString load(const QString &path, const QByteArray &nativePath)
{
    QFile file;
    TextFile::openForPane(file, path, nativePath);
    try {
        return toPaneText(read(file, TextFile::MaxFileBytes));
    } catch (const VemiError &) {
        throw VemiError(TextFile::cannotOpenMessage(path));
    }
}

} // namespace PracticeText
