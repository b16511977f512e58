#include "ui/pages/configpage.h"

#include "device/autotest/autotestschedule.h"
#include "device/tasks/tasktable.h"
#include "ui/forms/frmaddtask.h"
#include "ui/forms/frmapwizard.h"
#include "ui/uitest.h"

#include <QtEndian>

namespace {

// The main window over a simulated bus, its pages filled as at start.
struct ConfigTest : WindowUiTest<BusUiTest>
{
    ConfigTest()
    {
        initTasks();
        window.load();
        serialLink().openComPort(1);
        bus.clearWrites();
    }
    QByteArray ini() const { return this->folder.read(QStringLiteral("Nuvax.ini")); }
};

} // namespace

// The signal reset sends only to a chosen address (filling the list selects none); the buttons rest while
// the bus is taken; a refused handshake shows the busy reason.
TEST_F(ConfigTest, SignalResetPortModeInstanceNameAndTheButtonsWhileTheBusIsTaken)
{
    auto *addresses = child<QComboBox>(&window, "cmbSignalAddress");
    EXPECT_EQ(std::tuple(addresses->count(), addresses->itemText(0), addresses->currentIndex()),
              std::tuple(999, QStringLiteral("001"), -1));
    EXPECT_FALSE(addresses->isEnabled() || child(&window, "cmdResetResultSignal")->isEnabled());
    child<QCheckBox>(&window, "chkSignalAPResult")->setChecked(true);
    EXPECT_TRUE(settings().sigResultAktiv);
    click(&window, "cmdResetResultSignal");
    EXPECT_EQ(bus.wire(), "");
    addresses->setCurrentIndex(0);
    EXPECT_EQ(settings().signalAdr, 1);
    {
        const BusClaim poll(BusUser::Background);   // never into a running poll
        click(&window, "cmdResetResultSignal");
    }
    EXPECT_EQ(bus.wire(), "");
    EXPECT_TRUE(boxes().last().startsWith("Achtung|"));
    click(&window, "cmdResetResultSignal");
    EXPECT_EQ(bus.wire(), "\n001A00");
    bus.clearWrites();
    auto *status = child<QLabel>(&window, "lblVk8Status");
    EXPECT_FALSE(child(&window, "cmdConnect")->isEnabled() || !status->isHidden());
    child<QComboBox>(&window, "cmbCOMPort")->setCurrentIndex(2);
    child<QComboBox>(&window, "cmbComMode")->setCurrentIndex(1);
    EXPECT_TRUE(status->text() == "n/a" && !status->isHidden());
    click(&window, "cmdConnect");
    EXPECT_EQ(ini(), "[COM]\r\nPort=2\r\nComMode=1\r\n");
    // The port is reopened at the adapter's rate with its greeting, then "Verbinden" greets again.
    EXPECT_EQ(std::tuple(bus.baud(), bus.wire(), status->text()), std::tuple(9600, QStringLiteral("K2Connect@K2Connect@"), QStringLiteral("Bereit")));

    child<QLineEdit>(&window, "txtInstanzname")->setText(QStringLiteral("Halle Süd"));
    click(&window, "btnInsNameSpeichern");
    EXPECT_EQ(ini(), "[COM]\r\nPort=2\r\nComMode=1\r\n[Program]\r\nInstanzname=Halle S\xFC" "d\r\n");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Nuvax PC-Zentrale - Halle Süd"));

    const auto enabled = [&] {
        return QList<bool>{child(&window, "fr4OK")->isEnabled(), child(&window, "fr4Abbrechen")->isEnabled(),
                           child(&window, "cmdConnect")->isEnabled()};
    };
    {
        const BusClaim poll(BusUser::Background);
        EXPECT_EQ(enabled(), QList<bool>(3, false));
    }
    EXPECT_EQ(enabled(), QList<bool>(3, true));
    const BusTransaction query;
    serialLink().updateConnectionStatus();
    EXPECT_EQ(status->text(), busBusyReason());
}

TEST_F(ConfigTest, WizardWritesTheSchedulesOnFertigAndNothingOnAbbrechen)
{
    {
        FrmAPWizard wizard(&window);
        child<QCheckBox>(&wizard, "chkPruefungAktivieren")->setChecked(true);
        child<QComboBox>(&wizard, "cmbPrfIntervall")->setCurrentIndex(1);
        child<QComboBox>(&wizard, "cmbPrfTag")->setCurrentIndex(6);
        child<QLineEdit>(&wizard, "txtPrfZeit")->setText("25:00");
        EXPECT_EQ(child<QLabel>(&wizard, "lblPrfInfo")->text() + '|' + child<QLabel>(&wizard, "lblTestInfo")->text(),
                  "An jedem ersten Sonntag jedes Monats um 25:00 Uhr|Ein Betriebsdauertest wird nicht ausgeführt");
        EXPECT_FALSE(child(&wizard, "cmbPrfMonat")->isEnabled());
        click(&wizard, "cmdWeiter");
        click(&wizard, "cmdWeiter");
        EXPECT_TRUE(child<QPushButton>(&wizard, "cmdFertig")->isDefault());
        click(&wizard, "cmdFertig");
        EXPECT_EQ(boxes(), QStringList{"Fehler|Die angegebene Uhrzeit '25:00' ist ungültig. Bitte geben Sie eine "
                                       "andere Uhrzeit ein!"});
        EXPECT_TRUE(wizard.getVisiblePageIndex() == 1 && ini().isEmpty());

        child<QLineEdit>(&wizard, "txtPrfZeit")->setText("6:30");
        child<QCheckBox>(&wizard, "chkTestAktivieren")->setChecked(true);
        child<QLineEdit>(&wizard, "txtTestZeit")->setText("04:15:30");
        child<QComboBox>(&wizard, "cmbAkkuLaufZeit")->setCurrentIndex(1);
        click(&wizard, "cmdWeiter");
        click(&wizard, "cmdFertig");
        EXPECT_EQ(wizard.result(), QDialog::Accepted);
    }
    EXPECT_EQ(ini(), "[Pruefung]\r\naktiv=True\r\nintervall=1\r\nmonat=0\r\ntag=6\r\nzeit=06:30:00\r\n"
                       "[Dauertest]\r\naktiv=True\r\nintervall=1\r\nmonat=0\r\ntag=6\r\nzeit=04:15:30\r\n"
                       "akkulaufzeit=3\r\n[AP]\r\nSignalAdr=0\r\nSigResultAktiv=False\r\n");
    EXPECT_EQ(child<QLabel>(&window, "lblAktuellePruefEinstellung")->text(),
              scheduleDisplayText(settings().pruefung, false, 0));
    const QByteArray written = ini();
    FrmAPWizard cancelled(&window);
    child<QCheckBox>(&cancelled, "chkPruefungAktivieren")->setChecked(false);
    click(&cancelled, "cmdCancel");
    EXPECT_TRUE(ini() == written && settings().pruefung.aktiv);
}

TEST_F(ConfigTest, TaskEditorStoresItsGroupsAndRefusesWhenTheTableIsFull)
{
    {
        FrmAddTask editor(&window);
        child<QCheckBox>(&editor, "chkAktiv")->setChecked(true);
        child<QLineEdit>(&editor, "txtDescription")->setText(QStringLiteral("Flur aus"));
        child<QScrollBar>(&editor, "HScroll1")->setValue(1439);
        EXPECT_TRUE(child<QLineEdit>(&editor, "txtTime")->text() == "23:59" && child<QLineEdit>(&editor, "txtTime")->isReadOnly());
        child<QCheckBox>(&editor, "chkWeekday0")->setChecked(true);
        child<QCheckBox>(&editor, "chkMonth11")->setChecked(true);
        child<QAbstractButton>(&editor, "optAction1")->setChecked(true);
        prompts.scriptInput(QStringLiteral("3,7,9,13-16,19"));
        click(&editor, "cmdAddGroup");
        prompts.scriptInput(QStringLiteral("12,1000,13"));
        click(&editor, "cmdAddAdresse");
        EXPECT_EQ(boxes().value(2), "Fehler|Ungültige Adresse: '1000'!\r\nGültig sind Adressen von 1 bis 999");
        EXPECT_EQ(child<QListWidget>(&editor, "lstAddresses")->count(), 1);  // the groups: in the file below
        click(&editor, "Command5");
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    }
    // The record's bytes: flags as 16-bit -1/0, the time as a fraction of a day.
    const QByteArray file = folder.read(QStringLiteral("Tasks.dat"));
    ASSERT_EQ(file.size(), 2537);
    const auto flag = [&](int offset) { return qFromLittleEndian<qint16>(file.constData() + offset); };
    EXPECT_EQ(flag(0) + flag(2), -2);  // active, in use
    EXPECT_EQ(file.mid(4, 255), QByteArray("Flur aus").leftJustified(255, ' '));
    EXPECT_DOUBLE_EQ(qFromLittleEndian<double>(file.constData() + 259), 1439.0 / 1440.0);
    // From offset 267: 7 weekdays, 12 months, the action, the kind of targets, 100 groups, 1000 addresses.
    QList<int> expected(1121, 0), actual;
    expected[0] = expected[7 + 11] = -1;  // Monday, December
    expected[19] = 1;                     // "Ausschalten"; 0 next: single units and groups
    for (int at : {3, 7, 9, 13, 14, 15, 16, 19, 100 + 12})  // groups, then address 12
        expected[21 + at] = -1;
    for (int i = 0; i < 1121; ++i)
        actual << flag(267 + 2 * i);
    EXPECT_EQ(actual, expected);
    auto *list = child<QTreeWidget>(&window, "lvTaskListe");
    EXPECT_EQ(list->topLevelItem(0)->text(1) + u'|' + list->topLevelItem(0)->text(5), "Flur aus|Montag");

    {
        FrmAddTask editor(&window);
        ASSERT_TRUE(editor.loadTask(tasks().at(1).taskId));
        EXPECT_EQ(child<QLineEdit>(&editor, "txtTime")->text() + child<QListWidget>(&editor, "lstGroups")->item(7)->text(), "23:5919");
        child<QCheckBox>(&editor, "chkAktiv")->setChecked(false);
        click(&editor, "Command5");
    }
    EXPECT_EQ(folder.read(QStringLiteral("Tasks.dat")).left(2) + list->topLevelItem(0)->text(0).toLatin1(), QByteArray(2, '\0') + "Inaktiv");
    list->topLevelItem(0)->setSelected(true);   // as an assistive tool selects: the current row stays unset
    click(&window, "Command5");
    EXPECT_TRUE(list->topLevelItemCount() == 0 && folder.read(QStringLiteral("Tasks.dat")).isEmpty());

    for (int slot = 1; slot <= kMaxTasks; ++slot)
        tasks().at(slot).belegt = true;
    FrmAddTask editor(&window);
    click(&editor, "Command5");
    EXPECT_EQ(boxes().last(), "Aktion hinzufügen|Es können keine weiteren Aktionen angelegt werden.");
    EXPECT_NE(editor.result(), QDialog::Accepted);
}
