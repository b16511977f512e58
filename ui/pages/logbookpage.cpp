#include "ui/pages/logbookpage.h"

#include "core/logbook.h"
#include "ui/logprint.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

const QString kGeneralEntry = QStringLiteral("_Allgemein_");

QColor viewColor(WinColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace

LogbookPage::LogbookPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("logbookPage"));
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("lstLogbuchListe"));
    m_list->setAccessibleName(QStringLiteral("Logbuch"));
    m_list->setFixedWidth(150);
    m_view = new QPlainTextEdit;
    m_view->setObjectName(QStringLiteral("rtbLogText"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setAccessibleName(QStringLiteral("Logbuch"));

    auto *strip = new QWidget;
    strip->setObjectName(QStringLiteral("picLogElements"));
    m_print = new QPushButton(QStringLiteral("Drucken"));
    m_print->setObjectName(QStringLiteral("cmdLogDrucken"));
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 4, 0, 0);
    stripLayout->addStretch(1);
    stripLayout->addWidget(m_print);

    auto *right = new QVBoxLayout;
    right->addWidget(m_view, 1);
    right->addWidget(strip);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 5, 5);
    layout->setSpacing(10);
    layout->addWidget(m_list);
    layout->addLayout(right, 1);

    connect(m_list, &QListWidget::itemClicked, this, &LogbookPage::showChosenLog);
    connect(m_print, &QPushButton::clicked, this, &LogbookPage::print);
}

void LogbookPage::showLogList(const QStringList &entries)
{
    m_list->clear();
    m_list->addItems(entries);
    m_view->clear();
}

void LogbookPage::showLogText(const QList<LogViewLine> &lines)
{
    m_view->clear();
    QTextCursor cursor(m_view->document());
    QTextCharFormat format;
    QString run;
    // A line without a colour goes on in the colour before it, so a log is
    // inserted in a few long runs, not line by line.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const LogViewLine &line = lines[i];
        if (line.hasColor && viewColor(line.color) != format.foreground().color()) {
            cursor.insertText(run, format);
            run.clear();
            format.setForeground(viewColor(line.color));
        }
        if (i > 0)
            run += u'\n';
        run += line.text;
    }
    cursor.insertText(run, format);
    m_view->moveCursor(QTextCursor::Start);
}

QString LogbookPage::viewText() const
{
    QString text;
    if (m_view->document()->isEmpty())
        return text;
    for (QTextBlock block = m_view->document()->begin(); block.isValid(); block = block.next())
        text += block.text() + QStringLiteral("\r\n");
    return text;
}

void LogbookPage::showChosenLog()
{
    const QListWidgetItem *entry = m_list->currentItem();
    if (!entry || !entry->isSelected())
        return;
    if (entry->text() == kGeneralEntry)
        showLogFile(QStringLiteral("Allgemein.log"), false);
    else
        showLogFile(QStringLiteral("AutoTest_") + entry->text() + QStringLiteral(".log"), true);
}

void LogbookPage::print()
{
    const QPointer<QPushButton> button = m_print;
    button->setEnabled(false);
    printLog(viewText(), window());
    if (button)
        button->setEnabled(true);
}
