#pragma once
// The windows the main window opens on its signals: the serial terminal, which
// lives for the whole run so that it holds everything that passed the line, the
// expert panel, created on its chord and destroyed when closed, and the search
// wizard, modal over the main window.
#include <QObject>
#include <QPointer>

class FrmDebug;
class FrmExpert;
class MainWindow;

class StationForms : public QObject
{
    Q_OBJECT
public:
    explicit StationForms(MainWindow &window);

    // The main window's echo of the line; see FrmDebug::addText.
    void echoTerminal(const QString &text, bool sent);

private:
    void openTerminal();
    void openExpert();
    void openSearchWizard();

    MainWindow &m_window;
    FrmDebug *m_terminal;
    // The panel closes itself (and is gone) whenever the installer likes, also
    // while one of its status queries waits.
    QPointer<FrmExpert> m_expert;
};
