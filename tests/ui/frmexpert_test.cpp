#include "ui/forms/frmexpert.h"

#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/pages/statuspages.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class ExpertPanelTest : public ::testing::Test
{
protected:
    ExpertPanelTest()
    {
        settings() = StationSettings{};
        units().clear();
        initStatusPages();
        serialLink().openComPort(1);
        address->setFocus();
    }
    ~ExpertPanelTest() override { serialLink().reset(); }

    // A key pressed and released on the focused control.
    void key(int code, const QString &text = {}, bool autoRepeat = false)
    {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, code, Qt::NoModifier, text, autoRepeat);
            QCoreApplication::sendEvent(panel.focusWidget(), &event);
        }
    }
    void typeAndPress(const char *typed, int code)
    {
        address->setText(typed);
        key(code);
    }
    QStringList boxes() const
    {
        QStringList out;
        for (const ScriptedPrompts::Shown &box : prompts.shown)
            out.append(box.title + '|' + box.text);
        return out;
    }

    TempAppFolder folder;
    FakeClock clock;
    FakeWaits waits{clock};
    RecordingView view;
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
    FrmExpert panel{nullptr};
    QLineEdit *address = panel.findChild<QLineEdit *>("txtAddress");
};

TEST_F(ExpertPanelTest, FunctionKeysSendTheirFramesToAUnitASpecialAddressAndAll)
{
    typeAndPress("5", Qt::Key_F3);
    key(Qt::Key_F3, {}, true);                 // held down: one frame only
    typeAndPress("s3", Qt::Key_F8);
    key(Qt::Key_Plus, "+");                    // a step, not a character
    EXPECT_EQ(address->text(), "S04");
    panel.findChild<QPushButton *>("cmdAction5")->click();
    key(Qt::Key_F12);                          // "ALL" on
    EXPECT_EQ(address->text(), "ALL");
    EXPECT_FALSE(address->isEnabled());
    panel.findChild<QPushButton *>("cmdAction5")->click();
    panel.stepAddress(1);                      // no step under "ALL"
    EXPECT_EQ(bus.writes(), QStringList({"\n005P00", "\nS03p00", "\nS04C0D", "\nALLC0D"}));

    panel.runAction(FrmExpert::kStatusAction);  // F9 under "ALL": no such unit
    EXPECT_EQ(boxes(), QStringList({"Achtung|Ungültige Geräteadresse"}));
    panel.findChild<QCheckBox *>("Check1")->setChecked(false);
    EXPECT_EQ(address->text(), "S04");

    bus.addUnit(12, kType0203);                 // F9 on a unit: its page in the status window
    address->setFocus();
    typeAndPress("12", Qt::Key_F9);
    EXPECT_EQ(view.statusPageShows, 1);
    EXPECT_EQ(bus.writes().last(), "\n012S00");
}

TEST_F(ExpertPanelTest, InvalidAddressOrBusyBusSendsNothing)
{
    for (const char *typed : {"000", "0", "G01", "S1A"})
        typeAndPress(typed, Qt::Key_F1);
    const BusClaim test(BusUser::Background);
    typeAndPress("7", Qt::Key_F2);
    typeAndPress("7", Qt::Key_F9);
    EXPECT_TRUE(bus.writes().isEmpty());
    const QString invalid = "Fehler|Die eingegebene Adresse ist ungültig. Bitte geben Sie eine gültige Adresse ein!";
    const QString busy = "Achtung|" + busBusyReason();
    EXPECT_EQ(boxes(), QStringList({invalid, invalid, invalid, invalid, busy, busy}));
}

TEST_F(ExpertPanelTest, ClosedWhileItsStatusQueryWaitsGoesOnlyAfterIt)
{
    QPointer<FrmExpert> closing = new FrmExpert(nullptr);
    closing->show();
    bus.addUnit(1, kType0203).silent = true;
    const auto busPump = waits.pumpHook();
    waits.setPumpHook([&] {
        busPump();
        if (closing && closing->isVisible())
            closing->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(closing);
    });
    closing->runAction(FrmExpert::kStatusAction);
    waits.setPumpHook(busPump);
    EXPECT_EQ(boxes(), QStringList({"Achtung|Gerät antwortete nicht auf Anfrage"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(closing);
}

} // namespace
