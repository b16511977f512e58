#pragma once
// The status window: one unit's status page, and printing it. There is one
// window; a later page replaces the one shown. It is destroyed when closed and
// the next page opens a new one.
#include <QWidget>

class QTextBrowser;

class FrmUnitStatus : public QWidget
{
    Q_OBJECT
public:
    // Writes the page into the window, opening it first when none is open.
    // Never blocks: the answer of a unit arrives while the station keeps running.
    static void showStatus(const QString &html);
    // The open window, or nullptr.
    static FrmUnitStatus *instance();

    // Prints the page on the printer the operator chooses.
    void print();

private:
    FrmUnitStatus();

    QTextBrowser *m_browser;
};
