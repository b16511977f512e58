#pragma once
// The logbook page: the list of logs, the chosen log in its colours, and the
// button that prints it.
#include "core/stationview.h"

#include <QWidget>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

class LogbookPage : public QWidget
{
    Q_OBJECT
public:
    explicit LogbookPage(QWidget *parent = nullptr);

    void showLogList(const QStringList &entries);
    void showLogText(const QList<LogViewLine> &lines);
    // Every line of the view, each ended by CR LF, as the print cuts them.
    QString viewText() const;

private:
    void showChosenLog();
    void print();

    QListWidget *m_list;
    QPlainTextEdit *m_view;
    QPushButton *m_print;
};
