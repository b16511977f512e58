#pragma once
// The logbook page: the list of logs, the chosen log in its colours, and the
// button that prints it.
#include "core/station/stationview.h"

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showChosenLog();
    void print();
    void updatePrintButton();

    QListWidget *m_list;
    QPlainTextEdit *m_view;
    QPushButton *m_print;
    quint64 m_shown = 0;      // counts every log shown and every list filled
    bool m_filling = false;
    bool m_printing = false;
    bool m_chosenByPress = false;   // chosen since the latest press: its click shows nothing new
};
