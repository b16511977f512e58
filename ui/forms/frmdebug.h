#pragma once
// The serial terminal ("Debugfenster"): every character that passes the line,
// both directions in their colours, and a field to send text by hand. It is
// created hidden at start and lives until the program ends, so it holds what
// passed the line before it was first shown; closing it only hides it.
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QTextEdit;

class FrmDebug : public QWidget
{
    Q_OBJECT
public:
    // Beyond this many characters the terminal starts empty again.
    static constexpr int kMaxLength = 32768;

    explicit FrmDebug(QWidget *owner);

    // Called from inside the receive path and every send: it never waits and
    // never lets events run, and it inserts runs of one colour at a time.
    void addText(int direction, const QString &text, bool markText);

    QTextEdit *terminal() const { return m_terminal; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void send();
    void appendToInput(const QString &character);

    QTextEdit *m_terminal;
    QLineEdit *m_input;
    QCheckBox *m_lfFirst;
};
