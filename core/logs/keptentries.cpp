#include "core/logs/keptentries.h"

#include "core/logs/generallog.h"
#include "core/logs/logbook.h"
#include "core/platform/clock.h"
#include "core/platform/diskwrites.h"
#include "core/platform/pagebuffer.h"
#include "core/station/recurringnotice.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

namespace {

// A night of automatic messages fits many times over; a disk that stays
// full for weeks must not take the station's memory with it.
constexpr qsizetype kMaxKeptEntries = 50000;
constexpr qsizetype kMaxKeptBytes = 20 * 1024 * 1024;
constexpr qint64 kCopyChunk = 1 << 20;
const QString kGeneralLog = QStringLiteral("Allgemein.log");

struct KeptFile
{
    QString name;
    LogOrder order = LogOrder::Appended;
    QList<QByteArray> entries;  // oldest first
    qsizetype bytes = 0;
    // The first write that failed; invalid while the file only carries notes
    // about other files and has not failed itself.
    QDateTime since;
    FileError error;            // why the last write failed
    qint64 dropped = 0;         // entries the bound turned away
};

// In the order in which the files first failed.
QList<KeptFile> keptFiles;
qsizetype keptEntries = 0;
qsizetype keptBytes = 0;

RecurringNotice unwrittenNotice(QStringLiteral("logUnwritten"), Prompts::Icon::Critical,
                                QStringLiteral("Nicht geschriebene Einträge"));

QString timeText(const QDateTime &time) { return time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")); }

// The new entries, then the older ones byte for byte as they stand, a piece at
// a time: an entry costs a copy of the file, never the file in memory.
std::optional<FileError> writeNewestFirst(const QString &path, const QByteArray &entries)
{
    const QFileInfo info(path);
    QFile old(path);
    if (info.exists()) {
        // Rewriting without the older entries would lose them; a pipe would hold the station.
        if (!info.isFile())
            return FileError::pathAccess();
        if (!old.open(QIODevice::ReadOnly))
            return FileError::of(old);
    }
    QSaveFile file(path);
    if (auto error = openForWriting(file))
        return error;
    if (auto error = writeAll(file, entries))
        return error;
    if (old.isOpen()) {
        const PageBuffer chunk(kCopyChunk);
        if (!chunk.data())
            return FileError::fromErrno(ENOMEM);
        qint64 read;
        while ((read = old.read(chunk.data(), chunk.size())) > 0)
            if (auto error = writeAll(file, QByteArrayView(chunk.data(), read)))
                return error;
        if (read < 0)
            return FileError::of(old);
    }
    return commitFile(file);
}

std::optional<FileError> writeToFile(const QString &fileName, LogOrder order, const QByteArray &bytes)
{
    if (auto error = makeLogsFolder())
        return error;
    const QString path = logsPath() + fileName;
    return order == LogOrder::NewestFirst ? writeNewestFirst(path, bytes) : appendToFile(path, bytes);
}

QList<KeptFile>::iterator find(const QString &fileName)
{
    return std::find_if(keptFiles.begin(), keptFiles.end(),
                        [&](const KeptFile &file) { return file.name == fileName; });
}

KeptFile &keptFile(const QString &fileName, LogOrder order)
{
    if (const auto file = find(fileName); file != keptFiles.end())
        return *file;
    KeptFile &file = keptFiles.emplace_back();
    file.name = fileName;
    file.order = order;
    return file;
}

void add(KeptFile &file, const QByteArray &bytes)
{
    file.entries.append(bytes);
    file.bytes += bytes.size();
    ++keptEntries;
    keptBytes += bytes.size();
}

void keepWithinBound(KeptFile &file, const QByteArray &bytes)
{
    if (keptEntries >= kMaxKeptEntries || keptBytes + bytes.size() > kMaxKeptBytes)
        ++file.dropped;
    else
        add(file, bytes);
}

QList<KeptFile>::iterator forget(QList<KeptFile>::iterator file)
{
    keptEntries -= file->entries.size();
    keptBytes -= file->bytes;
    return keptFiles.erase(file);
}

// The general-log entry that closes a file's time without writes.
QByteArray recoveryNote(const KeptFile &file)
{
    QString text = QStringLiteral("Das Protokoll '") + file.name + QStringLiteral("' konnte vom ")
                   + timeText(file.since) + QStringLiteral(" bis ") + timeText(appClock().localNow())
                   + QStringLiteral(" nicht geschrieben werden; die aufbewahrten Einträge wurden nachgetragen.");
    if (file.dropped > 0)
        text += QStringLiteral(" %1 weitere Einträge konnten nicht aufbewahrt werden und fehlen.").arg(file.dropped);
    return generalLogEntry(text);
}

// All that is kept of one file in one write, a note on top of the general log's.
bool writeKept(KeptFile &file, const QByteArray &note = {})
{
    QByteArray block = note;
    block.reserve(note.size() + file.bytes);
    if (file.order == LogOrder::NewestFirst)
        for (auto entry = file.entries.crbegin(); entry != file.entries.crend(); ++entry)
            block += *entry;
    else
        for (const QByteArray &entry : std::as_const(file.entries))
            block += entry;
    const auto error = writeToFile(file.name, file.order, block);
    if (error)
        file.error = *error;
    return !error;
}

// Every log that cannot be written now, each with its reason: a full disk
// stops the general log and the day's test log alike.
void tellUnwritten()
{
    QString text;
    qint64 dropped = 0;
    for (const KeptFile &file : std::as_const(keptFiles)) {
        dropped += file.dropped;
        if (file.since.isValid())
            text += QStringLiteral("Das Protokoll '") + logsPath() + file.name
                    + QStringLiteral("' kann nicht geschrieben werden: ") + file.error.description
                    + QStringLiteral(".\r\n");
    }
    text += QStringLiteral("Die Einträge werden aufbewahrt und nachgetragen, sobald sie wieder geschrieben "
                           "werden können.");
    if (dropped > 0)
        text += QStringLiteral("\r\nDer Platz für aufbewahrte Einträge ist voll: %1 Einträge fehlen.").arg(dropped);
    // A disk may fill in the middle of the night: the box waits for nobody.
    UnattendedScope unattended;
    unwrittenNotice.tell(text, QStringLiteral("Protokoll"));
}

} // namespace

std::optional<FileError> writeLogEntry(const QString &fileName, LogOrder order, const QByteArray &bytes)
{
    writeKeptLogEntries();
    KeptFile *file = nullptr;
    if (const auto kept = find(fileName); kept != keptFiles.end()) {
        file = &*kept;
    } else {
        const auto error = writeToFile(fileName, order, bytes);
        if (!error)
            return std::nullopt;
        file = &keptFile(fileName, order);
        file->error = *error;
    }
    if (!file->since.isValid())
        file->since = appClock().localNow();
    keepWithinBound(*file, bytes);
    tellUnwritten();
    return file->error;
}

void writeKeptLogEntries()
{
    // The test logs first: the general log then says which of them are whole again.
    QList<QByteArray> notes;
    for (auto file = keptFiles.begin(); file != keptFiles.end();) {
        if (file->name != kGeneralLog && writeKept(*file)) {
            notes.append(recoveryNote(*file));
            file = forget(file);
        } else {
            ++file;
        }
    }
    if (!notes.isEmpty()) {
        KeptFile &general = keptFile(kGeneralLog, LogOrder::NewestFirst);
        for (const QByteArray &note : std::as_const(notes))
            add(general, note);
    }
    const auto general = find(kGeneralLog);
    if (general == keptFiles.end())
        return;
    if (writeKept(*general, general->since.isValid() ? recoveryNote(*general) : QByteArray()))
        forget(general);
    else if (!general->since.isValid())
        general->since = appClock().localNow();
}

void forgetKeptLogEntries()
{
    keptFiles.clear();
    keptEntries = 0;
    keptBytes = 0;
}
