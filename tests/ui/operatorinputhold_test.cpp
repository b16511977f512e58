// The operator's clicks while the operator's own exchange waits for its unit, on the main window with the
// simulated bus; the window's one-second timer is played by the waits.
#include "ui/forms/frmsearchwizard.h"
#include "ui/forms/frmunitstatus.h"
#include "ui/uitest.h"

namespace {

struct InputHold : WindowUiTest<BusUiTest>
{
    InputHold() { initStatusPages(), serialLink().openComPort(1), window.load(), window.show(); }
    ~InputHold() override { delete FrmUnitStatus::instance(); }
};

// A left click as the operator makes it, through the application's delivery of events.
void operatorClicks(QWidget *in, const char *name) { mouseClick(child(in, name), Qt::LeftButton, child(in, name)->rect().center()); }
bool busy() { return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor; }

} // namespace

// "Status abfragen" clicked twice 300 ms apart, and the board search, while a slow unit keeps silent for
// 2 s and a task falls due at 14:06.
TEST_F(InputHold, ATaskDueWhileAStatusQueryClickedTwiceWaitsRunsInItsMinuteWithNothingOpened)
{
    SimUnit &slow = bus.addUnit(42, kType0401);
    slow.replyDelayMs = 2000;
    addUnit(42, slow.message.left(kFrameWidth));
    fillUnitList();
    window.showPage(2);
    window.selectUnitRow(QStringLiteral("042"));
    TaskRecord &task = tasks().at(1);
    task.belegt = task.aktiv = task.adressen[7] = true;
    task.uhrzeit = QDateTime(QDate(2000, 1, 1), QTime(14, 6));
    task.wochentage.fill(true), task.monate.fill(true);
    const QDateTime begin(QDate(2011, 3, 7), QTime(14, 5, 59));
    clock.setLocal(begin);
    const qint64 start = clock.monotonicMs();
    qint64 nextTick = start, heldAt = -1;
    duringWaits(waits, [&] {
        if (heldAt < 0 && clock.monotonicMs() - start >= 300) {
            heldAt = busy() ? clock.monotonicMs() - start : 0;
            operatorClicks(&window, "cmdShowStatus");
            operatorClicks(&window, "cmdSearchUnitOnPicBoard");  // on no board: its box
        }
        for (; clock.monotonicMs() >= nextTick; nextTick += 1000)
            window.timerTick();
    }, [&] { operatorClicks(&window, "cmdShowStatus"); });
    EXPECT_TRUE(heldAt >= 300 && !busy() && boxes().isEmpty());
    EXPECT_TRUE(FrmUnitStatus::instance() && FrmUnitStatus::instance()->isVisible());
    window.timerTick();  // the first tick after the answer
    EXPECT_EQ(bus.writes(), QStringList({"\n042S00", "\n007C0D", "\n007C0D"}));
    EXPECT_EQ(begin.addMSecs(bus.writeLog()[1].atMs - start).toString("HH:mm"), "14:06");
    operatorClicks(&window, "cmdSearchUnitOnPicBoard");  // the answer is in: the click acts
    EXPECT_EQ(boxes(), QStringList{"PictureBoard|Die Adresse 042 konnte auf keinem Formular gefunden werden!"});
}

TEST_F(InputHold, TheSearchStopsOnItsStopWhileItHoldsTheOperatorsInput)
{
    FrmSearchWizard wizard(&window);
    wizard.show();
    click(&wizard, "cmdWeiter");
    child<QLineEdit>(&wizard, "txtStartAddress")->setText("990");
    click(&wizard, "cmdWeiter");
    bool held = false;
    duringWaits(waits, [&] {
        if (!held && child<QLabel>(&wizard, "lblStat")->text() == "Adresse: 992/999   Versuch #1")
            held = busy(), operatorClicks(&wizard, "cmdStop");
    }, [&] { click(&wizard, "cmdWeiter"); });
    EXPECT_TRUE(held && child<QLabel>(&wizard, "lblStat")->text() == "Fertig!");
    EXPECT_TRUE(bus.writes().last() == "\n992F00" && bus.writes().count("\n992F00") == 1) << "no second try";
}
