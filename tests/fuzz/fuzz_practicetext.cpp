// A practice text counts the same in the left pane as in the problem list's
// memo (the visible count of both), and a document opened as text counts the
// same as the pane unless it is RTF, which only the practice text reads.
#include "core/Errors.h"
#include "core/text/ExtMemo.h"
#include "core/text/PracticeText.h"
#include "core/text/RtfText.h"
#include "core/text/TextFile.h"
#include "core/text/VisibleCount.h"
#include "tests/fuzz/FuzzFile.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = scratchFile("problem.txt", data, size);
    QString pane;
    TExtMemo memo;
    try {
        pane = PracticeText::load(path);
        memo.loadFromFile(path);
    } catch (const VemiError &) {
        return 0;
    }
    const QString paneCount = visibleCountText(pane);
    if (memo.text().size() < TExtMemo::TextLimit)
        FUZZ_CHECK(QString::number(visibleCharacterCount(memo.text())) == paneCount);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!RtfText::isRtf(bytes))
        FUZZ_CHECK(visibleCountText(TextFile::read(path)) == paneCount);
    return 0;
}
