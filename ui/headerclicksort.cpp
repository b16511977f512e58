#include "ui/headerclicksort.h"

#include <QHeaderView>
#include <QTreeWidget>

HeaderClickSort::HeaderClickSort(QTreeWidget *list) : QObject(list), m_list(list)
{
    list->header()->setSectionsClickable(true);
    connect(list->header(), &QHeaderView::sectionClicked, this, &HeaderClickSort::sortBy);
}

void HeaderClickSort::resort() const
{
    if (m_column >= 0)
        m_list->sortItems(m_column, m_order);
}

void HeaderClickSort::sortBy(int column)
{
    m_column = column;
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_list->sortItems(column, m_order);
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setSortIndicator(column, m_order);
}
