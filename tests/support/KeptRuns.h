#pragma once

#include "core/exam/ExamHistory.h"
#include "core/exam/ExamProfile.h"
#include "core/exam/ExamRunFile.h"
#include "core/exam/ExamRunStore.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

// Many kept runs at once, for benchmarks and tests of what reads them: each run
// copies a practice text of `length` characters (lines of 35) made of a few
// texts, with the mistakes learners make in them (wrong conversions, words
// left in hiragana, full-width digits) and one left-out and one extra
// character, about 20 errors a run. Written without syncing each file, so
// 10,000 runs take seconds.
namespace KeptRuns {

struct Mistake
{
    const char16_t *expected;
    const char16_t *typed; // as long as expected: every differing character is one 誤字
};
inline constexpr Mistake Mistakes[] = { { u"発送", u"発想" }, { u"制服", u"征服" },
    { u"遅れて", u"後れて" }, { u"ホーム", u"ほーむ" }, { u"ネズミ", u"ねずみ" }, { u"2", u"２" } };
inline constexpr int MistakeCount = int(std::size(Mistakes));

// The practice text: filler with the mistaken words in it, a line break every 35 characters.
inline QString practiceText(int length)
{
    static const QString Filler = QStringLiteral("今日は荷物を");
    QString text;
    int word = 0;
    while (text.size() < length) {
        text += Filler + QString::fromUtf16(Mistakes[word++ % MistakeCount].expected);
        text += QStringLiteral("。");
    }
    text.truncate(length);
    for (qsizetype at = 35; at < text.size(); at += 36)
        text[at] = u'\n';
    return text;
}

// The run numbered index: its result (a quarter of an hour after the one before),
// typed text and alignment, as the capture would have them.
inline ExamRunDetail detail(int index, int length = 700)
{
    const QString practice = practiceText(length);
    const QList<ExamLevel> levels = ExamProfile::levels(1, 300);
    const ExamLevel &level = levels[index % 3];
    ExamAlignment::Result aligned;
    QString typed;
    typed.reserve(practice.size() + 1);
    const qsizetype omitAt = 20, insertAt = practice.size() / 2;
    qsizetype p = 0;
    int word = index;
    while (p < practice.size()) {
        if (p == omitAt && practice[p] != u'\n') {
            aligned.errors.append({ ExamAlignment::ErrorKind::Omission, typed.size(), 0, p, 1 });
            ++aligned.omissions;
            ++p;
            continue;
        }
        if (p == insertAt) {
            aligned.errors.append({ ExamAlignment::ErrorKind::Insertion, typed.size(), 1, p, 0 });
            ++aligned.insertions;
            typed += u'ー';
        }
        const Mistake &m = Mistakes[word % MistakeCount];
        const QStringView expected(m.expected);
        // Every other mistaken word is typed wrong, about 20 errors in 700 characters.
        if (practice.sliced(p).startsWith(expected) && word++ % 2 == 0) {
            const QStringView wrong(m.typed);
            for (qsizetype i = 0; i < expected.size(); ++i) {
                if (expected[i] != wrong[i]) {
                    aligned.errors.append(
                        { ExamAlignment::ErrorKind::Substitution, typed.size() + i, 1, p + i, 1 });
                    ++aligned.substitutions;
                }
            }
            typed += wrong;
            p += expected.size();
            continue;
        }
        typed += practice[p++];
    }
    aligned.practiceReached = practice.size();
    ExamResult result;
    result.when = QDateTime(QDate(2026, 1, 5), QTime(9, 0)).addSecs(qint64(index) * 15 * 60);
    result.practiceName = QStringLiteral("練習文%1.txt").arg(index % 7 + 1);
    result.level = level.title();
    result.typedCount = int(typed.size() - typed.count(u'\n'));
    result.substitutions = aligned.substitutions;
    result.omissions = aligned.omissions;
    result.insertions = aligned.insertions;
    result.netScore = ExamProfile::netScore(result.typedCount, aligned.errorCount(), level.penalty);
    result.passMark = level.passMark;
    result.passed = result.netScore >= level.passMark;
    return ExamRunStore::make(result, level, aligned, practice, typed);
}

// Writes count runs into the runs folder beside historyPath and a history file
// naming them (replacing any there). Gives the rows as the history reads them.
inline QList<ExamResult> write(const QString &historyPath, int count, int length = 700)
{
    const ExamRunStore store(historyPath);
    QDir().mkpath(store.folder());
    QList<ExamResult> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const ExamRunDetail run = detail(i, length);
        ExamResult row = run.result;
        row.detailFile
            = row.when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".json");
        QFile file(QDir(store.folder()).filePath(row.detailFile));
        if (!file.open(QIODevice::WriteOnly) || file.write(ExamRunFile::encode(run)) < 0)
            return {};
        rows << row;
    }
    QFile history(historyPath);
    if (!history.open(QIODevice::WriteOnly) || history.write(ExamHistory::fileBytes(rows)) < 0)
        return {};
    return rows;
}

} // namespace KeptRuns
