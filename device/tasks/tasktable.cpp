#include "device/tasks/tasktable.h"

#include "core/files/tasksfile.h"
#include "core/platform/textutil.h"
#include "core/station/nametables.h"
#include "core/station/refreshhooks.h"
#include "core/station/stationutil.h"
#include "core/station/stationview.h"
#include "device/autotest/autotestschedule.h"

namespace {

const QStringList kAktionsNamen{QStringLiteral("Einschalten"), QStringLiteral("Ausschalten"),
                                QStringLiteral("Datenreset"), QStringLiteral("Auf Pruefen schalten"),
                                QStringLiteral("Betriebsdauertest aktivieren")};

QString trimmedDescription(const TaskRecord &rec) { return trimNull(rec.beschreibung).trimmed(); }

// The fields the editor owns; the slot keeps its TaskID and its lock.
void copyEditedFields(TaskRecord &to, const TaskRecord &from)
{
    to.aktiv = from.aktiv;
    to.aktion = from.aktion;
    to.alleEinheiten = from.alleEinheiten;
    to.beschreibung = from.beschreibung;
    to.uhrzeit = from.uhrzeit;
    to.wochentage = from.wochentage;
    to.monate = from.monate;
    for (int g = 1; g <= 99; ++g)
        to.gruppen[g] = from.gruppen[g];
    for (int a = 1; a <= 999; ++a)
        to.adressen[a] = from.adressen[a];
}

QString newTaskId()
{
    QString id;
    do {
        id = randomString(20);
    } while (findTaskIndex(id) != -1);
    return id;
}

QString joinedNames(const bool *chosen, const QStringList &all)
{
    QStringList names;
    for (int i = 0; i < all.size(); ++i) {
        if (chosen[i])
            names << all[i];
    }
    return names.join(QStringLiteral(", "));
}

} // namespace

void initTasks()
{
    refreshHooks().fillTaskList = fillTaskList;
    refreshHooks().aktualisiereAPAnzeige = aktualisiereAPAnzeige;
}

QString aktionsName(int aktion)
{
    return aktion >= 0 && aktion < kAktionsNamen.size() ? kAktionsNamen[aktion] : QString();
}

QString aktionsBefehl(int aktion)
{
    if (aktion == 0)
        return QStringLiteral("C0D");
    if (aktion == 1)
        return QStringLiteral("C0B");
    return QString();
}

QTime taskTime(const TaskRecord &rec)
{
    return rec.uhrzeit.isValid() ? rec.uhrzeit.time() : QTime(0, 0);
}

int findTaskIndex(const QString &taskId)
{
    for (int slot = 1; slot <= kMaxTasks; ++slot) {
        if (tasks().at(slot).taskId == taskId)
            return slot;
    }
    return -1;
}

bool addTask(const TaskRecord &rec)
{
    bool stored = false;
    for (int slot = 1; slot <= kMaxTasks; ++slot) {
        TaskRecord &t = tasks().at(slot);
        if (t.belegt)
            continue;
        copyEditedFields(t, rec);
        t.belegt = true;
        t.taskId = newTaskId();
        stored = true;
        break;
    }
    saveTasks(true);
    return stored;
}

void updateTask(const TaskRecord &rec)
{
    const int slot = findTaskIndex(rec.taskId);
    if (slot > 0) {
        TaskRecord &t = tasks().at(slot);
        copyEditedFields(t, rec);
        t.belegt = true;
    }
    saveTasks(true);
}

void deleteTask(const QString &taskId)
{
    const int slot = findTaskIndex(taskId);
    if (slot > 0) {
        tasks().at(slot).aktiv = false;
        tasks().at(slot).belegt = false;
    }
    saveTasks(true);
}

void fillTaskList()
{
    QList<TaskListRow> rows;
    for (int slot = 1; slot <= kMaxTasks; ++slot) {
        const TaskRecord &t = tasks().at(slot);
        if (!t.belegt)
            continue;
        TaskListRow row;
        row.status = t.aktiv ? QStringLiteral("Aktiv") : QStringLiteral("Inaktiv");
        row.taskId = t.taskId;
        row.beschreibung = trimmedDescription(t);
        row.uhrzeit = taskTime(t).toString(QStringLiteral("HH:mm"));
        row.aktion = aktionsName(t.aktion);
        row.monate = joinedNames(t.monate.data(), monthNames());
        row.wochentage = joinedNames(t.wochentage.data(), weekDayNames());
        rows << row;
    }
    appView().showTaskList(rows);
}

TaskFormValues taskFormValues(const TaskRecord &rec)
{
    TaskFormValues v;
    v.wochentage = rec.wochentage;
    v.monate = rec.monate;
    for (int g = 1; g <= 99; ++g) {
        if (rec.gruppen[g])
            v.gruppen << g;
    }
    for (int a = 1; a <= 999; ++a) {
        if (rec.adressen[a])
            v.adressen << a;
    }
    v.aktiv = rec.aktiv;
    v.aktion = rec.aktion;
    v.beschreibung = trimmedDescription(rec);
    const QTime time = taskTime(rec);
    v.sliderMinutes = time.hour() * 60 + time.minute();
    v.alleEinheiten = rec.alleEinheiten;
    return v;
}

bool loadTaskIntoForm(TaskRecord &dest, const QString &taskId, TaskEditorForm &form)
{
    const int slot = findTaskIndex(taskId);
    if (slot < 0)
        return false;
    const auto lock = dest.sperreBis;
    dest = tasks().at(slot);
    dest.sperreBis = lock;
    form.showTask(taskFormValues(dest));
    return true;
}
