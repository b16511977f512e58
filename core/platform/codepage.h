#pragma once
// Every text file of the station is in the Windows-1252 code page; a character
// outside it is written as "?".
#include <QByteArray>
#include <QString>

namespace codepage {

QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);
// Every character of the text is written and read back unchanged. "?" is, as
// are the control characters and the five bytes the code page leaves undefined
// (they stand for themselves); anything written as a stand-in "?" is not.
bool holds(const QString &text);
char encodeChar(QChar c);
QChar decodeChar(char byte);

} // namespace codepage
