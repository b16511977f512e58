#include "ui/forms/frmaddtask.h"

#include "core/formlogic/taskeditorinput.h"
#include "core/platform/oledate.h"
#include "core/station/nametables.h"
#include "core/station/prompts.h"
#include "ui/storabletext.h"
#include "ui/widgetmakers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kLastMinute = 1439;
constexpr int kHighestGroup = 99;
constexpr int kHighestAddress = 999;

// What the operator is asked for and told about one kind of target.
struct TargetKind
{
    const char *title;
    const char *prompt[4];
    const char *refusal;
    const char *valid;
    int high;
};

const TargetKind kGroups{
    "Gruppen hinzufügen",
    {"Bitte geben Sie die Gruppe ein, die hinzugefügt werden soll.", "Erlaubt sind Gruppen von 1 bis 99.",
     "Sie können auch Gruppenbereiche angeben. Indem Sie z.B. '3-12' schreiben, werden die Gruppen von "
     "(einschliesslich) 3 bis (einschliesslich) 12 hinzugefügt. Bereits vorhandene Gruppen werden ignoriert.",
     "Trennen Sie verschiedene Gruppen mit einem Komma. Z.B. '3,7,9,13-16,19'"},
    "Ungültige Gruppe: '", "Gültig sind Gruppen von 1 bis 99", kHighestGroup};

const TargetKind kAddresses{
    "Adressen hinzufügen",
    {"Bitte geben Sie die Adressen ein, die hinzugefügt werden sollen.", "Erlaubt sind Adressen von 1 bis 999.",
     "Sie können auch Adressbereiche angeben. Indem Sie z.B. '3-12' schreiben, werden die Adressen von "
     "(einschliesslich) 3 bis (einschliesslich) 12 hinzugefügt. Bereits vorhandene Adressen werden ignoriert.",
     "Trennen Sie verschiedene Adressen mit einem Komma. Z.B. '3,7,9,13-16,19'"},
    "Ungültige Adresse: '", "Gültig sind Adressen von 1 bis 999", kHighestAddress};

// Asks for numbers of one kind and chooses them; a refused one ends the input
// with what came before it chosen.
void askForTargets(const TargetKind &kind, bool *chosen)
{
    QStringList prompt;
    for (const char *line : kind.prompt)
        prompt << QString::fromUtf8(line);
    const QString answer = appPrompts().input(prompt.join(QStringLiteral("\r\n")), QString::fromUtf8(kind.title));
    if (answer.isEmpty())
        return;
    const RangeInput input = parseRangeInput(answer, 1, kind.high);
    for (int n : input.numbers)
        chosen[n] = true;
    if (input.refused)
        appPrompts().message(QString::fromUtf8(kind.refusal) + input.refusedItem + QStringLiteral("'!\r\n")
                                 + QString::fromUtf8(kind.valid),
                             QStringLiteral("Fehler"), Prompts::Icon::Critical);
}

QListWidget *targetList(const char *name)
{
    auto *list = new QListWidget;
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

} // namespace

FrmAddTask::FrmAddTask(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAddTask"));
    setWindowTitle(QStringLiteral("Aktion hinzufügen"));
    setModal(true);

    m_aktiv = new QCheckBox(QStringLiteral("Aktiv/Inaktiv"));
    m_aktiv->setObjectName(QStringLiteral("chkAktiv"));
    connect(m_aktiv, &QCheckBox::toggled, this, [this](bool on) { m_task.aktiv = on; });

    m_description = new QLineEdit;
    m_description->setObjectName(QStringLiteral("txtDescription"));
    m_description->setMaxLength(kTaskBeschreibungWidth);
    takeOnlyStorableText(m_description);
    auto *descriptionLabel = new QLabel(QStringLiteral("Beschreibung:"));
    descriptionLabel->setObjectName(QStringLiteral("Label3"));
    nameAfterLabel(descriptionLabel, m_description);

    auto *timeFrame = new QGroupBox(QStringLiteral("Uhrzeit"));
    timeFrame->setObjectName(QStringLiteral("Frame5"));
    m_slider = new QScrollBar(Qt::Horizontal);
    m_slider->setObjectName(QStringLiteral("HScroll1"));
    m_slider->setRange(0, kLastMinute);
    m_slider->setPageStep(60);
    m_slider->setSingleStep(1);
    m_slider->setAccessibleName(QStringLiteral("Uhrzeit"));
    // The time is chosen with the slider only: typing could not change it.
    m_time = new QLineEdit;
    m_time->setObjectName(QStringLiteral("txtTime"));
    m_time->setReadOnly(true);
    m_time->setAccessibleName(QStringLiteral("Uhrzeit"));
    auto *timeLayout = new QHBoxLayout(timeFrame);
    timeLayout->addWidget(m_slider, 1);
    timeLayout->addWidget(m_time);
    connect(m_slider, &QScrollBar::valueChanged, this, &FrmAddTask::updateTime);

    auto *weekdayFrame = new QGroupBox(QStringLiteral("Wochentag"));
    weekdayFrame->setObjectName(QStringLiteral("Frame1"));
    auto *weekdayLayout = new QVBoxLayout(weekdayFrame);
    for (int i = 0; i < 7; ++i) {
        auto *box = new QCheckBox(weekDayNames().at(i));
        box->setObjectName(QStringLiteral("chkWeekday%1").arg(i));
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { m_task.wochentage[size_t(i)] = on; });
        weekdayLayout->addWidget(box);
        m_weekdays << box;
    }
    auto *monthFrame = new QGroupBox(QStringLiteral("Monat"));
    monthFrame->setObjectName(QStringLiteral("Frame2"));
    auto *monthLayout = new QGridLayout(monthFrame);
    for (int i = 0; i < 12; ++i) {
        auto *box = new QCheckBox(monthNames().at(i));
        box->setObjectName(QStringLiteral("chkMonth%1").arg(i));
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { m_task.monate[size_t(i)] = on; });
        monthLayout->addWidget(box, i % 6, i / 6);
        m_months << box;
    }

    auto *actionFrame = new QGroupBox(QStringLiteral("Aktion"));
    actionFrame->setObjectName(QStringLiteral("Frame3"));
    auto *actionLayout = new QVBoxLayout(actionFrame);
    m_action = new QButtonGroup(this);
    for (int i = 0; i <= kMaxAktion; ++i) {
        auto *option = new QRadioButton(aktionsName(i));
        option->setObjectName(QStringLiteral("optAction%1").arg(i));
        m_action->addButton(option, i);
        actionLayout->addWidget(option);
    }
    m_action->button(0)->setChecked(true);
    connect(m_action, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            m_task.aktion = qint16(id);
    });

    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("Command5"));
    auto *cancel = namedButton(QStringLiteral("Abbruch"), "Command6");
    connect(ok, &QPushButton::clicked, this, &FrmAddTask::store);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_aktiv, 0, 0, 1, 2);
    grid->addWidget(descriptionLabel, 1, 0);
    grid->addWidget(m_description, 1, 1, 1, 3);
    grid->addWidget(timeFrame, 2, 0, 1, 4);
    grid->addWidget(buildTargets(), 3, 0, 1, 2);
    grid->addWidget(weekdayFrame, 3, 2);
    grid->addWidget(monthFrame, 3, 3);
    grid->addWidget(actionFrame, 4, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 2, 1, 2, Qt::AlignBottom);

    // A new task starts as the elements show it: the slider's 00:00 included.
    updateTime();
}

QWidget *FrmAddTask::buildTargets()
{
    auto *frame = new QGroupBox(QStringLiteral("Anwenden auf"));
    frame->setObjectName(QStringLiteral("Frame4"));
    m_allUnits = new QButtonGroup(this);
    auto *all = new QRadioButton(QStringLiteral("Alle Geräte"));
    all->setObjectName(QStringLiteral("optAllUnits0"));
    auto *single = new QRadioButton(QStringLiteral("Einzelne Geräte und Gruppen"));
    single->setObjectName(QStringLiteral("optAllUnits1"));
    m_allUnits->addButton(all, 0);
    m_allUnits->addButton(single, 1);
    single->setChecked(true);
    connect(m_allUnits, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            allUnitsClicked();
    });

    m_groups = targetList("lstGroups");
    m_addresses = targetList("lstAddresses");
    auto *addGroup = namedButton("+", "cmdAddGroup");
    auto *delGroup = namedButton("-", "cmdDelGroup");
    auto *addAddress = namedButton("+", "cmdAddAdresse");
    auto *delAddress = namedButton("-", "cmdDelAdresse");
    m_targetButtons = {addGroup, delGroup, addAddress, delAddress};
    connect(addGroup, &QPushButton::clicked, this, [this] {
        eingabeGruppen();
        aktualisiereGruppen();
    });
    connect(addAddress, &QPushButton::clicked, this, [this] {
        eingabeAdressen();
        aktualisiereAdressen();
    });
    connect(delGroup, &QPushButton::clicked, this, [this] { removeSelected(m_groups, m_task.gruppen.data()); });
    connect(delAddress, &QPushButton::clicked, this,
            [this] { removeSelected(m_addresses, m_task.adressen.data()); });
    m_groups->installEventFilter(this);
    m_addresses->installEventFilter(this);

    auto *groupsLabel = new QLabel(QStringLiteral("Gruppen:"));
    groupsLabel->setObjectName(QStringLiteral("Label1"));
    nameAfterLabel(groupsLabel, m_groups);
    auto *addressesLabel = new QLabel(QStringLiteral("Adressen:"));
    addressesLabel->setObjectName(QStringLiteral("Label2"));
    nameAfterLabel(addressesLabel, m_addresses);

    auto *grid = new QGridLayout(frame);
    grid->addWidget(all, 0, 0, 1, 3);
    grid->addWidget(single, 1, 0, 1, 3);
    grid->addWidget(groupsLabel, 2, 0);
    grid->addWidget(addressesLabel, 2, 2);
    grid->addWidget(m_groups, 3, 0, 3, 1);
    grid->addWidget(addGroup, 3, 1);
    grid->addWidget(delGroup, 4, 1);
    grid->addWidget(m_addresses, 3, 2, 3, 1);
    grid->addWidget(addAddress, 3, 3);
    grid->addWidget(delAddress, 4, 3);
    return frame;
}

bool FrmAddTask::loadTask(const QString &taskId)
{
    if (!loadTaskIntoForm(m_task, taskId, *this))
        return false;
    m_editMode = true;
    return true;
}

void FrmAddTask::modifyTask(const QString &taskId)
{
    if (loadTask(taskId))
        exec();
}

void FrmAddTask::showTask(const TaskFormValues &values)
{
    // The record is loaded already; the elements only show it.
    const QSignalBlocker quietSlider(m_slider);
    const QSignalBlocker quietTargets(m_allUnits);
    const QSignalBlocker quietAction(m_action);
    const QSignalBlocker quietAktiv(m_aktiv);
    m_aktiv->setChecked(values.aktiv);
    m_description->setText(values.beschreibung);
    m_slider->setValue(values.sliderMinutes);
    // The slider's own handler, also when the value was already there: the
    // task keeps the time it shows, without the stored seconds.
    updateTime();
    for (int i = 0; i < 7; ++i) {
        const QSignalBlocker quiet(m_weekdays[i]);
        m_weekdays[i]->setChecked(values.wochentage[size_t(i)]);
    }
    for (int i = 0; i < 12; ++i) {
        const QSignalBlocker quiet(m_months[i]);
        m_months[i]->setChecked(values.monate[size_t(i)]);
    }
    if (QAbstractButton *action = m_action->button(values.aktion))
        action->setChecked(true);
    m_allUnits->button(values.alleEinheiten ? 0 : 1)->setChecked(true);
    allUnitsClicked();
    aktualisiereGruppen();
    aktualisiereAdressen();
}

void FrmAddTask::updateTime()
{
    const int minutes = m_slider->value();
    m_time->setText(sliderTimeText(minutes));
    m_task.uhrzeit = QDateTime(oledate::zero().date(), QTime(minutes / 60, minutes % 60));
}

void FrmAddTask::eingabeGruppen() { askForTargets(kGroups, m_task.gruppen.data()); }

void FrmAddTask::aktualisiereGruppen()
{
    m_groups->clear();
    m_groups->addItems(chosenNumberRows(m_task.gruppen, 1, kHighestGroup));
}

void FrmAddTask::eingabeAdressen() { askForTargets(kAddresses, m_task.adressen.data()); }

void FrmAddTask::aktualisiereAdressen()
{
    m_addresses->clear();
    m_addresses->addItems(chosenNumberRows(m_task.adressen, 1, kHighestAddress));
}

void FrmAddTask::allUnitsClicked()
{
    m_task.alleEinheiten = m_allUnits->checkedId() == 0;
    m_groups->setEnabled(!m_task.alleEinheiten);
    m_addresses->setEnabled(!m_task.alleEinheiten);
    for (QPushButton *b : std::as_const(m_targetButtons))
        b->setEnabled(!m_task.alleEinheiten);
}

void FrmAddTask::removeSelected(QListWidget *list, bool *chosen)
{
    for (int row = 0; row < list->count();) {
        QListWidgetItem *item = list->item(row);
        if (!item->isSelected()) {
            ++row;
            continue;
        }
        chosen[item->text().toInt()] = false;
        delete list->takeItem(row);
    }
}

bool FrmAddTask::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        if (watched == m_groups)
            removeSelected(m_groups, m_task.gruppen.data());
        else if (watched == m_addresses)
            removeSelected(m_addresses, m_task.adressen.data());
    }
    return QDialog::eventFilter(watched, event);
}

void FrmAddTask::store()
{
    m_task.beschreibung = m_description->text();
    if (m_editMode) {
        updateTask(m_task);
    } else if (!addTask(m_task)) {
        // The editor stays open: what was entered is not thrown away.
        appPrompts().message(QStringLiteral("Es können keine weiteren Aktionen angelegt werden."),
                             QStringLiteral("Aktion hinzufügen"), Prompts::Icon::Exclamation);
        return;
    }
    accept();
}
