#pragma once
// Prints a log on a printer the operator chooses: "Courier New" 10 pt, the left
// margin and the line length measured on that printer, long lines cut hard,
// as many pages as the text needs. A cancelled choice or a failing printer
// prints nothing and says nothing.
class QString;
class QWidget;

void printLog(const QString &text, QWidget *parent);
