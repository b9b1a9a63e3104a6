#include "OvVcl.ListView.h"

#include <QAbstractTableModel>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOption>
#include <QStyledItemDelegate>

#include <algorithm>
#include <climits>
#include <utility>

#include "Components.DpiScale.h"
#include "Components.SearchHighlight.h"

namespace {

// Cell text rectangle inside a cell: shrunk by 6 pixels on the left and the
// right, its left edge 2 more to the right. Marks cover the line the text is
// drawn on.
constexpr int cCellTextMargin = 6;
constexpr int cCellTextIndent = 2;
// Added to the widest text when a divider double-click sizes a column.
constexpr int cAutosizeExtra = 16;

QColor Blend(const QColor& over, const QColor& under, qreal amount)
{
    return QColor::fromRgbF(float(over.redF() * amount + under.redF() * (1 - amount)),
                            float(over.greenF() * amount + under.greenF() * (1 - amount)),
                            float(over.blueF() * amount + under.blueF() * (1 - amount)));
}

// Selected rows as [first, last] runs in ascending order, without overlaps.
QList<std::pair<int, int>> SelectedRuns(const QItemSelectionModel* selection)
{
    QList<std::pair<int, int>> runs;
    if (!selection)
        return runs;
    for (const QItemSelectionRange& range : selection->selection())
        runs.append({range.top(), range.bottom()});
    std::sort(runs.begin(), runs.end());
    QList<std::pair<int, int>> merged;
    for (const auto& run : runs) {
        if (!merged.isEmpty() && run.first <= merged.last().second + 1)
            merged.last().second = std::max(merged.last().second, run.second);
        else
            merged.append(run);
    }
    return merged;
}

} // namespace

// The rows as Qt's views see them: a table that asks the control's owner for
// a row's texts only when a row is painted or read.
class TOvListModel : public QAbstractTableModel
{
public:
    explicit TOvListModel(TOvListView* view) : QAbstractTableModel(view), FView(view) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : FView->FItems.Count();
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : FColumnCount;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
            return {};
        const TOvListItem* item = FView->FillItem(index.row());
        return item ? item->String(index.column()) : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        const TOvListColumn* column = FView->FColumns->Item(section);
        if (orientation != Qt::Horizontal || !column)
            return {};
        if (role == Qt::DisplayRole)
            return column->Caption();
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(column->Alignment() | Qt::AlignVCenter);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
                                     Qt::ItemNeverHasChildren
                               : Qt::NoItemFlags;
    }

    void SetRowCount(int count, int& storedCount)
    {
        beginResetModel();
        storedCount = count;
        endResetModel();
    }
    void SyncColumnCount()
    {
        const int count = FView->FColumns->Count();
        if (count == FColumnCount)
            return;
        beginResetModel();
        FColumnCount = count;
        endResetModel();
    }
    void HeaderChanged(int first, int last)
    {
        if (first <= last)
            Q_EMIT headerDataChanged(Qt::Horizontal, first, last);
    }

private:
    TOvListView* FView;
    int FColumnCount = 0;
};

// The header: arrows from the column model (up for ascending), the columns
// menu on a right-click.
class TOvListHeader : public QHeaderView
{
public:
    explicit TOvListHeader(TOvListView* view) : QHeaderView(Qt::Horizontal, view), FView(view) {}

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        const TOvListColumn* column = FView->Columns().Item(logicalIndex);
        option->sortIndicator = QStyleOptionHeader::None;
        if (column && column->Sorted())
            option->sortIndicator = column->SortDirection() == TSortDirection::sdAscending
                                        ? QStyleOptionHeader::SortUp
                                        : QStyleOptionHeader::SortDown;
    }

private:
    TOvListView* FView;
};

// Every row is as high as the control's RowHeight.
class TOvRowHeightDelegate : public QStyledItemDelegate
{
public:
    explicit TOvRowHeightDelegate(TOvListView* view) : QStyledItemDelegate(view), FView(view) {}
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(0, FView->RowHeight());
    }

private:
    TOvListView* FView;
};

// ---------------------------------------------------------------------------

void TOvListItem::Reset(int index)
{
    FIndex = index;
    FStrings.clear();
    FData = nullptr;
}

bool TOvListItem::Selected() const
{
    return FOwnerListView->IsItemSelected(FIndex);
}

void TOvListItem::SetSelected(bool value)
{
    FOwnerListView->SetItemSelected(FIndex, value);
}

bool TOvListItem::Focused() const
{
    return FOwnerListView->FocusedIndex() == FIndex;
}

void TOvListItem::SetFocused(bool value)
{
    FOwnerListView->SetItemFocused(value ? FIndex : -1);
}

void TOvListItems::SetCount(int value)
{
    FOwner->ResetRows(std::max(value, 0));
}

TOvListItem* TOvListItems::Item(int index) const
{
    return FOwner->FillItem(index);
}

// ---------------------------------------------------------------------------

TOvListView::TOvListView(QWidget* parent)
    : QTreeView(parent), FColumns(new TOvListColumns(this, this)), FModel(new TOvListModel(this)),
      FHeader(new TOvListHeader(this)), FItems(this), FOwnerDataItem(new TOvListItem(this)),
      FDefaultHeaderMenu(new QMenu(this))
{
    FDefaultHeaderMenu->setObjectName(QStringLiteral("FDefaultHeaderMenu"));
    setHeader(FHeader);
    setModel(FModel);
    setItemDelegate(new TOvRowHeightDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    FHeader->setStretchLastSection(false);
    FHeader->setSectionsMovable(true);
    FHeader->setSectionsClickable(true);
    FHeader->setSortIndicatorShown(true);
    FHeader->setFirstSectionMovable(true);
    FHeader->setContextMenuPolicy(Qt::CustomContextMenu);
    // The control sizes a column on a divider double-click by its own rule.
    disconnect(FHeader, SIGNAL(sectionHandleDoubleClicked(int)), this,
               SLOT(resizeColumnToContents(int)));
    connect(FHeader, &QHeaderView::sectionClicked, this, &TOvListView::HeaderClicked);
    connect(FHeader, &QHeaderView::sectionMoved, this, [this](int logicalIndex, int, int) {
        if (!FReCreatingColumns) {
            FDraggedColumnIndex = logicalIndex;
            HeaderMoved();
        }
    });
    connect(FHeader, &QHeaderView::sectionResized, this,
            [this](int logicalIndex, int, int newSize) { HeaderResized(logicalIndex, newSize); });
    connect(FHeader, &QHeaderView::sectionHandleDoubleClicked, this,
            &TOvListView::HeaderDividerDoubleClicked);
    connect(FHeader, &QWidget::customContextMenuRequested, this, &TOvListView::ShowHeaderMenu);
}

TOvListView::~TOvListView()
{
    // Views of the model may still ask for rows while Qt takes them apart.
    OnData = nullptr;
    OnCustomItemFontStyle = nullptr;
    delete FOwnerDataItem;
}

void TOvListView::SetRowHeight(int value)
{
    if (value == FRowHeight || value <= 0)
        return;
    FRowHeight = value;
    scheduleDelayedItemsLayout();
}

void TOvListView::SetHighlightText(const QString& value)
{
    if (value == FHighlightText)
        return;
    FHighlightText = value;
    viewport()->update();
}

void TOvListView::SetHighlightColor(const QColor& value)
{
    FHighlightColor = value;
    viewport()->update();
}

// ----- rows ----------------------------------------------------------------

TOvListItem* TOvListView::FillItem(int index) const
{
    if (index < 0 || index >= FItems.Count())
        return nullptr;
    FOwnerDataItem->Reset(index);
    if (OnData)
        OnData(const_cast<TOvListView*>(this), FOwnerDataItem);
    return FOwnerDataItem;
}

void TOvListView::ResetRows(int count)
{
    FModel->SetRowCount(count, FItems.FCount);
    // Laid out at once: a layout left for later passes through an empty
    // scroll range, which would take the scroll position to the top.
    doItemsLayout();
    if (FLastHoverItemIndex >= count)
        FLastHoverItemIndex = -1;
    viewport()->update();
}

QModelIndex TOvListView::RowIndex(int row) const
{
    return FModel->index(row, 0);
}

TOvListItem* TOvListView::Selected() const
{
    const QList<std::pair<int, int>> runs = SelectedRuns(selectionModel());
    return runs.isEmpty() ? nullptr : FillItem(runs.first().first);
}

QList<int> TOvListView::GetSelectedItemIndices() const
{
    QList<int> indices;
    for (const auto& [first, last] : SelectedRuns(selectionModel()))
        for (int row = first; row <= last; ++row)
            indices.append(row);
    return indices;
}

int TOvListView::GetSelectedCount() const
{
    int count = 0;
    for (const auto& [first, last] : SelectedRuns(selectionModel()))
        count += last - first + 1;
    return count;
}

bool TOvListView::IsItemSelected(int index) const
{
    return selectionModel()->isRowSelected(index, QModelIndex());
}

int TOvListView::FocusedIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

int TOvListView::GetItemIndexAt(const QPoint& point) const
{
    // Rows span the whole width: the row at the point's height, whatever
    // column lies under it.
    const TOvListColumn* column = GetVisibleColumns(0);
    if (!column)
        return -1;
    const QModelIndex index =
        indexAt(QPoint(FHeader->sectionViewportPosition(column->Index()), point.y()));
    return index.isValid() ? index.row() : -1;
}

TOvListColumn* TOvListView::GetColumnAt(const QPoint& point) const
{
    if (FHeader->isHidden())
        return nullptr;
    int right = -horizontalOffset();
    for (int k = 0; TOvListColumn* column = GetVisibleColumns(k); ++k) {
        right += FHeader->sectionSize(column->Index());
        if (right > point.x())
            return column;
    }
    return nullptr;
}

void TOvListView::SelectAll()
{
    selectAll();
}

void TOvListView::ClearSelection()
{
    clearSelection();
}

void TOvListView::SelectItems(const QList<int>& indices)
{
    QItemSelection selection;
    const int lastColumn = std::max(FModel->columnCount() - 1, 0);
    for (qsizetype i = 0; i < indices.size();) {
        qsizetype j = i;
        while (j + 1 < indices.size() && indices.at(j + 1) == indices.at(j) + 1)
            ++j;
        if (indices.at(i) >= 0 && indices.at(j) < FItems.Count())
            selection.append(QItemSelectionRange(FModel->index(indices.at(i), 0),
                                                 FModel->index(indices.at(j), lastColumn)));
        i = j + 1;
    }
    selectionModel()->select(selection,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TOvListView::SetItemSelected(int index, bool selected)
{
    if (index < 0 || index >= FItems.Count())
        return;
    selectionModel()->select(
        RowIndex(index), (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                             QItemSelectionModel::Rows);
}

void TOvListView::SetItemFocused(int index)
{
    selectionModel()->setCurrentIndex(RowIndex(index), QItemSelectionModel::NoUpdate);
}

void TOvListView::ScrollIntoView(int index)
{
    if (index < 0 || index >= FItems.Count())
        return;
    // Only vertically: the columns stay where the user scrolled them.
    const int horizontal = horizontalScrollBar()->value();
    scrollTo(RowIndex(index), QAbstractItemView::EnsureVisible);
    horizontalScrollBar()->setValue(horizontal);
}

void TOvListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTreeView::selectionChanged(selected, deselected);
    int changedRows = 0;
    int first = INT_MAX;
    int last = -1;
    for (const QItemSelection* part : {&selected, &deselected}) {
        for (const QItemSelectionRange& range : *part) {
            changedRows += range.height();
            first = std::min(first, range.top());
            last = std::max(last, range.bottom());
        }
    }
    if (changedRows == 1) {
        if (OnSelectItem)
            OnSelectItem(this, FillItem(first), IsItemSelected(first));
    } else if (changedRows > 1 && OnDataStateChange) {
        OnDataStateChange(this, first, last);
    }
}

// ----- columns -------------------------------------------------------------

void TOvListView::ReCreateColumns()
{
    if (FColumns->Updating())
        return;
    {
        QScopedValueRollback<bool> guard(FReCreatingColumns, true);
        FModel->SyncColumnCount();
        FModel->HeaderChanged(0, FColumns->Count() - 1);
        FColumns->EnsureOneSorted(FAllowNoSort);
        const QList<TOvListColumn*> ordered = FColumns->ByDisplayOrder();
        for (int position = 0; position < ordered.size(); ++position)
            FHeader->moveSection(FHeader->visualIndex(ordered.at(position)->Index()), position);
        for (const TOvListColumn* column : FColumns->Items()) {
            FHeader->setSectionHidden(column->Index(), !column->Visible());
            if (column->Visible())
                FHeader->resizeSection(column->Index(), column->Width());
        }
    }
    if (TOvListColumn* sorted = FColumns->SortedColumn())
        ApplyColumnSort(sorted);
    else
        SetHeaderArrows();
    viewport()->update();
}

void TOvListView::ReCreateColumnsAsync()
{
    if (FReCreateColumnsPosted)
        return;
    FReCreateColumnsPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            FReCreateColumnsPosted = false;
            ReCreateColumns();
        },
        Qt::QueuedConnection);
}

void TOvListView::SetColumnOrder(TOvListColumn* column, int newOrder)
{
    FColumns->SetColumnOrder(column, newOrder);
}

void TOvListView::SetOriginalColumnOrder()
{
    FColumns->SetOriginalColumnOrder();
}

void TOvListView::SetColumnSorted(TOvListColumn* column, bool sorted, TSortDirection direction)
{
    FColumns->SetColumnSorted(column, sorted, direction);
}

void TOvListView::SetColumnWidth(TOvListColumn* column, int width)
{
    column->SetWidth(width);
}

void TOvListView::ApplyColumnSort(TOvListColumn* column)
{
    SetHeaderArrows();
    if (OnColumnSorted)
        OnColumnSorted(this, column);
    const QList<std::pair<int, int>> runs = SelectedRuns(selectionModel());
    if (!runs.isEmpty())
        ScrollIntoView(runs.first().first);
}

void TOvListView::UpdateColumn(TOvListColumn* column)
{
    {
        QScopedValueRollback<bool> guard(FReCreatingColumns, true);
        FModel->HeaderChanged(column->Index(), column->Index());
        if (column->Visible() && FHeader->sectionSize(column->Index()) != column->Width())
            FHeader->resizeSection(column->Index(), column->Width());
    }
    viewport()->update();
}

void TOvListView::SetHeaderArrows()
{
    const TOvListColumn* sorted = FColumns->SortedColumn();
    // The header keeps room for the arrow of the sorted column; which arrow
    // it draws comes from the column (TOvListHeader).
    FHeader->setSortIndicator(sorted ? sorted->Index() : -1, Qt::AscendingOrder);
    FHeader->viewport()->update();
}

void TOvListView::HeaderClicked(int logicalIndex)
{
    TOvListColumn* column = FColumns->Item(logicalIndex);
    if (!column)
        return;
    if (column->CanSort())
        FColumns->ToggleSort(column, FAllowNoSort);
    else
        SetHeaderArrows();
    if (OnColumnClick)
        OnColumnClick(this, column);
}

void TOvListView::HeaderMoved()
{
    QList<TOvListColumn*> visibleInDisplayOrder;
    for (int visual = 0; visual < FHeader->count(); ++visual) {
        const int logical = FHeader->logicalIndex(visual);
        if (!FHeader->isSectionHidden(logical))
            visibleInDisplayOrder.append(FColumns->Item(logical));
    }
    FColumns->TakeVisibleOrder(visibleInDisplayOrder);
    if (OnColumnDragged)
        OnColumnDragged(this, FColumns->Item(FDraggedColumnIndex));
    ReCreateColumnsAsync();
}

void TOvListView::HeaderResized(int logicalIndex, int newSize)
{
    TOvListColumn* column = FColumns->Item(logicalIndex);
    if (FReCreatingColumns || !column || FHeader->isSectionHidden(logicalIndex))
        return;
    const int before = column->Width();
    column->SetWidth(newSize);
    if (column->Width() != before && OnColumnResized)
        OnColumnResized(this, column);
}

void TOvListView::HeaderDividerDoubleClicked(int logicalIndex)
{
    TOvListColumn* column = FColumns->Item(logicalIndex);
    if (!column)
        return;
    bool handled = false;
    if (OnColumnAutosized)
        OnColumnAutosized(this, column, handled);
    if (!handled)
        AutosizeColumn(column);
    SetHeaderArrows();
}

void TOvListView::AutosizeColumn(TOvListColumn* column)
{
    // Never wider than the rows' area (a note may be a whole book).
    const int limit = std::max(viewport()->width(), 1);
    int widest = FHeader->fontMetrics().horizontalAdvance(column->Caption());
    const QFontMetrics metrics(font());
    for (int row = 0; row < FItems.Count() && widest < limit; ++row) {
        const TOvListItem* item = FillItem(row);
        const QString text = item->String(column->Index());
        if (!text.trimmed().isEmpty())
            widest = std::max(widest, metrics.horizontalAdvance(ElideText(
                                          metrics, text, limit, TEllipsisStyle::esEndEllipsis)));
    }
    SetColumnWidth(column, std::min(widest, limit) + ScaleByDpi(this, cAutosizeExtra));
}

void TOvListView::ShowHeaderMenu(const QPoint& pos)
{
    const QPoint global = FHeader->viewport()->mapToGlobal(pos);
    if (FHeaderPopupMenu) {
        FHeaderPopupMenu->popup(global);
        return;
    }
    if (!FShowColumnsMenu)
        return;
    FDefaultHeaderMenu->clear();
    for (const TOvListColumn* column : FColumns->Items()) {
        QAction* action = FDefaultHeaderMenu->addAction(column->Caption());
        action->setCheckable(true);
        action->setChecked(column->Visible());
        action->setEnabled(column->CanHide());
        connect(action, &QAction::toggled, this, [this, index = column->Index()](bool checked) {
            TOvListColumn* chosen = FColumns->Item(index);
            if (!chosen)
                return;
            chosen->SetVisible(checked);
            if (OnColumnShow)
                OnColumnShow(this, chosen);
        });
    }
    FDefaultHeaderMenu->popup(global);
}

// ----- painting ------------------------------------------------------------

void TOvListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    const int row = index.row();
    TOvListItem* item = FillItem(row);
    if (!item)
        return;
    const QRect rowRect(-horizontalOffset(), option.rect.top(), FHeader->length(),
                        option.rect.height());
    PaintRowBackground(painter, rowRect, row);
    painter->setLayoutDirection(Qt::LeftToRight);
    for (int k = 0; TOvListColumn* column = GetVisibleColumns(k); ++k) {
        const QRect cell(FHeader->sectionViewportPosition(column->Index()), option.rect.top(),
                         FHeader->sectionSize(column->Index()), option.rect.height());
        if (cell.right() >= 0 && cell.left() < viewport()->width())
            PaintCell(painter, item, column, cell);
    }
    if (hasFocus() && currentIndex().row() == row) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rowRect.adjusted(0, 0, -1, -1);
        focus.backgroundColor = palette().color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
}

void TOvListView::PaintRowBackground(QPainter* painter, const QRect& rect, int row) const
{
    const QPalette& colors = palette();
    const QColor base = colors.color(QPalette::Base);
    painter->fillRect(rect, base);
    // A light fill under the owner's text colours, as themed lists have it:
    // stronger while the control has the focus, grey without it.
    QColor fill;
    if (IsItemSelected(row))
        fill = hasFocus() ? Blend(colors.color(QPalette::Active, QPalette::Highlight), base, 0.3)
                          : Blend(colors.color(QPalette::Mid), base, 0.5);
    else if (row == FLastHoverItemIndex)
        fill = Blend(colors.color(QPalette::Active, QPalette::Highlight), base, 0.1);
    if (fill.isValid())
        painter->fillRect(rect, fill);
}

TOvItemFontStyle TOvListView::CellStyle(TOvListItem* item, TOvListColumn* column) const
{
    TOvItemFontStyle style;
    style.BackColor = palette().color(QPalette::Base);
    style.TextColor = palette().color(QPalette::Text);
    if (OnCustomItemFontStyle) {
        const int row = item->Index();
        OnCustomItemFontStyle(const_cast<TOvListView*>(this), item, column, style);
        // The handler may have read other rows through the one item.
        if (item->Index() != row)
            FillItem(row);
    }
    return style;
}

void TOvListView::PaintCell(QPainter* painter, TOvListItem* item, TOvListColumn* column,
                            const QRect& cell) const
{
    const TOvItemFontStyle style = CellStyle(item, column);
    QFont cellFont = font();
    cellFont.setBold(style.Bold);
    cellFont.setItalic(style.Italic);
    cellFont.setUnderline(style.Underline);
    cellFont.setStrikeOut(style.StrikeOut);

    const int margin = ScaleByDpi(this, cCellTextMargin);
    const QRect textRect = cell.adjusted(margin + ScaleByDpi(this, cCellTextIndent), 0, -margin, 0);
    if (textRect.width() <= 0)
        return;
    const QFontMetrics metrics(cellFont);
    const QString shown = ElideText(metrics, item->String(column->Index()), textRect.width(),
                                    column->EllipsisStyle());
    if (shown.isEmpty())
        return;
    // The line the text is drawn on, as far as the text reaches.
    const int lineHeight = metrics.height();
    const QRect line(textRect.left(), textRect.top() + (textRect.height() - lineHeight) / 2,
                     std::min(metrics.horizontalAdvance(shown), textRect.width()), lineHeight);
    if (!style.Transparent)
        painter->fillRect(line, style.BackColor);
    if (!FHighlightText.isEmpty())
        PaintHighlight(painter, cellFont, shown, column->PartialTextHighlight(),
                       QRect(textRect.left(), line.top(), textRect.width(), lineHeight), line);
    painter->setFont(cellFont);
    painter->setPen(style.TextColor);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void TOvListView::PaintHighlight(QPainter* painter, const QFont& font, const QString& shown,
                                 bool partial, const QRect& textLine, const QRect& textExtent) const
{
    const QList<QRect> marks = TSearchHighlights::GetRects(font, shown, FHighlightText, textLine);
    if (marks.isEmpty())
        return;
    if (!partial) {
        painter->fillRect(textExtent, FHighlightColor);
        return;
    }
    for (const QRect& mark : marks)
        if (mark.left() <= textLine.right())
            painter->fillRect(mark.intersected(textLine), FHighlightColor);
}

// ----- input ---------------------------------------------------------------

void TOvListView::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown && OnKeyDown(this, event)) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TOvListView::keyboardSearch(const QString&)
{
    // No type-ahead: it would ask every row for its texts.
}

void TOvListView::SetHover(int itemIndex, TOvListColumn* column, Qt::KeyboardModifiers modifiers)
{
    const int columnIndex = column ? column->Index() : -1;
    if (itemIndex == FLastHoverItemIndex && columnIndex == FLastHoverColumnIndex)
        return;
    const int oldItemIndex = FLastHoverItemIndex;
    TOvListColumn* oldColumn = FColumns->Item(FLastHoverColumnIndex);
    FLastHoverItemIndex = itemIndex;
    FLastHoverColumnIndex = columnIndex;
    if ((oldItemIndex >= 0 || oldColumn) && OnCellMouseExit)
        OnCellMouseExit(this, oldItemIndex, oldColumn, modifiers);
    if ((itemIndex >= 0 || column) && OnCellMouseEnter)
        OnCellMouseEnter(this, itemIndex, column, modifiers);
    if (oldItemIndex != itemIndex)
        for (int row : {oldItemIndex, itemIndex}) {
            const QRect rect = visualRect(RowIndex(row));
            viewport()->update(0, rect.top(), viewport()->width(), rect.height());
        }
}

void TOvListView::mouseMoveEvent(QMouseEvent* event)
{
    QTreeView::mouseMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    SetHover(GetItemIndexAt(pos), GetColumnAt(pos), event->modifiers());
}

void TOvListView::leaveEvent(QEvent* event)
{
    QTreeView::leaveEvent(event);
    SetHover(-1, nullptr, Qt::NoModifier);
}

void TOvListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (!OnDblClick || event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    TOvListColumn* column = GetColumnAt(pos);
    OnDblClick(this, FillItem(GetItemIndexAt(pos)), column);
}

void TOvListView::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    viewport()->update();
    if (OnEnter)
        OnEnter(this);
}

void TOvListView::focusOutEvent(QFocusEvent* event)
{
    QTreeView::focusOutEvent(event);
    viewport()->update();
}

void TOvListView::contextMenuEvent(QContextMenuEvent* event)
{
    if (FPopupMenu)
        FPopupMenu->popup(event->globalPos());
}

void TOvListView::scrollContentsBy(int dx, int dy)
{
    QTreeView::scrollContentsBy(dx, dy);
    if (dx != 0)
        viewport()->update();
}

// ----- drag and drop -------------------------------------------------------

void TOvListView::startDrag(Qt::DropActions)
{
    if (OnStartDrag)
        OnStartDrag(this);
}

void TOvListView::dragEnterEvent(QDragEnterEvent* event)
{
    event->ignore();
    if (OnDragOver)
        OnDragOver(this, event);
}

void TOvListView::dragMoveEvent(QDragMoveEvent* event)
{
    // Scrolls near the edges; it refuses what the model cannot take.
    QTreeView::dragMoveEvent(event);
    event->ignore();
    if (OnDragOver)
        OnDragOver(this, event);
}

void TOvListView::dropEvent(QDropEvent* event)
{
    event->ignore();
    if (OnDragDrop)
        OnDragDrop(this, event);
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
}
