#pragma once
// "Nuvax Prüf-Assistent": the schedules of the function test and the battery
// duration test, edited on three pages and stored on "Fertig".
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

class FrmAPWizard : public QDialog
{
    Q_OBJECT
public:
    explicit FrmAPWizard(QWidget *parent = nullptr);

    void showAssistPage(int index);
    int getVisiblePageIndex() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildIntroduction();
    QWidget *buildPruefung();
    QWidget *buildDauertest();
    void loadSettings();
    void pruefungAktivierenClicked();
    void testAktivierenClicked();
    void prfIntervallClicked();
    void testIntervallClicked();
    void updatePrfInfo();
    void updateTestInfo();
    void finish();
    bool refuseTime(QLineEdit *field, int page);

    QStackedWidget *m_pages;
    QPushButton *m_back;
    QPushButton *m_next;
    QPushButton *m_finish;
    QPushButton *m_cancel;

    QCheckBox *m_prfAktiv;
    QComboBox *m_prfIntervall;
    QComboBox *m_prfMonat;
    QComboBox *m_prfTag;
    QLineEdit *m_prfZeit;
    QLabel *m_prfInfo;

    QCheckBox *m_testAktiv;
    QComboBox *m_testIntervall;
    QComboBox *m_testMonat;
    QComboBox *m_testTag;
    QLineEdit *m_testZeit;
    QComboBox *m_akkuLaufzeit;
    QLabel *m_testInfo;
};
