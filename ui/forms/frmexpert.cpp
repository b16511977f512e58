#include "ui/forms/frmexpert.h"

#include "core/formlogic/expertaddress.h"
#include "core/registry/unitaddress.h"
#include "core/station/prompts.h"
#include "device/operator/operatorcommand.h"
#include "device/pages/unitstatus.h"
#include "ui/fixedfont.h"
#include "ui/storabletext.h"
#include "ui/widgetmakers.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Action
{
    const char *caption;
    const char *tip;     // nullptr: none
    const char *code;    // nullptr: the status page instead of a command
};

const Action kActions[FrmExpert::kActionCount] = {
    {"EIN [F1]", "Gerät einschalten [F1]", "E00"},
    {"AUS [F2]", "Gerät ausschalten [F2]", "A00"},
    {"PRÜFEN [F3]", "Prüfvorgang auslösen [F3]", "P00"},
    {"DAUERTEST [F4]", "Betriebsdauertest starten [F4]", "T00"},
    {"RESET [F5]", "Daten-Reset [F5]", "R00"},
    {"DL EIN [F6]", "Dauerlicht einschalten [F6]", "C0D"},
    {"DL AUS [F7]", "Dauerlicht ausschalten [F7]", "C0B"},
    {"PRÜFEN ENDE [F8]", nullptr, "p00"},
    {"STATUS [F9]", nullptr, nullptr},
};

const QString kAttention = QStringLiteral("Achtung");

} // namespace

FrmExpert::FrmExpert(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("frmExpert"));
    setWindowTitle(QStringLiteral("Experten Menü"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *warning = wrappedText(QStringLiteral("Normalerweise werden Sie dieses Menü nicht brauchen. Sollten Sie "
                                               "es trotzdem benutzen, sollten Sie wissen, was Sie tun!"),
                                this);

    auto *addressLabel = new QLabel(QStringLiteral("Adresse:"), this);
    m_address = new QLineEdit(QStringLiteral("001"), this);
    m_address->setObjectName(QStringLiteral("txtAddress"));
    keepOnOneLine(m_address);
    m_address->setFont(fixedPitchFont());
    m_address->setMaxLength(3);
    m_address->setMaximumWidth(60);
    m_address->setToolTip(QStringLiteral("Bitte hier eine Adresse eingeben"));
    nameAfterLabel(addressLabel, m_address);

    m_plus = namedButton(QStringLiteral("+"), "cmdModAdr0", this);
    m_plus->setToolTip(QStringLiteral("Adresse um eins erhöhen [+]"));
    m_minus = namedButton(QStringLiteral("-"), "cmdModAdr1", this);
    m_minus->setToolTip(QStringLiteral("Adresse um eins verringern [-]"));
    m_all = new QCheckBox(QStringLiteral("ALL"), this);
    m_all->setObjectName(QStringLiteral("Check1"));
    m_all->setToolTip(QStringLiteral("Befehl an alle Geräte senden [F12]"));

    auto *addressRow = new QHBoxLayout;
    addressRow->addWidget(addressLabel);
    addressRow->addWidget(m_address);
    addressRow->addWidget(m_plus);
    addressRow->addWidget(m_minus);
    addressRow->addWidget(m_all);
    addressRow->addStretch();

    auto *actions = new QGridLayout;
    for (int i = 0; i < kActionCount; ++i) {
        auto *b = new QPushButton(QString::fromUtf8(kActions[i].caption), this);
        b->setObjectName(QStringLiteral("cmdAction%1").arg(i));
        if (kActions[i].tip)
            b->setToolTip(QString::fromUtf8(kActions[i].tip));
        actions->addWidget(b, i / 3, i % 3);
        connect(b, &QPushButton::clicked, this, [this, i] { runAction(i); });
    }

    auto *column = new QVBoxLayout(this);
    column->addWidget(warning);
    column->addLayout(addressRow);
    column->addLayout(actions);

    connect(m_plus, &QPushButton::clicked, this, [this] { stepAddress(1); });
    connect(m_minus, &QPushButton::clicked, this, [this] { stepAddress(-1); });
    connect(m_all, &QCheckBox::toggled, this, &FrmExpert::showAll);

    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

QString FrmExpert::checkedAddress()
{
    const QString address = normalizeExpertAddress(m_address->text());
    if (address.isEmpty())
        appPrompts().message(QStringLiteral("Die eingegebene Adresse ist ungültig. Bitte geben Sie eine gültige "
                                            "Adresse ein!"),
                             QStringLiteral("Fehler"), Prompts::Icon::Exclamation);
    return address;
}

void FrmExpert::runAction(int index)
{
    if (index < 0 || index >= kActionCount)
        return;
    const QString address = checkedAddress();
    if (address.isEmpty())
        return;
    QString reason;
    if (kActions[index].code) {
        if (!sendOperatorCommand(QStringLiteral("\n") + address + QLatin1String(kActions[index].code), &reason))
            appPrompts().message(reason, kAttention, Prompts::Icon::Exclamation);
        return;
    }
    m_querying = true;
    const int result = showUnitStatus(parseUnitAddress(address), &reason);
    m_querying = false;
    if (result != kUnitStatusShown)
        appPrompts().message(reason, kAttention, Prompts::Icon::Exclamation);
    if (m_closeAfterQuery)
        close();
}

void FrmExpert::closeEvent(QCloseEvent *event)
{
    if (!m_querying)
        return QWidget::closeEvent(event);
    m_closeAfterQuery = true;
    hide();
    event->ignore();
}

void FrmExpert::stepAddress(int step)
{
    if (!m_plus->isEnabled())
        return;
    const QString address = checkedAddress();
    const QString stepped = stepExpertAddress(address, step);
    if (!stepped.isEmpty())
        m_address->setText(stepped);
}

void FrmExpert::showAll(bool all)
{
    if (all)
        m_savedAddress = m_address->text();
    m_address->setText(all ? kAllUnits : m_savedAddress);
    m_address->setEnabled(!all);
    m_plus->setEnabled(!all);
    m_minus->setEnabled(!all);
}

bool FrmExpert::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QWidget::eventFilter(watched, event);
    // A key the focused control ignores travels on to its parents: judge it
    // once, at the control it was meant for.
    QWidget *target = focusWidget() ? focusWidget() : this;
    if (watched != target)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (type == QEvent::KeyPress) {
        const QString text = key->text();
        if (text != QStringLiteral("+") && text != QStringLiteral("-"))
            return false;
        stepAddress(text == QStringLiteral("+") ? 1 : -1);
        // Typed into the address field the sign is a step, not a character.
        return watched == m_address;
    }
    if (key->isAutoRepeat())
        return false;
    if (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F9) {
        runAction(key->key() - Qt::Key_F1);
        return true;
    }
    if (key->key() == Qt::Key_F12) {
        m_all->setChecked(!m_all->isChecked());
        return true;
    }
    return false;
}
