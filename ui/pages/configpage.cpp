#include "ui/pages/configpage.h"

#include "core/files/configsections.h"
#include "core/files/stationini.h"
#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/prompts.h"
#include "core/station/stationsettings.h"
#include "device/autotest/autotestschedule.h"
#include "device/autotest/autoteststate.h"
#include "device/link/comsettings.h"
#include "device/link/seriallink.h"
#include "device/operator/unitcommands.h"
#include "device/tasks/tasktable.h"
#include "ui/forms/frmaddtask.h"
#include "ui/forms/frmapwizard.h"
#include "ui/storabletext.h"
#include "ui/widgetmakers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPortCount = 10;
constexpr int kHighestSignalAddress = 999;

QColor connectionColor(ConnectionColor background, const QColor &neutral)
{
    switch (background) {
    case ConnectionColor::Red: return QColor(255, 0, 0);
    case ConnectionColor::Green: return QColor(0, 255, 0);
    default: return neutral;
    }
}

} // namespace

ConfigPage::ConfigPage(QWidget *parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("picConfig"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    horizontalScrollBar()->setObjectName(QStringLiteral("HScrollConfig"));
    verticalScrollBar()->setObjectName(QStringLiteral("VScrollConfig"));

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("TabStripConfig"));
    m_tabs->setMinimumSize(680, 440);
    m_tabs->addTab(buildSchnittstelle(), QStringLiteral("Schnittstelle"));
    m_tabs->addTab(buildAutopruefung(), QStringLiteral("Autoprüfung"));
    m_tabs->addTab(buildGeraeteverwaltung(), QStringLiteral("Geräteverwaltung"));
    m_tabs->addTab(buildTimerfunktionen(), QStringLiteral("Timerfunktionen"));
    m_tabs->addTab(buildProgramm(), QStringLiteral("Programm"));
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->widget(i)->setObjectName(QStringLiteral("picConfigTab%1").arg(i));
    setWidget(m_tabs);
}

QWidget *ConfigPage::buildSchnittstelle()
{
    auto *panel = new QWidget;
    auto *grid = new QGridLayout(panel);
    const QString tip = QStringLiteral("Wählen Sie die Schnittstelle an der Ihre Nuvax Geräte angeschlossen sind");

    m_port = new QComboBox;
    m_port->setObjectName(QStringLiteral("cmbCOMPort"));
    for (int i = 1; i <= kPortCount; ++i)
        m_port->addItem(QStringLiteral("COM%1").arg(i));
    m_port->setToolTip(tip);
    m_mode = new QComboBox;
    m_mode->setObjectName(QStringLiteral("cmbComMode"));
    m_mode->addItems({QStringLiteral("Nuvax-Konverter"), QStringLiteral("VK8-Kabel"), QStringLiteral("VK8-Bluetooth")});
    m_mode->setToolTip(tip);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &ConfigPage::aktualisiereComModeAnzeige);

    m_connect = namedButton("Verbinden", "cmdConnect");
    m_save = namedButton("Speichern", "fr4OK");
    m_save->setToolTip(QStringLiteral("Einstellungen übernehmen und speichern"));
    m_reset = namedButton("Zurücksetzen", "fr4Abbrechen");
    m_reset->setToolTip(QStringLiteral("Einstellungen auf Ausgangswerte zurücksetzen"));
    m_vk8Status = new QLabel;
    m_vk8Status->setObjectName(QStringLiteral("lblVk8Status"));
    m_vk8Status->setAutoFillBackground(true);
    m_vk8Status->setMinimumWidth(200);
    connect(m_save, &QPushButton::clicked, this, &ConfigPage::saveCom);
    connect(m_reset, &QPushButton::clicked, this, [] { loadComSettings(); });
    connect(m_connect, &QPushButton::clicked, this, &ConfigPage::connectAdapter);

    grid->addWidget(wrappedText("Bitte wählen Sie die serielle Schnittstelle aus, über die mit dem Nuvax System "
                             "kommuniziert werden soll. Falls die Schnittstelle über ein Bluetoothgerät zur "
                             "Verfügung gestellt wird, wählen Sie bitte zusätzlich die Option \"Bluetooth\" aus."),
                    0, 0, 1, 3);
    grid->addWidget(labelFor("Schnittstelle:", m_port), 1, 0);
    grid->addWidget(m_port, 1, 1);
    grid->addWidget(labelFor("Modus:", m_mode), 2, 0);
    grid->addWidget(m_mode, 2, 1);
    grid->addWidget(m_connect, 2, 2);
    grid->addWidget(m_vk8Status, 3, 1, 1, 2);
    grid->addWidget(wrappedText("Klicken Sie auf \"Speichern\", um die Konfiguration der Schnittstelle zu speichern."),
                    4, 0, 1, 2);
    grid->addWidget(m_save, 4, 2);
    grid->addWidget(wrappedText("Klicken Sie auf \"Zurücksetzen\", um die zuletzt gespeicherte Konfiguration "
                             "wiederherzustellen."),
                    5, 0, 1, 2);
    grid->addWidget(m_reset, 5, 2);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    aktualisiereComModeAnzeige();
    return panel;
}

QWidget *ConfigPage::buildAutopruefung()
{
    auto *panel = new QWidget;
    auto *grid = new QGridLayout(panel);

    m_pruefung = new QLabel;
    m_pruefung->setObjectName(QStringLiteral("lblAktuellePruefEinstellung"));
    m_dauertest = new QLabel;
    m_dauertest->setObjectName(QStringLiteral("lblAktuelleDauertestEinstellung"));
    auto *change = namedButton("Einstellungen ändern", "Command2");
    auto *startPruefung = namedButton("Prüfung jetzt starten", "Command3");
    auto *startDauertest = namedButton("Betriebsdauertest jetzt starten", "Command4");
    m_signalActive = new QCheckBox(QStringLiteral("Ergebnissignalisierung aktivieren"));
    m_signalActive->setObjectName(QStringLiteral("chkSignalAPResult"));
    m_signalAddress = new QComboBox;
    m_signalAddress->setObjectName(QStringLiteral("cmbSignalAddress"));
    m_resetSignal = namedButton("Signal zurücksetzen", "cmdResetResultSignal");

    connect(change, &QPushButton::clicked, this, [this] {
        FrmAPWizard wizard(window());
        wizard.exec();
    });
    connect(startPruefung, &QPushButton::clicked, this,
            [this] { startTest(kArtPruefung, QStringLiteral("Prüfung")); });
    connect(startDauertest, &QPushButton::clicked, this,
            [this] { startTest(kArtDauertest, QStringLiteral("Betriebsdauertest")); });
    connect(m_signalActive, &QCheckBox::toggled, this, &ConfigPage::signalActivated);
    connect(m_signalAddress, &QComboBox::currentIndexChanged, this,
            [](int index) { settings().signalAdr = index + 1; });
    connect(m_resetSignal, &QPushButton::clicked, this, &ConfigPage::resetResultSignal);

    grid->addWidget(new QLabel(QStringLiteral("Aktuelle Einstellungen:")), 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Prüfung der angeschlossenen Geräte:")), 1, 0, 1, 3);
    grid->addWidget(m_pruefung, 2, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Prüfung der Akkulaufzeit:")), 3, 0, 1, 3);
    grid->addWidget(m_dauertest, 4, 0, 1, 3);
    grid->addWidget(wrappedText("Um die Einstellungen für die Geräteprüfung und Prüfung der Akkulaufzeit zu ändern, "
                             "klicken Sie bitte auf \"Einstellungen ändern\""),
                    5, 0, 1, 2);
    grid->addWidget(change, 5, 2);
    grid->addWidget(wrappedText("Um eine Prüfung der angeschlossenen Geräte sofort zu starten, klicken Sie bitte auf "
                             "\"Prüfung jetzt starten\""),
                    6, 0, 1, 2);
    grid->addWidget(startPruefung, 6, 2);
    grid->addWidget(wrappedText("Um eine Prüfung der Akkulaufzeit der angeschlossenen Geräte zu starten, klicken Sie "
                             "bitte auf \"Betriebsdauertest jetzt starten\""),
                    7, 0, 1, 2);
    grid->addWidget(startDauertest, 7, 2);
    grid->addWidget(wrappedText("Mit dieser Option können Sie ein Nuvax-Gerät einschalten lassen, wenn während der "
                             "Autoprüfung ein Fehler gefunden wurde. Um die Fehleranzeige zurückzusetzen klicken "
                             "Sie auf \"Signal zurücksetzen\""),
                    8, 0, 1, 3);
    grid->addWidget(m_signalActive, 9, 0);
    grid->addWidget(labelFor("Signaladresse:", m_signalAddress), 9, 1, Qt::AlignRight);
    grid->addWidget(m_signalAddress, 9, 2);
    grid->addWidget(m_resetSignal, 10, 2);
    grid->setRowStretch(11, 1);
    grid->setColumnStretch(0, 1);
    signalActivated(false);
    return panel;
}

QWidget *ConfigPage::buildGeraeteverwaltung()
{
    auto *panel = new QWidget;
    auto *grid = new QGridLayout(panel);
    auto *search = namedButton("Geräte suchen", "Command1_0");
    auto *deleteAll = namedButton("Alle Geräte löschen", "Command1_1");
    connect(search, &QPushButton::clicked, this, &ConfigPage::searchRequested);
    connect(deleteAll, &QPushButton::clicked, this, &ConfigPage::deleteAllUnits);
    grid->addWidget(wrappedText("Für eine Bestandsaufnahme aller an das System angeschlossenen Geräte, oder zum "
                             "Hinzufügen neu angeschlossener Geräte, klicken Sie bitte auf \"Geräte suchen\""),
                    0, 0);
    grid->addWidget(search, 0, 1);
    grid->addWidget(wrappedText("Um alle Geräte aus der Datenbank zu löschen, klicken Sie bitte auf \"Alle Geräte "
                             "löschen\". Um einzelne Geräte zu löschen, klicken Sie bitte in der Navigationsleiste "
                             "auf \"Übersicht\", wählen Sie in der Liste das zu löschende Gerät aus und klicken Sie "
                             "auf \"Gerät aus Liste löschen\""),
                    1, 0);
    grid->addWidget(deleteAll, 1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    return panel;
}

QWidget *ConfigPage::buildTimerfunktionen()
{
    auto *panel = new QWidget;
    auto *grid = new QGridLayout(panel);
    m_taskList = new QTreeWidget;
    m_taskList->setObjectName(QStringLiteral("lvTaskListe"));
    m_taskList->setRootIsDecorated(false);
    m_taskList->setHeaderLabels({QStringLiteral("Status"), QStringLiteral("Beschreibung"), QStringLiteral("Uhrzeit"),
                                 QStringLiteral("Aktion"), QStringLiteral("Monat"), QStringLiteral("Wochentag")});
    auto *add = namedButton("Hinzufügen", "cmdAddTask");
    auto *remove = namedButton("Entfernen", "Command5");
    connect(add, &QPushButton::clicked, this, &ConfigPage::addTask);
    connect(remove, &QPushButton::clicked, this, &ConfigPage::removeTask);
    connect(m_taskList, &QTreeWidget::itemDoubleClicked, this, &ConfigPage::editTask);

    grid->addWidget(wrappedText("Auf dieser Seite haben Sie die Möglichkeit, Geräte zeitgesteuert ein- bzw. "
                             "ausschalten zu lassen. Sie können einzelne Adressen, oder von Ihnen definierte "
                             "Gruppen ansprechen. Klicken Sie auf \"Hinzufügen\", um einen Auftrag hinzuzufügen. Um "
                             "einen Auftrag zu bearbeiten, doppelklicken sie bitte auf den entsprechenden "
                             "Listeneintrag."),
                    0, 0, 1, 3);
    grid->addWidget(m_taskList, 1, 0, 1, 3);
    grid->addWidget(add, 2, 1);
    grid->addWidget(remove, 2, 2);
    grid->addWidget(wrappedText("Um Geräte bestimmten Gruppen hinzuzufügen, wählen Sie im Navigationsmenü das Fenster "
                             "\"Übersicht\", wählen Sie dort das Gerät aus, welches Sie einer Gruppe hinzuzufügen "
                             "möchten und klicken Sie auf \"Gruppe zuordnen\". Beachten Sie bitte, dass nicht alle "
                             "Geräte die Möglichkeit einer Gruppe zugeordnet werden zu können unterstützen! Nährere "
                             "Informationen bekommen Sie vom Hersteller."),
                    3, 0, 1, 3);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
    return panel;
}

QWidget *ConfigPage::buildProgramm()
{
    auto *panel = new QWidget;
    auto *grid = new QGridLayout(panel);
    m_instanzname = new QLineEdit;
    m_instanzname->setObjectName(QStringLiteral("txtInstanzname"));
    takeOnlyStorableText(m_instanzname);
    auto *save = namedButton("Speichern", "btnInsNameSpeichern");
    connect(save, &QPushButton::clicked, this, &ConfigPage::saveInstanzname);
    grid->addWidget(wrappedText("Hier können Sie eine Bezeichnung eingeben, die in der Titelleiste erscheinen soll. "
                             "Damit können mehrere Programminstanzen der Nuvax PC-Zentrale unterschieden werden."),
                    0, 0, 1, 3);
    grid->addWidget(labelFor("Instanzbezeichnung", m_instanzname), 1, 0);
    grid->addWidget(m_instanzname, 1, 1);
    grid->addWidget(save, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);
    return panel;
}

// --- what the station shows here ---

void ConfigPage::showComSettings(int portIndex, int mode)
{
    const QSignalBlocker quietPort(m_port);
    const QSignalBlocker quietMode(m_mode);
    m_port->setCurrentIndex(portIndex);
    m_mode->setCurrentIndex(mode);
    aktualisiereComModeAnzeige();
}

void ConfigPage::showConnectionStatus(const QString &caption, ConnectionColor background)
{
    m_vk8Status->setText(caption);
    if (background == ConnectionColor::Unchanged)
        return;
    QPalette palette = m_vk8Status->palette();
    palette.setColor(QPalette::Window, connectionColor(background, m_save->palette().color(QPalette::Button)));
    m_vk8Status->setPalette(palette);
}

void ConfigPage::showAutoTestSettings(const QString &pruefung, const QString &dauertest, bool sigResultAktiv,
                                      int signalAdr)
{
    m_pruefung->setText(pruefung);
    m_dauertest->setText(dauertest);
    {
        const QSignalBlocker quiet(m_signalActive);
        m_signalActive->setChecked(sigResultAktiv);
    }
    signalActivated(sigResultAktiv);
    if (signalAdr >= 1 && signalAdr <= m_signalAddress->count())
        m_signalAddress->setCurrentIndex(signalAdr - 1);
}

void ConfigPage::showTaskList(const QList<TaskListRow> &rows)
{
    m_taskList->clear();
    for (const TaskListRow &row : rows) {
        auto *item = new QTreeWidgetItem(m_taskList, {row.status, row.beschreibung, row.uhrzeit, row.aktion,
                                                      row.monate, row.wochentage});
        item->setData(0, Qt::UserRole, row.taskId);
    }
    for (int column = 0; column < m_taskList->columnCount(); ++column)
        m_taskList->resizeColumnToContents(column);
}

void ConfigPage::showInstanzname(const QString &name) { m_instanzname->setText(name); }

void ConfigPage::showBusBusy(bool busy)
{
    m_busBusy = busy;
    m_save->setEnabled(!busy);
    m_reset->setEnabled(!busy);
    m_connect->setEnabled(!busy && m_mode->currentIndex() >= kModeCable);
}

void ConfigPage::fillSignalAddresses()
{
    const QSignalBlocker quiet(m_signalAddress);
    m_signalAddress->clear();
    for (int address = 1; address <= kHighestSignalAddress; ++address)
        m_signalAddress->addItem(formatUnitAddress(address));
    m_signalAddress->setCurrentIndex(-1);
}

void ConfigPage::selectConfigTab(int index) { m_tabs->setCurrentIndex(index); }

// --- the operator's actions ---

void ConfigPage::aktualisiereComModeAnzeige()
{
    const bool adapter = m_mode->currentIndex() >= kModeCable;
    m_connect->setEnabled(adapter && !m_busBusy);
    showConnectionStatus(QStringLiteral("n/a"), ConnectionColor::Neutral);
    m_vk8Status->setVisible(adapter);
}

void ConfigPage::saveCom()
{
    settings().comPort = m_port->currentIndex();
    settings().comMode = m_mode->currentIndex();
    saveComSettings();
}

void ConfigPage::connectAdapter()
{
    saveCom();
    serialLink().updateConnectionStatus();
}

void ConfigPage::startTest(int art, const QString &title)
{
    // A start that fails on the way has told its failure itself.
    QString reason;
    if (starteAutoPruefung(art, {}, &reason) != 0 && !reason.isEmpty())
        appPrompts().message(reason, title, Prompts::Icon::Critical);
}

void ConfigPage::signalActivated(bool checked)
{
    settings().sigResultAktiv = checked;
    m_signalAddress->setEnabled(checked);
    m_resetSignal->setEnabled(checked);
}

void ConfigPage::resetResultSignal()
{
    // Unit "000" does not exist: without a chosen address there is nobody to reset.
    // Like every switch command it must not cut into a test, a poll or a task.
    const int address = settings().signalAdr;
    if (address < 1)
        return;
    sendUnitCommand(address, QStringLiteral("A00"));
}

void ConfigPage::deleteAllUnits()
{
    const auto answer = appPrompts().message(
        QStringLiteral("Sie sind dabei alle erkannten Geräte aus der Liste zu löschen. Wollen Sie wirklich fortfahren?"),
        QStringLiteral("Geräte löschen"), Prompts::Icon::Exclamation, Prompts::Buttons::YesNo);
    if (answer == Prompts::Answer::Yes)
        ::deleteAllUnits();
}

void ConfigPage::addTask()
{
    FrmAddTask editor(window());
    editor.exec();
}

const QTreeWidgetItem *ConfigPage::selectedTaskRow() const
{
    // The selected row, not the current one: an assistive tool selects
    // without moving the current row.
    const QList<QTreeWidgetItem *> rows = m_taskList->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

void ConfigPage::editTask()
{
    const QTreeWidgetItem *row = selectedTaskRow();
    if (!row)
        return;
    FrmAddTask editor(window());
    editor.modifyTask(row->data(0, Qt::UserRole).toString());
}

void ConfigPage::removeTask()
{
    if (const QTreeWidgetItem *row = selectedTaskRow())
        deleteTask(row->data(0, Qt::UserRole).toString());
}

void ConfigPage::saveInstanzname()
{
    writeIniDirect(QStringLiteral("Program"), QStringLiteral("Instanzname"), m_instanzname->text());
    loadInstanzname();
}
