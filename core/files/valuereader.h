#pragma once
// Reads the values of the station's text data files one after another: a value
// is a line, or a text between double quotes that may run over several lines.
// The files are the station's own, so anything else is a damaged file.
// A value is a view into the reader's bytes: a registry's load reads thousands
// of them and copies none.
#include "core/files/datafile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

class ValueReader
{
public:
    explicit ValueReader(const QByteArray &bytes) : m_bytes(bytes) {}

    // Nothing but blanks and line ends left.
    bool atEnd() const;
    // One line without its end; nothing at the end of the file.
    std::optional<QByteArrayView> line();
    // The text between a double quote and the next one, line breaks included,
    // with nothing but blanks after it on its line.
    std::optional<QByteArrayView> quoted();
    // Why the last read gave nothing.
    const FileError &failure() const { return m_failure; }

private:
    std::optional<QByteArrayView> fail(const FileError &error);

    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
    FileError m_failure;
};
