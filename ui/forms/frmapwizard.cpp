#include "ui/forms/frmapwizard.h"

#include "core/files/configsections.h"
#include "core/formlogic/scheduleinput.h"
#include "core/station/nametables.h"
#include "core/station/prompts.h"
#include "core/station/stationsettings.h"
#include "device/autotest/autotestschedule.h"
#include "ui/stationpictures.h"
#include "ui/widgetmakers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char *const kFunctionText =
    "Die Autoprüfung ermöglicht eine zeitgesteuerte Funktionsüberprüfung der erkannten Nuvax-Geräte. Durch "
    "diesen Test wird sichergestellt, dass grundlegende Funktionen des Systems gewährleistet sind. Der Prüfung "
    "sollte mindestens einmal im Monat stattfinden, kann aber beliebig festgelegt werden.";
const char *const kDurationText =
    "Der Betriebsdauertest bietet eine Prüfung der Laufzeit im Notbetrieb und somit Aufschluss über die "
    "Akkukapazität und eventuellen Ersetzungsbedarf.";
const char *const kDurationNote =
    "BEACHTEN SIE BITTE: Der Betriebsdauertest entlädt den Akku vollständig! Es ist daher ratsam, diese Prüfung "
    "früh morgens laufen zu lassen, damit abends - bei Sonnenuntergang - die Akkukapazität wiederhergestellt ist, "
    "und die Notbeleuchtung bei Stromausfall lange genug Licht liefern kann.";

// The daily interval is offered for the function test only.
constexpr int kDailyItem = 3;
constexpr int kPruefungPage = 1;
constexpr int kDauertestPage = 2;

QComboBox *list(const char *name, const QStringList &items)
{
    auto *combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    return combo;
}

QLineEdit *timeField(const char *name)
{
    auto *field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(name));
    field->setFont(QFont(QStringLiteral("Courier New")));
    return field;
}

void addField(QGridLayout *grid, int row, const char *caption, QWidget *field)
{
    grid->addWidget(labelFor(QString::fromUtf8(caption), field), row, 0);
    grid->addWidget(field, row, 1);
}

QString timeText(const QTime &time) { return (time.isValid() ? time : QTime(0, 0)).toString(QStringLiteral("HH:mm")); }

} // namespace

FrmAPWizard::FrmAPWizard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAPWizard"));
    setWindowTitle(QStringLiteral("Nuvax Prüf-Assistent"));
    setModal(true);

    m_pages = new QStackedWidget;
    m_pages->addWidget(buildIntroduction());
    m_pages->addWidget(buildPruefung());
    m_pages->addWidget(buildDauertest());
    for (int i = 0; i < m_pages->count(); ++i)
        m_pages->widget(i)->setObjectName(QStringLiteral("picAssist%1").arg(i));

    m_back = namedButton(QStringLiteral("< &Zurück"), "cmdBack");
    m_next = namedButton(QStringLiteral("&Weiter >"), "cmdWeiter");
    m_finish = namedButton(QStringLiteral("Fertig"), "cmdFertig");
    m_finish->setToolTip(QStringLiteral("Beendet den Assistenten und speichert die Liste der gefundenen Geräte"));
    m_cancel = namedButton(QStringLiteral("Abbrechen"), "cmdCancel");
    m_next->setDefault(true);
    m_back->setEnabled(false);
    m_finish->setEnabled(false);

    connect(m_next, &QPushButton::clicked, this, [this] {
        showAssistPage(getVisiblePageIndex() + 1);
        updatePrfInfo();
        updateTestInfo();
    });
    connect(m_back, &QPushButton::clicked, this, [this] { showAssistPage(getVisiblePageIndex() - 1); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_finish, &QPushButton::clicked, this, &FrmAPWizard::finish);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {m_back, m_next, m_finish, m_cancel})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    resize(560, 420);

    loadSettings();
    m_pages->setCurrentIndex(0);
}

QWidget *FrmAPWizard::buildIntroduction()
{
    auto *page = new QWidget;
    // The station's own sign of a system found in order: what the tests are for.
    auto *picture = new QLabel;
    picture->setPixmap(stationpictures::trafficLight(SystemStatus::Ok));
    auto *texts = new QVBoxLayout;
    texts->addWidget(headingText("Der Prüf-Assistent leitet Sie durch die Konfiguration der Autoprüfung"));
    texts->addWidget(wrappedText(kFunctionText));
    texts->addSpacing(12);
    texts->addWidget(wrappedText(kDurationText));
    texts->addWidget(wrappedText(kDurationNote));
    texts->addStretch(1);
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
    return page;
}

QWidget *FrmAPWizard::buildPruefung()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    m_prfAktiv = new QCheckBox(QStringLiteral("Funktionsprüfung aktivieren (empfohlen)"));
    m_prfAktiv->setObjectName(QStringLiteral("chkPruefungAktivieren"));
    m_prfIntervall = list("cmbPrfIntervall", intervalNames());
    m_prfMonat = list("cmbPrfMonat", monthNames());
    m_prfTag = list("cmbPrfTag", weekDayNames());
    m_prfZeit = timeField("txtPrfZeit");
    m_prfInfo = new QLabel;
    m_prfInfo->setObjectName(QStringLiteral("lblPrfInfo"));
    m_prfInfo->setWordWrap(true);

    grid->addWidget(headingText("Prüfung der grundlegenden Funktionen"), 0, 0, 1, 2);
    grid->addWidget(wrappedText(kFunctionText), 1, 0, 1, 2);
    grid->addWidget(m_prfAktiv, 2, 0, 1, 2);
    addField(grid, 3, "Prüfintervall:", m_prfIntervall);
    addField(grid, 4, "Prüfmonat:", m_prfMonat);
    addField(grid, 5, "Prüftag:", m_prfTag);
    addField(grid, 6, "Uhrzeit:", m_prfZeit);
    grid->addWidget(m_prfInfo, 7, 0, 1, 2);
    grid->setRowStretch(8, 1);

    connect(m_prfAktiv, &QCheckBox::toggled, this, &FrmAPWizard::pruefungAktivierenClicked);
    connect(m_prfIntervall, &QComboBox::currentIndexChanged, this, &FrmAPWizard::prfIntervallClicked);
    connect(m_prfMonat, &QComboBox::currentIndexChanged, this, &FrmAPWizard::updatePrfInfo);
    connect(m_prfTag, &QComboBox::currentIndexChanged, this, &FrmAPWizard::updatePrfInfo);
    connect(m_prfZeit, &QLineEdit::textChanged, this, &FrmAPWizard::updatePrfInfo);
    m_prfZeit->installEventFilter(this);
    return page;
}

QWidget *FrmAPWizard::buildDauertest()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    m_testAktiv = new QCheckBox(QStringLiteral("Betriebsdauertest aktivieren"));
    m_testAktiv->setObjectName(QStringLiteral("chkTestAktivieren"));
    m_testIntervall = list("cmbTestIntervall", intervalNames().mid(0, kDailyItem));
    m_testMonat = list("cmbTestMonat", monthNames());
    m_testTag = list("cmbTestTag", weekDayNames());
    m_testZeit = timeField("txtTestZeit");
    m_akkuLaufzeit = list("cmbAkkuLaufZeit", {QStringLiteral("eine Stunde"), QStringLiteral("drei Stunden")});
    m_akkuLaufzeit->setToolTip(QStringLiteral(
        "Stellen Sie hier die Zeit ein, die Ihre Akkus überbrücken können sollten. Bem Betriebsdauertest wird "
        "getestet, ob diese Zeit unterschritten wird."));
    m_testInfo = new QLabel;
    m_testInfo->setObjectName(QStringLiteral("lblTestInfo"));
    m_testInfo->setWordWrap(true);

    grid->addWidget(headingText("Konfiguration Betriebsdauertest"), 0, 0, 1, 2);
    grid->addWidget(wrappedText(kDurationText), 1, 0, 1, 2);
    grid->addWidget(wrappedText(kDurationNote), 2, 0, 1, 2);
    grid->addWidget(m_testAktiv, 3, 0, 1, 2);
    addField(grid, 4, "Prüfintervall:", m_testIntervall);
    addField(grid, 5, "Prüfmonat:", m_testMonat);
    addField(grid, 6, "Prüftag:", m_testTag);
    addField(grid, 7, "Uhrzeit:", m_testZeit);
    addField(grid, 8, "Akkulaufzeit:", m_akkuLaufzeit);
    grid->addWidget(m_testInfo, 9, 0, 1, 2);
    grid->setRowStretch(10, 1);

    connect(m_testAktiv, &QCheckBox::toggled, this, &FrmAPWizard::testAktivierenClicked);
    connect(m_testIntervall, &QComboBox::currentIndexChanged, this, &FrmAPWizard::testIntervallClicked);
    connect(m_testMonat, &QComboBox::currentIndexChanged, this, &FrmAPWizard::updateTestInfo);
    connect(m_testTag, &QComboBox::currentIndexChanged, this, &FrmAPWizard::updateTestInfo);
    connect(m_testZeit, &QLineEdit::textChanged, this, &FrmAPWizard::updateTestInfo);
    m_testZeit->installEventFilter(this);
    return page;
}

void FrmAPWizard::loadSettings()
{
    const StationSettings &s = settings();
    {
        const QSignalBlocker a(m_prfAktiv), b(m_prfIntervall), c(m_prfMonat), d(m_prfTag), e(m_prfZeit);
        m_prfAktiv->setChecked(s.pruefung.aktiv);
        m_prfIntervall->setCurrentIndex(s.pruefung.intervall);
        m_prfMonat->setCurrentIndex(s.pruefung.monat);
        m_prfTag->setCurrentIndex(s.pruefung.tag);
        m_prfZeit->setText(timeText(s.pruefung.zeit));
    }
    {
        const QSignalBlocker a(m_testAktiv), b(m_testIntervall), c(m_testMonat), d(m_testTag), e(m_testZeit),
            f(m_akkuLaufzeit);
        m_testAktiv->setChecked(s.dauertest.aktiv);
        m_testIntervall->setCurrentIndex(s.dauertest.intervall);
        m_testMonat->setCurrentIndex(s.dauertest.monat);
        m_testTag->setCurrentIndex(s.dauertest.tag);
        m_testZeit->setText(timeText(s.dauertest.zeit));
        // An unset battery duration is offered as one hour.
        m_akkuLaufzeit->setCurrentIndex(s.akkulaufzeit == 3 ? 1 : 0);
    }
    pruefungAktivierenClicked();
    testAktivierenClicked();
}

void FrmAPWizard::showAssistPage(int index)
{
    const int last = m_pages->count() - 1;
    if (index >= 0 && index <= last) {
        m_pages->setCurrentIndex(index);
        m_back->setEnabled(index != 0);
        m_next->setEnabled(index != last);
    }
    if (index == last) {
        m_finish->setEnabled(true);
        m_next->setDefault(false);
        m_finish->setDefault(true);
        m_finish->setFocus();
    } else {
        m_finish->setEnabled(false);
        m_finish->setDefault(false);
        m_next->setDefault(true);
    }
}

int FrmAPWizard::getVisiblePageIndex() const { return qMax(0, m_pages->currentIndex()); }

bool FrmAPWizard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_prfZeit || watched == m_testZeit)) {
        // After the focus event a mouse click would place the cursor again.
        auto *field = static_cast<QLineEdit *>(watched);
        QTimer::singleShot(0, field, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void FrmAPWizard::pruefungAktivierenClicked()
{
    const bool on = m_prfAktiv->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(m_prfIntervall), static_cast<QWidget *>(m_prfTag),
                       static_cast<QWidget *>(m_prfZeit), static_cast<QWidget *>(m_prfMonat)})
        w->setEnabled(on);
    prfIntervallClicked();
    updatePrfInfo();
}

void FrmAPWizard::testAktivierenClicked()
{
    const bool on = m_testAktiv->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(m_testIntervall), static_cast<QWidget *>(m_testTag),
                       static_cast<QWidget *>(m_akkuLaufzeit), static_cast<QWidget *>(m_testZeit),
                       static_cast<QWidget *>(m_testMonat)})
        w->setEnabled(on);
    testIntervallClicked();
    updateTestInfo();
}

void FrmAPWizard::prfIntervallClicked()
{
    if (m_prfAktiv->isChecked()) {
        const int item = m_prfIntervall->currentIndex();
        m_prfMonat->setEnabled(item == 0);
        m_prfTag->setEnabled(item >= 0 && item <= 2);
    }
    updatePrfInfo();
}

void FrmAPWizard::testIntervallClicked()
{
    if (m_testAktiv->isChecked())
        m_testMonat->setEnabled(m_testIntervall->currentIndex() == 0);
    updateTestInfo();
}

void FrmAPWizard::updatePrfInfo()
{
    m_prfInfo->setText(m_prfAktiv->isChecked()
                           ? scheduleSentence(m_prfIntervall->currentIndex(), m_prfTag->currentText(),
                                              m_prfMonat->currentText(), m_prfZeit->text())
                           : QStringLiteral("Eine Prüfung wird nicht ausgeführt"));
}

void FrmAPWizard::updateTestInfo()
{
    m_testInfo->setText(m_testAktiv->isChecked()
                            ? scheduleSentence(m_testIntervall->currentIndex(), m_testTag->currentText(),
                                               m_testMonat->currentText(), m_testZeit->text())
                            : QStringLiteral("Ein Betriebsdauertest wird nicht ausgeführt"));
}

bool FrmAPWizard::refuseTime(QLineEdit *field, int page)
{
    if (parseScheduleTime(field->text()))
        return false;
    showAssistPage(page);
    field->setFocus();
    appPrompts().message(QStringLiteral("Die angegebene Uhrzeit '") + field->text()
                             + QStringLiteral("' ist ungültig. Bitte geben Sie eine andere Uhrzeit ein!"),
                         QStringLiteral("Fehler"), Prompts::Icon::Exclamation);
    return true;
}

void FrmAPWizard::finish()
{
    if (refuseTime(m_prfZeit, kPruefungPage) || refuseTime(m_testZeit, kDauertestPage))
        return;
    if (m_testAktiv->isChecked() && m_akkuLaufzeit->currentIndex() < 0) {
        showAssistPage(kDauertestPage);
        m_akkuLaufzeit->setFocus();
        appPrompts().message(QStringLiteral("Bitte wählen Sie eine Akkulaufzeit aus!"), QStringLiteral("Fehler"),
                             Prompts::Icon::Exclamation);
        return;
    }
    if (m_prfIntervall->currentIndex() == kDailyItem) {
        const auto answer = appPrompts().message(
            QStringLiteral("Sie haben den Intervall für die Autoprüfung auf täglich gesetzt.\r\n"
                           "Das ist OK, kann aber bei VAROs oder Dravik-Reglern\r\n"
                           "zur Beschädigung des Leuchtmittels führen.\r\n"
                           "Wollen Sie die Einstellung ändern?"),
            QStringLiteral("Hinweis"), Prompts::Icon::Exclamation, Prompts::Buttons::YesNo);
        if (answer == Prompts::Answer::Yes) {
            showAssistPage(kPruefungPage);
            m_prfIntervall->setFocus();
            return;
        }
    }

    StationSettings &s = settings();
    s.pruefung = {m_prfAktiv->isChecked(), m_prfIntervall->currentIndex(), m_prfMonat->currentIndex(),
                  m_prfTag->currentIndex(), *parseScheduleTime(m_prfZeit->text())};
    s.dauertest = {m_testAktiv->isChecked(), m_testIntervall->currentIndex(), m_testMonat->currentIndex(),
                   m_testTag->currentIndex(), *parseScheduleTime(m_testZeit->text())};
    const int akku = m_akkuLaufzeit->currentIndex();
    s.akkulaufzeit = akku == 0 ? 1 : akku == 1 ? 3 : 0;

    saveAutoPruefungConfig();
    saveSignalConfig();
    aktualisiereAPAnzeige();
    accept();
}
