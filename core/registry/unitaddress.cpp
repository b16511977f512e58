#include "core/registry/unitaddress.h"

#include "core/platform/numbertext.h"

namespace {
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
} // namespace

QString formatUnitAddress(int addr)
{
    if (addr >= 1000)
        return formatUnitAddressHigh(addr);
    return QString::number(addr).rightJustified(3, u'0');
}

QString formatUnitAddressHigh(int addr)
{
    if (addr < 1000)
        return formatUnitAddress(addr);
    const QChar letter(char16_t(u'S' - 1 + addr / 1000));
    return letter + QString::number(addr % 100).rightJustified(2, u'0');
}

int parseUnitAddress(const QString &text)
{
    if (text.size() < 3)
        return -1;
    if (isDigit(text[0]) && isDigit(text[1]) && isDigit(text[2])) {
        // A longer run of digits is read as far as it fits; it is never a unit.
        const double value = numbertext::leadingNumber(text);
        return value > 32767 ? -1 : int(numbertext::roundHalfEven(value));
    }
    if ((text[0] == u'S' || text[0] == u's') && isDigit(text[1]) && isDigit(text[2]))
        return 1000 + text.mid(1, 2).toInt();
    return -1;
}

QString formatTwoDigits(int n)
{
    const QString digits = QString::number(n);
    return digits.size() == 1 ? u'0' + digits : digits;
}
