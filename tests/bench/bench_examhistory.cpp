// Times reading the practice history: 100,000 ordinary rows, and a hostile file
// of 20,000 lines that each open a quote (120 KB). Prints the time and the
// growth of the process's peak memory. Run on demand, from a release build:
//   build/tests/bench/bench_examhistory
#include "core/exam/ExamHistory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

namespace {

// Peak resident memory in KiB, after resetting it where the kernel allows.
long peakKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

void measure(const char *name, const QString &path)
{
    resetPeak();
    const long before = peakKiB();
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpu = std::clock();
    const QList<ExamResult> rows = ExamHistory(path).read();
    const qint64 ms = timer.elapsed();
    const long cpuMs = long((std::clock() - cpu) * 1000 / CLOCKS_PER_SEC);
    std::printf("%-28s %7lld rows  %6lld ms (%ld ms CPU)  +%ld MB peak\n", name,
        (long long)rows.size(), (long long)ms, cpuMs, (peakKiB() - before) / 1024);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QByteArray head = QByteArrayLiteral("\xEF\xBB\xBF")
        + QStringLiteral("日時,練習文,級,入力文字数,誤字,脱字,余字,純得点,合格点,合否\r\n")
              .toUtf8();

    QByteArray rows = head;
    for (int i = 0; i < 100000; ++i) {
        rows += QStringLiteral("2026-%1-%2T10:%3:00+09:00,練習%4.txt,2級,%5,3,1,0,%6,500,%7\r\n")
                    .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                    .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                    .arg(i % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 50)
                    .arg(400 + i % 300)
                    .arg(380 + i % 300)
                    .arg(i % 2 ? QStringLiteral("合格") : QStringLiteral("不合格"))
                    .toUtf8();
    }
    const QString valid = dir.filePath(QStringLiteral("valid.csv"));
    const QString hostile = dir.filePath(QStringLiteral("hostile.csv"));
    if (!writeFile(valid, rows) || !writeFile(hostile, QByteArray("a\",\"\r\n").repeated(20000)))
        return 1;
    std::printf("file sizes: %lld and %lld bytes\n", (long long)rows.size(), 20000LL * 6);
    measure("100,000 valid rows", valid);
    measure("20,000 lines opening quotes", hostile);
    return 0;
}
