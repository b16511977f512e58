#include "support/qtprint.h"

#include "core/registry/unitregistry.h"
#include "device/messages/devicetypes.h"
#include "device/pages/pagefillers.h"
#include "device/pages/statuspages.h"
#include "support/fakeclock.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBrowser>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

namespace {

int countTables(QTextFrame *frame)
{
    int n = qobject_cast<QTextTable *>(frame) ? 1 : 0;
    for (QTextFrame *child : frame->childFrames())
        n += countTables(child);
    return n;
}

class StatusPageRenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        initStatusPages();
        units().clear();
        units().at(1).exists = true;
        units().at(1).description = fixedWidth(QStringLiteral("Treppenhaus <Nord> & Süd"), kDescriptionWidth);
        units().at(1).errorText = fixedWidth(QStringLiteral("Ladung fehlerhaft\r\n"), kErrorTextWidth);
    }
    void TearDown() override { units().clear(); }

    // The page of a device type as the status window lays it out.
    void render(int deviceType)
    {
        pageFillerFor(deviceType)(sampleMessage(deviceType));
        browser.resize(600, 800);
        browser.setHtml(view.statusPage);
        browser.document()->setTextWidth(browser.viewport()->width());
        text = browser.document()->toPlainText();
    }

    FakeClock clock;
    RecordingView view;
    QTextBrowser browser;
    QString text;
};

TEST_F(StatusPageRenderTest, EveryPageLaysOutWithItsTablesAndDecodedTexts)
{
    for (int type = 1; type <= kDeviceTypeCount; ++type) {
        render(type);
        const std::string code = deviceTypeCodeOf(type).toStdString();
        EXPECT_GT(browser.document()->documentLayout()->documentSize().height(), 200) << code;
        // The light units nest a table for the present and one for the last test's
        // states; the second is left open and the rows after it go on.
        const bool nested = type == kType0701 || type == kType0601 || type == kType0901;
        EXPECT_GE(countTables(browser.document()->rootFrame()), nested ? 4 : 2) << code;
        EXPECT_TRUE(text.contains(QStringLiteral("Treppenhaus <Nord> & Süd"))) << code;
        EXPECT_TRUE(text.contains(QStringLiteral("Fehlerstatus nach letzter Autoprüfung"))) << code;
        EXPECT_FALSE(text.contains(QStringLiteral("{F}"))) << code;
        if (type != kType0203 && type != kType0204) {
            EXPECT_TRUE(text.contains(QStringLiteral("Softwareversion:"))) << code;
        }
    }
}

} // namespace
