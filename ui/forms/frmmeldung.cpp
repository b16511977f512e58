#include "ui/forms/frmmeldung.h"

#include "core/station/stationsettings.h"
#include "ui/forms/alerttextbox.h"
#include "ui/widgetmakers.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPointer<FrmMeldung> shown;

QString alertCaption(const QString &instanzname)
{
    if (instanzname.isEmpty())
        return QStringLiteral("Nuvax Notbeleuchtung - MELDUNG!");
    return QStringLiteral("Nuvax (%1) - MELDUNG!").arg(instanzname);
}

} // namespace

FrmMeldung::FrmMeldung()
    // On top from the start: changing the flag of a shown window hides it.
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmMeldung"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(alertCaption(settings().instanzname));
    resize(520, 360);

    auto *attention = new QLabel(QStringLiteral("!!! Achtung !!!"), this);
    attention->setObjectName(QStringLiteral("Label1"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(14);
    arial.setBold(true);
    attention->setFont(arial);
    attention->setAlignment(Qt::AlignCenter);

    auto *explanation = wrappedText(
        QStringLiteral("Mindestens ein Nuvax-Gerät hat eine Meldung an die Zentrale gesendet. "
                       "Bitte Prüfen Sie die untenstehende(n) Meldung(en)"),
        this);
    explanation->setObjectName(QStringLiteral("Label2"));

    m_text = new AlertTextBox(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setAccessibleName(QStringLiteral("Meldungen"));

    auto *ok = namedButton(QStringLiteral("&OK"), "Command1", this);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(attention);
    layout->addWidget(explanation);
    layout->addWidget(m_text, 1);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

FrmMeldung *FrmMeldung::instance() { return shown; }

void FrmMeldung::addAlert(const QString &message)
{
    if (!shown)
        shown = new FrmMeldung;
    shown->m_text->appendAlert(message);
    shown->show();
    shown->raise();
}
