#include "core/exam/ExamHistory.h"

#include "core/Errors.h"
#include "platform/AppendFile.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace {

constexpr int ColumnCount = 10;
const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray LineEnd = QByteArrayLiteral("\r\n");

QString passedText(bool passed)
{
    return passed ? QStringLiteral("合格") : QStringLiteral("不合格");
}

// Local time to the second with its offset from UTC, "+00:00" rather than "Z".
QString isoDateTime(const QDateTime &when)
{
    const int offset = when.offsetFromUtc();
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
        + QStringLiteral("%1%2:%3")
              .arg(QChar(offset < 0 ? u'-' : u'+'))
              .arg(minutes / 60, 2, 10, QLatin1Char('0'))
              .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString quoted(const QString &field)
{
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\r')
        && !field.contains(u'\n'))
        return field;
    QString escaped = field;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QByteArray record(const QStringList &fields)
{
    QStringList cells;
    for (const QString &field : fields)
        cells << quoted(field);
    return cells.join(u',').toUtf8() + LineEnd;
}

QByteArray header()
{
    return record({ QStringLiteral("日時"), QStringLiteral("練習文"), QStringLiteral("級"),
        QStringLiteral("入力文字数"), QStringLiteral("誤字"), QStringLiteral("脱字"),
        QStringLiteral("余字"), QStringLiteral("純得点"), QStringLiteral("合格点"),
        QStringLiteral("合否") });
}

QStringList fieldsOf(const ExamResult &r)
{
    return { isoDateTime(r.when), r.practiceName, r.level, QString::number(r.typedCount),
        QString::number(r.substitutions), QString::number(r.omissions),
        QString::number(r.insertions), QString::number(r.netScore), QString::number(r.passMark),
        passedText(r.passed) };
}

QString failureText(AppendFile::Outcome outcome)
{
    switch (outcome) {
    case AppendFile::Outcome::NotRegular:
        return QStringLiteral("同じ名前のフォルダーなど、通常のファイルでないものがあります");
    case AppendFile::Outcome::Denied:
        return QStringLiteral("書き込みが許可されていません");
    case AppendFile::Outcome::NoFolder:
        return QStringLiteral("フォルダーがありません");
    case AppendFile::Outcome::NoSpace:
        return QStringLiteral("ディスクに空きがありません");
    default:
        return QStringLiteral("書き込みに失敗しました");
    }
}

// One CSV record starting at `at`: its fields, and `at` moved past its line
// end. Nothing when the record is malformed or has no line end (cut short).
std::optional<QStringList> scanRecord(const QByteArray &data, qsizetype &at)
{
    QStringList fields;
    QByteArray field;
    bool quotedField = false;
    bool afterQuote = false; // a quoted field has closed; only , or a line end may follow
    for (qsizetype i = at; i < data.size(); ++i) {
        const char c = data[i];
        if (quotedField) {
            if (c != '"')
                field += c;
            else if (i + 1 < data.size() && data[i + 1] == '"')
                field += data[++i];
            else {
                quotedField = false;
                afterQuote = true;
            }
        } else if (c == ',' || c == '\n') {
            if (c == '\n' && !afterQuote && field.endsWith('\r'))
                field.chop(1);
            fields << QString::fromUtf8(field);
            field.clear();
            afterQuote = false;
            if (c == '\n') {
                at = i + 1;
                return fields;
            }
        } else if (afterQuote) {
            if (c != '\r' || i + 1 >= data.size() || data[i + 1] != '\n')
                return std::nullopt;
        } else if (c == '"' && field.isEmpty()) {
            quotedField = true;
        } else {
            field += c;
        }
    }
    return std::nullopt;
}

std::optional<int> count(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || text.startsWith(u'+'))
        return std::nullopt;
    return value;
}

// A row of this program's columns; extra columns of a later version are ignored.
std::optional<ExamResult> resultOf(const QStringList &fields)
{
    if (fields.size() < ColumnCount)
        return std::nullopt;
    ExamResult r;
    static const QRegularExpression stamp(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(Z|[+-]\\d\\d:\\d\\d)$"));
    if (!stamp.match(fields[0]).hasMatch())
        return std::nullopt;
    r.when = QDateTime::fromString(fields[0], Qt::ISODate);
    if (!r.when.isValid())
        return std::nullopt;
    r.when = r.when.toLocalTime();
    r.practiceName = fields[1];
    r.level = fields[2];
    int *numbers[] = { &r.typedCount, &r.substitutions, &r.omissions, &r.insertions, &r.netScore,
        &r.passMark };
    for (int i = 0; i < 6; ++i) {
        const auto value = count(fields[3 + i]);
        if (!value)
            return std::nullopt;
        *numbers[i] = *value;
    }
    if (fields[9] != passedText(true) && fields[9] != passedText(false))
        return std::nullopt;
    r.passed = fields[9] == passedText(true);
    return r;
}

qsizetype nextLine(const QByteArray &data, qsizetype at)
{
    const qsizetype end = data.indexOf('\n', at);
    return end < 0 ? data.size() : end + 1;
}

} // namespace

ExamHistory::ExamHistory(const QString &path)
    : m_path(path)
{ }

QString ExamHistory::pathBeside(const QString &settingsFilePath)
{
    return QFileInfo(settingsFilePath).dir().filePath(QString::fromLatin1(FileName));
}

void ExamHistory::append(const ExamResult &result) const
{
    const AppendFile::Outcome outcome
        = AppendFile::append(m_path, Bom + header(), record(fieldsOf(result)));
    if (outcome != AppendFile::Outcome::Written)
        throw VemiError(QStringLiteral("練習履歴のファイル %1 に書き込めません（%2）")
                            .arg(QDir::toNativeSeparators(m_path), failureText(outcome)));
}

// A record that does not parse is skipped by its first line only, so that a
// line cut inside a quoted field cannot swallow the complete rows after it.
QList<ExamResult> ExamHistory::read() const
{
    if (!QFileInfo::exists(m_path))
        return {};
    QFile file;
    if (!RegularFile::openForReading(file, m_path))
        throw VemiError(QStringLiteral("練習履歴のファイル %1 を読めません")
                            .arg(QDir::toNativeSeparators(m_path)));
    const QByteArray data = file.readAll();
    QList<ExamResult> results;
    qsizetype at = data.startsWith(Bom) ? Bom.size() : 0;
    while (at < data.size()) {
        qsizetype next = at;
        const auto fields = scanRecord(data, next);
        const auto result = fields ? resultOf(*fields) : std::nullopt;
        if (result) {
            results << *result;
            at = next;
        } else {
            at = nextLine(data, at);
        }
    }
    return results;
}
