#pragma once
// The expert panel ("Experten Menü"): single commands to one unit, a special
// address or every unit, and one unit's status page. Created when its chord is
// pressed and destroyed when closed.
//
// Function keys act on their release and ignore auto-repeat. A focused line
// edit keeps the release of a function key to itself, so the panel watches the
// key events of all its controls.
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

class FrmExpert : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kActionCount = 9;
    static constexpr int kStatusAction = 8;

    explicit FrmExpert(QWidget *owner);

    // Index 0..8 of the command buttons, as the keys F1..F9 run them.
    void runAction(int index);
    // +1 for "+", -1 for "-"; only while the buttons are enabled.
    void stepAddress(int step);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The address in bus form, or "" after the "Fehler" box.
    QString checkedAddress();
    void showAll(bool all);

    QLineEdit *m_address;
    QPushButton *m_plus;
    QPushButton *m_minus;
    QCheckBox *m_all;
    QString m_savedAddress;
    // A status query waits with events running; a close meanwhile only hides
    // the panel, which goes once the query has returned.
    bool m_querying = false;
    bool m_closeAfterQuery = false;
};
