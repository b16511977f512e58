#pragma once
// The table of scheduled tasks as the operator edits it: adding, changing and
// removing a task, the task list of the configuration page and the task editor.
// Everything outside refers to a task by its TaskID, never by its slot, since
// saving packs the slots together.
#include "core/files/taskrecord.h"

#include <QList>
#include <QTime>
#include <QString>
#include <array>

// The highest action the task editor offers.
constexpr int kMaxAktion = 1;

// Names the actions and lets the core refresh the task list.
void initTasks();
// "Einschalten" .. "Betriebsdauertest aktivieren"; empty outside 0..4.
QString aktionsName(int aktion);
// The command code of an action, empty for an action without one.
QString aktionsBefehl(int aktion);

// The slot 1..100 of the TaskID, used or not; -1 when none.
int findTaskIndex(const QString &taskId);
// Stores a new task in the first free slot with a fresh TaskID and saves the
// table. False when all slots are used: nothing is stored.
bool addTask(const TaskRecord &rec);
// Replaces the task of rec's TaskID, keeping its lock, and saves the table.
void updateTask(const TaskRecord &rec);
// Frees the task's slot and saves the table.
void deleteTask(const QString &taskId);

// The task's time of day; a time never set is midnight.
QTime taskTime(const TaskRecord &rec);

// Shows the task list of the configuration page anew.
void fillTaskList();

// What the task editor shows of a stored task.
struct TaskFormValues
{
    std::array<bool, 7> wochentage{};
    std::array<bool, 12> monate{};
    QList<int> gruppen;     // ascending
    QList<int> adressen;    // ascending
    bool aktiv = false;
    int aktion = 0;
    QString beschreibung;   // trimmed
    int sliderMinutes = 0;  // hours * 60 + minutes
    bool alleEinheiten = false;
};

// The task editor's side of loading a stored task.
class TaskEditorForm
{
public:
    virtual ~TaskEditorForm() = default;
    virtual void showTask(const TaskFormValues &values) = 0;
};

// Copies the stored task (without its lock) into the editor's record and shows
// it in the editor. False, with nothing set, when there is no such task.
bool loadTaskIntoForm(TaskRecord &dest, const QString &taskId, TaskEditorForm &form);
TaskFormValues taskFormValues(const TaskRecord &rec);
