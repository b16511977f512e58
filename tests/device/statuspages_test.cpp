#include "support/qtprint.h"

#include "device/statuspages.h"

#include <gtest/gtest.h>

namespace {

struct TemplateCase
{
    const char *name;
    QString StatusPageTemplates::*page;
    int slotCount;
};

const TemplateCase kTemplates[] = {
    {"2001", &StatusPageTemplates::statusPageTemplate2001, 24},
    {"2002", &StatusPageTemplates::statusPageTemplate2002, 24},
    {"0501", &StatusPageTemplates::statusPageTemplate0501, 15},
    {"0203", &StatusPageTemplates::statusPageTemplate0203, 5},
    {"0404", &StatusPageTemplates::statusPageTemplate0404, 9},
    {"0401", &StatusPageTemplates::statusPageTemplate0401, 11},
    {"0403", &StatusPageTemplates::statusPageTemplate0403, 9},
    {"0402", &StatusPageTemplates::statusPageTemplate0402, 11},
    {"1000", &StatusPageTemplates::statusPageTemplate1000, 43},
    {"0901", &StatusPageTemplates::statusPageTemplate0901, 21},
    {"0701", &StatusPageTemplates::statusPageTemplate0701, 22},
    {"0601", &StatusPageTemplates::statusPageTemplate0601, 22},
};

class StatusPagesTest : public ::testing::Test
{
protected:
    void SetUp() override { initStatusPages(); }
};

// The fillers supply exactly this many values; one slot more or less shifts a page.
TEST_F(StatusPagesTest, EveryTemplateHasTheSlotsItsFillerSupplies)
{
    for (const TemplateCase &c : kTemplates)
        EXPECT_EQ((statusPages().*c.page).count(kPageSlot), c.slotCount) << c.name;
}

} // namespace
