#pragma once
// The printed logbook: how many characters of the fixed-pitch font make the
// left margin and a line, and the text cut into printed lines.
#include <QString>
#include <QStringList>
#include <functional>

struct PrintLine
{
    int marginSpaces = 0;
    int lineLength = 1;     // characters after the margin, at least one
};

// widthMm(i) is the printed width of i letters "X". The margin is the first
// count wider than 25 mm; a line ends before the first count wider than the
// printable width. When 1000 letters fit, the line is 1000 letters long.
PrintLine measurePrintLine(const std::function<double(int)> &widthMm, double printableWidthMm);

// Every line ended by CR LF is printed after the margin, cut into pieces of
// lineLength characters; text after the last CR LF stays as it is.
QStringList wrapForPrint(const QString &text, const PrintLine &line);
