#include "core/formlogic/taskeditorinput.h"

namespace {

// Larger values are refused anyway; stopping here keeps every sum in range.
constexpr int kSaturated = 1000000;

int leadingNumber(QStringView piece)
{
    qsizetype i = 0;
    while (i < piece.size() && (piece[i] == u' ' || piece[i] == u'\t'))
        ++i;
    int value = 0;
    for (; i < piece.size() && piece[i] >= u'0' && piece[i] <= u'9'; ++i)
        value = qMin(kSaturated, value * 10 + (piece[i].unicode() - u'0'));
    return value;
}

} // namespace

RangeInput parseRangeInput(const QString &text, int low, int high)
{
    RangeInput result;
    for (const QString &item : text.split(u',')) {
        int first = 0;
        int last = 0;
        if (item.contains(u'-')) {
            const QStringList pieces = item.split(u'-');
            first = leadingNumber(pieces[0]);
            last = leadingNumber(pieces[1]);
        } else {
            first = last = leadingNumber(item);
        }
        for (int n = first; n <= last; ++n) {
            if (n < low || n > high) {
                result.refused = true;
                result.refusedItem = item;
                return result;
            }
            result.numbers << n;
        }
    }
    return result;
}

QString sliderTimeText(int minutes)
{
    return QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}
