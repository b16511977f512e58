#include "core/files/tasksfile.h"

#include "core/files/datafile.h"
#include "core/platform/codepage.h"
#include "core/platform/oledate.h"
#include "core/station/prompts.h"
#include "core/station/refreshhooks.h"

#include <QtEndian>

namespace {

const QString kFileName = QStringLiteral("Tasks.dat");

class RecordWriter
{
public:
    void int16(qint16 value)
    {
        char bytes[2];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, 2);
    }
    void boolean(bool value) { int16(value ? -1 : 0); }
    template <size_t N> void booleans(const std::array<bool, N> &values)
    {
        for (bool value : values)
            boolean(value);
    }
    void dateTime(const QDateTime &value) { days(value.isValid() ? oledate::fromDateTime(value) : 0.0); }
    void days(double value)
    {
        char bytes[8];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, 8);
    }
    void text(const QString &value, int width)
    {
        QByteArray bytes = codepage::encode(value).left(width);
        bytes.append(QByteArray(width - bytes.size(), ' '));
        m_bytes.append(bytes);
    }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

class RecordReader
{
public:
    explicit RecordReader(const QByteArray &bytes) : m_bytes(bytes) {}
    qint16 int16() { return qFromLittleEndian<qint16>(take(2)); }
    bool boolean() { return int16() != 0; }
    template <size_t N> void booleans(std::array<bool, N> &values)
    {
        for (bool &value : values)
            value = boolean();
    }
    QDateTime dateTime() { return oledate::toDateTime(days()); }
    double days() { return qFromLittleEndian<double>(take(8)); }
    QString text(int width)
    {
        const char *start = take(width);
        return codepage::decode(QByteArray(start, width));
    }

private:
    const char *take(int width)
    {
        const char *start = m_bytes.constData() + m_pos;
        m_pos += width;
        return start;
    }
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
};

void reportFailure(const QString &boxLine, const QString &logLine, const FileError &error)
{
    reportDataFileFailure(boxLine, kProgramTitle, logLine, error);
}

void reportLoadFailure(const FileError &error)
{
    noteLoadFailed(kFileName);
    reportFailure(QStringLiteral("Beim Laden der Tasks ist folgender Fehler aufgetreten:"),
                  QStringLiteral("Fehler beim Laden der Tasks: "), error);
}

} // namespace

TaskTable &tasks()
{
    static TaskTable instance;
    return instance;
}

QByteArray encodeTaskRecord(const TaskRecord &task)
{
    RecordWriter out;
    out.boolean(task.aktiv);
    out.boolean(task.belegt);
    out.text(task.beschreibung, kTaskBeschreibungWidth);
    out.dateTime(task.uhrzeit);
    out.booleans(task.wochentage);
    out.booleans(task.monate);
    out.int16(task.aktion);
    out.boolean(task.alleEinheiten);
    out.booleans(task.gruppen);
    out.booleans(task.adressen);
    out.days(task.sperreBis);
    out.text(task.taskId, kTaskIdWidth);
    return out.bytes();
}

TaskRecord decodeTaskRecord(const QByteArray &bytes)
{
    Q_ASSERT(bytes.size() >= kTaskRecordSize);
    RecordReader in(bytes);
    TaskRecord task;
    task.aktiv = in.boolean();
    task.belegt = in.boolean();
    task.beschreibung = in.text(kTaskBeschreibungWidth);
    task.uhrzeit = in.dateTime();
    in.booleans(task.wochentage);
    in.booleans(task.monate);
    task.aktion = in.int16();
    task.alleEinheiten = in.boolean();
    in.booleans(task.gruppen);
    in.booleans(task.adressen);
    task.sperreBis = in.days();
    task.taskId = in.text(kTaskIdWidth);
    return task;
}

bool loadTasks(bool refresh)
{
    for (int slot = 1; slot <= kMaxTasks; ++slot) {
        tasks().at(slot).aktiv = false;
        tasks().at(slot).belegt = false;
    }
    const DataFileContent content = readDataFile(kFileName);
    if (content.missing) {
        if (const auto error = writeDataFile(kFileName, {})) {
            reportLoadFailure(*error);
            return false;
        }
    } else if (content.error) {
        reportLoadFailure(*content.error);
        return false;
    }
    // A trailing part shorter than a record is no task.
    const qsizetype count = content.bytes.size() / kTaskRecordSize;
    for (qsizetype i = 0; i < count; ++i) {
        if (i == kMaxTasks) {
            reportLoadFailure(FileError::outOfRange());
            return false;
        }
        tasks().at(int(i) + 1) = decodeTaskRecord(content.bytes.mid(i * kTaskRecordSize, kTaskRecordSize));
    }
    noteLoadComplete(kFileName);
    if (refresh)
        runHook(refreshHooks().fillTaskList);
    return true;
}

bool saveTasks(bool refresh)
{
    QByteArray bytes;
    for (int slot = 1; slot <= kMaxTasks; ++slot) {
        if (tasks().at(slot).belegt)
            bytes += encodeTaskRecord(tasks().at(slot));
    }
    if (const auto error = writeDataFile(kFileName, bytes)) {
        reportFailure(QStringLiteral("Beim Speichern der Tasks ist folgender Fehler aufgetreten:"),
                      QStringLiteral("Fehler beim Speichern der Tasks: "), *error);
        return false;
    }
    if (refresh)
        runHook(refreshHooks().fillTaskList);
    return true;
}
