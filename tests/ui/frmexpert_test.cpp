#include "ui/forms/frmexpert.h"

#include "core/stationsettings.h"
#include "core/unitregistry.h"
#include "device/busclaim.h"
#include "device/devicetypes.h"
#include "device/seriallink.h"
#include "device/statuspages.h"
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
        bus.clearWrites();
        address->setFocus();
    }
    ~ExpertPanelTest() override { serialLink().reset(); }

    // A key typed into the focused control, released as the keyboard does.
    void key(int code, const QString &text = {}, bool autoRepeat = false)
    {
        QWidget *target = panel.focusWidget();
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text, autoRepeat);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text, autoRepeat);
        QCoreApplication::sendEvent(target, &release);
    }
    QStringList boxes() const
    {
        QStringList out;
        for (const ScriptedPrompts::Shown &box : prompts.shown)
            out.append(box.title + u'|' + box.text);
        return out;
    }

    TempAppFolder folder;
    FakeClock clock;
    FakeWaits waits{clock};
    RecordingView view;
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
    FrmExpert panel{nullptr};
    QLineEdit *address = panel.findChild<QLineEdit *>(QStringLiteral("txtAddress"));
};

TEST_F(ExpertPanelTest, FunctionKeysSendTheirFramesToAUnitASpecialAddressAndAll)
{
    address->setText(QStringLiteral("5"));
    key(Qt::Key_F3);
    key(Qt::Key_F3, {}, true);                   // held down: one frame only
    address->setText(QStringLiteral("s3"));
    key(Qt::Key_F8);
    key(Qt::Key_Plus, QStringLiteral("+"));     // a step, not a character
    EXPECT_EQ(address->text(), QStringLiteral("S04"));
    panel.findChild<QPushButton *>(QStringLiteral("cmdAction5"))->click();
    key(Qt::Key_F12);                            // "ALL" on
    EXPECT_EQ(address->text(), QStringLiteral("ALL"));
    EXPECT_FALSE(address->isEnabled());
    panel.findChild<QPushButton *>(QStringLiteral("cmdAction5"))->click();
    panel.stepAddress(1);                        // "+" does nothing under "ALL"
    EXPECT_EQ(bus.writes(), QStringList({QStringLiteral("\n005P00"), QStringLiteral("\nS03p00"),
                                         QStringLiteral("\nS04C0D"), QStringLiteral("\nALLC0D")}));

    // F9 under "ALL": no such unit to query.
    panel.runAction(FrmExpert::kStatusAction);
    EXPECT_EQ(boxes(), QStringList({QStringLiteral("Achtung|Ungültige Geräteadresse")}));
    panel.findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(false);
    EXPECT_EQ(address->text(), QStringLiteral("S04"));

    // F9 on a unit: its page in the status window.
    bus.addUnit(12, kType0203);
    address->setFocus();
    address->setText(QStringLiteral("12"));
    key(Qt::Key_F9);
    EXPECT_EQ(view.statusPageShows, 1);
    EXPECT_EQ(bus.writes().last(), QStringLiteral("\n012S00"));
}

TEST_F(ExpertPanelTest, InvalidAddressOrBusyBusSendsNothing)
{
    for (const char *typed : {"000", "0", "G01", "S1A"}) {
        address->setText(QString::fromUtf8(typed));
        key(Qt::Key_F1);
    }
    QString busy;
    {
        const BusClaim test(BusUser::Background);
        busy = QStringLiteral("Achtung|") + busBusyReason();
        address->setText(QStringLiteral("7"));
        key(Qt::Key_F2);
        key(Qt::Key_F9);
    }
    EXPECT_TRUE(bus.writes().isEmpty());
    const QString invalid = QStringLiteral(
        "Fehler|Die eingegebene Adresse ist ungültig. Bitte geben Sie eine gültige Adresse ein!");
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
    EXPECT_EQ(boxes(), QStringList({QStringLiteral("Achtung|Gerät antwortete nicht auf Anfrage")}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(closing);
}

} // namespace
