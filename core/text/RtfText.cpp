#include "core/text/RtfText.h"

#include "core/Errors.h"
#include "core/text/Cp932.h"

#include <QIODevice>
#include <QList>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>
#include <utility>

namespace {

constexpr qsizetype ChunkSize = 64 * 1024;

// The visible text of an RTF document as CP932 bytes with LF breaks. Bytes (raw or
// \'hh) are taken as code page 932 whatever the document's \ansicpg says.
class RtfReader
{
public:
    RtfReader(const QByteArray &head, QIODevice &device, qint64 mostBytes)
        : m_buffer(head)
        , m_device(device)
        , m_unread(std::max<qint64>(0, mostBytes - head.size()))
    { }

    QByteArray visibleText(qsizetype limit);

private:
    struct GroupState
    {
        bool skipped = false;
        int fallbackLength = 1;
    };

    int next();
    int peek();
    bool refill();
    void skipBytes(qint64 count);

    void controlWord();
    void controlSymbol(int symbol);
    void hexByte();
    void textByte(int byte);
    void unicodeCharacter(qint64 code, bool withFallback);
    bool swallowedAsFallback();
    void append(std::string_view bytes);

    QByteArray m_buffer;
    qsizetype m_pos = 0;
    QIODevice &m_device;
    qint64 m_unread; // what the device may still give
    QByteArray m_out;
    QList<GroupState> m_stack;
    GroupState m_state;
    bool m_atGroupStart = false;
    int m_fallbackLeft = 0;
};

bool RtfReader::refill()
{
    if (m_buffer.size() != ChunkSize)
        m_buffer.resize(ChunkSize);
    const qint64 got = m_device.read(m_buffer.data(), std::min<qint64>(ChunkSize, m_unread));
    if (got < 0)
        throwStreamReadError();
    m_unread -= got;
    m_buffer.truncate(got);
    m_pos = 0;
    return got > 0;
}

int RtfReader::next()
{
    if (m_pos == m_buffer.size() && !refill())
        return -1;
    return static_cast<unsigned char>(m_buffer[m_pos++]);
}

int RtfReader::peek()
{
    if (m_pos == m_buffer.size() && !refill())
        return -1;
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

void RtfReader::skipBytes(qint64 count)
{
    while (count > 0) {
        if (m_pos == m_buffer.size() && !refill())
            return;
        const qsizetype step = qMin<qint64>(count, m_buffer.size() - m_pos);
        m_pos += step;
        count -= step;
    }
}

QByteArray RtfReader::visibleText(qsizetype limit)
{
    int byte;
    while (m_out.size() <= limit && (byte = next()) >= 0) {
        switch (byte) {
        case '{':
            m_stack.append(m_state);
            m_atGroupStart = true;
            m_fallbackLeft = 0;
            break;
        case '}':
            if (m_stack.isEmpty())
                return m_out;
            m_state = m_stack.takeLast();
            // Whatever follows the document's outermost group is not part of it.
            if (m_stack.isEmpty())
                return m_out;
            m_atGroupStart = false;
            m_fallbackLeft = 0;
            break;
        case '\\':
            if (const int after = peek();
                (after >= 'a' && after <= 'z') || (after >= 'A' && after <= 'Z'))
                controlWord();
            else if (after >= 0)
                controlSymbol(next());
            break;
        case '\r':
        case '\n':
            break;
        default:
            textByte(byte);
            m_atGroupStart = false;
        }
    }
    return m_out;
}

void RtfReader::controlWord()
{
    constexpr qsizetype MaxNameLength = 32;
    std::array<char, MaxNameLength> name {};
    qsizetype nameLength = 0;
    for (int c = peek(); (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); c = peek()) {
        next();
        if (nameLength < MaxNameLength)
            name[nameLength++] = char(c);
    }
    const std::string_view word(name.data(), nameLength);

    bool hasParameter = false;
    bool negative = false;
    qint64 parameter = 0;
    if (peek() == '-') {
        next();
        negative = true;
    }
    for (int c = peek(); c >= '0' && c <= '9'; c = peek()) {
        next();
        hasParameter = true;
        parameter = qMin<qint64>(parameter * 10 + (c - '0'), 1LL << 40);
    }
    if (negative)
        parameter = -parameter;
    if (peek() == ' ')
        next();

    const bool atGroupStart = std::exchange(m_atGroupStart, false);
    if (word == "bin") {
        skipBytes(parameter);
        return;
    }
    if (swallowedAsFallback())
        return;

    // Groups the memo never shows: tables, styles, document properties, pictures.
    static constexpr std::string_view Hidden[]
        = { "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "fldinst", "listtable",
              "listoverridetable", "revtbl", "filetbl", "rsidtbl", "header", "headerl", "headerr",
              "headerf", "footer", "footerl", "footerr", "footerf" };
    if (atGroupStart && std::ranges::find(Hidden, word) != std::end(Hidden)) {
        m_state.skipped = true;
        return;
    }

    if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row")
        append("\n");
    else if (word == "tab" || word == "cell")
        append("\t");
    else if (word == "u" && hasParameter)
        unicodeCharacter(parameter < 0 ? parameter + 65536 : parameter, true);
    else if (word == "uc" && hasParameter)
        m_state.fallbackLength = int(std::clamp<qint64>(parameter, 0, 0xFFFF));
    else if (word == "lquote")
        unicodeCharacter(0x2018, false);
    else if (word == "rquote")
        unicodeCharacter(0x2019, false);
    else if (word == "ldblquote")
        unicodeCharacter(0x201C, false);
    else if (word == "rdblquote")
        unicodeCharacter(0x201D, false);
    else if (word == "emdash")
        unicodeCharacter(0x2015, false); // code page 932's dash
    else if (word == "endash")
        append("-");
    else if (word == "bullet")
        unicodeCharacter(0x30FB, false);
    else if (word == "emspace")
        unicodeCharacter(0x3000, false);
    else if (word == "enspace")
        append(" ");
}

void RtfReader::controlSymbol(int symbol)
{
    if (symbol == '*') {
        // Marks a destination a reader may ignore; none of them is visible text.
        m_state.skipped = true;
        return;
    }
    m_atGroupStart = false;
    if (symbol == '\'') {
        hexByte();
        return;
    }
    if (swallowedAsFallback())
        return;
    switch (symbol) {
    case '\\':
        append("\\");
        break;
    case '{':
        append("{");
        break;
    case '}':
        append("}");
        break;
    case '~':
        append(" ");
        break;
    case '_':
        append("-");
        break;
    case '\r':
    case '\n':
        append("\n");
        break;
    default:
        break;
    }
}

void RtfReader::hexByte()
{
    const auto hexValue = [](int c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    const int high = hexValue(peek());
    if (high < 0)
        return;
    next();
    int value = high;
    if (const int low = hexValue(peek()); low >= 0) {
        next();
        value = high * 16 + low;
    }
    if (swallowedAsFallback())
        return;
    const char byte = char(value);
    append(std::string_view(&byte, 1));
}

void RtfReader::textByte(int byte)
{
    char bytes[2] = { char(byte), 0 };
    qsizetype length = 1;
    // Hand-written Japanese RTF holds raw Shift-JIS, whose trail bytes include
    // '\', '{' and '}': they belong to the character, not to the RTF syntax.
    if (Cp932::isLeadByte(byte)) {
        const int trail = peek();
        if (trail >= 0x40 && trail <= 0xFC && trail != 0x7F) {
            bytes[1] = char(next());
            length = 2;
        }
    }
    if (swallowedAsFallback())
        return;
    append(std::string_view(bytes, length));
}

void RtfReader::unicodeCharacter(qint64 code, bool withFallback)
{
    if (m_state.skipped)
        return;
    // A character code page 932 lacks is left to the fallback text the writer put
    // after it; the codec would give an unrelated user-defined character instead.
    if (code < 0 || code > 0xFFFF || QChar::isSurrogate(char32_t(code)))
        return;
    static QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    const char16_t character = char16_t(code);
    std::array<char, 16> buffer;
    Q_ASSERT(encoder.requiredSpace(1) <= qsizetype(buffer.size()));
    const char *end = encoder.appendToBuffer(buffer.data(), QStringView(&character, 1));
    const std::string_view bytes(buffer.data(), end - buffer.data());
    if (bytes.empty() || bytes == "\xFC\xFC")
        return;
    append(bytes);
    if (withFallback)
        m_fallbackLeft = m_state.fallbackLength;
}

bool RtfReader::swallowedAsFallback()
{
    if (m_fallbackLeft == 0)
        return false;
    --m_fallbackLeft;
    return true;
}

void RtfReader::append(std::string_view bytes)
{
    if (!m_state.skipped)
        m_out.append(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

namespace RtfText {

bool isRtf(const QByteArray &head)
{
    return head.startsWith("{\\rtf");
}

QByteArray visibleText(const QByteArray &head, QIODevice &device, qsizetype limit, qint64 mostBytes)
{
    return RtfReader(head, device, mostBytes).visibleText(limit);
}

} // namespace RtfText
