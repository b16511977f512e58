#include "core/station/startoptions.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(StartOptions, ReadsMinAndMaxFromTheCommandLine)
{
    const struct { QStringList args; bool min, max; } cases[] = {
        {{"nuvax"}, false, false},
        {{"nuvax", "/min"}, true, false},
        {{"nuvax", "/max", "/min"}, true, true},
        {{"nuvax", "/MIN", "/Max"}, false, false},
        {{"nuvax", "x/minimal"}, true, false},
        {{"/min/max"}, false, false},  // the program's own path is no option
    };
    for (const auto &c : cases) {
        startOptions() = {true, true};
        readStartOptions(c.args);
        EXPECT_EQ(startOptions().startMinimized, c.min) << c.args.join(u' ').toStdString();
        EXPECT_EQ(startOptions().startMaximized, c.max) << c.args.join(u' ').toStdString();
    }
}
