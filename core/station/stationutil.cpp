#include "core/station/stationutil.h"

#include "core/platform/clock.h"
#include "core/platform/waits.h"
#include "core/station/nametables.h"
#include "core/station/stationview.h"

#include <QRandomGenerator>

void setStatusText(const QString &text) { appView().setStatusPanel(2, text); }

void showClock()
{
    const QDateTime now = appClock().localNow();
    appView().setStatusPanel(4, weekDayNames().at(now.date().dayOfWeek() - 1) + u' '
                                    + now.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
}

void waitSeconds(int n)
{
    for (int i = 0; i < n * 5; ++i) {
        appWaits().pumpEvents();
        appWaits().sleepMs(200);
        appWaits().pumpEvents();
    }
}

QString randomString(int n)
{
    // One generator seeded once by the system, so identifiers made within the
    // same second still differ.
    QRandomGenerator *random = QRandomGenerator::global();
    QString out;
    out.reserve(qMax(n, 0));
    for (int i = 0; i < n; ++i)
        out.append(QChar(char16_t(35 + random->bounded(91))));
    return out;
}
