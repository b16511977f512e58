#include "core/formlogic/expertaddress.h"

#include <QRegularExpression>
#include <algorithm>

namespace {
bool matches(const QString &text, const char *pattern)
{
    const QRegularExpression re(QRegularExpression::anchoredPattern(QLatin1String(pattern)));
    return re.match(text).hasMatch();
}
} // namespace

QString normalizeExpertAddress(const QString &typed)
{
    const QString text = typed.toUpper();
    if (text == kAllUnits)
        return text;
    if (matches(text, "S[0-9]"))
        return QStringLiteral("S0") + text.back();
    if (matches(text, "S[0-9][0-9]"))
        return text;
    const QString ordinary = QString(3 - std::min<qsizetype>(text.size(), 3), u'0') + text;
    if (!matches(ordinary, "[0-9][0-9][0-9]") || ordinary == QStringLiteral("000"))
        return {};
    return ordinary;
}

QString stepExpertAddress(const QString &address, int step)
{
    const bool special = matches(address, "S[0-9][0-9]");
    if (!special && !matches(address, "[0-9][0-9][0-9]"))
        return {};
    const int n = address.right(special ? 2 : 3).toInt();
    const int next = n + step;
    const int stepped = next >= 1 && next <= (special ? 99 : 999) ? next : n;
    return special ? QStringLiteral("S%1").arg(stepped, 2, 10, QLatin1Char('0'))
                   : QStringLiteral("%1").arg(stepped, 3, 10, QLatin1Char('0'));
}
