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
struct TestSchedule;

class FrmAPWizard : public QDialog
{
    Q_OBJECT
public:
    explicit FrmAPWizard(QWidget *parent = nullptr);

    void showAssistPage(int index);
    int getVisiblePageIndex() const;

private:
    // The fields of one schedule, the function test's or the duration test's.
    struct ScheduleFields
    {
        QCheckBox *aktiv;
        QComboBox *intervall;
        QComboBox *monat;
        QComboBox *tag;
        QLineEdit *zeit;
        QLabel *info;
    };

    static void showSchedule(const ScheduleFields &fields, const TestSchedule &schedule);
    static TestSchedule readSchedule(const ScheduleFields &fields);
    // The sentence of what the schedule will do, or offText while it is off.
    static void showScheduleInfo(const ScheduleFields &fields, const QString &offText);

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

    ScheduleFields m_prf;
    ScheduleFields m_test;
    QComboBox *m_akkuLaufzeit;
};
