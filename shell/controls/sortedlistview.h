#pragma once

#include "shell/controls/listcompare.h"

#include <QTreeWidget>
#include <vector>

namespace riz {

// The report-style list of records: sorts by any column on a header click (ascending, then
// descending on the next click of the same column), reads one column as dates, and shows the
// whole row as a hover tip. Columns that only carry data get tag -1 and stay out of the tip.
class TSortedListView final : public QTreeWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSortedListView)

public:
    explicit TSortedListView(QWidget* parent = nullptr);

    int DateColumn() const { return m_dateColumn; }
    void SetDateColumn(int column);
    TDateColumnType DateColumnType() const { return m_dateColumnType; }
    void SetDateColumnType(TDateColumnType type);
    int SortColumn() const { return m_sortColumn; }
    void SetSortColumn(int column);
    bool SortOnColumnClick() const { return m_sortOnColumnClick; }
    void SetSortOnColumnClick(bool on);

    bool Descending() const { return m_descending; }
    int LastSortedColumn() const { return m_lastSortedColumn; }

    // Column tags: 0 shows the column in the hover tip, -1 marks a data column.
    void SetColumnTag(int column, int tag);
    int ColumnTag(int column) const;
    // A column that only carries data: hidden, tag -1.
    void SetDataColumn(int column);

    // Hover tips are off until a form switches them on.
    void SetShowInfoTips(bool on) { m_showInfoTips = on; }
    bool ShowInfoTips() const { return m_showInfoTips; }

    // Sorts ascending by the column; a header click on it then sorts descending.
    void SortByColumn(int column);
    // What a header click does.
    void ListViewColumnClick(int column);
    // The comparison of two rows under the current sort state; 0 while sorting is off.
    int ListViewCompare(const QTreeWidgetItem* item1, const QTreeWidgetItem* item2) const;
    // The hover tip of a row: "column: text" lines for every non-empty shown cell.
    QString ListViewInfoTip(const QTreeWidgetItem* item) const;

    // The sort text of a row: the caption for column 0, else that column's text.
    QString SortText(const QTreeWidgetItem* item) const;

protected:
    bool viewportEvent(QEvent* event) override;

private:
    void Sort();

    int m_dateColumn = -1;
    TDateColumnType m_dateColumnType = TDateColumnType::dctDate;
    int m_sortColumn = 0;
    bool m_sortOnColumnClick = true;
    bool m_descending = false;
    int m_lastSortedColumn = -1;
    bool m_showInfoTips = false;
    std::vector<int> m_tags;
};

} // namespace riz
