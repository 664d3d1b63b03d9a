// Kept runs: any bytes decode without fault, and what decodes is written again
// as the same run.
#include "core/exam/ExamRunFile.h"
#include "tests/fuzz/FuzzFile.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto run = ExamRunFile::decode(bytes);
    if (run) {
        const auto again = ExamRunFile::decode(ExamRunFile::encode(*run));
        FUZZ_CHECK(again && *again == *run);
    }
    return 0;
}
