#include "core/platform/visiblecontrols.h"

#include <QLatin1StringView>
#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char *, 32> kC0Names = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
    "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",
};

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

QString standIn(char16_t u)
{
    if (u < 0x20)
        return u'<' + QLatin1StringView(kC0Names[u]) + u'>';
    if (u == 0x7F)
        return QStringLiteral("<DEL>");
    return QStringLiteral("<0x") + QString::number(u, 16).toUpper() + u'>';
}

} // namespace

QString visibleControls(const QString &text)
{
    // Nearly every message holds none; it is then handed back without a copy.
    if (std::none_of(text.begin(), text.end(), isControl))
        return text;
    QString out;
    for (const QChar c : text) {
        if (isControl(c))
            out += standIn(c.unicode());
        else
            out += c;
    }
    return out;
}
