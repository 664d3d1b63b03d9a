// RTF reader: any document gives at most its limit (and a little more for the
// character at the edge) of visible text, and reads at most mostBytes.
#include "core/text/RtfText.h"
#include "tests/fuzz/FuzzFile.h"

#include <QBuffer>

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr qsizetype Limit = 256;
    constexpr qint64 MostBytes = 2048;
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray head = bytes.left(64);
    QBuffer device(&bytes);
    if (!device.open(QIODevice::ReadOnly) || !device.seek(head.size()))
        return 0;
    const QByteArray text = RtfText::visibleText(head, device, Limit, MostBytes);
    FUZZ_CHECK(device.pos() <= std::max<qint64>(MostBytes, head.size()));
    FUZZ_CHECK(text.size() <= Limit + 16);
    return 0;
}
