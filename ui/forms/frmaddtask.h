#pragma once
// "Aktion hinzufügen": one scheduled task, new or changed, edited element by
// element in its own record and handed to the task table on "OK".
#include "core/files/taskrecord.h"
#include "device/tasks/tasktable.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

class FrmAddTask : public QDialog, public TaskEditorForm
{
    Q_OBJECT
public:
    explicit FrmAddTask(QWidget *parent = nullptr);

    // Loads the stored task for changing; false when there is no such task.
    bool loadTask(const QString &taskId);
    // Loads the stored task and edits it modally.
    void modifyTask(const QString &taskId);

    void updateTime();
    void eingabeGruppen();
    void aktualisiereGruppen();
    void eingabeAdressen();
    void aktualisiereAdressen();

    // TaskEditorForm
    void showTask(const TaskFormValues &values) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildTargets();
    void allUnitsClicked();
    void removeSelected(QListWidget *list, bool *chosen);
    void store();

    TaskRecord m_task;
    bool m_editMode = false;

    QCheckBox *m_aktiv;
    QLineEdit *m_description;
    QScrollBar *m_slider;
    QLineEdit *m_time;
    QButtonGroup *m_allUnits;
    QListWidget *m_groups;
    QListWidget *m_addresses;
    QList<QPushButton *> m_targetButtons;
    QList<QCheckBox *> m_weekdays;
    QList<QCheckBox *> m_months;
    QButtonGroup *m_action;
};
