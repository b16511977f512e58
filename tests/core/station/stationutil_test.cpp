#include "core/station/stationutil.h"

#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(StationUtil, RandomStringsStayInRangeAndDiffer)
{
    QSet<QString> seen;
    QSet<char16_t> used;
    for (int i = 0; i < 200; ++i) {
        const QString s = randomString(20);
        ASSERT_EQ(s.size(), 20);
        for (QChar c : s) {
            ASSERT_TRUE(c >= u'#' && c <= u'}') << int(c.unicode());
            used.insert(c.unicode());
        }
        seen.insert(s);
    }
    // Made within the same moment, still all different; both ends of the range are drawn.
    EXPECT_EQ(seen.size(), 200);
    EXPECT_TRUE(used.contains(u'#') && used.contains(u'}'));
}

TEST(StationUtil, WaitSecondsSleepsInStepsAndKeepsEventsRunning)
{
    FakeClock clock;
    FakeWaits waits(clock);
    waitSeconds(3);
    EXPECT_EQ(waits.sleptMs(), 3000);
    EXPECT_EQ(waits.pumps(), 30);
}
