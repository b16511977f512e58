#include "ui/pages/logbookpage.h"

#include "core/logs/logbook.h"
#include "core/platform/waits.h"
#include "ui/logprint.h"
#include "ui/stationpictures.h"
#include "ui/widgetmakers.h"

#include <QEvent>
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
// About a quarter of a second of inserting in a debug build.
constexpr qsizetype kPieceLength = 1 << 20;

} // namespace

LogbookPage::LogbookPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("logbookPage"));
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("lstLogbuchListe"));
    m_list->setFixedWidth(150);
    m_view = new QPlainTextEdit;
    m_view->setObjectName(QStringLiteral("rtbLogText"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto *strip = new QWidget;
    strip->setObjectName(QStringLiteral("picLogElements"));
    m_print = namedButton(QStringLiteral("Drucken"), "cmdLogDrucken");
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

    // A log shows as soon as its entry is chosen, by mouse, keyboard or an
    // assistive tool; clicking the entry already chosen shows it afresh.
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        m_chosenByPress = true;
        showChosenLog();
    });
    connect(m_list, &QListWidget::itemClicked, this, [this] {
        if (!m_chosenByPress)
            showChosenLog();
    });
    connect(m_print, &QPushButton::clicked, this, &LogbookPage::print);
}

bool LogbookPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched == m_list->viewport())
        m_chosenByPress = false;
    return QWidget::eventFilter(watched, event);
}

void LogbookPage::showLogList(const QStringList &entries)
{
    ++m_shown;
    m_filling = false;
    updatePrintButton();
    m_list->clear();
    m_list->addItems(entries);
    m_view->clear();
}

void LogbookPage::showLogText(const QList<LogViewLine> &lines)
{
    const quint64 shown = ++m_shown;
    m_view->clear();
    m_filling = true;
    updatePrintButton();
    const QPointer<LogbookPage> alive(this);
    QTextCursor cursor(m_view->document());
    QTextCharFormat format;
    QString run;
    // Text goes in by runs of one colour (a line without a colour goes on in
    // the colour before it), a long run in pieces with the window's events
    // running between them, so a log of many megabytes never freezes the window.
    // Another log shown or the list filled meanwhile ends this one.
    const auto insertRun = [&] {
        cursor.insertText(run, format);
        run.clear();
        appWaits().pumpEvents();
        return alive && shown == m_shown;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const LogViewLine &line = lines[i];
        const bool recolor =
            line.hasColor && stationpictures::fromWinColor(line.color) != format.foreground().color();
        if ((recolor || run.size() >= kPieceLength) && !insertRun())
            return;
        if (recolor)
            format.setForeground(stationpictures::fromWinColor(line.color));
        if (i > 0)
            run += u'\n';
        run += line.text;
    }
    if (!insertRun())
        return;
    m_view->moveCursor(QTextCursor::Start);
    m_filling = false;
    updatePrintButton();
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
    // The selected entry, not the current one: an assistive tool selects
    // without moving the current row.
    const QList<QListWidgetItem *> chosen = m_list->selectedItems();
    if (chosen.isEmpty())
        return;
    const QListWidgetItem *entry = chosen.first();
    if (entry->text() == kGeneralEntry)
        showLogFile(QStringLiteral("Allgemein.log"), false);
    else
        showLogFile(QStringLiteral("AutoTest_") + entry->text() + QStringLiteral(".log"), true);
}

void LogbookPage::updatePrintButton() { m_print->setEnabled(!m_filling && !m_printing); }

void LogbookPage::print()
{
    if (m_printing)
        return;
    const QPointer<LogbookPage> alive(this);
    m_printing = true;
    updatePrintButton();
    printLog(viewText(), window());
    if (!alive)
        return;
    m_printing = false;
    updatePrintButton();
}
