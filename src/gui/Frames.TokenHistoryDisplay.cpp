#include "Frames.TokenHistoryDisplay.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextLayout>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

#include "Components.DpiScale.h"
#include "Components.URLOpenUtil.h"
#include "Lockwyn.Colors.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.SecretClipboard.h"
#include "Orvanta.Types.Url.h"

using namespace Lockwyn;

namespace {

constexpr int MarksRole = Qt::UserRole;
constexpr int ValueRole = Qt::UserRole + 1;
constexpr int CutTextRole = Qt::UserRole + 2;

constexpr int CaptionColumn = 0;
constexpr int SpacerColumn = 1;
constexpr int FirstValueColumn = 2;
constexpr int ArrowColumn = 3;
constexpr int SecondValueColumn = 4;
constexpr int HistoryColumns = 5;
constexpr int InitialStateColumns = 3;

constexpr int DefaultRowHeight = 20;
constexpr int CellPadding = 2;
constexpr int CaptionExtra = 4;
constexpr int SpacerWidth = 6;
constexpr int ArrowExtra = 6;
constexpr int MaxNoteLines = 5;
constexpr int WheelNotch = 120;

const QString Arrow = QString(QChar(0x2192));

// The longest date and time a caption column must take.
const QDateTime SampleDateTime(QDate(2000, 3, 25), QTime(20, 49, 55));

// The text cut after the fifth wrapped line, which ends in an ellipsis.
QString CutToLines(const QString& text, const QFont& font, int width, int lines)
{
    QString laidOut = text;
    laidOut.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(laidOut, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int kept = 0;
    for (int line = 0; line < lines; ++line) {
        QTextLine next = layout.createLine();
        if (!next.isValid())
            break;
        next.setLineWidth(width);
        kept = next.textStart() + next.textLength();
    }
    layout.endLayout();
    if (kept >= text.size())
        return text;
    const int lastStart = layout.lineAt(layout.lineCount() - 1).textStart();
    const QString last = text.mid(lastStart, kept - lastStart).trimmed() + QChar(0x2026);
    return text.left(lastStart) +
           QFontMetrics(font).elidedText(last, Qt::ElideRight, width, Qt::TextSingleLine);
}

} // namespace

// ---------------------------------------------------------------------------

namespace {

class THistoryGrid : public QTableWidget
{
public:
    explicit THistoryGrid(TfrTokenHistoryDisplay* display)
        : QTableWidget(display), FDisplay(display)
    {
        setMouseTracking(true);
    }

protected:
    // Only cells with a value can be selected; clicking elsewhere keeps the
    // selection as it is.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override
    {
        if (!FDisplay->IsSelectableCell(index))
            return QItemSelectionModel::NoUpdate;
        return QTableWidget::selectionCommand(index, event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier) {
            FDisplay->CopySelectedCell();
            event->accept();
            return;
        }
        // No other copy keys: the view's own copy would bypass the cleaner.
        if (event->matches(QKeySequence::Copy)) {
            event->accept();
            return;
        }
        QTableWidget::keyPressEvent(event);
    }

    // One row per notch, not a move of the selection.
    void wheelEvent(QWheelEvent* event) override
    {
        FWheel += event->angleDelta().y();
        const int rows = FWheel / WheelNotch;
        FWheel -= rows * WheelNotch;
        verticalScrollBar()->setValue(verticalScrollBar()->value() - rows);
        event->accept();
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        FDisplay->HoverAt(event->position().toPoint(), event->globalPosition().toPoint());
        QTableWidget::mouseMoveEvent(event);
    }

    bool viewportEvent(QEvent* event) override
    {
        // Hints are shown by the display, never the view's own tool tips.
        if (event->type() == QEvent::ToolTip)
            return true;
        return QTableWidget::viewportEvent(event);
    }

private:
    TfrTokenHistoryDisplay* FDisplay;
    int FWheel = 0;
};

class THistoryCellDelegate : public QStyledItemDelegate
{
public:
    explicit THistoryCellDelegate(TfrTokenHistoryDisplay* display)
        : QStyledItemDelegate(display), FDisplay(display)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
        const int marks = index.data(MarksRole).toInt();
        const bool header = index.siblingAtColumn(CaptionColumn).data(MarksRole).toInt() &
                            TfrTokenHistoryDisplay::cmEntryHeader;
        QFont font = option.font;
        font.setBold(header && index.column() == CaptionColumn);
        font.setItalic(header && index.column() == FirstValueColumn);
        const bool link = marks & TfrTokenHistoryDisplay::cmLink;
        font.setUnderline(link);
        painter->setFont(font);
        painter->setPen(selected ? palette.highlightedText().color()
                        : link   ? QColor::fromRgb(clUrlText)
                                 : palette.text().color());

        const QRect area = option.rect.adjusted(CellPadding, CellPadding, -CellPadding, 0);
        const Qt::Alignment alignment =
            (index.column() == CaptionColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
        const QString text = FDisplay->DisplayText(index, selected);
        if (marks & TfrTokenHistoryDisplay::cmMultiLine) {
            painter->drawText(area, int(alignment) | Qt::TextWordWrap, text);
            FDisplay->SetShortened(index, index.data(CutTextRole).toString() !=
                                              index.data(ValueRole).toString());
            return;
        }
        const QString drawn =
            QFontMetrics(font).elidedText(text, Qt::ElideRight, area.width(), Qt::TextSingleLine);
        painter->drawText(area, int(alignment) | Qt::TextSingleLine, drawn);
        FDisplay->SetShortened(index, drawn != text);
    }

private:
    TfrTokenHistoryDisplay* FDisplay;
};

} // namespace

// ---------------------------------------------------------------------------

TfrTokenHistoryDisplay::TfrTokenHistoryDisplay(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frTokenHistoryDisplay"));
    CreateControls();
    LocalizerUpdate();
}

void TfrTokenHistoryDisplay::CreateControls()
{
    auto* grid = new THistoryGrid(this);
    sgHistory = grid;
    sgHistory->setObjectName(QStringLiteral("sgHistory"));
    sgHistory->horizontalHeader()->hide();
    sgHistory->verticalHeader()->hide();
    sgHistory->setShowGrid(false);
    sgHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    sgHistory->setSelectionBehavior(QAbstractItemView::SelectItems);
    sgHistory->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgHistory->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgHistory->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    sgHistory->setWordWrap(false);
    sgHistory->setItemDelegate(new THistoryCellDelegate(this));
    sgHistory->viewport()->installEventFilter(this);
    // The spacer column is narrower than a header's usual minimum.
    sgHistory->horizontalHeader()->setMinimumSectionSize(1);
    sgHistory->verticalHeader()->setMinimumSectionSize(1);
    sgHistory->verticalHeader()->setDefaultSectionSize(ScaleByDpi(this, DefaultRowHeight));
    sgHistory->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgHistory, &QWidget::customContextMenuRequested, this,
            &TfrTokenHistoryDisplay::ShowContextMenu);
    connect(sgHistory, &QAbstractItemView::doubleClicked, this, &TfrTokenHistoryDisplay::OpenLink);
    // A masked password shows itself while selected, so a change of the
    // selection repaints.
    connect(sgHistory->selectionModel(), &QItemSelectionModel::selectionChanged,
            sgHistory->viewport(), qOverload<>(&QWidget::update));

    pmHistory = new QMenu(this);
    pmHistory->setObjectName(QStringLiteral("pmHistory"));
    QAction* copy = pmHistory->addAction(QString());
    copy->setObjectName(QStringLiteral("miCopyToClipboard"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &TfrTokenHistoryDisplay::CopySelectedCell);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sgHistory);
}

void TfrTokenHistoryDisplay::LocalizerUpdate()
{
    pmHistory->actions().constFirst()->setText(LocalizedStrings().FMenuItemCopyToClipboard);
    Rebuild();
}

void TfrTokenHistoryDisplay::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

// The columns follow the grid's width; cut notes are cut again to it.
bool TfrTokenHistoryDisplay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sgHistory->viewport() && event->type() == QEvent::Resize) {
        Layout();
        FitMultiLineRows();
    }
    return QWidget::eventFilter(watched, event);
}

void TfrTokenHistoryDisplay::FitMultiLineRows()
{
    for (int row = 0; row < sgHistory->rowCount(); ++row) {
        QList<int> columns;
        for (int column = 0; column < sgHistory->columnCount(); ++column) {
            if (CellMarks(column, row) & cmMultiLine)
                columns << column;
        }
        if (!columns.isEmpty())
            FitMultiLineRow(row, columns);
    }
}

void TfrTokenHistoryDisplay::SetTokenHistory(const std::shared_ptr<ITokenHistory>& history)
{
    FTokenHistory = history;
    FHasInitialState = !history;
    Rebuild();
}

void TfrTokenHistoryDisplay::SetInitialState()
{
    FHasInitialState = true;
    FInitializationTimestamp = QDateTime::currentDateTime();
}

void TfrTokenHistoryDisplay::ClearHistory()
{
    if (FTokenHistory)
        FTokenHistory->Clear();
    Rebuild();
}

void TfrTokenHistoryDisplay::FocusGrid()
{
    sgHistory->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------
// Building the grid

QString TfrTokenHistoryDisplay::DateTimeText(const QDateTime& dateTime) const
{
    const QLocale locale;
    QString time = locale.timeFormat(QLocale::LongFormat);
    time.remove(u't'); // no time zone
    return locale.toString(dateTime.toLocalTime(),
                           locale.dateFormat(QLocale::ShortFormat) + u' ' + time.trimmed());
}

void TfrTokenHistoryDisplay::Layout()
{
    const bool history = FTokenHistory && !FHasInitialState;
    sgHistory->setColumnCount(history ? HistoryColumns : InitialStateColumns);
    QFont bold = sgHistory->font();
    bold.setBold(true);
    int caption = QFontMetrics(bold).horizontalAdvance(u' ' + DateTimeText(SampleDateTime) + u' ');
    const TLocalizedStrings& strings = LocalizedStrings();
    const QFontMetrics metrics(sgHistory->font());
    for (const QString& name :
         {strings.FTokenTitleCaption, strings.FTokenUserNameCaption, strings.FTokenPasswordCaption,
          strings.FTokenURLCaption, strings.FTokenNotesCaption})
        caption = std::max(caption, metrics.horizontalAdvance(name + u':'));
    caption += CaptionExtra;
    const int spacer = ScaleByDpi(this, SpacerWidth);
    // The vertical scroll bar is always there, so the viewport keeps its width.
    const int free = sgHistory->viewport()->width() - caption - spacer;
    sgHistory->setColumnWidth(CaptionColumn, caption);
    sgHistory->setColumnWidth(SpacerColumn, spacer);
    if (history) {
        const int arrow = metrics.horizontalAdvance(Arrow) + ArrowExtra;
        sgHistory->setColumnWidth(ArrowColumn, arrow);
        const int value = std::max(0, (free - arrow) / 2);
        sgHistory->setColumnWidth(FirstValueColumn, value);
        sgHistory->setColumnWidth(SecondValueColumn, value);
    } else {
        sgHistory->setColumnWidth(FirstValueColumn, std::max(0, free));
    }
}

void TfrTokenHistoryDisplay::Rebuild()
{
    sgHistory->clearContents();
    sgHistory->setRowCount(0);
    FShortenedCells.clear();
    FLastHoverCell = {-1, -1};
    Layout();
    if (FHasInitialState || !FTokenHistory)
        ShowInitialState();
    else
        ShowHistory();
}

void TfrTokenHistoryDisplay::ShowInitialState()
{
    AppendRow();
    SetCell(CaptionColumn, 0, DateTimeText(FInitializationTimestamp), cmEntryHeader);
    SetCell(FirstValueColumn, 0, LocalizedStrings().FAddTokenDlgCaption);
}

struct TfrTokenHistoryDisplay::TFieldRow
{
    QString Caption;
    Nullable<QString> First;
    Nullable<QString> Second;
    int Marks = 0; // cmPassword, cmLink or cmMultiLine
};

void TfrTokenHistoryDisplay::ShowHistory()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    const QList<TTokenHistoryEntry> entries = FTokenHistory->GetEntries();
    AppendRow();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const TTokenHistoryEntry& entry = entries[i];
        const int header = sgHistory->rowCount() - 1;
        SetCell(CaptionColumn, header, DateTimeText(entry.DateTime), cmEntryHeader);
        if (entry.Kind == TTokenHistoryEntryKind::thekCreated)
            SetCell(FirstValueColumn, header, strings.FHistoryFieldTokenCreated);
        else if (entry.Kind == TTokenHistoryEntryKind::thekHistoryCleared)
            SetCell(FirstValueColumn, header, strings.FHistoryFieldHistoryCleared);
        AppendRow();

        const TTokenFieldsSnapshot& a = entry.First;
        const TTokenFieldsSnapshot& b = entry.Second;
        const TFieldRow fields[] = {
            {strings.FTokenTitleCaption, a.Title, b.Title, 0},
            {strings.FTokenUserNameCaption, a.UserName, b.UserName, 0},
            {strings.FTokenPasswordCaption, a.Password, b.Password, cmPassword},
            {strings.FTokenURLCaption, a.URL, b.URL, cmLink},
            {strings.FTokenNotesCaption, a.Notes, b.Notes, cmMultiLine},
        };
        for (const TFieldRow& field : fields)
            AddFieldRow(field, entry.Kind);
        for (const TTokenCustomProperty& property : a.CustomProperties)
            AddFieldRow({property.GetName(), property.GetValue(),
                         b.FindCustomProperty(property.GetName()), 0},
                        entry.Kind);
        if (i + 1 < entries.size())
            AppendRow();
    }
    SelectFirstValue();
}

void TfrTokenHistoryDisplay::AddFieldRow(const TFieldRow& field, TTokenHistoryEntryKind kind)
{
    const bool changed = kind == TTokenHistoryEntryKind::thekChanged;
    if (!field.First.GetHasValue() || (!changed && field.First.GetValue().isEmpty()))
        return;
    const int row = sgHistory->rowCount() - 1;
    const int kept = field.Marks & (cmLink | cmMultiLine);
    auto valueMarks = [&](const QString& value) {
        int marks = kept;
        if (value.isEmpty())
            marks |= cmEmptyValue;
        if (field.Marks & cmPassword)
            marks |= cmPassword;
        if ((marks & cmLink) && !gUrl.VerifyUrl(value))
            marks &= ~cmLink;
        return marks;
    };
    SetCell(CaptionColumn, row, field.Caption + u':');
    const QString first = field.First.GetValue();
    SetCell(FirstValueColumn, row, first, valueMarks(first));
    QList<int> values{FirstValueColumn};
    if (changed) {
        // A value the library left out reads as empty rather than failing.
        const QString second = field.Second.GetHasValue() ? field.Second.GetValue() : QString();
        SetCell(ArrowColumn, row, Arrow);
        SetCell(SecondValueColumn, row, second, valueMarks(second));
        values.append(SecondValueColumn);
    }
    AppendRow();
    if (field.Marks & cmMultiLine)
        FitMultiLineRow(row, values);
}

void TfrTokenHistoryDisplay::SetCell(int column, int row, const QString& text, int marks)
{
    auto* item = new QTableWidgetItem;
    item->setData(MarksRole, marks);
    item->setData(ValueRole, text);
    // What a screen reader or the view itself may see: never a password.
    item->setData(Qt::DisplayRole,
                  (marks & cmPassword) ? LocalizedStrings().FHistoryFieldPasswordHideMask : text);
    sgHistory->setItem(row, column, item);
}

void TfrTokenHistoryDisplay::AppendRow()
{
    sgHistory->setRowCount(sgHistory->rowCount() + 1);
}

// Notes of more than five lines are cut after the fifth.
void TfrTokenHistoryDisplay::FitMultiLineRow(int row, const QList<int>& columns)
{
    const QFontMetrics metrics(sgHistory->font());
    const int lineHeight = metrics.lineSpacing();
    int height = ScaleByDpi(this, DefaultRowHeight);
    for (int column : columns) {
        QTableWidgetItem* item = sgHistory->item(row, column);
        const int width = sgHistory->columnWidth(column) - 2 * CellPadding;
        const QString text = item->data(ValueRole).toString();
        const QString cut = CutToLines(text, sgHistory->font(), width, MaxNoteLines);
        const QRect bounds =
            metrics.boundingRect(QRect(0, 0, width, INT_MAX / 2), Qt::TextWordWrap, cut);
        item->setData(CutTextRole, cut);
        item->setData(MarksRole, item->data(MarksRole).toInt() | cmMultiLine);
        height = std::max(height,
                          std::min(bounds.height(), MaxNoteLines * lineHeight) + 2 * CellPadding);
    }
    sgHistory->setRowHeight(row, height);
}

// The first value of the newest entry is selected, unless it is a password,
// which would then show at once.
void TfrTokenHistoryDisplay::SelectFirstValue()
{
    const QModelIndex first = sgHistory->model()->index(1, FirstValueColumn);
    if (!IsSelectableCell(first) || (first.data(MarksRole).toInt() & cmPassword))
        return;
    sgHistory->setCurrentIndex(first);
}

// ---------------------------------------------------------------------------
// Cells

int TfrTokenHistoryDisplay::CellMarks(int column, int row) const
{
    const QModelIndex index = sgHistory->model()->index(row, column);
    int marks = index.data(MarksRole).toInt();
    if (FShortenedCells.contains(QPoint(column, row)))
        marks |= cmShortened;
    return marks;
}

QString TfrTokenHistoryDisplay::CellDisplayText(int column, int row) const
{
    const QModelIndex index = sgHistory->model()->index(row, column);
    return DisplayText(index, sgHistory->selectionModel()->isSelected(index));
}

bool TfrTokenHistoryDisplay::IsSelectableCell(const QModelIndex& index) const
{
    if (!index.isValid() || index.column() < 1 || index.row() < 1)
        return false;
    const QString text = index.data(ValueRole).toString();
    const int marks = index.data(MarksRole).toInt();
    return (!text.isEmpty() || (marks & cmEmptyValue)) && text != Arrow;
}

QString TfrTokenHistoryDisplay::DisplayText(const QModelIndex& index, bool selected) const
{
    const int marks = index.data(MarksRole).toInt();
    const TLocalizedStrings& strings = LocalizedStrings();
    if ((marks & cmPassword) && FHidePasswords && !selected)
        return strings.FHistoryFieldPasswordHideMask;
    if (marks & cmEmptyValue)
        return strings.FHistoryFieldEmpty;
    if (marks & cmMultiLine)
        return index.data(CutTextRole).toString();
    return index.data(ValueRole).toString();
}

void TfrTokenHistoryDisplay::SetShortened(const QModelIndex& index, bool shortened) const
{
    const QPoint cell(index.column(), index.row());
    if (shortened)
        FShortenedCells.insert(cell);
    else
        FShortenedCells.remove(cell);
}

// The whole text of a cut cell appears when the mouse rests on it: the hint
// goes whenever the mouse enters another cell and comes on the next move.
void TfrTokenHistoryDisplay::HoverAt(const QPoint& position, const QPoint& globalPosition)
{
    const QModelIndex index = sgHistory->indexAt(position);
    const QPoint cell = index.isValid() ? QPoint(index.column(), index.row()) : QPoint(-1, -1);
    if (cell != FLastHoverCell) {
        QToolTip::hideText();
    } else if (IsSelectableCell(index) && FShortenedCells.contains(cell)) {
        const int marks = index.data(MarksRole).toInt();
        const bool masked = (marks & cmPassword) && FHidePasswords &&
                            !sgHistory->selectionModel()->isSelected(index);
        const QString hint = masked || (marks & cmEmptyValue) ? DisplayText(index, false)
                                                              : index.data(ValueRole).toString();
        QToolTip::showText(globalPosition, hint, sgHistory->viewport());
    }
    FLastHoverCell = cell;
}

void TfrTokenHistoryDisplay::OpenLink(const QModelIndex& index)
{
    if (index.data(MarksRole).toInt() & cmLink)
        URLOpenUtil().GoURL(index.data(ValueRole).toString());
}

void TfrTokenHistoryDisplay::ShowContextMenu(const QPoint& position)
{
    const QModelIndex index = sgHistory->indexAt(position);
    if (!IsSelectableCell(index))
        return;
    sgHistory->setCurrentIndex(index);
    pmHistory->popup(sgHistory->viewport()->mapToGlobal(position));
}

// A password goes through the clipboard cleaner, like every copied password.
void TfrTokenHistoryDisplay::CopySelectedCell()
{
    const QModelIndexList selected = sgHistory->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const QModelIndex index = selected.first();
    const QString text = index.data(ValueRole).toString();
    if (text.isEmpty())
        return;
    if (index.data(MarksRole).toInt() & cmPassword)
        CopySecretToClipboard(text);
    else
        QApplication::clipboard()->setText(text);
}
