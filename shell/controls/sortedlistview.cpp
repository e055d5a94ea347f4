#include "shell/controls/sortedlistview.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>

namespace riz {

TSortedListView::TSortedListView(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false); // the list sorts itself with its own comparison
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    // Grid lines between the cells, as the record lists have always shown them.
    setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid #d0d0d0; "
                                 "border-bottom: 1px solid #d0d0d0; }"));
    connect(header(), &QHeaderView::sectionClicked, this, &TSortedListView::ListViewColumnClick);
}

void TSortedListView::SetDateColumn(int column)
{
    if (column == m_dateColumn)
        return;
    m_dateColumn = column;
    viewport()->update();
}

void TSortedListView::SetDateColumnType(TDateColumnType type)
{
    if (type == m_dateColumnType)
        return;
    m_dateColumnType = type;
    viewport()->update();
}

void TSortedListView::SetSortColumn(int column)
{
    if (column == m_sortColumn)
        return;
    m_sortColumn = column;
    viewport()->update();
}

void TSortedListView::SetSortOnColumnClick(bool on)
{
    if (on == m_sortOnColumnClick)
        return;
    m_sortOnColumnClick = on;
    viewport()->update();
}

void TSortedListView::SetColumnTag(int column, int tag)
{
    if (column < 0)
        return;
    if (static_cast<size_t>(column) >= m_tags.size())
        m_tags.resize(static_cast<size_t>(column) + 1, 0);
    m_tags[static_cast<size_t>(column)] = tag;
}

int TSortedListView::ColumnTag(int column) const
{
    if (column < 0 || static_cast<size_t>(column) >= m_tags.size())
        return 0;
    return m_tags[static_cast<size_t>(column)];
}

void TSortedListView::SetDataColumn(int column)
{
    SetColumnTag(column, -1);
    setColumnHidden(column, true);
}

QString TSortedListView::SortText(const QTreeWidgetItem* item) const
{
    return item->text(m_sortColumn);
}

int TSortedListView::ListViewCompare(const QTreeWidgetItem* item1,
                                     const QTreeWidgetItem* item2) const
{
    if (!m_sortOnColumnClick)
        return 0;
    return ListViewCompareTexts(SortText(item1), SortText(item2), m_dateColumn == m_sortColumn,
                                m_dateColumnType, m_descending);
}

void TSortedListView::Sort()
{
    const int n = topLevelItemCount();
    if (n < 2)
        return;
    QTreeWidgetItem* current = currentItem();
    std::vector<QTreeWidgetItem*> items;
    items.reserve(static_cast<size_t>(n));
    for (int i = n - 1; i >= 0; --i)
        items.push_back(takeTopLevelItem(i));
    std::reverse(items.begin(), items.end());
    // The comparison calls two empty texts -1 both ways round; ordering needs a consistent
    // "less", so such a pair counts as equal and keeps its order.
    std::stable_sort(items.begin(), items.end(),
                     [this](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                         if (SortText(a).isEmpty() && SortText(b).isEmpty())
                             return false;
                         return ListViewCompare(a, b) < 0;
                     });
    QList<QTreeWidgetItem*> list(items.begin(), items.end());
    addTopLevelItems(list);
    if (current)
        setCurrentItem(current);
}

void TSortedListView::ListViewColumnClick(int column)
{
    if (!m_sortOnColumnClick)
        return;
    m_sortColumn = column;
    m_descending = column == m_lastSortedColumn && !m_descending;
    Sort();
    m_lastSortedColumn = m_sortColumn;
}

void TSortedListView::SortByColumn(int column)
{
    m_sortColumn = column;
    m_descending = false;
    Sort();
    m_lastSortedColumn = column;
}

QString TSortedListView::ListViewInfoTip(const QTreeWidgetItem* item) const
{
    QStringList lines;
    const QTreeWidgetItem* head = headerItem();
    for (int c = 0; c < columnCount(); ++c) {
        const QString text = item->text(c);
        if (!text.isEmpty() && ColumnTag(c) == 0)
            lines << head->text(c) + QStringLiteral(": ") + text;
    }
    return lines.join(QLatin1Char('\n'));
}

bool TSortedListView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && m_showInfoTips) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QTreeWidgetItem* item = itemAt(help->pos());
        const QString tip = item ? ListViewInfoTip(item) : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QTreeWidget::viewportEvent(event);
}

} // namespace riz
