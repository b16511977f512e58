#pragma once
// Every text file of the station is in the Windows-1252 code page; a character
// outside it is written as "?".
#include <QByteArray>
#include <QString>

namespace codepage {

QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);
char encodeChar(QChar c);
QChar decodeChar(char byte);

} // namespace codepage
