#include "ui/forms/frmsearchwizard.h"

#include "core/registry/unitaddress.h"
#include "core/station/prompts.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "ui/headerclicksort.h"
#include "ui/operatorinputhold.h"
#include "ui/storabletext.h"
#include "ui/widgetmakers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The list's columns were measured in twips.
constexpr int kTwipsPerPixel = 15;
constexpr int kAddressColumnWidth = 800 / kTwipsPerPixel;
constexpr int kTypeColumnSpare = 1150 / kTwipsPerPixel;

} // namespace

FrmSearchWizard::FrmSearchWizard(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmSearchWizard"));
    setWindowTitle(QStringLiteral("Nuvax Such-Assistent"));
    setModal(true);
    resize(560, 430);

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(modePage());
    m_pages->addWidget(optionsPage());
    m_pages->addWidget(readyPage());
    m_pages->addWidget(searchPage());

    m_back = namedButton(QStringLiteral("< &Zurück"), "cmdBack", this);
    m_next = namedButton(QStringLiteral("&Weiter >"), "cmdWeiter", this);
    m_finish = namedButton(QStringLiteral("Fertig"), "cmdFertig", this);
    m_finish->setToolTip(QStringLiteral("Beendet den Assistenten und speichert die Liste der gefundenen Geräte"));
    m_cancel = namedButton(QStringLiteral("Abbrechen"), "cmdCancel", this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {m_back, m_next, m_finish, m_cancel})
        buttons->addWidget(b);

    auto *column = new QVBoxLayout(this);
    column->addWidget(m_pages, 1);
    column->addLayout(buttons);

    connect(m_back, &QPushButton::clicked, this, [this] { showAssistPage(visiblePageIndex() - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showAssistPage(visiblePageIndex() + 1); });
    connect(m_finish, &QPushButton::clicked, this, &FrmSearchWizard::commit);
    connect(m_cancel, &QPushButton::clicked, this, &FrmSearchWizard::reject);

    showAssistPage(0);
}

QWidget *FrmSearchWizard::modePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("picAssist0"));
    auto *intro = headingText(QStringLiteral("Der Such-Assistent hilft Ihnen bei der Suche nach neuen Nuvax Geräten"), page);
    auto *prompt = wrappedText(QStringLiteral("Bitte wählen Sie einen Suchmodus:"), page);
    m_mode = new QComboBox(page);
    m_mode->setObjectName(QStringLiteral("cmbSuchModus"));
    m_mode->addItems({QStringLiteral("Bestandsaufnahme"), QStringLiteral("Nur nach neuen Geräten suchen!")});
    m_mode->setCurrentIndex(0);
    nameAfterLabel(prompt, m_mode);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(intro);
    layout->addWidget(prompt);
    layout->addWidget(m_mode);
    layout->addWidget(headingText(QStringLiteral("Bestandsaufnahme:"), page));
    layout->addWidget(wrappedText(QStringLiteral(
        "Sucht alle Adressen nach Nuvax Geräten ab. Die Liste der gefundenen Geräte wird genau so übernommen, wie "
        "sie während der Suche entstanden ist. Dieser Modus ist sinnvoll, wenn eine komplette Bestandsaufnahme "
        "gemacht werden soll."), page));
    layout->addWidget(headingText(QStringLiteral("Nur nach neuen Geräten suchen:"), page));
    layout->addWidget(wrappedText(QStringLiteral(
        "An bereits vorhandenen Geräteadressen wird nicht gesucht. Lediglich die noch nicht vergebenen Adressen "
        "werden abgefragt. Es werden nur neue Geräte in die Liste übernommen. Dieser Modus ist sinnvoll, wenn an "
        "ein bereits vorhandenes System neue Geräte angeschlossen wurden."), page));
    layout->addStretch();
    return page;
}

QWidget *FrmSearchWizard::optionsPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("picAssist1"));
    m_findCommand = new QRadioButton(QStringLiteral("FIND-Suche"), page);
    m_findCommand->setObjectName(QStringLiteral("optSuchBefehl0"));
    m_findCommand->setChecked(true);
    auto *statusCommand = new QRadioButton(QStringLiteral("STATUS-Suche"), page);
    statusCommand->setObjectName(QStringLiteral("optSuchBefehl1"));
    const QString specialTip = QStringLiteral(
        "Wählen Sie diese Option, wenn Sie Geräte mit zweistelliger Sonderadresse installiert haben.");
    m_special = new QCheckBox(QStringLiteral("Auch Sonderadressen abfragen"), page);
    m_special->setObjectName(QStringLiteral("chkSonderadressen"));
    m_special->setToolTip(specialTip);
    auto *startLabel = new QLabel(QStringLiteral("Starte Suche bei Adresse"), page);
    m_startText = new QLineEdit(QStringLiteral("1"), page);
    m_startText->setObjectName(QStringLiteral("txtStartAddress"));
    keepOnOneLine(m_startText);
    m_startText->setMaximumWidth(80);
    nameAfterLabel(startLabel, m_startText);
    connect(m_startText, &QLineEdit::textChanged, this, &FrmSearchWizard::checkStartAddress);

    auto *start = new QHBoxLayout;
    start->addWidget(startLabel);
    start->addWidget(m_startText);
    start->addStretch();
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(headingText(QStringLiteral("Bitte wählen Sie die Suchoptionen"), page));
    layout->addWidget(m_findCommand);
    layout->addWidget(wrappedText(QStringLiteral(
        "Fragt die Geräte mit einem speziellen Suchbefehl ab. Diese Option ist performanter als die STATUS-Suche, "
        "kann jedoch wenige alte Geräte nicht finden. Diese Suche ist Standard. Wenn Sie jedoch bedenken haben, "
        "oder nicht alle Geräte gefunden wurden, wählen Sie die STATUS-Suche"), page));
    layout->addWidget(statusCommand);
    layout->addWidget(wrappedText(QStringLiteral(
        "Ist die abwärtskompatible Version und erkennt auch VARO1, VARO2, KEPL, HZ4000 und TW82. Wählen Sie diese "
        "Suche, wenn Sie solche Geräte angeschlossen haben."), page));
    layout->addWidget(m_special);
    layout->addWidget(wrappedText(specialTip, page));
    layout->addLayout(start);
    layout->addStretch();
    return page;
}

QWidget *FrmSearchWizard::readyPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("picAssist2"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(headingText(QStringLiteral("Die Suche nach Nuvax Geräten kann jetzt gestartet werden"), page));
    layout->addWidget(wrappedText(QStringLiteral("Klicken Sie auf \"Weiter\" um mit der Suche zu beginnen"), page));
    layout->addWidget(headingText(QStringLiteral("Hinweis:"), page));
    layout->addWidget(wrappedText(QStringLiteral(
        "Wenn alle relevanten Adressen abgefragt wurden, können Sie auf \"Stop\" und \"Fertig\" klicken, um den "
        "restlichen Adressbereich zu ignorieren. Das Ergebnis wird dann in die Datenbank übernommen"), page));
    layout->addWidget(wrappedText(QStringLiteral(
        "Klicken Sie nach Ende der Suche auf \"Fertig\" um die Liste der Geräte in die Datenbank zu übernehmen"), page));
    layout->addStretch();
    return page;
}

QWidget *FrmSearchWizard::searchPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("picAssist3"));
    auto *listLabel = wrappedText(QStringLiteral("Gefundene Geräte:"), page);
    m_list = new QTreeWidget(page);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Adresse"), QStringLiteral("Gerätetyp")});
    m_list->header()->setStretchLastSection(false);
    nameAfterLabel(listLabel, m_list);
    m_sort = new HeaderClickSort(m_list);

    auto *statusLabel = wrappedText(QStringLiteral("Suchstatus:"), page);
    m_status = new QLabel(QStringLiteral("fange an..."), page);
    m_status->setObjectName(QStringLiteral("lblStat"));
    m_stop = namedButton(QStringLiteral("Stop"), "cmdStop", page);
    m_stop->setToolTip(QStringLiteral("Hält die Suche an"));
    m_stop->hide();
    connect(m_stop, &QPushButton::clicked, this, [this] { m_search.stopPhase(); });
    // The search holds the operator's input off, as every exchange of the
    // operator's does; Stop still acts, and so does the wizard's own way out
    // while "Abbrechen" is disabled: its close box and Escape.
    OperatorInputHold::letThrough(m_stop);
    OperatorInputHold::letThrough(this);

    auto *status = new QHBoxLayout;
    status->addWidget(statusLabel);
    status->addWidget(m_status, 1);
    status->addWidget(m_stop);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(listLabel);
    layout->addWidget(m_list, 1);
    layout->addLayout(status);
    return page;
}

void FrmSearchWizard::showAssistPage(int index)
{
    if (index < 0 || index >= kPageCount)
        return;
    m_pages->setCurrentIndex(index);
    m_back->setEnabled(index != 0);
    m_next->setEnabled(index != kPageCount - 1);
    if (index == kPageCount - 1)
        startSearch();
    else
        m_finish->setEnabled(false);
}

int FrmSearchWizard::visiblePageIndex() const { return m_pages->currentIndex(); }

void FrmSearchWizard::startSearch()
{
    for (QPushButton *b : {m_cancel, m_next, m_back, m_finish})
        b->setEnabled(false);
    m_stop->show();
    m_stop->setFocus();
    m_list->clear();
    m_list->setColumnWidth(0, kAddressColumnWidth);
    m_list->setColumnWidth(1, std::max(kAddressColumnWidth, m_list->width() - kTypeColumnSpare));

    SearchOptions options;
    options.mode = m_mode->currentIndex() == 0 ? SearchMode::Bestandsaufnahme : SearchMode::NurNeueGeraete;
    options.statusCommand = !m_findCommand->isChecked();
    options.specialAddresses = m_special->isChecked();
    options.startAddress = m_startAddress;
    const UnitSearch::Outcome outcome = m_search.run(options, *this);

    m_stop->hide();
    m_cancel->setEnabled(true);
    m_back->setEnabled(true);
    if (m_closeAfterSearch) {
        QDialog::reject();
        return;
    }
    switch (outcome) {
    case UnitSearch::Outcome::Finished:
        m_status->setText(QStringLiteral("Fertig!"));
        m_finish->setEnabled(true);
        break;
    case UnitSearch::Outcome::PortClosed:
        serialLink().showPortOpenError();
        showAssistPage(kPageCount - 2);
        break;
    case UnitSearch::Outcome::BusBusy:
        appPrompts().message(busBusyReason(), QStringLiteral("Achtung"), Prompts::Icon::Exclamation);
        showAssistPage(kPageCount - 2);
        break;
    }
}

void FrmSearchWizard::checkStartAddress()
{
    bool ok = false;
    const int value = m_startText->text().trimmed().toShort(&ok);
    const bool valid = ok && value >= 1 && value <= 999;
    m_back->setEnabled(valid);
    m_next->setEnabled(valid);
    m_startAddress = valid ? value : 1;
    if (!valid)
        appPrompts().message(QStringLiteral("Bitte geben Sie eine gültige Zahl zwischen 1 und 999 ein"),
                             QStringLiteral("Startadresse"), Prompts::Icon::Information);
}

void FrmSearchWizard::commit()
{
    m_search.commit();
    accept();
}

void FrmSearchWizard::reject()
{
    // Closing in the middle of a search must not destroy the dialog under the
    // search's waits: the search ends first, then the dialog closes.
    if (m_search.running()) {
        m_search.cancel();
        m_closeAfterSearch = true;
        return;
    }
    QDialog::reject();
}

void FrmSearchWizard::showSearchStatus(const QString &text) { m_status->setText(text); }

void FrmSearchWizard::addSearchInfo(const QString &text)
{
    new QTreeWidgetItem(m_list, {QStringLiteral("[INFO]"), QStringLiteral("*** ") + text});
    m_sort->resort();
}

void FrmSearchWizard::addFoundUnit(int address, const QString &deviceTypeName)
{
    auto *row = new QTreeWidgetItem(m_list, {formatUnitAddress(address), deviceTypeName});
    m_sort->resort();
    m_list->setCurrentItem(row);
    m_list->scrollToBottom();
}
