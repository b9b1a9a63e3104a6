#pragma once
// TListViewPresenter<T>: the rows of a virtual TOvListView. It keeps the
// items the rows show (filtered from a source and sorted by the list's sorted
// column) and fills the control's reusable item when a row is painted.
//
// A derived class supplies the source (GetSourceCount, GetSourceItem), the
// filter (FilterItem), the columns (GetColumnCount, InitColumn), the cell
// texts (GetItemText) and the sort: sorting by a column compares the texts of
// the fields GetSortFields names, one after the other, with the locale-aware
// case-sensitive collation of the user's locale; a descending column reverses
// the whole order. Null items (T compared with nullptr) are never shown.
// Items are told apart with == and std::hash<T> (shared pointers: by object).
//
// Reload keeps the selection: rows whose items were selected before are
// selected after it when their items are still shown (same items, compared
// with ==). Focus and scroll position are left as the control has them.
//
// The presenter hands its rows to the control (OnData) and re-sorts when the
// sort changes (OnColumnSorted); an owner that sets these events itself calls
// FillItem and Reload from them.

#include <QList>
#include <QPointer>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <type_traits>
#include <unordered_set>
#include <vector>

#include "Components.SortKeyCache.h"
#include "OvVcl.ListView.h"

namespace ListViewPresenterDetail {

template <typename T>
concept Nullable = requires(const T& item)
{
    item == nullptr;
};

// How a remembered selection holds an item: shared objects weakly, so a
// deleted object is really destroyed.
template <typename T> struct TItemRef
{
    using Type = T;
    static Type From(const T& item) { return item; }
    static bool To(const Type& ref, T& item)
    {
        item = ref;
        return true;
    }
};

template <typename U> struct TItemRef<std::shared_ptr<U>>
{
    using Type = std::weak_ptr<U>;
    static Type From(const std::shared_ptr<U>& item) { return item; }
    static bool To(const Type& ref, std::shared_ptr<U>& item)
    {
        item = ref.lock();
        return item != nullptr;
    }
};

} // namespace ListViewPresenterDetail

template <typename T> class TListViewPresenter
{
public:
    explicit TListViewPresenter(TOvListView* AListView) : FListView(AListView)
    {
        FListView->OnData = [this](TOvListView*, TOvListItem* item) {
            FillItem(item);
        };
        FListView->OnColumnSorted = [this](TOvListView*, TOvListColumn*) {
            Reload();
        };
    }
    virtual ~TListViewPresenter()
    {
        if (FListView) {
            FListView->OnData = nullptr;
            FListView->OnColumnSorted = nullptr;
        }
    }
    TListViewPresenter(const TListViewPresenter&) = delete;
    TListViewPresenter& operator=(const TListViewPresenter&) = delete;

    TOvListView* ListView() const { return FListView; }

    // Replaces the control's columns by GetColumnCount fresh ones (InitColumn).
    void InitColumns()
    {
        TOvListColumns& columns = FListView->Columns();
        columns.BeginUpdate();
        columns.Clear();
        for (int i = 0; i < GetColumnCount(); ++i)
            InitColumn(columns.Add());
        columns.EndUpdate();
    }

    // Filters the source, sorts, hands the rows to the control and restores
    // the selection.
    virtual void Reload()
    {
        const QList<T> selected = GetSelectedItems();
        BeforeReload();
        FFilteredItems.clear();
        const int count = GetSourceCount();
        FFilteredItems.reserve(count);
        for (int i = 0; i < count; ++i) {
            T item = GetSourceItem(i);
            if (!IsNull(item) && FilterItem(item))
                FFilteredItems.append(std::move(item));
        }
        SortItems();
        FListView->Items().SetCount(int(FFilteredItems.size()));
        FListView->SelectItems(RowsOf(selected));
        AfterReload();
    }

    // The control's OnData: the row's data pointer and one text per column,
    // hidden columns included.
    void FillItem(TOvListItem* AItem)
    {
        const int index = AItem->Index();
        if (index < 0 || index >= FFilteredItems.size() || FListView->Columns().VisibleCount() == 0)
            return;
        const T& item = FFilteredItems.at(index);
        AItem->SetData(GetItemDataPointer(item));
        QStringList& strings = AItem->Strings();
        strings.clear();
        for (int column = 0; column < FListView->Columns().Count(); ++column)
            strings.append(GetItemText(item, column));
    }

    int GetFilteredItemsCount() const { return int(FFilteredItems.size()); }
    T GetFilteredItem(int index) const { return FFilteredItems.value(index); }
    T GetModelItem(int index) const { return GetFilteredItem(index); }

    // The item of the first selected row; a default T (null) when none.
    T GetSelectedItem() const { return GetFilteredItem(FirstSelectedRow()); }
    // Items of all selected rows in row order; empty when nothing is selected.
    QList<T> GetSelectedItems() const
    {
        QList<T> items;
        for (int row : FListView->GetSelectedItemIndices())
            if (row < FFilteredItems.size())
                items.append(FFilteredItems.at(row));
        return items;
    }
    // Selects exactly the rows that show these items and scrolls the first
    // into view; with focusFirst it also gets the keyboard focus rectangle.
    void SelectItems(const QList<T>& items, bool focusFirst)
    {
        const QList<int> rows = RowsOf(items);
        FListView->SelectItems(rows);
        if (rows.isEmpty())
            return;
        if (focusFirst)
            FListView->SetItemFocused(rows.first());
        FListView->ScrollIntoView(rows.first());
    }

    // The last non-empty selection made while `filtered` held (a search was
    // active). An empty selection leaves it as it is.
    void RememberFilteredSelection(bool filtered)
    {
        if (!filtered)
            return;
        const QList<T> selected = GetSelectedItems();
        if (selected.isEmpty())
            return;
        FSelectedFilteredItems.clear();
        for (const T& item : selected)
            FSelectedFilteredItems.append(TRef::From(item));
    }
    // The remembered items that still exist; empty when none is remembered.
    QList<T> GetSelectedFilteredItems() const
    {
        QList<T> items;
        for (const auto& ref : FSelectedFilteredItems) {
            T item;
            if (TRef::To(ref, item))
                items.append(item);
        }
        return items;
    }
    void ClearSelectedFilteredItems() { FSelectedFilteredItems.clear(); }

    // Compares two items as sorting by column orders them: < 0, 0 or > 0.
    int CompareItems(int column, const T& left, const T& right) const
    {
        const TOvListColumn* sortColumn = FListView->Columns().Item(column);
        const bool descending =
            sortColumn && sortColumn->SortDirection() == TSortDirection::sdDescending;
        const QCollator collator = TSortKeyCache::NewCollator();
        for (int field : GetSortFields(column)) {
            const int result =
                collator.compare(GetSortText(left, field), GetSortText(right, field));
            if (result != 0)
                return descending ? -result : result;
        }
        return 0;
    }

protected:
    virtual int GetSourceCount() const = 0;
    virtual T GetSourceItem(int index) const = 0;
    virtual bool FilterItem(const T& item) const = 0;
    virtual int GetColumnCount() const = 0;
    // Column 0 sorted, every other column hideable, widths shared out.
    virtual void InitColumn(TOvListColumn* column)
    {
        column->SetSorted(column->Index() == 0);
        column->SetCanHide(column->Index() > 0);
        column->SetWidth(DefaultColumnWidth());
    }
    virtual void BeforeReload() {}
    virtual void AfterReload() {}
    virtual QString GetItemText(const T& item, int column) const = 0;
    // Stored in each row's item (TOvListItem::Data) when it is filled.
    virtual void* GetItemDataPointer(const T&) const { return nullptr; }
    // The fields compared when sorting by column, most significant first.
    virtual QList<int> GetSortFields(int column) const = 0;
    // The text a field is sorted by: the real value, never what the cell shows.
    virtual QString GetSortText(const T& item, int field) const = 0;

    // (client width - scroll bar width) / columns once the control is shown,
    // else 100 pixels.
    int DefaultColumnWidth() const
    {
        const int count = std::max(GetColumnCount(), 1);
        if (!FListView->isVisible())
            return 100;
        const int scrollBar =
            FListView->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FListView);
        return std::max(FListView->viewport()->width() - scrollBar, 0) / count;
    }

    QPointer<TOvListView> FListView; // not owned
    QList<T> FFilteredItems;

private:
    using TRef = ListViewPresenterDetail::TItemRef<T>;

    static bool IsNull(const T& item)
    {
        if constexpr (ListViewPresenterDetail::Nullable<T>)
            return item == nullptr;
        else
            return false;
    }

    int FirstSelectedRow() const
    {
        const TOvListItem* selected = FListView->Selected();
        return selected ? selected->Index() : -1;
    }

    // Rows showing any of these items, ascending; stops once every item has
    // been found (each item is shown once).
    QList<int> RowsOf(const QList<T>& items) const
    {
        QList<int> rows;
        if (items.isEmpty())
            return rows;
        const std::unordered_set<T> wanted(items.cbegin(), items.cend());
        for (int row = 0; row < FFilteredItems.size() && std::size_t(rows.size()) < wanted.size();
             ++row)
            if (wanted.count(FFilteredItems.at(row)))
                rows.append(row);
        return rows;
    }

    struct TSortRow
    {
        int Rank;
        qsizetype Item;
    };
    using TRun = std::pair<std::size_t, std::size_t>; // rows [first, second)

    // Field by field: the rows are ordered by the ranks of the first field's
    // texts; rows that tie are ordered by the next field, and so on. Only
    // tied rows have their later fields ranked. Each field keeps its own ranks.
    void SortItems()
    {
        // Ranks are of texts of the rows shown: none are kept for an empty list.
        if (FFilteredItems.isEmpty())
            FFieldRanks.clear();
        const TOvListColumn* column = FListView->Columns().SortedColumn();
        if (!column || FFilteredItems.size() < 2)
            return;
        const QList<int> fields = GetSortFields(column->Index());
        const bool descending = column->SortDirection() == TSortDirection::sdDescending;
        std::vector<TSortRow> rows(static_cast<std::size_t>(FFilteredItems.size()));
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i].Item = qsizetype(i);
        ++FSorts;
        std::vector<TRun> ties{{0, rows.size()}};
        for (qsizetype f = 0; f < fields.size() && !ties.empty(); ++f) {
            RankRows(rows, ties, fields.at(f));
            std::vector<TRun> next;
            for (const auto& [first, last] : ties) {
                std::sort(rows.begin() + first, rows.begin() + last,
                          [descending](const TSortRow& a, const TSortRow& b) {
                              return descending ? a.Rank > b.Rank : a.Rank < b.Rank;
                          });
                for (std::size_t i = first; i < last;) {
                    std::size_t j = i + 1;
                    while (j < last && rows[j].Rank == rows[i].Rank)
                        ++j;
                    if (j - i > 1)
                        next.push_back({i, j});
                    i = j;
                }
            }
            ties = std::move(next);
        }
        ForgetUnusedFields();
        QList<T> sorted;
        sorted.reserve(FFilteredItems.size());
        for (const TSortRow& row : rows)
            sorted.append(std::move(FFilteredItems[row.Item]));
        FFilteredItems = std::move(sorted);
    }

    void RankRows(std::vector<TSortRow>& rows, const std::vector<TRun>& runs, int field)
    {
        TFieldRanks& ranks = FFieldRanks[field];
        ranks.LastSort = FSorts;
        TSortKeyCache& keys = ranks.Keys;
        keys.BeginSort();
        std::vector<qsizetype> ids;
        for (const auto& [first, last] : runs)
            for (std::size_t i = first; i < last; ++i)
                ids.push_back(keys.Add(GetSortText(FFilteredItems.at(rows[i].Item), field)));
        keys.Update();
        std::size_t k = 0;
        for (const auto& [first, last] : runs)
            for (std::size_t i = first; i < last; ++i)
                rows[i].Rank = keys.Rank(ids[k++]);
        keys.EndSort();
    }

    // The ranks of a field no recent sort used go.
    void ForgetUnusedFields()
    {
        for (auto it = FFieldRanks.begin(); it != FFieldRanks.end();)
            it = it->second.LastSort + cKeptForSorts <= FSorts ? FFieldRanks.erase(it)
                                                               : std::next(it);
    }

    static constexpr quint64 cKeptForSorts = 8;

    struct TFieldRanks
    {
        TSortKeyCache Keys;
        quint64 LastSort = 0;
    };

    QList<typename TRef::Type> FSelectedFilteredItems;
    std::map<int, TFieldRanks> FFieldRanks;
    quint64 FSorts = 0;
};
