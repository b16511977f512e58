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
#include <algorithm>
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
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                       header->height() / 2);
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
    click("Command6");
    EXPECT_TRUE(window.overviewPage()->unitMenu()->groupMenu()->isVisible());
    window.overviewPage()->unitMenu()->groupMenu()->hide();

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

TEST_F(OverviewTest, DeleteAndATwoPartDescriptionAreWrittenToUnitsDat)
{
    const QString frame7 = registerUnit(7, kType2001, QStringLiteral("Altbau").leftJustified(600) + QStringLiteral("Tür"));
    registerUnit(9, kType0401);
    registerUnit(42, kType0401);
    fillUnitList();

    select(QStringLiteral("042"));
    click("cmdDeleteUnit");
    EXPECT_EQ(unitsDatRecord(42), record(0, false, {}, {}));
    EXPECT_EQ(column(1), QStringList({"007", "009"}));

    // Two parts of 600 characters; Abbruch keeps the file, OK writes it.
    for (const char *button : {"Command2", "Command3", "Command1"}) {
        select(QStringLiteral("007"));
        QStringList shownParts;
        QTimer::singleShot(0, [&] {
            QWidget *editor = QApplication::activeModalWidget();
            ASSERT_TRUE(editor);
            EXPECT_EQ(editor->windowTitle(), QStringLiteral("Beschreibung bearbeiten"));
            for (QLineEdit *box : editor->findChildren<QLineEdit *>()) {
                if (!box->isVisible())
                    continue;
                shownParts.append(box->accessibleName() + box->text());
                EXPECT_EQ(box->maxLength(), 600);
                box->setText(shownParts.size() == 1 ? QStringLiteral("A") : QStringLiteral("B\""));
            }
            editor->findChild<QPushButton *>(QString::fromUtf8(button))->click();
            if (QApplication::activeModalWidget() == editor)
                editor->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
        });
        click("cmdChangeDescription");
        EXPECT_EQ(shownParts, QStringList({"Beschreibung:Altbau", "Meldekontakt 1:Tür"})) << button;
    }
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(box(0), QStringLiteral("Fehlerstatus nach letzter Autoprüfung|Kein Fehlerstatus bekannt"));
    EXPECT_EQ(unitsDatRecord(7),
              record(0, true, QStringLiteral("A").leftJustified(600) + QStringLiteral("B'"), frame7));
    EXPECT_EQ(column(3), QStringList({"A", ""}));

    // A row whose unit has gone: the list is rebuilt from memory, so a state
    // not yet saved stays.
    prompts.shown.clear();
    units().at(7).state = kStateOk;
    for (const char *button : {"cmdShowStatus", "cmdDeleteUnit"}) {
        units().at(9).exists = true;
        fillUnitList();
        units().at(9).exists = false;
        select(QStringLiteral("009"));
        click(button);
        EXPECT_EQ(column(1), QStringList({"007"})) << button;
        EXPECT_EQ(column(0), QStringList({"OK"})) << button;
    }
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(box(0), QStringLiteral("Status anzeigen|Die Adresse 009 ist nicht vorhanden.\r\n"
                                     "Die Liste wird jetzt neu geladen."));
    EXPECT_EQ(box(1), QStringLiteral("Gerät löschen|Die Adresse 009 konnte nicht entfernt werden.\r\n"
                                     "Die Liste wird jetzt neu geladen."));
    EXPECT_TRUE(bus.writes().isEmpty());
    EXPECT_EQ(unitsDatRecord(7).left(3), QByteArray("0\r\n"));
}

TEST_F(OverviewTest, EveryHeaderClickFlipsTheOneDirectionAndARefillKeepsTheOrder)
{
    registerUnit(3, kType0401);
    registerUnit(12, kType0203);
    registerUnit(7, kType2001);
    registerUnit(1001, kType1000);
    fillUnitList();
    EXPECT_EQ(column(1), QStringList({"003", "007", "012", "S01"}));

    const auto sortedTypes = [this](bool ascending) {
        QStringList types = column(2);
        std::sort(types.begin(), types.end());
        if (!ascending)
            std::reverse(types.begin(), types.end());
        return types;
    };
    clickHeader(1);
    EXPECT_EQ(column(1), QStringList({"S01", "012", "007", "003"}));
    clickHeader(2);
    EXPECT_EQ(column(2), sortedTypes(true));
    registerUnit(5, kType0901);
    fillUnitList();
    EXPECT_EQ(column(2).size(), 5);
    EXPECT_EQ(column(2), sortedTypes(true));
    clickHeader(2);
    EXPECT_EQ(column(2), sortedTypes(false));
    EXPECT_NE(column(2), sortedTypes(true));
}

} // namespace
