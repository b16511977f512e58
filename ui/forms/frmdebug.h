#pragma once
// The serial terminal ("Debugfenster"): every character that passes the line,
// both directions in their colours, and a field to send text by hand. It is
// created hidden at start and lives until the program ends, so it holds what
// passed the line before it was first shown; closing it only hides it.
#include "core/formlogic/terminallog.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QTextEdit;

class FrmDebug : public QWidget
{
    Q_OBJECT
public:
    // While shown, the box takes in what came at most this often.
    static constexpr int kGatherMs = 40;

    explicit FrmDebug(QWidget *owner);

    // Called from inside the receive path and every send: it never waits and
    // never lets events run. The text is kept; the box is laid out only while
    // it is shown, with what came in the last kGatherMs at once.
    void addText(int direction, const QString &text, bool markText);

    QTextEdit *terminal() const { return m_terminal; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showNewText();
    void showWholeText();
    void insertAtEnd(const QList<EchoRun> &runs);
    void send();
    void appendToInput(const QString &character);

    TerminalLog m_log;
    QTimer m_gather;
    QTextEdit *m_terminal;
    QLineEdit *m_input;
    QCheckBox *m_lfFirst;
};
