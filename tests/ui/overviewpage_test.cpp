#include "ui/pages/overviewpage.h"

#include "core/codepage.h"
#include "core/stationsettings.h"
#include "core/unitregistry.h"
#include "device/busclaim.h"
#include "device/devicetypes.h"
#include "device/seriallink.h"
#include "device/statuspages.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"
#include "support/samplemessages.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"
#include "core/unitaddress.h"
#include "ui/forms/frmunitstatus.h"
#include "ui/mainwindow.h"
#include "ui/pages/unitmenu.h"
#include "ui/programend.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class OverviewTest : public ::testing::Test
{
protected:
    OverviewTest()
    {
        units().clear();
        settings() = StationSettings{};
        resetBusClaims();
        initStatusPages();
        installProgramEnd([](int) {});
        installView(&window);
        serialLink().openComPort(1);
        window.load();
        window.showPage(2);
        window.show();
    }
    ~OverviewTest() override
    {
        if (FrmUnitStatus::instance())
            delete FrmUnitStatus::instance();
        installView(nullptr);
        installProgramEnd({});
        units().clear();
        resetBusClaims();
    }

    // Registered as the search finds a unit: its header, the description kept.
    static QString registerUnit(int addr, int deviceType, const QString &description = {})
    {
        const QString frame = sampleMessage(deviceType, formatUnitAddress(addr)).left(kFrameWidth);
        addUnit(addr, frame);
        units().at(addr).description = fixedWidth(description, kDescriptionWidth);
        return frame;
    }

    QTreeWidget *list() const { return window.findChild<QTreeWidget *>(QStringLiteral("UnitList")); }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int row = 0; row < list()->topLevelItemCount(); ++row)
            texts.append(list()->topLevelItem(row)->text(c));
        return texts;
    }
    void select(const QString &busAddress) { window.selectUnitRow(busAddress); }
    void click(const char *button) const
    {
        window.findChild<QPushButton *>(QString::fromUtf8(button))->click();
    }
    QAction *entry(const char *name) const
    {
        return window.overviewPage()->unitMenu()->findChild<QAction *>(QString::fromUtf8(name));
    }
    static void mouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButton button)
    {
        QMouseEvent event(type, at, target->mapToGlobal(at), button,
                          type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void clickHeader(int section) const
    {
        QHeaderView *header = list()->header();
        const QPoint at(header->sectionViewportPosition(section) + 5, header->height() / 2);
        mouse(header->viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(header->viewport(), QEvent::MouseButtonRelease, at, Qt::LeftButton);
    }
    QString box(int i) const { return prompts.shown[i].title + u'|' + prompts.shown[i].text; }
    QByteArray unitsDatRecord(int addr) const
    {
        const QList<QByteArray> lines = folder.read(QStringLiteral("Units.dat")).split('\n');
        QByteArray record;
        for (int i = (addr - 1) * 5; i < addr * 5; ++i)
            record += lines.value(i) + '\n';
        return record;
    }
    static QByteArray record(int state, bool exists, const QString &description, const QString &frame)
    {
        const auto field = [](const QString &text, int width) {
            return '"' + codepage::encode(text.leftJustified(width, u' ')) + "\"\r\n";
        };
        return QByteArray::number(state) + "\r\n" + (exists ? "#TRUE#\r\n" : "#FALSE#\r\n")
               + field(description, kDescriptionWidth) + field(frame, kFrameWidth)
               + field({}, kErrorTextWidth);
    }

    TempAppFolder folder;
    ScriptedPrompts prompts;
    FakeClock clock;
    FakeWaits waits{clock};
    SimulatedBus bus{clock, waits};
    MainWindow window;
};

TEST_F(OverviewTest, EveryMenuEntryAndTheGroupSendTheirFramesUnlessTheBusIsTakenOrThePortClosed)
{
    registerUnit(42, kType0401);
    registerUnit(1005, kType0401);
    bus.addUnit(42, sampleMessage(kType0401, QStringLiteral("042")));
    fillUnitList();

    // The unit menu and its group menu, as the operator sees them.
    QStringList captions;
    for (QAction *a : window.overviewPage()->unitMenu()->actions())
        captions.append(a->text());
    EXPECT_EQ(captions, QStringList({"&Beschreibung ändern", "&Status abfragen", "&Reset an Gerät senden",
                                     "Gerät auf &Prüfen schalten", "Prüf&en beenden senden",
                                     "&Fehlerstatus zurücksetzen", "Gruppe zuordnen"}));
    const QList<QAction *> groupItems = window.overviewPage()->unitMenu()->groupMenu()->actions();
    ASSERT_EQ(groupItems.size(), 12);
    EXPECT_EQ(groupItems[0]->text(), QStringLiteral("Gruppe auswählen"));
    EXPECT_FALSE(groupItems[0]->isEnabled());
    EXPECT_TRUE(groupItems[1]->isSeparator());
    EXPECT_EQ(groupItems[2]->text(), QStringLiteral("1-10"));
    EXPECT_EQ(groupItems[11]->text(), QStringLiteral("91-99"));
    const QList<QAction *> lastRange = groupItems[11]->menu()->actions();
    ASSERT_EQ(lastRange.size(), 9);
    EXPECT_EQ(lastRange.last()->text(), QStringLiteral("99"));

    // No selection: nothing is sent, no box.
    for (const char *name : {"mnuUM_StatusAbfragen", "mnuUM_SendReset", "mnuUM_SendPruefen"})
        entry(name)->trigger();
    UnitMenu::ordneGruppeZu(7);
    EXPECT_TRUE(bus.writes().isEmpty());
    EXPECT_TRUE(prompts.shown.isEmpty());

    // The release of the right button opens the menu over the selected row.
    select(QStringLiteral("042"));
    const QPoint row = list()->visualItemRect(list()->topLevelItem(0)).center();
    mouse(list()->viewport(), QEvent::MouseButtonPress, row, Qt::RightButton);
    EXPECT_FALSE(window.overviewPage()->unitMenu()->isVisible());
    mouse(list()->viewport(), QEvent::MouseButtonRelease, row, Qt::RightButton);
    EXPECT_TRUE(window.overviewPage()->unitMenu()->isVisible());
    window.overviewPage()->unitMenu()->hide();
    EXPECT_EQ(window.selectedUnitAddress(), 42);

    entry("mnuUM_StatusAbfragen")->trigger();
    ASSERT_TRUE(FrmUnitStatus::instance());
    for (const char *name : {"mnuUM_SendReset", "mnuUM_SendPruefen", "mnuUM_SendPruefenAus"})
        entry(name)->trigger();
    groupItems[2]->menu()->actions()[6]->trigger();  // "7" in "1-10"
    EXPECT_EQ(bus.writes(), QStringList({"\n042S00", "\n042R00", "\n042P00", "\n042p00", "042G07\n", "042G07\n"}));
    const QList<SimWrite> log = bus.writeLog();
    EXPECT_EQ(log[5].atMs - log[4].atMs, 250);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(box(0), QStringLiteral("Gruppe zuordnen|Gruppenzuordnung wurde gesendet!"));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Information);

    select(QStringLiteral("S05"));
    lastRange.last()->trigger();
    EXPECT_EQ(bus.writes().mid(6), QStringList({"S05G99\n", "S05G99\n"}));

    // A test owns the bus: every entry is refused with the reason, nothing sent.
    bus.clearWrites();
    prompts.shown.clear();
    QString busy;
    {
        const BusClaim test(BusUser::Background);
        busy = busBusyReason();
        for (const char *name : {"mnuUM_StatusAbfragen", "mnuUM_SendReset", "mnuUM_SendPruefen",
                                 "mnuUM_SendPruefenAus"})
            entry(name)->trigger();
        UnitMenu::ordneGruppeZu(7);
    }
    EXPECT_TRUE(bus.writes().isEmpty());
    ASSERT_EQ(prompts.shown.size(), 5);
    EXPECT_EQ(box(0), QStringLiteral("Status anzeigen|Der Status dieses Gerätes konnte nicht angezeigt werden.\r\n"
                                     "Grund: ") + busy);
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(box(i), QStringLiteral("Achtung|") + busy) << i;
        EXPECT_EQ(prompts.shown[i].icon, Prompts::Icon::Exclamation);
    }

    // Port closed: the commands go nowhere; the group assignment says so.
    prompts.shown.clear();
    settings().portOk = false;
    entry("mnuUM_SendReset")->trigger();
    UnitMenu::ordneGruppeZu(7);
    EXPECT_TRUE(bus.writes().isEmpty());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(box(0), QStringLiteral("Gruppe zuordnen|Die Gruppenzuordnung konnte nicht gesendet werden!"));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
}

} // namespace
