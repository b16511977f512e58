#include "ui/forms/frmformulareigenschaften.h"

#include "ui/storabletext.h"
#include "ui/widgetmakers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

FrmFormularEigenschaften::FrmFormularEigenschaften(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFormularEigenschaften"));
    setWindowTitle(QStringLiteral("Formulareigenschaften"));

    auto *grid = new QGridLayout(this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Text1"));
    m_beschreibung = new QLineEdit(this);
    m_beschreibung->setObjectName(QStringLiteral("Text2"));
    m_beschreibung->setMinimumWidth(300);
    int row = 0;
    for (auto [caption, field] : {std::pair{"Name:", m_name}, std::pair{"Beschreibung:", m_beschreibung}}) {
        selectAllOnFocus(field);
        takeOnlyStorableText(field);
        grid->addWidget(labelFor(QString::fromUtf8(caption), field, this), row, 0);
        grid->addWidget(field, row++, 1);
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row, 0, 1, 2);

    // Either way the dialog is only hidden; Esc and the close button count as "Abbrechen".
    connect(ok, &QPushButton::clicked, this, [this] {
        m_ok = true;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool FrmFormularEigenschaften::showDialog(QWidget *owner, QString &name, QString &beschreibung)
{
    static QPointer<FrmFormularEigenschaften> dialog;
    if (!dialog) {
        // Kept by the main window, as the dialog that asks may be gone before the next use.
        QWidget *top = owner->window();
        while (top->parentWidget())
            top = top->parentWidget()->window();
        dialog = new FrmFormularEigenschaften(top);
    }
    dialog->m_ok = false;
    dialog->m_name->setText(name);
    dialog->m_beschreibung->setText(beschreibung);
    dialog->exec();
    name = dialog->m_name->text();
    beschreibung = dialog->m_beschreibung->text();
    return dialog->m_ok;
}
