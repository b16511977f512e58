#include "ui/pages/overviewpage.h"

#include "core/platform/codepage.h"
#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/pages/statuspages.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/qtprint.h"
#include "support/samplemessages.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"
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

// Notes who owned the bus while each box waited for the operator.
struct BusWatchingPrompts : ScriptedPrompts
{
    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        owners.append(busOwner());
        return ScriptedPrompts::message(text, title, icon, buttons);
    }
    QList<BusUser> owners;
};

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
        delete FrmUnitStatus::instance();
        installView(nullptr);
        units().clear();
    }

    // Registered as the search finds a unit, with a description.
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
    void click(const char *name) const { window.findChild<QPushButton *>(QString::fromUtf8(name))->click(); }
    UnitMenu *menu() const { return window.overviewPage()->unitMenu(); }
    void choose(const char *name) const { menu()->findChild<QAction *>(QString::fromUtf8(name))->trigger(); }
    void mouse(QWidget *target, QPoint at, Qt::MouseButton button) const
    {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, target->mapToGlobal(at), button,
                              type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
            if (type == QEvent::MouseButtonPress) {
                EXPECT_FALSE(menu()->isVisible());
            }
        }
    }
    void clickHeader(int section) const
    {
        const QHeaderView *header = list()->header();
        mouse(header->viewport(),
              {header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2},
              Qt::LeftButton);
    }
    QStringList boxes() const
    {
        QStringList shown;
        for (const auto &box : prompts.shown)
            shown.append(box.title + u'|' + box.text + u'|' + QString::number(int(box.icon)));
        return shown;
    }
    // One unit's five lines of "Units.dat".
    QByteArray unitsDatRecord(int addr) const
    {
        const QList<QByteArray> lines = folder.read(QStringLiteral("Units.dat")).split('\n');
        return (lines.mid((addr - 1) * 5, 5).join('\n') + '\n');
    }
    static QByteArray record(bool exists, const QString &description, const QString &frame)
    {
        const auto field = [](const QString &text, int width) {
            return '"' + codepage::encode(text.leftJustified(width)) + "\"\r\n";
        };
        return QByteArray("0\r\n") + (exists ? "#TRUE#\r\n" : "#FALSE#\r\n") + field(description, kDescriptionWidth)
               + field(frame, kFrameWidth) + field({}, kErrorTextWidth);
    }

    TempAppFolder folder;
    BusWatchingPrompts prompts;
    FakeClock clock;
    FakeWaits waits{clock};
    SimulatedBus bus{clock, waits};
    MainWindow window;
};

const QString kInfo = QString::number(int(Prompts::Icon::Information));

TEST_F(OverviewTest, EveryMenuEntryAndTheGroupSendTheirFramesUnlessTheBusIsTakenOrThePortClosed)
{
    registerUnit(42, kType0401);
    registerUnit(1005, kType0401);
    bus.addUnit(42, sampleMessage(kType0401, QStringLiteral("042")));
    fillUnitList();

    QStringList captions;
    for (const QMenu *m : {static_cast<QMenu *>(menu()), menu()->groupMenu()})
        for (const QAction *a : m->actions())
            captions.append(a->isEnabled() ? a->text() : u'(' + a->text() + u')');
    EXPECT_EQ(captions.join(u'|'),
              QStringLiteral("&Beschreibung ändern|&Status abfragen|&Reset an Gerät senden|Gerät auf &Prüfen "
                             "schalten|Prüf&en beenden senden|&Fehlerstatus zurücksetzen|Gruppe zuordnen|"
                             "(Gruppe auswählen)||1-10|11-20|21-30|31-40|41-50|51-60|61-70|71-80|81-90|91-99"));
    const QList<QAction *> ranges = menu()->groupMenu()->actions();
    const QList<QAction *> lastRange = ranges.last()->menu()->actions();
    ASSERT_EQ(lastRange.size(), 9);

    // The unit menu comes with the release of the right button, the group menu with its button.
    window.selectUnitRow(QStringLiteral("042"));
    mouse(list()->viewport(), list()->visualItemRect(list()->topLevelItem(0)).center(), Qt::RightButton);
    EXPECT_TRUE(menu()->isVisible());
    menu()->hide();
    click("Command6");
    EXPECT_TRUE(menu()->groupMenu()->isVisible());
    menu()->groupMenu()->hide();

    for (const char *name : {"mnuUM_StatusAbfragen", "mnuUM_SendReset", "mnuUM_SendPruefen", "mnuUM_SendPruefenAus"})
        choose(name);
    EXPECT_TRUE(FrmUnitStatus::instance());
    ranges[2]->menu()->actions()[6]->trigger();  // "7" in "1-10"
    window.selectUnitRow(QStringLiteral("S05"));
    lastRange.last()->trigger();
    EXPECT_EQ(bus.writes(), QStringList({"\n042S00", "\n042R00", "\n042P00", "\n042p00", "042G07\n", "042G07\n",
                                         "S05G99\n", "S05G99\n"}));
    const QList<SimWrite> log = bus.writeLog();
    EXPECT_EQ(log[5].atMs - log[4].atMs, 250);
    EXPECT_EQ(boxes(), QStringList(2, "Gruppe zuordnen|Gruppenzuordnung wurde gesendet!|" + kInfo));
    EXPECT_EQ(prompts.owners, QList<BusUser>(2, BusUser::None)) << "a box waiting for the operator holds the bus";

    // A test owns the bus: every entry is refused with the reason, nothing sent.
    bus.clearWrites();
    prompts.shown.clear();
    QString busy;
    {
        const BusClaim test(BusUser::Background);
        busy = busBusyReason();
        for (const char *name : {"mnuUM_StatusAbfragen", "mnuUM_SendReset", "mnuUM_SendPruefen",
                                 "mnuUM_SendPruefenAus"})
            choose(name);
        UnitMenu::ordneGruppeZu(7);
    }
    const QString refused = "Achtung|" + busy + u'|' + QString::number(int(Prompts::Icon::Exclamation));
    EXPECT_EQ(boxes(), QStringList({"Status anzeigen|Der Status dieses Gerätes konnte nicht angezeigt werden.\r\n"
                                    "Grund: " + busy + u'|' + QString::number(int(Prompts::Icon::Critical)),
                                    refused, refused, refused, refused}));

    // The port closed: the command goes nowhere silently; the group assignment says so.
    prompts.shown.clear();
    settings().portOk = false;
    choose("mnuUM_SendReset");
    UnitMenu::ordneGruppeZu(7);
    EXPECT_TRUE(bus.writes().isEmpty());
    EXPECT_EQ(boxes(), QStringList({"Gruppe zuordnen|Die Gruppenzuordnung konnte nicht gesendet werden!|"
                                    + QString::number(int(Prompts::Icon::Critical))}));
}

TEST_F(OverviewTest, DeleteAndATwoPartDescriptionAreWrittenToUnitsDat)
{
    const QString frame7 = registerUnit(7, kType2001, QStringLiteral("Altbau").leftJustified(600) + QStringLiteral("Tür"));
    registerUnit(9, kType0401);
    registerUnit(42, kType0401);
    fillUnitList();

    window.selectUnitRow(QStringLiteral("042"));
    click("cmdDeleteUnit");
    EXPECT_EQ(unitsDatRecord(42), record(false, {}, {}));
    EXPECT_EQ(column(1), QStringList({"007", "009"}));

    // Two parts of 600 characters each; "Abbruch" leaves the file alone, "OK" writes it.
    for (const char *button : {"Command2", "Command3", "Command1"}) {
        window.selectUnitRow(QStringLiteral("007"));
        QStringList shownParts;
        QTimer::singleShot(0, [&] {
            QWidget *editor = QApplication::activeModalWidget();
            ASSERT_TRUE(editor);
            for (QLineEdit *box : editor->findChildren<QLineEdit *>()) {
                if (box->isVisible()) {
                    shownParts.append(box->accessibleName() + box->text() + QString::number(box->maxLength()));
                    box->setText(shownParts.size() == 1 ? QStringLiteral("A") : QStringLiteral("B\""));
                }
            }
            editor->findChild<QPushButton *>(QString::fromUtf8(button))->click();
            if (editor->isVisible())
                editor->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
        });
        click("cmdChangeDescription");
        EXPECT_EQ(shownParts, QStringList({"Beschreibung:Altbau600", "Meldekontakt 1:Tür600"})) << button;
    }
    EXPECT_EQ(boxes(), QStringList({"Fehlerstatus nach letzter Autoprüfung|Kein Fehlerstatus bekannt|" + kInfo}));
    EXPECT_EQ(unitsDatRecord(7), record(true, QStringLiteral("A").leftJustified(600) + QStringLiteral("B'"), frame7));

    // A row whose unit has gone: the list is rebuilt from memory, so a state not yet saved stays.
    prompts.shown.clear();
    units().at(7).state = kStateOk;
    for (const char *button : {"cmdShowStatus", "cmdDeleteUnit"}) {
        units().at(9).exists = true;
        fillUnitList();
        units().at(9).exists = false;
        window.selectUnitRow(QStringLiteral("009"));
        click(button);
        EXPECT_EQ(column(0) + column(1), QStringList({"OK", "007"})) << button;
    }
    const QString reload = QStringLiteral(".\r\nDie Liste wird jetzt neu geladen.|")
                           + QString::number(int(Prompts::Icon::Critical));
    EXPECT_EQ(boxes(), QStringList({"Status anzeigen|Die Adresse 009 ist nicht vorhanden" + reload,
                                    "Gerät löschen|Die Adresse 009 konnte nicht entfernt werden" + reload}));
    EXPECT_TRUE(bus.writes().isEmpty());
}

TEST_F(OverviewTest, EveryHeaderClickFlipsTheOneDirectionAndARefillKeepsTheOrder)
{
    registerUnit(3, kType0401);     // QOR07
    registerUnit(12, kType0203);    // VARO3
    registerUnit(7, kType2001);     // Dravik-Regler
    registerUnit(1001, kType1000);  // HZ4000
    fillUnitList();
    EXPECT_EQ(column(1), QStringList({"003", "007", "012", "S01"}));

    clickHeader(1);
    EXPECT_EQ(column(1), QStringList({"S01", "012", "007", "003"}));
    clickHeader(2);
    EXPECT_EQ(column(1), QStringList({"007", "S01", "003", "012"}));
    registerUnit(5, kType0901);     // Ivenor
    fillUnitList();
    EXPECT_EQ(column(1), QStringList({"007", "S01", "005", "003", "012"}));
    clickHeader(2);
    EXPECT_EQ(column(1), QStringList({"012", "003", "005", "S01", "007"}));
}

} // namespace
