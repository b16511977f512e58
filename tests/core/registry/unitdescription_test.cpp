#include "core/registry/unitdescription.h"

#include "core/registry/unitregistry.h"
#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(UnitDescription, PartsFollowTheDeviceTypeAndFillTheirShareOfTheField)
{
    const struct { const char *frame; QStringList parts; QString stored; QStringList shown; } cases[] = {
        // Four contacts of 300: a quote becomes an apostrophe, a long part is cut, a missing one is blank.
        {"007S00403099", {"Flur", "Tür \"Ost\"", QString(310, u'x')},
         QStringLiteral("Flur").leftJustified(300) + QStringLiteral("Tür 'Ost'").leftJustified(300)
             + QString(300, u'x') + QString(300, u' '),
         {"Flur", "Tür 'Ost'", QString(300, u'x'), ""}},
        {"007S02001013", {"A", "B", "ignored"},
         QStringLiteral("A").leftJustified(600) + QStringLiteral("B").leftJustified(600), {"A", "B"}},
        {"007S00401040", {"  Halle  "}, QStringLiteral("  Halle").leftJustified(1200), {"Halle"}},
    };
    for (const auto &c : cases) {
        units().clear();
        addUnit(7, QString::fromLatin1(c.frame));
        ASSERT_TRUE(setDescriptionParts(7, c.parts));
        EXPECT_EQ(units().at(7).description, c.stored) << c.frame;
        EXPECT_EQ(descriptionParts(7), c.shown) << c.frame;
    }
    EXPECT_FALSE(setDescriptionParts(2001, {QStringLiteral("x")}));
    units().clear();
}
