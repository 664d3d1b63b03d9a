#include "core/grid/AdvGridSort.h"

#include "core/text/Cp932.h"

#include <QDate>
#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstring>

namespace AdvGridSort {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

template <typename T> int threeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Reads an unsigned decimal of at most nine digits, enough for any date part
// and short of overflow.
bool readNumber(QStringView text, qsizetype &pos, int &value, int &digits)
{
    value = 0;
    digits = 0;
    while (pos < text.size() && isAsciiDigit(text[pos]) && digits < 9) {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++digits;
        ++pos;
    }
    return digits > 0 && (pos == text.size() || !isAsciiDigit(text[pos]));
}

bool skipChar(QStringView text, qsizetype &pos, char16_t c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

void skipSpaces(QStringView text, qsizetype &pos)
{
    while (pos < text.size() && text[pos] == u' ')
        ++pos;
}

std::optional<QDate> readDate(QStringView text, qsizetype &pos, const CompareLocale &locale)
{
    int parts[3] = {};
    int digits[3] = {};
    int count = 0;
    do {
        if (!readNumber(text, pos, parts[count], digits[count]))
            return std::nullopt;
        ++count;
    } while (count < 3 && skipChar(text, pos, u'/'));
    if (count < 2)
        return std::nullopt;

    int year = locale.currentYear;
    int month = 0;
    int day = 0;
    switch (locale.dateOrder) {
    case DateOrder::YearMonthDay:
        if (count == 3)
            year = parts[0];
        month = parts[count - 2];
        day = parts[count - 1];
        break;
    case DateOrder::MonthDayYear:
        month = parts[0];
        day = parts[1];
        if (count == 3)
            year = parts[2];
        break;
    case DateOrder::DayMonthYear:
        day = parts[0];
        month = parts[1];
        if (count == 3)
            year = parts[2];
        break;
    }
    const int yearDigits = count < 3                  ? 4
        : locale.dateOrder == DateOrder::YearMonthDay ? digits[0]
                                                      : digits[2];
    if (yearDigits <= 2)
        year += locale.currentYear / 100 * 100;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<double> readTime(QStringView text, qsizetype &pos)
{
    int hour = 0;
    int minute = 0;
    int second = 0;
    int digits = 0;
    if (!readNumber(text, pos, hour, digits) || !skipChar(text, pos, u':')
        || !readNumber(text, pos, minute, digits))
        return std::nullopt;
    if (skipChar(text, pos, u':') && !readNumber(text, pos, second, digits))
        return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return (hour * 3600 + minute * 60 + second) / 86400.0;
}

} // namespace

CompareLocale CompareLocale::system()
{
    const QLocale locale = QLocale::system();
    CompareLocale result;
    const QString decimalPoint = locale.decimalPoint();
    if (!decimalPoint.isEmpty())
        result.decimalSeparator = decimalPoint.at(0);
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype y = format.indexOf(u'y');
    const qsizetype m = format.indexOf(u'M');
    const qsizetype d = format.indexOf(u'd');
    if (y >= 0 && m >= 0 && d >= 0) {
        if (m < d && d < y)
            result.dateOrder = DateOrder::MonthDayYear;
        else if (d < m && m < y)
            result.dateOrder = DateOrder::DayMonthYear;
    }
    result.currentYear = QDate::currentDate().year();
    return result;
}

bool isIntegerText(QStringView text)
{
    for (QChar c : text) {
        if (!isAsciiDigit(c) && c != u'-')
            return false;
    }
    return text.count(u'-') <= 1;
}

bool isDecimalText(QStringView text)
{
    if (text.count(u'-') > 1 || text.count(u'.') > 1)
        return false;
    qsizetype previousSeparator = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u',') {
            // Positions count from 1: a separator may neither lead nor follow
            // the previous one by fewer than three places.
            const qsizetype position = i + 1;
            if (position == 1 || (previousSeparator > 0 && position - previousSeparator < 3))
                return false;
            previousSeparator = position;
        } else if (!isAsciiDigit(c) && c != u'-' && c != u'.') {
            return false;
        }
    }
    return true;
}

bool isNumberText(QStringView text)
{
    return isIntegerText(text) || isDecimalText(text);
}

CellFormat formatOf(QStringView text)
{
    if (isNumberText(text))
        return CellFormat::Numeric;
    const qsizetype slash = text.indexOf(u'/');
    if (slash >= 1 && slash + 1 < text.size() && isAsciiDigit(text[slash - 1])
        && isAsciiDigit(text[slash + 1]))
        return CellFormat::Date;
    return CellFormat::Text;
}

std::optional<double> toNumber(QStringView text, QChar decimalSeparator)
{
    QString s = text.trimmed().toString();
    if (decimalSeparator != u'.') {
        const qsizetype at = s.indexOf(decimalSeparator);
        if (at >= 0)
            s[at] = u'.';
    }
    if (s.startsWith(u'+'))
        s.remove(0, 1);
    for (QChar c : s) {
        if (c.unicode() > 0x7F)
            return std::nullopt;
    }
    const QByteArray ascii = s.toLatin1();
    const char *begin = ascii.constData();
    const char *end = begin + ascii.size();
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ascii.isEmpty() || error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> toDateTime(QStringView text, const CompareLocale &locale)
{
    const QStringView s = text.trimmed();
    qsizetype pos = 0;
    double value = 0;
    bool any = false;
    if (s.contains(u'/')) {
        const std::optional<QDate> date = readDate(s, pos, locale);
        if (!date)
            return std::nullopt;
        value = double(date->toJulianDay() - QDate(1899, 12, 30).toJulianDay());
        any = true;
        skipSpaces(s, pos);
    }
    if (pos < s.size()) {
        const std::optional<double> time = readTime(s, pos);
        if (!time)
            return std::nullopt;
        value += *time;
        any = true;
    }
    if (!any || pos != s.size())
        return std::nullopt;
    return value;
}

int compareBytes(const QByteArray &a, const QByteArray &b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const int result = common > 0 ? std::memcmp(a.constData(), b.constData(), size_t(common)) : 0;
    if (result != 0)
        return result < 0 ? -1 : 1;
    return threeWay(a.size(), b.size());
}

CellKey makeKey(const QString &text, const CompareLocale &locale, bool autoFormat)
{
    CellKey key;
    key.format = autoFormat ? formatOf(text) : CellFormat::Text;
    if (text.isEmpty()) {
        key.converts = true;
    } else if (const std::optional<double> number = toNumber(text, locale.decimalSeparator)) {
        key.converts = true;
        key.number = *number;
    }
    if (text.contains(u'/') || text.contains(u':'))
        key.date = toDateTime(text, locale).value_or(0);
    key.bytes = Cp932::encode(text);
    return key;
}

int compareKeys(const CellKey &a, const CellKey &b)
{
    switch (a.format) {
    case CellFormat::Numeric:
        // A text that is no number cannot be placed among numbers: call it equal.
        return a.converts && b.converts ? threeWay(a.number, b.number) : 0;
    case CellFormat::Date:
        return threeWay(a.date, b.date);
    case CellFormat::Text:
        break;
    }
    return compareBytes(a.bytes, b.bytes);
}

int compareTexts(const QString &a, const QString &b, const CompareLocale &locale, bool autoFormat)
{
    return compareKeys(makeKey(a, locale, autoFormat), makeKey(b, locale, autoFormat));
}

} // namespace AdvGridSort
