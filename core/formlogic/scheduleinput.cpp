#include "core/formlogic/scheduleinput.h"

#include <QRegularExpression>

std::optional<QTime> parseScheduleTime(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^(?:([0-9]):([0-9]{2})|([0-9]{2}):([0-9]{2})(?::([0-9]{2}))?)$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const bool shortHour = m.capturedLength(1) > 0;
    const int hour = m.captured(shortHour ? 1 : 3).toInt();
    const int minute = m.captured(shortHour ? 2 : 4).toInt();
    const int second = m.capturedLength(5) > 0 ? m.captured(5).toInt() : 0;
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return QTime(hour, minute, second);
}

QString scheduleSentence(int intervall, const QString &tag, const QString &monat, const QString &zeit)
{
    static const char *const templates[] = {
        "Jedes Jahr am ersten %d im %m um %t Uhr",
        "An jedem ersten %d jedes Monats um %t Uhr",
        "An jedem %d um %t Uhr",
        "Jeden Tag um %t Uhr",
    };
    if (intervall < 0 || intervall > 3)
        return {};
    return QString::fromUtf8(templates[intervall])
        .replace(QStringLiteral("%d"), tag)
        .replace(QStringLiteral("%m"), monat)
        .replace(QStringLiteral("%t"), zeit);
}
