#pragma once
// The widgets every window builds the same way: a button under its control
// name, a label of plain text, the label of a field, a field typed over, a
// label of running text.
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// A push button with its caption and control name. It never becomes the
// dialog's Enter button on its own (outside a dialog no button does).
QPushButton *namedButton(const QString &caption, const char *name, QWidget *parent = nullptr);

// A label that shows its text as it stands. A text from a file or from the
// bus may look like markup ("<b>Keller</b>"); it is never read as such.
QLabel *plainLabel(const QString &text = QString(), QWidget *parent = nullptr);
// A tool tip has no plain-text setting and reads a text that looks like markup
// as markup; such a text is handed to it as markup that shows it as it stands.
QString plainToolTip(const QString &text);

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
