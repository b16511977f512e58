#include "ui/forms/frmmeldung.h"

#include "core/station/stationsettings.h"
#include "ui/widgetmakers.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QPointer<FrmMeldung> shown;

// The box keeps the layout of each of its paragraphs for the window's life:
// some 300 bytes, and a record of 44 bytes for each line in a block that
// doubles as it grows. An alert as a paragraph of its own, or as paragraphs
// of one line each, would cost several times its text. So alerts are gathered
// into paragraphs of up to 90 lines, whose records just fill 4 kB, their lines
// broken by line separators: the box's text and a copy give those as line
// feeds, as they give a paragraph's end.
constexpr int kLinesPerParagraph = 90;

QString alertCaption(const QString &instanzname)
{
    if (instanzname.isEmpty())
        return QStringLiteral("Nuvax Notbeleuchtung - MELDUNG!");
    return QStringLiteral("Nuvax (%1) - MELDUNG!").arg(instanzname);
}

} // namespace

FrmMeldung::FrmMeldung()
    // On top from the start: changing the flag of a shown window hides it.
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmMeldung"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(alertCaption(settings().instanzname));
    resize(520, 360);

    auto *attention = new QLabel(QStringLiteral("!!! Achtung !!!"), this);
    attention->setObjectName(QStringLiteral("Label1"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(14);
    arial.setBold(true);
    attention->setFont(arial);
    attention->setAlignment(Qt::AlignCenter);

    auto *explanation = wrappedText(
        QStringLiteral("Mindestens ein Nuvax-Gerät hat eine Meldung an die Zentrale gesendet. "
                       "Bitte Prüfen Sie die untenstehende(n) Meldung(en)"),
        this);
    explanation->setObjectName(QStringLiteral("Label2"));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setAccessibleName(QStringLiteral("Meldungen"));

    auto *ok = namedButton(QStringLiteral("&OK"), "Command1", this);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(attention);
    layout->addWidget(explanation);
    layout->addWidget(m_text, 1);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

FrmMeldung *FrmMeldung::instance() { return shown; }

void FrmMeldung::addAlert(const QString &message)
{
    if (!shown)
        shown = new FrmMeldung;
    shown->append(message);
    shown->show();
    shown->raise();
}

void FrmMeldung::append(const QString &message)
{
    // A CR LF pair is one break, as is a lone CR or LF.
    const QChar lineBreak(QChar::LineSeparator);
    QString entry = message;
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
    QTextCursor end(m_text->document());
    end.movePosition(QTextCursor::End);
    end.insertText(entry);
    // The newest alert stays in view.
    m_text->moveCursor(QTextCursor::End);
    m_text->verticalScrollBar()->setValue(m_text->verticalScrollBar()->maximum());
}
