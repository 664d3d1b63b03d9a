#include "core/text/IntegerText.h"

#include "core/Errors.h"

namespace IntegerText {

namespace {

int digitValue(QChar c, int base)
{
    const char16_t u = c.toLower().unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (base == 16 && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// Bare digits only; anything above 32 bits is out of range for every caller.
std::optional<quint64> parseDigits(QStringView digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (QChar c : digits) {
        const int digit = digitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<qint32> parse(const QString &text)
{
    QStringView rest = QStringView(text).trimmed();
    if (rest.size() != text.size() && text.back().isSpace())
        return std::nullopt; // leading blanks are tolerated, trailing ones are not
    bool negative = false;
    if (!rest.isEmpty() && (rest.front() == u'-' || rest.front() == u'+')) {
        negative = rest.front() == u'-';
        rest = rest.mid(1);
    }
    const bool hex = rest.startsWith(u'$');
    const auto magnitude = parseDigits(hex ? rest.mid(1) : rest, hex ? 16 : 10);
    if (!magnitude)
        return std::nullopt;
    const quint64 limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    if (*magnitude > limit)
        return std::nullopt;
    const auto bits = static_cast<quint32>(*magnitude);
    return static_cast<qint32>(negative ? 0u - bits : bits);
}

qint32 toInt(const QString &text)
{
    if (const auto value = parse(text))
        return *value;
    throw VemiError(QStringLiteral("'%1' は整数ではありません").arg(text));
}

QString halfWidthDigits(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        const char16_t u = c.unicode();
        if ((u >= u'０' && u <= u'９') || u == u'＋' || u == u'－')
            c = QChar(u - (u'０' - u'0'));
    }
    return result;
}

qint32 fromSetting(const QString &value, qint32 fallback)
{
    QString text = value;
    if (text.size() > 2
        && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))))
        text.replace(0, 2, u'$');
    return parse(text).value_or(fallback);
}

} // namespace IntegerText
