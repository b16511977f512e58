#pragma once
// The alert window: the messages units sent by themselves, collected while the
// window lives, above every other window. Filled from the receive path, so
// adding an alert never waits and never opens a loop of its own. Closing it
// drops the collected text; the next alert opens a new, empty window.
#include <QWidget>

class AlertTextBox;

class FrmMeldung : public QWidget
{
    Q_OBJECT
public:
    static void addAlert(const QString &message);
    // The open window, or nullptr.
    static FrmMeldung *instance();

private:
    FrmMeldung();

    AlertTextBox *m_text;
};
