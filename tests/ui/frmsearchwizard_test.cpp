#include "ui/forms/frmsearchwizard.h"

#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/stationsettings.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// Registered: 5 and 999. On the bus: 998.
class SearchWizardTest : public ::testing::Test
{
protected:
    SearchWizardTest()
    {
        settings() = StationSettings{};
        units().clear();
        for (int a : {5, 999})
            addUnit(a, sampleMessage(kType0203, formatUnitAddress(a)).left(12));
        saveUnits(false);
        serialLink().openComPort(1);
        bus.addUnit(998, kType0404);
        wizard.show();
    }
    ~SearchWizardTest() override
    {
        serialLink().reset();
        units().clear();
    }

    template <typename T = QPushButton> T *child(FrmSearchWizard &w, const char *name)
    {
        return w.findChild<T *>(QLatin1String(name));
    }
    // "Weiter" up to the search page, which runs the search within the click.
    void searchFrom(FrmSearchWizard &w, const QString &start)
    {
        child(w, "cmdWeiter")->click();
        child<QLineEdit>(w, "txtStartAddress")->setText(start);
        child(w, "cmdWeiter")->click();
        child(w, "cmdWeiter")->click();
    }

    TempAppFolder folder;
    FakeClock clock;
    FakeWaits waits{clock};
    RecordingView view;
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
    FrmSearchWizard wizard{nullptr};
};

TEST_F(SearchWizardTest, StartAddressCheckSearchListAndFertig)
{
    EXPECT_FALSE(child(wizard, "cmdBack")->isEnabled());
    EXPECT_FALSE(child(wizard, "cmdFertig")->isEnabled());
    child(wizard, "cmdWeiter")->click();
    for (const char *typed : {"0", "1000", "abc", ""}) {
        child<QLineEdit>(wizard, "txtStartAddress")->setText(typed);
        EXPECT_FALSE(child(wizard, "cmdWeiter")->isEnabled() || child(wizard, "cmdBack")->isEnabled()) << typed;
    }
    ASSERT_EQ(prompts.shown.size(), 4);
    EXPECT_EQ(prompts.shown[0].title + '|' + prompts.shown[0].text,
              "Startadresse|Bitte geben Sie eine gültige Zahl zwischen 1 und 999 ein");
    child<QRadioButton>(wizard, "optSuchBefehl1")->setChecked(true);  // "STATUS-Suche"
    child<QLineEdit>(wizard, "txtStartAddress")->setText("1");        // valid again: both buttons back
    child(wizard, "cmdBack")->click();
    searchFrom(wizard, "997");

    EXPECT_EQ(bus.writes().first(), "\n997S00");
    EXPECT_EQ(child<QLabel>(wizard, "lblStat")->text(), "Fertig!");
    const QTreeWidget *list = child<QTreeWidget>(wizard, "ListView1");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0) + list->topLevelItem(0)->text(1), "[INFO]*** Suche nach anderen Geräten");
    EXPECT_EQ(list->topLevelItem(1)->text(0) + list->topLevelItem(1)->text(1),
              "998" + getDeviceTypeName(sampleMessage(kType0404)));
    EXPECT_TRUE(child(wizard, "cmdStop")->isHidden());
    EXPECT_FALSE(child(wizard, "cmdWeiter")->isEnabled());
    child(wizard, "cmdFertig")->click();

    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_TRUE(units().at(998).exists && units().at(5).exists);  // 5 was never asked
    EXPECT_FALSE(units().at(999).exists);
    EXPECT_TRUE(folder.read("Units.dat").contains("\"998"));
}

TEST_F(SearchWizardTest, EscapeDuringASearchEndsItAndAbbrechenAfterOneChangesNothing)
{
    const QByteArray saved = folder.read("Units.dat");
    // Escape while 998 is asked: the search ends, then the wizard closes.
    const auto busPump = waits.pumpHook();
    waits.setPumpHook([&] {
        busPump();
        if (child<QLabel>(wizard, "lblStat")->text() == "Adresse: 998/999   Versuch #1" && wizard.isVisible()) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&wizard, &escape);
            EXPECT_TRUE(wizard.isVisible());
        }
    });
    searchFrom(wizard, "990");
    waits.setPumpHook(busPump);
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_EQ(bus.writes().last(), "\n998F00");

    FrmSearchWizard again(nullptr);
    again.show();
    searchFrom(again, "995");
    ASSERT_EQ(child<QLabel>(again, "lblStat")->text(), "Fertig!");
    child(again, "cmdCancel")->click();
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(folder.read("Units.dat"), saved);
    EXPECT_TRUE(units().at(999).exists);
}

} // namespace
