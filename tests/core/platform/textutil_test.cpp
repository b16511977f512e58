#include "core/platform/textutil.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(TextUtil, NulsAndOuterTabsGoEverythingElseStays)
{
    EXPECT_EQ(trimNull(QStringLiteral("abc") + QChar(0) + QStringLiteral("def") + QChar(0)),
              QStringLiteral("abc"));
    EXPECT_EQ(trimNull(QString(12, QChar(0))), QString());
    EXPECT_EQ(trimNull(QStringLiteral(" ab ")), QStringLiteral(" ab "));

    EXPECT_EQ(trimTabs(QStringLiteral("\ta\t ")), QStringLiteral("a\t "));
    EXPECT_EQ(trimTabs(QStringLiteral("\t\t a\t\t")), QStringLiteral(" a"));
    EXPECT_EQ(trimTabs(QStringLiteral("\t\t")), QString());
    EXPECT_EQ(trimTabs(QStringLiteral("a\tb")), QStringLiteral("a\tb"));
}
