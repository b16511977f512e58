#pragma once
// The widgets every window builds the same way: a button under its control
// name, the label of a field, a field typed over, a label of running text.
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// A push button with its caption and control name. It never becomes the
// dialog's Enter button on its own (outside a dialog no button does).
QPushButton *namedButton(const QString &caption, const char *name, QWidget *parent = nullptr);

// The label of a field: the field takes the label's caption as its name, and
// the caption's shortcut key moves the focus to the field.
void nameAfterLabel(QLabel *label, QWidget *field);
QLabel *labelFor(const QString &caption, QWidget *field, QWidget *parent = nullptr);

// The field selects its whole text whenever it gets the focus, also by a
// click: the operator types over it.
void selectAllOnFocus(QLineEdit *field);

// Running text that wraps at the width of its column.
QLabel *wrappedText(const QString &text, QWidget *parent = nullptr);
// The same in bold, the heading of a page.
QLabel *headingText(const QString &text, QWidget *parent = nullptr);
