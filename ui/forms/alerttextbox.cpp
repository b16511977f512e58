#include "ui/forms/alerttextbox.h"

#include <QScrollBar>

namespace {
constexpr int kLinesPerParagraph = 90;
}

AlertTextBox::AlertTextBox(QWidget *parent) : QPlainTextEdit(parent) {}

void AlertTextBox::appendAlert(const QString &alert)
{
    // A CR LF pair is one break, as is a lone CR or LF.
    const QChar lineBreak(QChar::LineSeparator);
    QString entry = alert;
    entry.replace(QStringLiteral("\r\n"), lineBreak).replace(u'\r', lineBreak).replace(u'\n', lineBreak);
    entry += lineBreak;
    entry += lineBreak;
    const int lines = int(entry.count(lineBreak));
    m_linesInParagraph += lines;
    // The paragraph ends where another alert like this one would not fit.
    if (m_linesInParagraph + lines > kLinesPerParagraph) {
        entry.back() = QChar(QChar::ParagraphSeparator);
        m_linesInParagraph = 0;
    }
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(entry);
    moveCursor(QTextCursor::End);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
