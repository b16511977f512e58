#include "core/platform/numbertext.h"

#include <cmath>
#include <limits>

namespace numbertext {

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) { ++i; ++digits; }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) { ++i; ++digits; }
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        qsizetype expDigits = 0;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) { ++j; ++expDigits; }
        if (expDigits > 0)
            end = j;
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

qint64 roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double limit = 9.0e18;
    if (value > limit)
        return static_cast<qint64>(limit);
    if (value < -limit)
        return static_cast<qint64>(-limit);
    return static_cast<qint64>(std::nearbyint(value)); // default rounding mode: to even
}

int leadingInt(const QString &text)
{
    const qint64 v = roundHalfEven(leadingNumber(text));
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

std::optional<bool> readBoolean(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(u"true", Qt::CaseInsensitive) == 0 || t.compare(u"wahr", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"false", Qt::CaseInsensitive) == 0 || t.compare(u"falsch", Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok)
        return v != 0.0;
    return std::nullopt;
}

QString booleanWord(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

} // namespace numbertext
