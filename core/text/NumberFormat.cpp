#include "core/text/NumberFormat.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace {

constexpr int SignificantDigits = 15;

struct Section
{
    QString prefix;
    QString suffix;
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
    bool hasDigits = false;
};

bool isQuote(QChar ch)
{
    return ch == u'\'' || ch == u'"';
}

QStringList splitSections(const QString &picture)
{
    QStringList sections { QString() };
    QChar quote;
    for (QChar ch : picture) {
        if (!quote.isNull()) {
            if (ch == quote)
                quote = QChar();
        } else if (isQuote(ch)) {
            quote = ch;
        } else if (ch == u';') {
            sections.append(QString());
            continue;
        }
        sections.last().append(ch);
    }
    return sections;
}

// Literal text with its quotes removed.
QString literal(const QString &text)
{
    QString out;
    QChar quote;
    for (QChar ch : text) {
        if (!quote.isNull() && ch == quote)
            quote = QChar();
        else if (quote.isNull() && isQuote(ch))
            quote = ch;
        else
            out.append(ch);
    }
    return out;
}

bool isPlaceholder(QChar ch)
{
    return ch == u'0' || ch == u'#';
}

// Where the digit pattern starts and ends (end exclusive), outside quotes.
std::pair<qsizetype, qsizetype> digitArea(const QString &text)
{
    qsizetype begin = -1;
    qsizetype end = -1;
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (!quote.isNull()) {
            if (ch == quote)
                quote = QChar();
            continue;
        }
        if (isQuote(ch)) {
            quote = ch;
        } else if (isPlaceholder(ch) || (ch == u'.' && begin < 0)) {
            if (begin < 0)
                begin = i;
            if (isPlaceholder(ch))
                end = i + 1;
        }
    }
    if (end < 0)
        return { text.size(), text.size() };
    return { begin, end };
}

Section parseSection(const QString &text)
{
    Section section;
    const auto [begin, end] = digitArea(text);
    section.prefix = literal(text.left(begin));
    section.suffix = literal(text.mid(end));
    bool afterPoint = false;
    int integerPlaces = 0;
    int firstZero = -1;
    for (qsizetype i = begin; i < end; ++i) {
        const QChar ch = text.at(i);
        if (ch == u'.') {
            afterPoint = true;
        } else if (ch == u',' && !afterPoint) {
            section.grouping = true;
        } else if (isPlaceholder(ch)) {
            section.hasDigits = true;
            if (afterPoint) {
                ++section.maxDecimals;
                if (ch == u'0')
                    section.minDecimals = section.maxDecimals;
            } else {
                if (ch == u'0' && firstZero < 0)
                    firstZero = integerPlaces;
                ++integerPlaces;
            }
        }
    }
    if (firstZero >= 0)
        section.minIntegerDigits = integerPlaces - firstZero;
    return section;
}

struct Digits
{
    QString integer; // no leading zeros; empty for zero
    QString fraction; // exactly the requested number of decimals
    bool zero = true;
};

// Rounds |value| half away from zero to `decimals` places, on its decimal digits.
Digits roundedDigits(double value, int decimals)
{
    const QString scientific = QString::number(std::abs(value), 'e', SignificantDigits - 1);
    const qsizetype e = scientific.indexOf(u'e');
    QString digits = scientific.left(e).remove(u'.');
    int pointAt = scientific.mid(e + 1).toInt() + 1; // integer digits before the point

    const int keep = pointAt + decimals;
    if (keep < 0) {
        digits.clear();
    } else if (keep < digits.size()) {
        const bool up = digits.at(keep) >= u'5';
        digits.truncate(keep);
        int i = keep - 1;
        for (; up && i >= 0; --i) {
            if (digits.at(i) != u'9') {
                digits[i] = QChar(digits.at(i).unicode() + 1);
                break;
            }
            digits[i] = u'0';
        }
        if (up && i < 0) {
            digits.prepend(u'1');
            ++pointAt;
        }
    } else {
        digits.append(QString(keep - digits.size(), u'0'));
    }

    Digits out;
    if (digits.isEmpty()) {
        digits = QString(decimals, u'0');
        pointAt = 0;
    }
    if (pointAt <= 0) {
        out.fraction = (QString(-pointAt, u'0') + digits).left(decimals);
    } else {
        out.integer = digits.left(pointAt);
        out.fraction = digits.mid(pointAt);
    }
    while (out.integer.startsWith(u'0'))
        out.integer.remove(0, 1);
    out.zero = out.integer.isEmpty() && out.fraction.count(u'0') == out.fraction.size();
    return out;
}

QString grouped(const QString &integer, QChar separator)
{
    QString out = integer;
    for (qsizetype i = out.size() - 3; i > 0; i -= 3)
        out.insert(i, separator);
    return out;
}

} // namespace

namespace NumberFormat {

QString format(const QString &picture, double value)
{
    // Qt gives the separators as strings; a locale without one falls back to C's.
    const QLocale locale;
    const QString point = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    return format(
        picture, value, point.isEmpty() ? u'.' : point.at(0), group.isEmpty() ? u',' : group.at(0));
}

QString format(const QString &picture, double value, QChar decimalSeparator, QChar groupSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (picture.isEmpty())
        return QString::number(value, 'g', SignificantDigits).replace(u'.', decimalSeparator);

    const QStringList sections = splitSections(picture);
    bool showSign = value < 0;
    QString chosen = sections.first();
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty()) {
        chosen = sections.at(1);
        showSign = false;
    } else if (value == 0 && sections.size() >= 3 && !sections.at(2).isEmpty()) {
        chosen = sections.at(2);
    }

    const Section section = parseSection(chosen);
    if (!section.hasDigits)
        return section.prefix + section.suffix;

    const Digits digits = roundedDigits(value, section.maxDecimals);
    QString integer = digits.integer;
    if (integer.size() < section.minIntegerDigits)
        integer.prepend(QString(section.minIntegerDigits - integer.size(), u'0'));
    if (section.grouping)
        integer = grouped(integer, groupSeparator);
    QString fraction = digits.fraction;
    while (fraction.size() > section.minDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);

    QString out = showSign && !digits.zero ? QStringLiteral("-") : QString();
    out += section.prefix + integer;
    if (!fraction.isEmpty())
        out += decimalSeparator + fraction;
    return out + section.suffix;
}

} // namespace NumberFormat
