#include "ui/forms/frmdebug.h"

#include "core/station/prompts.h"
#include "device/operator/operatorcommand.h"
#include "ui/fixedfont.h"
#include "ui/stationpictures.h"
#include "ui/storabletext.h"
#include "ui/widgetmakers.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

QLabel *legendEntry(const QString &text, WinColor color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, stationpictures::fromWinColor(color));
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

FrmDebug::FrmDebug(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("frmDebug"));
    setWindowTitle(QStringLiteral("Debugfenster"));
    resize(640, 420);

    auto *top = new QWidget(this);
    top->setObjectName(QStringLiteral("Picture1"));
    auto *legend = new QGridLayout;
    legend->addWidget(legendEntry(QStringLiteral("IN"), kColorRed, top), 0, 0);
    legend->addWidget(legendEntry(QStringLiteral("OUT"), kColorBlue, top), 0, 1);
    legend->addWidget(legendEntry(QStringLiteral("IN"), kColorGreen, top), 1, 0);
    legend->addWidget(legendEntry(QStringLiteral("OUT"), kColorYellow, top), 1, 1);
    auto *history = new QLabel(QStringLiteral("ß = LF    ü = CR"), top);
    history->setObjectName(QStringLiteral("lblHistory"));
    auto *clear = namedButton(QStringLiteral("Datenfeld leeren"), "Command1", top);
    auto *topRow = new QHBoxLayout(top);
    topRow->addLayout(legend);
    topRow->addSpacing(16);
    topRow->addWidget(history);
    topRow->addStretch();
    topRow->addWidget(clear);
    topRow->addSpacing(10);  // the button keeps off the strip's right edge

    m_terminal = new QTextEdit(this);
    m_terminal->setObjectName(QStringLiteral("RichTextBox1"));
    m_terminal->setAccessibleName(windowTitle());
    m_terminal->setReadOnly(true);
    m_terminal->setFont(fixedPitchFont());
    m_terminal->setUndoRedoEnabled(false);

    auto *bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("picElements"));
    m_input = new QLineEdit(bottom);
    m_input->setObjectName(QStringLiteral("txtEingabe"));
    takeOnlySendableText(m_input);
    m_input->setAccessibleName(QStringLiteral("Eingabe"));
    m_input->setFont(fixedPitchFont());
    m_lfFirst = new QCheckBox(QStringLiteral("LF voranstellen"), bottom);
    m_lfFirst->setObjectName(QStringLiteral("chkLFvoran"));
    m_lfFirst->setChecked(true);
    auto *lf = namedButton(QStringLiteral("LF einfügen"), "cmdLFeinfuegen", bottom);
    auto *cr = namedButton(QStringLiteral("CR einfügen"), "cmdCReinfuegen", bottom);
    auto *sendButton = namedButton(QStringLiteral("Senden"), "Command2", bottom);
    auto *bottomRow = new QHBoxLayout(bottom);
    bottomRow->addWidget(m_input, 1);
    bottomRow->addWidget(m_lfFirst);
    bottomRow->addWidget(lf);
    bottomRow->addWidget(cr);
    bottomRow->addWidget(sendButton);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 10, 0);
    column->addWidget(top);
    column->addWidget(m_terminal, 1);
    column->addWidget(bottom);

    m_gather.setSingleShot(true);
    m_gather.setInterval(kGatherMs);
    connect(&m_gather, &QTimer::timeout, this, &FrmDebug::showNewText);
    connect(clear, &QPushButton::clicked, this, [this] {
        m_log.clear();
        showWholeText();
    });
    connect(lf, &QPushButton::clicked, this, [this] { appendToInput(QStringLiteral("\n")); });
    connect(cr, &QPushButton::clicked, this, [this] { appendToInput(QStringLiteral("\r")); });
    connect(sendButton, &QPushButton::clicked, this, &FrmDebug::send);
}

void FrmDebug::addText(int direction, const QString &text, bool markText)
{
    m_log.add(direction, text, markText);
    if (isVisible() && !m_gather.isActive())
        m_gather.start();
}

void FrmDebug::showNewText()
{
    if (!isVisible())
        return;  // the whole text is put in when the window opens
    const TerminalLog::Change change = m_log.takeChange();
    if (change.emptied)
        m_terminal->clear();
    insertAtEnd(change.added);
}

void FrmDebug::showWholeText()
{
    m_log.takeChange();
    m_terminal->clear();
    insertAtEnd(m_log.runs());
}

void FrmDebug::insertAtEnd(const QList<EchoRun> &runs)
{
    // The box's own caret goes to the end, so the view follows the stream; one
    // edit lays the text out once.
    QTextCursor cursor = m_terminal->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (const EchoRun &run : runs) {
        QTextCharFormat format;
        format.setForeground(stationpictures::fromWinColor(run.color));
        cursor.insertText(run.text, format);
    }
    cursor.endEditBlock();
    m_terminal->setTextCursor(cursor);
}

void FrmDebug::send()
{
    const QString text = (m_lfFirst->isChecked() ? QStringLiteral("\n") : QString()) + m_input->text();
    QString refusal;
    if (!sendOperatorCommand(text, &refusal))
        appPrompts().message(refusal, QStringLiteral("Achtung"), Prompts::Icon::Exclamation);
}

void FrmDebug::appendToInput(const QString &character) { m_input->setText(m_input->text() + character); }

void FrmDebug::showEvent(QShowEvent *event)
{
    showWholeText();
    QWidget::showEvent(event);
}

void FrmDebug::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}
