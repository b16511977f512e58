#include "core/platform/codepage.h"

#include <QtEndian>

#include <array>

namespace codepage {
namespace {

// 0x80..0x9F differ from Latin-1; 0 marks the five bytes the code page leaves undefined.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The undefined bytes decode to their own code point, so they come back unchanged.
constexpr std::array<char16_t, 256> decodeTable()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char16_t high = b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : 0;
        table[b] = high ? high : char16_t(b);
    }
    return table;
}

constexpr std::array<char16_t, 256> kDecode = decodeTable();

// One entry per UTF-16 unit: the files hold megabytes of text, and a search
// per character would cost more than the whole write.
constexpr std::array<char, 65536> encodeTable()
{
    std::array<char, 65536> table{};
    for (char &byte : table)
        byte = '?';
    for (int b = 0; b < 256; ++b)
        table[kDecode[b]] = static_cast<char>(b);
    return table;
}

constexpr std::array<char, 65536> kEncode = encodeTable();

// Plain ASCII reads the same in both forms and fills most of every file, so it
// goes four characters to a word: one read and one write per four instead of a
// table lookup each. A word holds its characters in memory order on either
// byte order, and so do the words narrowed or widened from it.
constexpr qsizetype kWord = 4;
constexpr quint64 kAboveAscii = 0xFF80'FF80'FF80'FF80;

// Four UTF-16 units below 0x80 to their four bytes.
quint32 narrow(quint64 units)
{
    units = (units | units >> 8) & 0x0000'FFFF'0000'FFFF;
    return quint32(units | units >> 16);
}

// Four bytes below 0x80 to their four UTF-16 units.
quint64 widen(quint32 bytes)
{
    quint64 units = (bytes | quint64(bytes) << 16) & 0x0000'FFFF'0000'FFFF;
    return (units | units << 8) & 0x00FF'00FF'00FF'00FF;
}

} // namespace

QChar decodeChar(char byte) { return QChar(kDecode[static_cast<unsigned char>(byte)]); }

char encodeChar(QChar c) { return kEncode[c.unicode()]; }

char *encodeTo(QStringView text, char *out)
{
    const char16_t *in = text.utf16();
    const char16_t *const end = in + text.size();
    while (in != end) {
        if (end - in >= kWord) {
            const auto units = qFromUnaligned<quint64>(in);
            if (!(units & kAboveAscii)) {
                qToUnaligned(narrow(units), out);
                in += kWord;
                out += kWord;
                continue;
            }
        }
        const char16_t u = *in++;
        *out++ = kEncode[u];
        // A character outside the basic plane is one "?", not two.
        if (QChar::isHighSurrogate(u) && in != end && QChar::isLowSurrogate(*in))
            ++in;
    }
    return out;
}

QByteArray encode(const QString &text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    out.truncate(encodeTo(text, out.data()) - out.constData());
    return out;
}

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    const char *in = bytes.data();
    const char *const end = in + bytes.size();
    while (in != end) {
        if (end - in >= kWord) {
            const auto four = qFromUnaligned<quint32>(in);
            if (!(four & 0x8080'8080)) {
                qToUnaligned(widen(four), to);
                in += kWord;
                to += kWord;
                continue;
            }
        }
        *to++ = kDecode[static_cast<unsigned char>(*in++)];
    }
    return out;
}

bool holds(const QString &text) { return decode(encode(text)) == text; }

} // namespace codepage
