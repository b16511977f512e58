#pragma once
// The task table: up to 100 scheduled tasks in slots 1..100 (slot 0 is never
// used). Slots are not identities: saving packs the tasks together, so a task
// is known by its TaskID. The table lives for the whole run.
#include <QDateTime>
#include <QString>
#include <array>

constexpr int kMaxTasks = 100;
constexpr int kTaskBeschreibungWidth = 255;
constexpr int kTaskIdWidth = 20;

struct TaskRecord
{
    bool aktiv = false;
    bool belegt = false;
    QString beschreibung;           // blank-padded to 255 in the file; shown trimmed
    QDateTime uhrzeit;              // only hour and minute count
    std::array<bool, 7> wochentage{};   // Monday first
    std::array<bool, 12> monate{};      // January first
    qint16 aktion = 0;
    bool alleEinheiten = false;
    std::array<bool, 100> gruppen{};    // index = group number, 0 unused
    std::array<bool, 1000> adressen{};  // index = unit address, 0 unused
    // Not due again before the minute after this; kept as the stored day count,
    // a reading of the wall clock that need not exist in the local zone.
    double sperreBis = 0.0;
    QString taskId;
};

class TaskTable
{
public:
    TaskRecord &at(int slot) { return m_tasks.at(static_cast<size_t>(slot)); }
    const TaskRecord &at(int slot) const { return m_tasks.at(static_cast<size_t>(slot)); }
    void clear() { m_tasks = {}; }

private:
    std::array<TaskRecord, kMaxTasks + 1> m_tasks;
};

TaskTable &tasks();
