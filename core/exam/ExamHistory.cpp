#include "core/exam/ExamHistory.h"

#include "core/Errors.h"
#include "core/exam/ExamRunStore.h"
#include "platform/AppendFile.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <limits>
#include <optional>
#include <utility>

namespace {

constexpr int ColumnCount = 10; // the columns every row has; the kept run's came later
constexpr int DetailColumn = 10;
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

// A row never spans lines: a line break in a field is written as a blank.
QString quoted(QString field)
{
    field.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(u'\r', u' ')
        .replace(u'\n', u' ');
    if (!field.contains(u',') && !field.contains(u'"'))
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
        QStringLiteral("合否"), QStringLiteral("記録") });
}

QStringList fieldsOf(const ExamResult &r)
{
    return { isoDateTime(r.when), r.practiceName, r.level, QString::number(r.typedCount),
        QString::number(r.substitutions), QString::number(r.omissions),
        QString::number(r.insertions), QString::number(r.netScore), QString::number(r.passMark),
        passedText(r.passed), r.detailFile };
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

// The fields of one line (without its line end), RFC 4180 quoting within the
// line; nothing when a quote is left open or text follows a closing quote.
std::optional<QList<QByteArrayView>> fieldsOfLine(QByteArrayView line, QByteArray &unescaped)
{
    QList<QByteArrayView> fields;
    // Unescaped quoted fields go to one buffer, reserved so that views stay valid.
    unescaped.truncate(0);
    unescaped.reserve(line.size());
    qsizetype i = 0;
    for (;;) {
        if (i < line.size() && line[i] == '"') {
            const qsizetype start = unescaped.size();
            for (++i;; ++i) {
                if (i >= line.size())
                    return std::nullopt;
                if (line[i] != '"')
                    unescaped += line[i];
                else if (i + 1 < line.size() && line[i + 1] == '"')
                    unescaped += line[++i];
                else
                    break;
            }
            ++i;
            fields << QByteArrayView(unescaped).sliced(start);
            if (i < line.size() && line[i] != ',')
                return std::nullopt;
        } else {
            qsizetype end = line.indexOf(',', i);
            if (end < 0)
                end = line.size();
            fields << line.sliced(i, end - i);
            i = end;
        }
        if (i >= line.size())
            return fields;
        ++i; // the comma
    }
}

// UTF-8 as written: a U+FEFF at a field's start is the field's own character.
QString textOf(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

// Decimal digits only, no sign: a count of this program's.
std::optional<int> count(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

std::optional<int> digits(QByteArrayView text, qsizetype at, qsizetype length)
{
    return at + length <= text.size() ? count(text.sliced(at, length)) : std::nullopt;
}

// yyyy-MM-ddTHH:mm:ss followed by Z or an offset ±hh:mm, as local time.
std::optional<QDateTime> stampOf(QByteArrayView text)
{
    if (text.size() != 20 && text.size() != 25)
        return std::nullopt;
    static constexpr std::pair<int, char> Separators[]
        = { { 4, '-' }, { 7, '-' }, { 10, 'T' }, { 13, ':' }, { 16, ':' } };
    for (const auto &[at, separator] : Separators) {
        if (text[at] != separator)
            return std::nullopt;
    }
    const auto year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const auto hour = digits(text, 11, 2), minute = digits(text, 14, 2),
               second = digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second)
        return std::nullopt;
    int offset = 0;
    if (text.size() == 20) {
        if (text[19] != 'Z')
            return std::nullopt;
    } else {
        const auto hours = digits(text, 20, 2), minutes = digits(text, 23, 2);
        if ((text[19] != '+' && text[19] != '-') || text[22] != ':' || !hours || !minutes)
            return std::nullopt;
        offset = (*hours * 60 + *minutes) * 60 * (text[19] == '-' ? -1 : 1);
    }
    const QDate date(*year, *month, *day);
    const QTime time(*hour, *minute, *second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QDateTime when(date, time, Qt::OffsetFromUTC, offset);
    if (!when.isValid())
        return std::nullopt;
    return when.toLocalTime();
}

// Rows mostly repeat the text and level of the row before: share those strings.
void setShared(
    QString &target, QByteArrayView bytes, QByteArray &previousBytes, QString &previousText)
{
    if (bytes != previousBytes) {
        previousBytes = bytes.toByteArray();
        previousText = textOf(bytes);
    }
    target = previousText;
}

// A row of this program's columns; extra columns of a later version are ignored.
class RowReader
{
public:
    std::optional<ExamResult> resultOf(const QList<QByteArrayView> &fields)
    {
        if (fields.size() < ColumnCount)
            return std::nullopt;
        const QByteArrayView passed = fields[9];
        if (passed != m_passed && passed != m_failed)
            return std::nullopt;
        ExamResult r;
        int *numbers[] = { &r.typedCount, &r.substitutions, &r.omissions, &r.insertions,
            &r.netScore, &r.passMark };
        for (int i = 0; i < 6; ++i) {
            const auto value = count(fields[3 + i]);
            if (!value)
                return std::nullopt;
            *numbers[i] = *value;
        }
        const auto when = stampOf(fields[0]);
        if (!when)
            return std::nullopt;
        r.when = *when;
        setShared(r.practiceName, fields[1], m_nameBytes, m_name);
        setShared(r.level, fields[2], m_levelBytes, m_level);
        r.passed = passed == m_passed;
        if (fields.size() > DetailColumn)
            r.detailFile = textOf(fields[DetailColumn]);
        return r;
    }

private:
    const QByteArray m_passed = passedText(true).toUtf8();
    const QByteArray m_failed = passedText(false).toUtf8();
    QByteArray m_nameBytes, m_levelBytes;
    QString m_name, m_level;
};

// Calls found(result, lineStart, nextLineStart) for each row that parses, in
// file order, until it returns false. A line that does not parse (cut short,
// or edited by hand) is skipped alone. The last line counts even without its line end.
template <typename Found> void forEachRow(const QByteArray &data, Found found)
{
    RowReader rows;
    QByteArray unescaped;
    qsizetype at = data.startsWith(Bom) ? Bom.size() : 0;
    while (at < data.size()) {
        qsizetype end = data.indexOf('\n', at);
        const qsizetype next = end < 0 ? data.size() : end + 1;
        if (end < 0)
            end = data.size();
        if (end > at && data[end - 1] == '\r')
            --end;
        const auto fields = fieldsOfLine(QByteArrayView(data).sliced(at, end - at), unescaped);
        if (const auto result = fields ? rows.resultOf(*fields) : std::nullopt) {
            if (!found(*result, at, next))
                return;
        }
        at = next;
    }
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

QByteArray ExamHistory::contents() const
{
    QFile file;
    if (!RegularFile::openForReading(file, m_path))
        throw VemiError(QStringLiteral("練習履歴のファイル %1 を読めません")
                            .arg(QDir::toNativeSeparators(m_path)));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw VemiError(QStringLiteral("練習履歴のファイル %1 を読めません")
                            .arg(QDir::toNativeSeparators(m_path)));
    return data;
}

QByteArray ExamHistory::fileBytes(const QList<ExamResult> &rows)
{
    QByteArray bytes = Bom + header();
    for (const ExamResult &row : rows)
        bytes += record(fieldsOf(row));
    return bytes;
}

QList<ExamResult> ExamHistory::read() const
{
    if (!QFileInfo::exists(m_path))
        return {};
    QList<ExamResult> results;
    forEachRow(contents(), [&](const ExamResult &result, qsizetype, qsizetype) {
        results << result;
        return true;
    });
    return results;
}

QString ExamHistory::remove(const ExamResult &run) const
{
    if (QFileInfo::exists(m_path)) {
        const QByteArray data = contents();
        std::optional<std::pair<qsizetype, qsizetype>> line;
        forEachRow(data, [&](const ExamResult &result, qsizetype at, qsizetype next) {
            if (result == run)
                line.emplace(at, next - at);
            return !line;
        });
        if (line && !RegularFile::write(m_path, QByteArray(data).remove(line->first, line->second)))
            throw VemiError(QStringLiteral("練習履歴のファイル %1 を書き換えられません。"
                                           "履歴は元のままです")
                                .arg(QDir::toNativeSeparators(m_path)));
    }
    if (run.detailFile.isEmpty())
        return {};
    try {
        ExamRunStore(m_path).remove(run.detailFile);
    } catch (const VemiError &error) {
        return error.message() + QStringLiteral("\n練習履歴からは削除しました。");
    }
    return {};
}
