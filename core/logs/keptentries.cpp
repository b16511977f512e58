#include "core/logs/keptentries.h"

#include "core/logs/generallog.h"
#include "core/logs/logbook.h"
#include "core/platform/clock.h"
#include "core/platform/codepage.h"

#include <algorithm>

namespace {

// A minute between tries: a disk that stays full costs one failed write a
// minute, not one for every line written meanwhile.
constexpr qint64 kRetryMs = 60000;
const QString kTitle = QStringLiteral("Protokoll");

QString timeText(const QDateTime &time) { return time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")); }

QByteArray gapLine(qint64 lines)
{
    const QString count = lines == 1 ? QStringLiteral("fehlt 1 Zeile") : QStringLiteral("fehlen %1 Zeilen").arg(lines);
    return codepage::encode(QStringLiteral("*** Hier ") + count
                            + QStringLiteral(": sie konnten weder geschrieben noch aufbewahrt werden. ***\r\n"));
}

} // namespace

KeptLogEntries::KeptLogEntries(const QString &noteLog, KeptBound bound)
    : m_noteLog(noteLog), m_bound(bound),
      m_notice(QStringLiteral("logUnwritten"), Prompts::Icon::Critical, QStringLiteral("Nicht geschriebene Einträge"))
{
}

std::optional<FileError> KeptLogEntries::write(const QString &fileName, LogOrder order, const QByteArray &bytes)
{
    return write(fileName, order, QList<QByteArray>{bytes});
}

std::optional<FileError> KeptLogEntries::write(const QString &fileName, LogOrder order,
                                               const QList<QByteArray> &entries)
{
    File *file = nullptr;
    if (const auto kept = find(fileName); kept != m_files.end()) {
        file = &*kept;
    } else {
        QByteArray block;
        if (order == LogOrder::NewestFirst)
            std::for_each(entries.crbegin(), entries.crend(), [&](const QByteArray &entry) { block += entry; });
        else
            block = entries.join();
        const auto error = writeLogFile(fileName, order, block);
        if (!error)
            return std::nullopt;
        if (m_files.isEmpty())
            m_lastTryMs = appClock().monotonicMs();
        file = &fileFor(fileName, order);
        file->error = *error;
    }
    if (!file->since.isValid()) {
        file->since = appClock().localNow();
        m_settled.removeIf([&](const auto &settled) { return settled.first == fileName; });
    }
    for (const QByteArray &bytes : entries)
        keepWithinBound(*file, bytes);
    tellUnwritten();
    return file->error;
}

void KeptLogEntries::tryAgain()
{
    flushGeneralLog();
    m_lastTryMs = appClock().monotonicMs();
    // The test logs first: the general log then says which of them are whole again.
    QList<QByteArray> notes;
    for (auto file = m_files.begin(); file != m_files.end();) {
        if (file->name != m_noteLog && writeKept(*file)) {
            notes.append(recoveryNote(*file));
            settle(*file);
            file = drop(file);
        } else {
            ++file;
        }
    }
    bool settled = !notes.isEmpty();
    if (settled) {
        File &log = fileFor(m_noteLog, LogOrder::NewestFirst);
        for (const QByteArray &note : std::as_const(notes))
            add(log, note);
    }
    if (const auto log = find(m_noteLog); log != m_files.end()) {
        if (writeKept(*log, log->since.isValid() ? recoveryNote(*log) : QByteArray())) {
            if (log->since.isValid()) {
                settle(*log);
                settled = true;
            }
            drop(log);
        } else if (!log->since.isValid()) {
            log->since = appClock().localNow();
            tellUnwritten();
        }
    }
    if (settled) {
        UnattendedScope unattended;
        const bool stillUnwritten = std::any_of(m_files.cbegin(), m_files.cend(),
                                                [](const File &file) { return file.since.isValid(); });
        m_notice.update(stateText(), kTitle, stillUnwritten ? Prompts::Icon::Critical : Prompts::Icon::Information);
    }
}

void KeptLogEntries::tryAgainWhenDue()
{
    if (!m_files.isEmpty() && appClock().monotonicMs() - m_lastTryMs >= kRetryMs)
        tryAgain();
}

void KeptLogEntries::forget()
{
    m_files.clear();
    m_entries = 0;
    m_bytes = 0;
    m_settled.clear();
}

KeptLogEntries::Files::iterator KeptLogEntries::find(const QString &fileName)
{
    return std::find_if(m_files.begin(), m_files.end(), [&](const File &file) { return file.name == fileName; });
}

KeptLogEntries::File &KeptLogEntries::fileFor(const QString &fileName, LogOrder order)
{
    if (const auto file = find(fileName); file != m_files.end())
        return *file;
    File &file = m_files.emplace_back();
    file.name = fileName;
    file.order = order;
    return file;
}

void KeptLogEntries::add(File &file, const QByteArray &bytes)
{
    file.entries.append(Entry{bytes});
    ++file.count;
    file.bytes += bytes.size();
    ++m_entries;
    m_bytes += bytes.size();
}

void KeptLogEntries::keepWithinBound(File &file, const QByteArray &bytes)
{
    if (m_entries < m_bound.entries && m_bytes + bytes.size() <= m_bound.bytes) {
        add(file, bytes);
        return;
    }
    ++file.dropped;
    // A test log is read from top to bottom: its gap stands where the lines are missing.
    if (file.order != LogOrder::Appended)
        return;
    if (file.entries.isEmpty() || file.entries.constLast().missingLines == 0)
        file.entries.append(Entry{});
    file.entries.last().missingLines += std::max<qsizetype>(1, bytes.count("\r\n"));
}

KeptLogEntries::Files::iterator KeptLogEntries::drop(Files::iterator file)
{
    m_entries -= file->count;
    m_bytes -= file->bytes;
    return m_files.erase(file);
}

// All that is kept of one file in one write, a note on top of the general log's.
bool KeptLogEntries::writeKept(File &file, const QByteArray &note)
{
    QByteArray block = note;
    block.reserve(note.size() + file.bytes);
    const auto append = [&](const Entry &entry) { block += entry.missingLines ? gapLine(entry.missingLines) : entry.bytes; };
    if (file.order == LogOrder::NewestFirst)
        std::for_each(file.entries.crbegin(), file.entries.crend(), append);
    else
        std::for_each(file.entries.cbegin(), file.entries.cend(), append);
    const auto error = writeLogFile(file.name, file.order, block, file.error.isDiskFull());
    if (error)
        file.error = *error;
    return !error;
}

// The general-log entry that closes a file's time without writes.
QByteArray KeptLogEntries::recoveryNote(const File &file) const
{
    QString text = QStringLiteral("Das Protokoll '") + file.name + QStringLiteral("' konnte vom ")
                   + timeText(file.since) + QStringLiteral(" bis ") + timeText(appClock().localNow())
                   + QStringLiteral(" nicht geschrieben werden; die aufbewahrten Einträge wurden nachgetragen.");
    if (file.dropped > 0)
        text += QStringLiteral(" %1 weitere Einträge konnten nicht aufbewahrt werden und fehlen.").arg(file.dropped);
    text += QStringLiteral(" Grund: ") + file.error.description + u'.';
    return generalLogEntry(text);
}

// A file written again: the standing box says so from now on; a box that
// comes up anew starts without it (tellUnwritten).
void KeptLogEntries::settle(const File &file)
{
    m_settled.append({file.name, QStringLiteral("Das Protokoll '") + logsPath() + file.name
                                     + QStringLiteral("' war vom ") + timeText(file.since) + QStringLiteral(" bis ")
                                     + timeText(appClock().localNow())
                                     + QStringLiteral(" nicht beschreibbar; die aufbewahrten Einträge wurden "
                                                      "nachgetragen.\r\n")});
}

// Every log that cannot be written now, each with its reason (a full disk
// stops the general log and the day's test log alike), then those written
// again while the box stands.
QString KeptLogEntries::stateText() const
{
    QString text;
    qint64 dropped = 0;
    for (const File &file : m_files) {
        dropped += file.dropped;
        if (file.since.isValid())
            text += QStringLiteral("Das Protokoll '") + logsPath() + file.name
                    + QStringLiteral("' kann nicht geschrieben werden: ") + file.error.description
                    + QStringLiteral(".\r\n");
    }
    if (!text.isEmpty())
        text += QStringLiteral("Die Einträge werden aufbewahrt und nachgetragen, sobald sie wieder geschrieben "
                               "werden können.\r\n");
    if (dropped > 0)
        text += QStringLiteral("Der Platz für aufbewahrte Einträge ist voll: %1 Einträge fehlen.\r\n").arg(dropped);
    for (const auto &settled : m_settled)
        text += settled.second;
    text.chop(2);
    return text;
}

void KeptLogEntries::tellUnwritten()
{
    if (!m_notice.stands())
        m_settled.clear();
    // A disk may fill in the middle of the night: the box waits for nobody.
    UnattendedScope unattended;
    m_notice.tell(stateText(), kTitle);
}

KeptLogEntries &keptLogEntries()
{
    // A night of automatic messages fits many times over; a disk that stays
    // full for weeks must not take the station's memory with it.
    static KeptLogEntries store(kGeneralLogName, {50000, 20 * 1024 * 1024});
    return store;
}
