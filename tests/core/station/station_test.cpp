// Station services: the start options, random identifiers and the wait that keeps events running.
#include "core/station/startoptions.h"
#include "core/station/stationutil.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(StartOptions, ReadsMinAndMaxFromTheCommandLine)
{
    const struct { QStringList args; bool min, max; } cases[] = {
        {{"nuvax"}, false, false}, {{"nuvax", "/max", "/min"}, true, true}, {{"nuvax", "/MIN", "/Max"}, false, false},
        {{"nuvax", "x/minimal"}, true, false}, {{"/min/max"}, false, false},  // the program's own path is no option
    };
    for (const auto &c : cases) {
        startOptions() = {true, true};
        readStartOptions(c.args);
        EXPECT_EQ(std::pair(startOptions().startMinimized, startOptions().startMaximized), std::pair(c.min, c.max))
            << c.args.join(u' ').toStdString();
    }
}

TEST(StationUtil, RandomStringsDifferWithinOneMomentAndWaitsPumpEvents)
{
    QSet<QString> seen;
    QSet<char16_t> used;
    for (int i = 0; i < 200; ++i) {
        const QString s = randomString(20);
        ASSERT_EQ(s.size(), 20);
        for (QChar c : s)
            used.insert(c.unicode());
        seen.insert(s);
    }
    EXPECT_EQ(seen.size(), 200);
    // Exactly the characters '#' to '}', both ends drawn.
    EXPECT_EQ(used.size(), '}' - '#' + 1);
    EXPECT_TRUE(used.contains(u'#') && used.contains(u'}'));

    FakeClock clock;
    FakeWaits waits(clock);
    waitSeconds(3);
    EXPECT_EQ(std::pair(waits.sleptMs(), waits.pumps()), std::pair(qint64(3000), 30));
}
