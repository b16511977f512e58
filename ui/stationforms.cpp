#include "ui/stationforms.h"

#include "core/formlogic/terminalecho.h"
#include "ui/forms/frmdebug.h"
#include "ui/forms/frmexpert.h"
#include "ui/forms/frmsearchwizard.h"
#include "ui/mainwindow.h"

StationForms::StationForms(MainWindow &window)
    : QObject(&window), m_window(window), m_terminal(new FrmDebug(&window))
{
    connect(&window, &MainWindow::terminalRequested, this, &StationForms::openTerminal);
    connect(&window, &MainWindow::expertRequested, this, &StationForms::openExpert);
    connect(&window, &MainWindow::searchRequested, this, &StationForms::openSearchWizard);
}

void StationForms::echoTerminal(const QString &text, bool sent)
{
    m_terminal->addText(sent ? kEchoSent : kEchoReceived, text, true);
}

void StationForms::openTerminal()
{
    m_terminal->show();
    m_terminal->raise();
    m_terminal->activateWindow();
}

void StationForms::openExpert()
{
    // A panel closed while its status query waits is only hidden until the
    // query returns; the chord opens a fresh one meanwhile.
    if (!m_expert || m_expert->isHidden())
        m_expert = new FrmExpert(&m_window);
    m_expert->show();
    m_expert->raise();
    m_expert->activateWindow();
}

void StationForms::openSearchWizard()
{
    FrmSearchWizard wizard(&m_window);
    wizard.exec();
}
