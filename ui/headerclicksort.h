#pragma once
// The sorting of a list whose header has one direction for the whole list: every
// click on a column flips it, whichever column was clicked before, and the
// first click sorts descending. Every column sorts as text. The list keeps the
// chosen order when its owner calls resort() after adding or refilling rows.
#include <QObject>

class QTreeWidget;

class HeaderClickSort : public QObject
{
public:
    // Attaches to the list's header; lives as long as the list.
    explicit HeaderClickSort(QTreeWidget *list);

    // Sorts again by the last clicked column; nothing before the first click.
    void resort() const;

private:
    void sortBy(int column);

    QTreeWidget *m_list;
    int m_column = -1;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};
