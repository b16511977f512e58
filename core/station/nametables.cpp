#include "core/station/nametables.h"

const QStringList &weekDayNames()
{
    static const QStringList names{
        QStringLiteral("Montag"),  QStringLiteral("Dienstag"), QStringLiteral("Mittwoch"),
        QStringLiteral("Donnerstag"), QStringLiteral("Freitag"), QStringLiteral("Samstag"),
        QStringLiteral("Sonntag")};
    return names;
}

const QStringList &monthNames()
{
    static const QStringList names{
        QStringLiteral("Januar"),    QStringLiteral("Februar"), QStringLiteral("März"),
        QStringLiteral("April"),     QStringLiteral("Mai"),     QStringLiteral("Juni"),
        QStringLiteral("Juli"),      QStringLiteral("August"),  QStringLiteral("September"),
        QStringLiteral("Oktober"),   QStringLiteral("November"), QStringLiteral("Dezember")};
    return names;
}

const QStringList &intervalNames()
{
    static const QStringList names{QStringLiteral("jährlich"), QStringLiteral("monatlich"),
                                   QStringLiteral("wöchentlich"), QStringLiteral("täglich")};
    return names;
}

const QStringList &akkuLaufzeitNames()
{
    static const QStringList names{QStringLiteral("NICHT EINGESTELLT"),
                                   QStringLiteral("eine Stunde"), QString(),
                                   QStringLiteral("drei Stunden")};
    return names;
}

const std::array<WinColor, 3> &statusColors()
{
    static constexpr std::array<WinColor, 3> colors{kColorYellow, kColorRed, kColorGreen};
    return colors;
}
