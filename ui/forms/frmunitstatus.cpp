#include "ui/forms/frmunitstatus.h"

#include "ui/printerchoice.h"
#include "ui/widgetmakers.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
QPointer<FrmUnitStatus> shown;
} // namespace

FrmUnitStatus::FrmUnitStatus() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmUnitStatus"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Gerätestatus"));
    resize(640, 720);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setAccessibleName(windowTitle());

    auto *controls = new QWidget(this);
    controls->setObjectName(QStringLiteral("picControls"));
    auto *print = namedButton(QStringLiteral("&Drucken"), "cmdPrint", controls);
    auto *close = namedButton(QStringLiteral("&Schließen"), "cmdClose", controls);
    auto *buttons = new QHBoxLayout(controls);
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_browser, 1);
    layout->addWidget(controls);

    connect(print, &QPushButton::clicked, this, &FrmUnitStatus::print);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

FrmUnitStatus *FrmUnitStatus::instance() { return shown; }

void FrmUnitStatus::showStatus(const QString &html)
{
    if (!shown)
        shown = new FrmUnitStatus;
    shown->m_browser->setHtml(html);
    shown->show();
    shown->raise();
}

void FrmUnitStatus::print()
{
    QPrinter printer;
    if (appPrinterChoice().choose(printer, this))
        m_browser->document()->print(&printer);
}
