#pragma once
// Every text file of the station is in the Windows-1252 code page; a character
// outside it is written as "?".
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace codepage {

QByteArray encode(const QString &text);
// Writes the text's bytes from out on, at most one per UTF-16 unit of the text,
// and returns the end of what it wrote: a file's writer fills its buffer
// directly, without a byte array per text.
char *encodeTo(QStringView text, char *out);
QString decode(QByteArrayView bytes);
// Every character of the text is written and read back unchanged. "?" is, as
// are the control characters and the five bytes the code page leaves undefined
// (they stand for themselves); anything written as a stand-in "?" is not.
bool holds(const QString &text);
char encodeChar(QChar c);
QChar decodeChar(char byte);

} // namespace codepage
