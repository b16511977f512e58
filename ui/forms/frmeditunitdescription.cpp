#include "ui/forms/frmeditunitdescription.h"

#include "core/registry/unitdescription.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/prompts.h"
#include "ui/storabletext.h"
#include "ui/widgetmakers.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const char *const kPartLabels[FrmEditUnitDescription::kMaxParts] = {
    "Beschreibung:", "Meldekontakt 1:", "Meldekontakt 2:", "Meldekontakt 3:"};
} // namespace

void FrmEditUnitDescription::showForm(QWidget *parent, int addr)
{
    FrmEditUnitDescription editor(parent, addr);
    editor.exec();
}

FrmEditUnitDescription::FrmEditUnitDescription(QWidget *parent, int addr)
    : QDialog(parent), m_adresse(addr), m_zeilen(getDescriptionPartCount(addr))
{
    setObjectName(QStringLiteral("frmEditUnitDescription"));
    setWindowTitle(QStringLiteral("Beschreibung bearbeiten"));
    setModal(true);

    auto *help = wrappedText(
        QStringLiteral("Bitte geben Sie hier die Beschreibung für das Gerät, bzw. für die einzelnen "
                       "Meldekontakte ein. Sollte ein Gerät eine Meldung an die Zentrale senden, wird "
                       "die entsprechende Beschreibung angezeigt."),
        this);
    help->setObjectName(QStringLiteral("Label2"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(help, 0, 0, 1, 2);

    const int perPart = kDescriptionWidth / m_zeilen;
    const QStringList parts = descriptionParts(addr);
    for (int i = 0; i < kMaxParts; ++i) {
        auto *label = new QLabel(QString::fromUtf8(kPartLabels[i]), this);
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtDescription%1").arg(i));
        takeOnlyStorableText(box);
        nameAfterLabel(label, box);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(box, i + 1, 1);
        m_description[i] = box;
        // A unit without signalling contacts has no boxes for them.
        const bool used = i < m_zeilen;
        label->setVisible(used);
        box->setVisible(used);
        if (used) {
            box->setMaxLength(perPart);
            box->setText(parts.value(i));
        }
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Abbruch"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    auto *lastFault = new QPushButton(QStringLiteral("Letzten Fehlerstatus anzeigen"), this);
    lastFault->setObjectName(QStringLiteral("Command3"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lastFault);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, kMaxParts + 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    resize(560, sizeHint().height());

    connect(ok, &QPushButton::clicked, this, &FrmEditUnitDescription::store);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lastFault, &QPushButton::clicked, this, &FrmEditUnitDescription::showLastFault);
}

void FrmEditUnitDescription::store()
{
    QStringList parts;
    for (int i = 0; i < m_zeilen; ++i)
        parts.append(m_description[i]->text());
    if (setDescriptionParts(m_adresse, parts))
        saveUnits(true);
    accept();
}

void FrmEditUnitDescription::showLastFault()
{
    appPrompts().message(getUnitErrorText(m_adresse), QStringLiteral("Fehlerstatus nach letzter Autoprüfung"),
                         Prompts::Icon::Information);
}
