#include "core/nametables.h"
#include "core/stationutil.h"

#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"
#include "support/recordingview.h"

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
            ASSERT_GE(c.unicode(), u'#');
            ASSERT_LE(c.unicode(), u'}');
            used.insert(c.unicode());
        }
        seen.insert(s);
    }
    // Made within the same moment, still all different; both ends of the range are drawn.
    EXPECT_EQ(seen.size(), 200);
    EXPECT_TRUE(used.contains(u'#'));
    EXPECT_TRUE(used.contains(u'}'));
    EXPECT_TRUE(randomString(0).isEmpty());
}

TEST(StationUtil, WaitSecondsSleepsInStepsAndKeepsEventsRunning)
{
    FakeClock clock;
    FakeWaits waits(clock);
    waitSeconds(3);
    EXPECT_EQ(waits.sleptMs(), 3000);
    EXPECT_EQ(waits.pumps(), 30);
    waitSeconds(0);
    EXPECT_EQ(waits.sleptMs(), 3000);
}

TEST(StationUtil, StatusTextGoesToTheActivityPanel)
{
    RecordingView view;
    setStatusText(QStringLiteral("Prüfung läuft"));
    EXPECT_EQ(view.panels, (QMap<int, QString>{{2, QStringLiteral("Prüfung läuft")}}));
}

TEST(StationUtil, NameTablesAreIndexedAsStored)
{
    EXPECT_EQ(monthNames().at(2), QStringLiteral("März"));
    EXPECT_EQ(monthNames().size(), 12);
    EXPECT_EQ(intervalNames(), (QStringList{QStringLiteral("jährlich"), QStringLiteral("monatlich"),
                                            QStringLiteral("wöchentlich"), QStringLiteral("täglich")}));
    EXPECT_EQ(akkuLaufzeitNames().at(0), QStringLiteral("NICHT EINGESTELLT"));
    EXPECT_EQ(akkuLaufzeitNames().at(2), QString());
    EXPECT_EQ(akkuLaufzeitNames().at(3), QStringLiteral("drei Stunden"));
    EXPECT_EQ(statusColors()[1], 0x0000FFu);
}
