#include "core/platform/codepage.h"

namespace codepage {
namespace {

// 0x80..0x9F differ from Latin-1; 0 marks the five bytes the code page leaves undefined.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

QChar decodeChar(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    if (b >= 0x80 && b < 0xA0) {
        const char16_t u = kHighControls[b - 0x80];
        return QChar(u ? u : char16_t(b));
    }
    return QChar(char16_t(b));
}

char encodeChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == u)
            return static_cast<char>(0x80 + i);
    }
    // The undefined bytes decode to their own code point and must come back unchanged.
    if (u >= 0x80 && u < 0xA0 && kHighControls[u - 0x80] == 0)
        return static_cast<char>(u);
    return '?';
}

QByteArray encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A character outside the basic plane is one "?", not two.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        out.append(encodeChar(c));
    }
    return out;
}

QString decode(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out.append(decodeChar(b));
    return out;
}

bool holds(const QString &text) { return decode(encode(text)) == text; }

} // namespace codepage
