#pragma once
// The search wizard ("Nuvax Such-Assistent"): four pages that choose the mode,
// the command, the special addresses and the start address, then search and
// list what answers. "Fertig" registers the result; "Abbrechen" and closing
// leave the registry as it was. Opened modally over the main window, created
// when opened and destroyed when closed.
//
// The search runs inside the click on "Weiter", within the dialog's own modal
// loop. Escape and the window's close box still reach the dialog then; during
// a search both only ask the search to end, and the dialog closes after it.
#include "device/operator/unitsearch.h"

#include <QDialog>

class HeaderClickSort;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;

class FrmSearchWizard : public QDialog, private SearchProgress
{
    Q_OBJECT
public:
    static constexpr int kPageCount = 4;

    explicit FrmSearchWizard(QWidget *owner);

    // Shows one page; the last one starts the search at once. An index out of
    // range changes nothing.
    void showAssistPage(int index);
    int visiblePageIndex() const;

public slots:
    // Escape, "Abbrechen" and the close box all come here.
    void reject() override;

private:
    QWidget *modePage();
    QWidget *optionsPage();
    QWidget *readyPage();
    QWidget *searchPage();

    void startSearch();
    void checkStartAddress();
    void commit();

    // SearchProgress
    void showSearchStatus(const QString &text) override;
    void addSearchInfo(const QString &text) override;
    void addFoundUnit(int address, const QString &deviceTypeName) override;

    UnitSearch m_search;
    int m_startAddress = 1;
    bool m_closeAfterSearch = false;
    HeaderClickSort *m_sort;

    QStackedWidget *m_pages;
    QComboBox *m_mode;
    QRadioButton *m_findCommand;
    QCheckBox *m_special;
    QLineEdit *m_startText;
    QTreeWidget *m_list;
    QLabel *m_status;
    QPushButton *m_back;
    QPushButton *m_next;
    QPushButton *m_finish;
    QPushButton *m_cancel;
    QPushButton *m_stop;
};
