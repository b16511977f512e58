#include "ui/pages/overviewpage.h"

#include "ui/forms/frmunitstatus.h"
#include "ui/pages/unitmenu.h"
#include "ui/uitest.h"

namespace {

struct OverviewTest : WindowUiTest<BusUiTest>
{
    OverviewTest()
    {
        initStatusPages();
        serialLink().openComPort(1);
        window.load();
        window.showPage(2);
        window.show();
    }
    ~OverviewTest() override { delete FrmUnitStatus::instance(); }
    // Registered as the search finds a unit, with a description.
    static QString registerUnit(int addr, int deviceType, const QString &description = {})
    {
        const QString frame = sampleMessage(deviceType, formatUnitAddress(addr)).left(kFrameWidth);
        addUnit(addr, frame);
        units().at(addr).description = fixedWidth(description, kDescriptionWidth);
        return frame;
    }
    QTreeWidget *list() const { return child<QTreeWidget>(&window, "UnitList"); }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int row = 0; row < list()->topLevelItemCount(); ++row)
            texts.append(list()->topLevelItem(row)->text(c));
        return texts;
    }
    UnitMenu *menu() const { return window.overviewPage()->unitMenu(); }
    void choose(const char *name) const { child<QAction>(menu(), name)->trigger(); }
    // One unit's five lines of "Units.dat", and what they must be.
    QByteArray unitsDatRecord(int addr) const
    {
        return folder.read(QStringLiteral("Units.dat")).split('\n').mid((addr - 1) * 5, 5).join('\n') + '\n';
    }
    static QByteArray record(bool exists, const QString &description, const QString &frame)
    {
        return unitRecord(0, exists, description.leftJustified(kDescriptionWidth), frame.leftJustified(kFrameWidth),
                          QString(kErrorTextWidth, u' '));
    }
};

const QString kInfo = QString::number(int(Prompts::Icon::Information));
const QString kCritical = QString::number(int(Prompts::Icon::Critical));

} // namespace

TEST_F(OverviewTest, EveryMenuEntryAndTheGroupSendTheirFramesUnlessTheBusIsTakenOrThePortClosed)
{
    registerUnit(42, kType0401);
    registerUnit(1005, kType0401);
    bus.addUnit(42, sampleMessage(kType0401, QStringLiteral("042")));
    fillUnitList();
    const QList<QAction *> ranges = menu()->groupMenu()->actions();
    const QList<QAction *> lastRange = ranges.last()->menu()->actions();  // "91-99"

    // The unit menu comes with the release of the right button (not the press), the group menu with its button.
    window.selectUnitRow(QStringLiteral("042"));
    const QPoint row = list()->visualItemRect(list()->topLevelItem(0)).center();
    mouse(list()->viewport(), QEvent::MouseButtonPress, Qt::RightButton, row);
    EXPECT_FALSE(menu()->isVisible());
    mouse(list()->viewport(), QEvent::MouseButtonRelease, Qt::RightButton, row);
    EXPECT_TRUE(menu()->isVisible());
    menu()->hide();
    click(&window, "Command6");
    EXPECT_TRUE(menu()->groupMenu()->isVisible());
    menu()->groupMenu()->hide();

    const char *frames[] = {"mnuUM_StatusAbfragen", "mnuUM_SendReset", "mnuUM_SendPruefen", "mnuUM_SendPruefenAus"};
    for (const char *name : frames)
        choose(name);
    EXPECT_TRUE(FrmUnitStatus::instance());
    ranges[2]->menu()->actions()[6]->trigger();  // "7" in "1-10"
    window.selectUnitRow(QStringLiteral("S05"));
    lastRange.last()->trigger();
    EXPECT_EQ(bus.writes(), QStringList({"\n042S00", "\n042R00", "\n042P00", "\n042p00", "042G07\n", "042G07\n",
                                         "S05G99\n", "S05G99\n"}));
    EXPECT_EQ(bus.writeLog()[5].atMs - bus.writeLog()[4].atMs, 250);
    EXPECT_EQ(boxes(true), QStringList(2, "Gruppe zuordnen|Gruppenzuordnung wurde gesendet!|" + kInfo));
    EXPECT_EQ(prompts.owners, QList<BusUser>(2, BusUser::None)) << "a box waiting for the operator holds the bus";

    // A test owns the bus: every entry is refused with the reason, nothing sent.
    bus.clearWrites();
    prompts.shown.clear();
    QString busy;
    {
        const BusClaim test(BusUser::Background);
        busy = busBusyReason();
        for (const char *name : frames)
            choose(name);
        UnitMenu::ordneGruppeZu(7);
    }
    const QString refused = "Achtung|" + busy + u'|' + QString::number(int(Prompts::Icon::Exclamation));
    EXPECT_EQ(boxes(true), QStringList({"Status anzeigen|Der Status dieses Gerätes konnte nicht angezeigt "
                                             "werden.\r\nGrund: " + busy + u'|' + kCritical,
                                             refused, refused, refused, refused}));

    // The port closed: the command goes nowhere silently; the group assignment says so.
    prompts.shown.clear();
    settings().portOk = false;
    choose("mnuUM_SendReset");
    UnitMenu::ordneGruppeZu(7);
    EXPECT_TRUE(bus.writes().isEmpty());
    EXPECT_EQ(boxes(true),
              QStringList({"Gruppe zuordnen|Die Gruppenzuordnung konnte nicht gesendet werden!|" + kCritical}));
}

TEST_F(OverviewTest, DeleteAndATwoPartDescriptionAreWrittenToUnitsDat)
{
    const QString frame7 = registerUnit(7, kType2001, QStringLiteral("Altbau").leftJustified(600) + QStringLiteral("Tür"));
    registerUnit(9, kType0401);
    registerUnit(42, kType0401);
    fillUnitList();
    window.selectUnitRow(QStringLiteral("042"));
    click(&window, "cmdDeleteUnit");
    EXPECT_EQ(unitsDatRecord(42), record(false, {}, {}));
    EXPECT_EQ(column(1), QStringList({"007", "009"}));

    // Two parts of 600 characters each; "Abbruch" leaves the file alone, "OK" writes it ('"' stored as "'").
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
            click(editor, button);
            if (editor->isVisible())
                click(editor, "Command2");
        });
        click(&window, "cmdChangeDescription");
        EXPECT_EQ(shownParts, QStringList({"Beschreibung:Altbau600", "Meldekontakt 1:Tür600"})) << button;
    }
    EXPECT_EQ(boxes(true), QStringList({"Fehlerstatus nach letzter Autoprüfung|Kein Fehlerstatus bekannt|" + kInfo}));
    EXPECT_EQ(unitsDatRecord(7), record(true, QStringLiteral("A").leftJustified(600) + QStringLiteral("B'"), frame7));

    // A row whose unit has gone: the list is rebuilt from memory, so a state not yet saved stays.
    prompts.shown.clear();
    units().at(7).state = kStateOk;
    for (const char *button : {"cmdShowStatus", "cmdDeleteUnit"}) {
        units().at(9).exists = true;
        fillUnitList();
        units().at(9).exists = false;
        window.selectUnitRow(QStringLiteral("009"));
        click(&window, button);
        EXPECT_EQ(column(0) + column(1), QStringList({"OK", "007"})) << button;
    }
    const QString reload = ".\r\nDie Liste wird jetzt neu geladen.|" + kCritical;
    EXPECT_EQ(boxes(true), QStringList({"Status anzeigen|Die Adresse 009 ist nicht vorhanden" + reload,
                                             "Gerät löschen|Die Adresse 009 konnte nicht entfernt werden" + reload}));
    EXPECT_TRUE(bus.writes().isEmpty());
}

// The first header click sorts descending; every further click flips, whichever column; a refill keeps the order.
TEST_F(OverviewTest, EveryHeaderClickFlipsTheOneDirectionAndARefillKeepsTheOrder)
{
    registerUnit(3, kType0401);     // QOR07
    registerUnit(12, kType0203);    // VARO3
    registerUnit(7, kType2001);     // Dravik-Regler
    registerUnit(1001, kType1000);  // HZ4000
    fillUnitList();
    QStringList orders{column(1).join(u',')};
    for (int section : {1, 2, -1, 2}) {
        if (section < 0) {
            registerUnit(5, kType0901);  // Ivenor
            fillUnitList();
        } else {
            const QHeaderView *header = list()->header();
            mouseClick(header->viewport(), Qt::LeftButton,
                       {header->sectionViewportPosition(section) + header->sectionSize(section) / 2, 5});
        }
        orders << column(1).join(u',');
    }
    EXPECT_EQ(orders, QStringList({"003,007,012,S01", "S01,012,007,003", "007,S01,003,012", "007,S01,005,003,012",
                                   "012,003,005,S01,007"}));
}
