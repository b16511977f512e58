#include "ui/forms/frmapwizard.h"

#include "core/files/configsections.h"
#include "core/formlogic/scheduleinput.h"
#include "core/station/nametables.h"
#include "core/station/prompts.h"
#include "core/station/stationsettings.h"
#include "device/autotest/autotestschedule.h"
#include "ui/stationpictures.h"
#include "ui/storabletext.h"
#include "ui/widgetmakers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
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
    keepOnOneLine(field);
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
    m_prf.aktiv = new QCheckBox(QStringLiteral("Funktionsprüfung aktivieren (empfohlen)"));
    m_prf.aktiv->setObjectName(QStringLiteral("chkPruefungAktivieren"));
    m_prf.intervall = list("cmbPrfIntervall", intervalNames());
    m_prf.monat = list("cmbPrfMonat", monthNames());
    m_prf.tag = list("cmbPrfTag", weekDayNames());
    m_prf.zeit = timeField("txtPrfZeit");
    m_prf.info = new QLabel;
    m_prf.info->setObjectName(QStringLiteral("lblPrfInfo"));
    m_prf.info->setWordWrap(true);

    grid->addWidget(headingText("Prüfung der grundlegenden Funktionen"), 0, 0, 1, 2);
    grid->addWidget(wrappedText(kFunctionText), 1, 0, 1, 2);
    grid->addWidget(m_prf.aktiv, 2, 0, 1, 2);
    addField(grid, 3, "Prüfintervall:", m_prf.intervall);
    addField(grid, 4, "Prüfmonat:", m_prf.monat);
    addField(grid, 5, "Prüftag:", m_prf.tag);
    addField(grid, 6, "Uhrzeit:", m_prf.zeit);
    grid->addWidget(m_prf.info, 7, 0, 1, 2);
    grid->setRowStretch(8, 1);

    connect(m_prf.aktiv, &QCheckBox::toggled, this, &FrmAPWizard::pruefungAktivierenClicked);
    connect(m_prf.intervall, &QComboBox::currentIndexChanged, this, &FrmAPWizard::prfIntervallClicked);
    connect(m_prf.monat, &QComboBox::currentIndexChanged, this, &FrmAPWizard::updatePrfInfo);
    connect(m_prf.tag, &QComboBox::currentIndexChanged, this, &FrmAPWizard::updatePrfInfo);
    connect(m_prf.zeit, &QLineEdit::textChanged, this, &FrmAPWizard::updatePrfInfo);
    selectAllOnFocus(m_prf.zeit);
    return page;
}

QWidget *FrmAPWizard::buildDauertest()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    m_test.aktiv = new QCheckBox(QStringLiteral("Betriebsdauertest aktivieren"));
    m_test.aktiv->setObjectName(QStringLiteral("chkTestAktivieren"));
    m_test.intervall = list("cmbTestIntervall", intervalNames().mid(0, kDailyItem));
    m_test.monat = list("cmbTestMonat", monthNames());
    m_test.tag = list("cmbTestTag", weekDayNames());
    m_test.zeit = timeField("txtTestZeit");
    m_akkuLaufzeit = list("cmbAkkuLaufZeit", {QStringLiteral("eine Stunde"), QStringLiteral("drei Stunden")});
    m_akkuLaufzeit->setToolTip(QStringLiteral(
        "Stellen Sie hier die Zeit ein, die Ihre Akkus überbrücken können sollten. Bem Betriebsdauertest wird "
        "getestet, ob diese Zeit unterschritten wird."));
    m_test.info = new QLabel;
    m_test.info->setObjectName(QStringLiteral("lblTestInfo"));
    m_test.info->setWordWrap(true);

    grid->addWidget(headingText("Konfiguration Betriebsdauertest"), 0, 0, 1, 2);
    grid->addWidget(wrappedText(kDurationText), 1, 0, 1, 2);
    grid->addWidget(wrappedText(kDurationNote), 2, 0, 1, 2);
    grid->addWidget(m_test.aktiv, 3, 0, 1, 2);
    addField(grid, 4, "Prüfintervall:", m_test.intervall);
    addField(grid, 5, "Prüfmonat:", m_test.monat);
    addField(grid, 6, "Prüftag:", m_test.tag);
    addField(grid, 7, "Uhrzeit:", m_test.zeit);
    addField(grid, 8, "Akkulaufzeit:", m_akkuLaufzeit);
    grid->addWidget(m_test.info, 9, 0, 1, 2);
    grid->setRowStretch(10, 1);

    connect(m_test.aktiv, &QCheckBox::toggled, this, &FrmAPWizard::testAktivierenClicked);
    connect(m_test.intervall, &QComboBox::currentIndexChanged, this, &FrmAPWizard::testIntervallClicked);
    connect(m_test.monat, &QComboBox::currentIndexChanged, this, &FrmAPWizard::updateTestInfo);
    connect(m_test.tag, &QComboBox::currentIndexChanged, this, &FrmAPWizard::updateTestInfo);
    connect(m_test.zeit, &QLineEdit::textChanged, this, &FrmAPWizard::updateTestInfo);
    selectAllOnFocus(m_test.zeit);
    return page;
}

void FrmAPWizard::showSchedule(const ScheduleFields &fields, const TestSchedule &schedule)
{
    const QSignalBlocker a(fields.aktiv), b(fields.intervall), c(fields.monat), d(fields.tag), e(fields.zeit);
    fields.aktiv->setChecked(schedule.aktiv);
    fields.intervall->setCurrentIndex(schedule.intervall);
    fields.monat->setCurrentIndex(schedule.monat);
    fields.tag->setCurrentIndex(schedule.tag);
    fields.zeit->setText(timeText(schedule.zeit));
}

TestSchedule FrmAPWizard::readSchedule(const ScheduleFields &fields)
{
    return {fields.aktiv->isChecked(), fields.intervall->currentIndex(), fields.monat->currentIndex(),
            fields.tag->currentIndex(), *parseScheduleTime(fields.zeit->text())};
}

void FrmAPWizard::showScheduleInfo(const ScheduleFields &fields, const QString &offText)
{
    fields.info->setText(fields.aktiv->isChecked()
                             ? scheduleSentence(fields.intervall->currentIndex(), fields.tag->currentText(),
                                                fields.monat->currentText(), fields.zeit->text())
                             : offText);
}

void FrmAPWizard::loadSettings()
{
    const StationSettings &s = settings();
    showSchedule(m_prf, s.pruefung);
    showSchedule(m_test, s.dauertest);
    {
        const QSignalBlocker quiet(m_akkuLaufzeit);
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

void FrmAPWizard::pruefungAktivierenClicked()
{
    const bool on = m_prf.aktiv->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(m_prf.intervall), static_cast<QWidget *>(m_prf.tag),
                       static_cast<QWidget *>(m_prf.zeit), static_cast<QWidget *>(m_prf.monat)})
        w->setEnabled(on);
    prfIntervallClicked();
    updatePrfInfo();
}

void FrmAPWizard::testAktivierenClicked()
{
    const bool on = m_test.aktiv->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(m_test.intervall), static_cast<QWidget *>(m_test.tag),
                       static_cast<QWidget *>(m_akkuLaufzeit), static_cast<QWidget *>(m_test.zeit),
                       static_cast<QWidget *>(m_test.monat)})
        w->setEnabled(on);
    testIntervallClicked();
    updateTestInfo();
}

void FrmAPWizard::prfIntervallClicked()
{
    if (m_prf.aktiv->isChecked()) {
        const int item = m_prf.intervall->currentIndex();
        m_prf.monat->setEnabled(item == 0);
        m_prf.tag->setEnabled(item >= 0 && item <= 2);
    }
    updatePrfInfo();
}

void FrmAPWizard::testIntervallClicked()
{
    if (m_test.aktiv->isChecked())
        m_test.monat->setEnabled(m_test.intervall->currentIndex() == 0);
    updateTestInfo();
}

void FrmAPWizard::updatePrfInfo()
{
    showScheduleInfo(m_prf, QStringLiteral("Eine Prüfung wird nicht ausgeführt"));
}

void FrmAPWizard::updateTestInfo()
{
    showScheduleInfo(m_test, QStringLiteral("Ein Betriebsdauertest wird nicht ausgeführt"));
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
    if (refuseTime(m_prf.zeit, kPruefungPage) || refuseTime(m_test.zeit, kDauertestPage))
        return;
    if (m_test.aktiv->isChecked() && m_akkuLaufzeit->currentIndex() < 0) {
        showAssistPage(kDauertestPage);
        m_akkuLaufzeit->setFocus();
        appPrompts().message(QStringLiteral("Bitte wählen Sie eine Akkulaufzeit aus!"), QStringLiteral("Fehler"),
                             Prompts::Icon::Exclamation);
        return;
    }
    if (m_prf.intervall->currentIndex() == kDailyItem) {
        const auto answer = appPrompts().message(
            QStringLiteral("Sie haben den Intervall für die Autoprüfung auf täglich gesetzt.\r\n"
                           "Das ist OK, kann aber bei VAROs oder Dravik-Reglern\r\n"
                           "zur Beschädigung des Leuchtmittels führen.\r\n"
                           "Wollen Sie die Einstellung ändern?"),
            QStringLiteral("Hinweis"), Prompts::Icon::Exclamation, Prompts::Buttons::YesNo);
        if (answer == Prompts::Answer::Yes) {
            showAssistPage(kPruefungPage);
            m_prf.intervall->setFocus();
            return;
        }
    }

    StationSettings &s = settings();
    s.pruefung = readSchedule(m_prf);
    s.dauertest = readSchedule(m_test);
    const int akku = m_akkuLaufzeit->currentIndex();
    s.akkulaufzeit = akku == 0 ? 1 : akku == 1 ? 3 : 0;

    saveAutoPruefungConfig();
    saveSignalConfig();
    aktualisiereAPAnzeige();
    accept();
}
