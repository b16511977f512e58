#pragma once
// The alert window's text box. It keeps every alert of the window's life, so
// an alert must cost about its text: the box keeps the layout of each of its
// paragraphs for its life, some 300 bytes, and a record of 44 bytes for each
// line in a block that doubles as it grows. An alert as a paragraph of its
// own, or as paragraphs of one line each, would cost several times its text.
// So alerts are gathered into paragraphs of up to 90 lines, whose records just
// fill 4 kB, their lines broken by line separators. The box's text, a copy and
// assistive technology (accessiblealerttext.h) give those as line feeds, as
// they give a paragraph's end.
#include <QPlainTextEdit>

class AlertTextBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit AlertTextBox(QWidget *parent);

    // Appends the alert and an empty line, and brings the newest alert into view.
    void appendAlert(const QString &alert);

private:
    int m_linesInParagraph = 0;
};
