#include "core/logs/keptentries.h"

#include "core/logs/generallog.h"
#include "core/logs/logbook.h"
#include "core/platform/clock.h"
#include "core/platform/codepage.h"

#include <QStringList>

#include <algorithm>

namespace {

// A minute between tries: a disk that stays full costs one failed write a
// minute, not one for every line written meanwhile.
constexpr qint64 kRetryMs = 60000;
const QString kTitle = QStringLiteral("Protokoll");

QString timeText(const QDateTime &time) { return time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")); }

// The general log names a file, the box its whole path.
QString logNamed(const QString &name) { return QStringLiteral("Das Protokoll '") + name + u'\''; }

// A file's time without writes, closed now, in the general log's words or the
// box's (unwritable takes the two times), with the entries it lost.
QString writtenAgainText(const QString &name, const QString &unwritable, const QDateTime &since, qint64 dropped)
{
    QString text = logNamed(name) + u' ' + unwritable.arg(timeText(since), timeText(appClock().localNow()))
                   + QStringLiteral("; die aufbewahrten Einträge wurden nachgetragen.");
    if (dropped > 0)
        text += QStringLiteral(" %1 weitere Einträge konnten nicht aufbewahrt werden und fehlen.").arg(dropped);
    return text;
}

// Hands entries kept oldest first to append in the order the file takes them.
template <class Entries, class Append>
void inFileOrder(LogOrder order, const Entries &entries, Append append)
{
    if (order == LogOrder::NewestFirst)
        std::for_each(entries.crbegin(), entries.crend(), append);
    else
        std::for_each(entries.cbegin(), entries.cend(), append);
}

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
        inFileOrder(order, entries, [&](const QByteArray &entry) { block += entry; });
        const auto error = writeLogFile(fileName, order, block);
        if (!error)
            return std::nullopt;
        if (m_files.isEmpty())
            m_lastTryMs = appClock().monotonicMs();
        file = &fileFor(fileName, order);
        file->error = *error;
    }
    if (!file->since.isValid())
        markUnwritten(*file);
    for (const QByteArray &bytes : entries)
        keepWithinBound(*file, bytes);
    tellUnwritten();
    return file->error;
}

void KeptLogEntries::tryAgain()
{
    flushGeneralLog();
    m_lastTryMs = appClock().monotonicMs();
    forgetSeenLines();
    const QString before = stateText();
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
    bool failedAnew = false;
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
            markUnwritten(*log);
            failedAnew = true;
        }
    }
    // One change of the box for the whole try: a log that fails anew counts
    // as an occurrence, a settled one changes the state, a try that failed
    // again may have changed the reason or the room.
    const QString text = stateText();
    UnattendedScope unattended;
    if (failedAnew)
        m_notice.tell(text, kTitle);
    else if (settled)
        m_notice.update(text, kTitle, stateIcon());
    else if (text != before)
        m_notice.amend(text, kTitle);
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
    inFileOrder(file.order, file.entries, append);
    const auto error = writeLogFile(file.name, file.order, block, file.error.isDiskFull());
    if (error)
        file.error = *error;
    return !error;
}

// The general-log entry that closes a file's time without writes.
QByteArray KeptLogEntries::recoveryNote(const File &file) const
{
    return generalLogEntry(writtenAgainText(file.name, QStringLiteral("konnte vom %1 bis %2 nicht geschrieben werden"),
                                            file.since, file.dropped)
                           + QStringLiteral(" Grund: ") + file.error.description + u'.');
}

// A file that fails from now on: its time without writes starts, and a line
// in the box that says it was written again would no longer be true.
void KeptLogEntries::markUnwritten(File &file)
{
    file.since = appClock().localNow();
    m_settled.removeIf([&](const Settled &settled) { return settled.name == file.name; });
}

// A file written again: the standing box says so from now on, with what it lost.
void KeptLogEntries::settle(const File &file)
{
    m_settled.append({file.name,
                      writtenAgainText(logsPath() + file.name, QStringLiteral("war vom %1 bis %2 nicht beschreibbar"),
                                       file.since, file.dropped),
                      file.dropped > 0});
}

// The lines of a box the operator has closed were seen: one that comes up anew
// starts without them.
void KeptLogEntries::forgetSeenLines()
{
    if (!m_notice.stands())
        m_settled.clear();
}

// Every log that cannot be written now, each with its reason (a full disk
// stops the general log and the day's test log alike), then those written
// again while the box stands.
QString KeptLogEntries::stateText() const
{
    QStringList lines;
    qint64 dropped = 0;
    for (const File &file : m_files) {
        dropped += file.dropped;
        if (file.since.isValid())
            lines += logNamed(logsPath() + file.name) + QStringLiteral(" kann nicht geschrieben werden: ")
                     + file.error.description + u'.';
    }
    if (!lines.isEmpty())
        lines += QStringLiteral("Die Einträge werden aufbewahrt und nachgetragen, sobald sie wieder geschrieben "
                                "werden können.");
    if (dropped > 0)
        lines += QStringLiteral("Der Platz für aufbewahrte Einträge ist voll: %1 Einträge fehlen.").arg(dropped);
    for (const Settled &settled : m_settled)
        lines += settled.line;
    return lines.join(QStringLiteral("\r\n"));
}

// Only a box in which nothing is missing any more takes the information icon.
Prompts::Icon KeptLogEntries::stateIcon() const
{
    const bool unwritten = std::any_of(m_files.cbegin(), m_files.cend(), [](const File &file) { return file.since.isValid(); });
    const bool lost = std::any_of(m_settled.cbegin(), m_settled.cend(), [](const Settled &settled) { return settled.lostEntries; });
    return unwritten || lost ? Prompts::Icon::Critical : Prompts::Icon::Information;
}

void KeptLogEntries::tellUnwritten()
{
    forgetSeenLines();
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
