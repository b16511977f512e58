#pragma once
// What becomes of a log entry that cannot be written (a full disk, a folder
// without write rights, a path too long): it is kept, in order, with its
// file's other kept entries. A new entry for that file joins them without a
// try of its own, and no other file's write waits for it: the kept entries
// are tried about once a minute from the tick, and at the orderly end, each
// file's in one write before anything newer. The operator is told at once in
// one standing box, which tells each file's state as it is, once: once its
// entries are written it says so instead, and a file that lost entries to the
// bound keeps their count there and the box its warning until the OK. The
// general log says from when to when a file could not be written. What is
// kept is bounded; what the bound turns away is counted there, and a test log
// gets a line where its lines are missing.
#include "core/logs/logfilewrite.h"
#include "core/station/recurringnotice.h"

#include <QDateTime>
#include <QList>

struct KeptBound
{
    qsizetype entries;
    qsizetype bytes;
};

class KeptLogEntries
{
public:
    // noteLog, written newest first, takes the note that closes a file's time without writes.
    KeptLogEntries(const QString &noteLog, KeptBound bound);

    // Writes the bytes of one entry into "logs/<fileName>", or keeps them. Why
    // the file cannot be written now, when they are kept.
    std::optional<FileError> write(const QString &fileName, LogOrder order, const QByteArray &bytes);
    // The same for several entries, oldest first, in one write.
    std::optional<FileError> write(const QString &fileName, LogOrder order, const QList<QByteArray> &entries);
    // Tries to write what is kept (the orderly end), after the general log's
    // entries that wait for their moment: its notes must stand above them.
    void tryAgain();
    // Tries again once a minute has passed since the last try (the tick).
    void tryAgainWhenDue();
    // Drops what is kept, unwritten: a test's fresh program folder.
    void forget();

private:
    struct Entry
    {
        QByteArray bytes;
        qint64 missingLines = 0;  // a gap where the bound turned lines away
    };
    struct File
    {
        QString name;
        LogOrder order = LogOrder::Appended;
        QList<Entry> entries;  // oldest first
        qsizetype count = 0;   // entries that are no gap
        qsizetype bytes = 0;
        // The first write that failed; invalid while the file only carries
        // notes about other files and has not failed itself.
        QDateTime since;
        FileError error;  // why the last write failed
        qint64 dropped = 0;  // entries the bound turned away
    };
    using Files = QList<File>;
    // A file written again while the box stands, with its line there.
    struct Settled
    {
        QString name;
        QString line;
        bool lostEntries = false;
    };

    Files::iterator find(const QString &fileName);
    File &fileFor(const QString &fileName, LogOrder order);
    void add(File &file, const QByteArray &bytes);
    void keepWithinBound(File &file, const QByteArray &bytes);
    Files::iterator drop(Files::iterator file);
    bool writeKept(File &file, const QByteArray &note = {});
    QByteArray recoveryNote(const File &file) const;
    void markUnwritten(File &file);
    void settle(const File &file);
    void forgetSeenLines();
    QString stateText() const;
    Prompts::Icon stateIcon() const;
    void tellUnwritten();

    QString m_noteLog;
    KeptBound m_bound;
    Files m_files;  // in the order in which they first failed
    qsizetype m_entries = 0;
    qsizetype m_bytes = 0;
    qint64 m_lastTryMs = 0;
    QList<Settled> m_settled;
    RecurringNotice m_notice;
};

// The station's store: every log entry goes through it.
KeptLogEntries &keptLogEntries();
