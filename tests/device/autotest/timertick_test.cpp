#include "device/autotest/timertick.h"

#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/recordingview.h"

#include <gtest/gtest.h>

TEST(TimerTick, ShowsWeekdayDateAndIdleText)
{
    RecordingView view;
    view.indicator = 2;
    FakeClock clock(QDateTime(QDate(2011, 3, 13), QTime(23, 59, 58)));  // a Sunday

    timerTick();
    EXPECT_EQ(view.indicator, 0);
    EXPECT_EQ(view.panels.value(4), QStringLiteral("Sonntag 13.03.2011 23:59"));
    EXPECT_EQ(view.panels.value(2), QStringLiteral("Warte auf geplantes Ereignis . . ."));

    clock.advanceMs(2000);
    timerTick();
    EXPECT_EQ(view.panels.value(4), QStringLiteral("Montag 14.03.2011 00:00"));
}
