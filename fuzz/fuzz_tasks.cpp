// "Tasks.dat" of any bytes through the loader; the tasks it took in are saved
// and loaded again and must come back as they were, and saving them once more
// writes the same bytes.
#include "fuzzstation.h"

#include "core/files/datafile.h"
#include "core/files/tasksfile.h"

#include <QList>
#include <bit>

namespace {

// The tasks of the table in slot order; a slot not taken holds no task.
QList<TaskRecord> storedTasks()
{
    QList<TaskRecord> list;
    for (int slot = 1; slot <= kMaxTasks; ++slot) {
        if (tasks().at(slot).belegt)
            list.append(tasks().at(slot));
    }
    return list;
}

bool same(const TaskRecord &a, const TaskRecord &b)
{
    return a.aktiv == b.aktiv && a.beschreibung == b.beschreibung && a.uhrzeit == b.uhrzeit
           && a.uhrzeit.isValid() == b.uhrzeit.isValid() && a.wochentage == b.wochentage
           && a.monate == b.monate && a.aktion == b.aktion && a.alleEinheiten == b.alleEinheiten
           && a.gruppen == b.gruppen && a.adressen == b.adressen
           && std::bit_cast<quint64>(a.sperreBis) == std::bit_cast<quint64>(b.sperreBis) && a.taskId == b.taskId;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzStation &station = FuzzStation::get();
    station.freshFolder();
    forgetLoadFailures();
    tasks().clear();
    const QByteArray input = fuzzBytes(data, size);
    station.write(QStringLiteral("Tasks.dat"), input);

    const bool whole = loadTasks(false);
    const QList<TaskRecord> first = storedTasks();
    fuzzCheck(saveTasks(false), "the tasks can be saved");
    if (!whole)
        fuzzCheck(station.read(QStringLiteral("Tasks.dat.defekt")) == input,
                  "a file that did not load whole is kept aside unchanged");
    const QByteArray saved = station.read(QStringLiteral("Tasks.dat"));
    fuzzCheck(saved.size() == first.size() * kTaskRecordSize, "one record per task");

    tasks().clear();
    fuzzCheck(loadTasks(false), "a saved file loads whole");
    const QList<TaskRecord> second = storedTasks();
    fuzzCheck(first.size() == second.size(), "every task comes back");
    for (qsizetype i = 0; i < first.size(); ++i)
        fuzzCheck(same(first[i], second[i]), "a task comes back as it was saved");
    fuzzCheck(saveTasks(false) && station.read(QStringLiteral("Tasks.dat")) == saved,
              "saving again writes the same bytes");
    return 0;
}
