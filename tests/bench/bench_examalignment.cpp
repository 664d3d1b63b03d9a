// Times the exam alignment: a keystroke at 1,000 characters (budget 2 ms), the
// same with a passage left out, a long run with 1 % errors (budget 8 ms), and
// texts that have nothing in common (the worst case). For each, apart, the
// choice among the alignments with the fewest errors. The machine may be
// shared: the processor time, and the fastest call, show the work apart from
// waiting. Run on demand, from a release build for figures:
//   build/tests/bench/bench_examalignment [case name]
#include "core/exam/ExamAlignment.h"
#include "core/exam/ExamAlignmentMethods.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

// Kana with some kanji and punctuation, lines of about 40 characters.
QString japaneseText(QRandomGenerator &random, int length)
{
    static const QString kana
        = QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもや"
                         "ゆよらりるれろわをん"
                         "がぎぐげござじずぜぞだでどばびぶべぼ、。アイウカキクサシスタチツ");
    static const QString kanji = QStringLiteral("日本語文書作成試験練習問題速度正確入力変換漢字");
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i) {
        if (random.bounded(40) == 0)
            text += QLatin1Char('\n');
        else if (random.bounded(4) == 0)
            text += kanji[random.bounded(int(kanji.size()))];
        else
            text += kana[random.bounded(int(kana.size()))];
    }
    return text;
}

// The first `length` characters as a learner might type them with `errors`
// mistakes spread evenly: changed, dropped or added characters in turn.
QString mistype(const QString &practice, int length, int errors)
{
    QString typed;
    typed.reserve(length + errors);
    const int every = errors > 0 ? length / errors : length + 1;
    for (int i = 0; i < length; ++i) {
        if (errors > 0 && i % every == every / 2) {
            switch ((i / every) % 3) {
            case 0:
                typed += QChar(u'ー');
                break;
            case 1:
                break;
            default:
                typed += practice[i];
                typed += QChar(u'・');
            }
            continue;
        }
        typed += practice[i];
    }
    return typed;
}

// The machine is shared: the processor time shows the work apart from waiting.
double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Timing
{
    double meanMs = 0;
    double meanCpuMs = 0;
    double fastestCpuMs = 1e300;
};

template <typename Call> Timing timeCalls(int repeats, Call &&call)
{
    Timing timing;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repeats; ++i) {
        const double cpuStart = threadCpuMs();
        call();
        const double cpuMs = threadCpuMs() - cpuStart;
        timing.meanCpuMs += cpuMs / repeats;
        timing.fastestCpuMs = std::min(timing.fastestCpuMs, cpuMs);
    }
    timing.meanMs = double(timer.nsecsElapsed()) / 1e6 / repeats;
    return timing;
}

// Runs of consecutive errors: a skipped passage is one.
int runs(const ExamAlignmentMethods::Script &script)
{
    int count = 0;
    for (std::size_t i = 0; i < script.steps.size(); ++i) {
        const bool error = script.steps[i] != ExamAlignmentMethods::Step::Match;
        count += error && (i == 0 || script.steps[i - 1] == ExamAlignmentMethods::Step::Match);
    }
    return count;
}

void run(const char *name, const QString &practice, const QString &typed, int repeats)
{
    ExamAlignment alignment;
    alignment.setPracticeText(practice);
    ExamAlignment::Result result;
    const Timing whole = timeCalls(repeats, [&] { result = alignment.align(typed); });
    std::printf("%-13s %6lld typed vs %6lld practice: %9.3f ms a call (processor %9.3f ms, "
                "fastest %9.3f ms), %6d errors (%d/%d/%d), reached %lld, peak %ld KiB\n",
        name, static_cast<long long>(typed.size()), static_cast<long long>(practice.size()),
        whole.meanMs, whole.meanCpuMs, whole.fastestCpuMs, result.errorCount(),
        result.substitutions, result.omissions, result.insertions,
        static_cast<long long>(result.practiceReached), peakKilobytes());

    const QList<uint> p = practice.toUcs4();
    const QList<uint> t = typed.toUcs4();
    const ExamAlignmentMethods::Text pc(
        reinterpret_cast<const char32_t *>(p.data()), std::size_t(p.size()));
    const ExamAlignmentMethods::Text tc(
        reinterpret_cast<const char32_t *>(t.data()), std::size_t(t.size()));
    const ExamAlignmentMethods::Script found = ExamAlignmentMethods::align(pc, tc);
    ExamAlignmentMethods::Script chosen;
    const Timing choice
        = timeCalls(repeats, [&] { chosen = ExamAlignmentMethods::canonical(pc, tc, found); });
    std::printf("%-13s   of which the choice among the best: %9.3f ms (processor %9.3f ms, "
                "fastest %9.3f ms), %d runs of errors\n",
        "", choice.meanMs, choice.meanCpuMs, choice.fastestCpuMs, runs(chosen));
}

} // namespace

int main(int argc, char *argv[])
{
    const char *only = argc > 1 ? argv[1] : nullptr;
    const auto wanted = [only](const char *name) { return !only || std::strcmp(only, name) == 0; };
    QRandomGenerator random(10);
    if (wanted("keystroke")) {
        const QString practice = japaneseText(random, 1500);
        run("keystroke", practice, mistype(practice, 1000, 50), 200);
    }
    if (wanted("skipped")) {
        // Two and a half lines left out in the middle of the typing.
        const QString practice = japaneseText(random, 1500);
        run("skipped", practice, mistype(practice, 1000, 50).remove(500, 100), 200);
    }
    if (wanted("long")) {
        const QString practice = japaneseText(random, 65536);
        run("long", practice, mistype(practice, 65536, 655), 20);
    }
    if (wanted("unrelated10k"))
        run("unrelated10k", japaneseText(random, 10000), japaneseText(random, 10000), 3);
    if (wanted("unrelated64k"))
        run("unrelated64k", japaneseText(random, 65536), japaneseText(random, 65536), 1);
    if (wanted("pasted256k"))
        run("pasted256k", japaneseText(random, 262144), japaneseText(random, 262144), 1);
    return 0;
}
