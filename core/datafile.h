#pragma once
// Reading and replacing the station's data files ("Units.dat", "Tasks.dat",
// "Formulare.dat") in the program folder. A file is always replaced whole through
// a temporary file, so a crash or a full disk never leaves half of one behind.
// A file that could not be read to its end is kept as "<name>.defekt" before the
// next save writes over it: what could not be read is not lost.
#include <QByteArray>
#include <QString>
#include <optional>

// Failures carry the numbers and German descriptions the operator knows from the
// station's error boxes.
struct FileError
{
    int number = 0;
    QString description;

    static FileError overflow();          // 6
    static FileError outOfRange();        // 9
    static FileError typeMismatch();      // 13
    static FileError diskFull();          // 61
    static FileError pastEndOfFile();     // 62
    static FileError accessDenied();      // 70
    static FileError pathAccess();        // 75
};

struct DataFileContent
{
    bool missing = false;
    QByteArray bytes;
    std::optional<FileError> error;
};

DataFileContent readDataFile(const QString &fileName);
// Before it writes, keeps a copy of a file whose last load stopped part-way.
std::optional<FileError> writeDataFile(const QString &fileName, const QByteArray &bytes);

// Tells the operator and the general log that a data file could not be read or
// written: the box holds the sentence, a line break and the description.
void reportDataFileFailure(const QString &boxLine, const QString &boxTitle, const QString &logLine,
                           const FileError &error);

// What the last load of a file found: its next save copies it aside when it failed.
void noteLoadFailed(const QString &fileName);
void noteLoadComplete(const QString &fileName);
void forgetLoadFailures();
