#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSet>
#include <QtTest>

#include <functional>
#include <memory>

#include "OvVcl.ListView.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TSortDirection)

using TMoves = QList<QPair<int, int>>; // column, new order

namespace {

constexpr int cColumns = 5;

QString CellText(int row, int column)
{
    return u"r%1c%2"_s.arg(row).arg(column);
}

// A shown list of five columns whose rows answer CellText unless Texts says
// otherwise; counts the rows asked for.
struct TListFixture
{
    std::unique_ptr<TOvListView> View = std::make_unique<TOvListView>();
    std::function<QString(int row, int column)> Texts = CellText;
    QSet<int> RowsAsked;

    explicit TListFixture(int rows = 20)
    {
        View->resize(700, 300);
        View->OnData = [this](TOvListView*, TOvListItem* item) {
            RowsAsked.insert(item->Index());
            for (int column = 0; column < View->Columns().Count(); ++column)
                item->Strings().append(Texts(item->Index(), column));
        };
        View->Columns().BeginUpdate();
        for (int i = 0; i < cColumns; ++i) {
            TOvListColumn* column = View->Columns().Add();
            column->SetCaption(u"Column %1"_s.arg(i));
            column->SetWidth(120);
        }
        View->Columns().EndUpdate();
        View->Items().SetCount(rows);
        View->show();
        QVERIFY(QTest::qWaitForWindowExposed(View.get()));
    }

    TOvListColumn* Column(int index) const { return View->Columns().Item(index); }
    QHeaderView* Header() const { return View->header(); }

    QPoint SectionCentre(int logicalIndex) const
    {
        return QPoint(Header()->sectionViewportPosition(logicalIndex) +
                          Header()->sectionSize(logicalIndex) / 2,
                      Header()->height() / 2);
    }
    void ClickHeader(int logicalIndex) const
    {
        QTest::mouseClick(Header()->viewport(), Qt::LeftButton, {}, SectionCentre(logicalIndex));
    }
    QPoint CellCentre(int row, int logicalIndex) const
    {
        const QRect rowRect = View->visualRect(View->model()->index(row, 0));
        return QPoint(Header()->sectionViewportPosition(logicalIndex) +
                          Header()->sectionSize(logicalIndex) / 2,
                      rowRect.center().y());
    }
    QRect CellRect(int row, int logicalIndex) const
    {
        const QRect rowRect = View->visualRect(View->model()->index(row, 0));
        return QRect(Header()->sectionViewportPosition(logicalIndex), rowRect.top(),
                     Header()->sectionSize(logicalIndex), rowRect.height());
    }
    QList<int> Orders() const
    {
        QList<int> orders;
        for (const TOvListColumn* column : View->Columns().Items())
            orders << column->Order();
        return orders;
    }
    // Logical indexes of the shown header sections, left to right.
    QList<int> ShownSections() const
    {
        QList<int> sections;
        for (int visual = 0; visual < Header()->count(); ++visual) {
            const int logical = Header()->logicalIndex(visual);
            if (!Header()->isSectionHidden(logical))
                sections << logical;
        }
        return sections;
    }
};

void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
    QApplication::sendEvent(widget, &event);
}

bool IsHighlight(const QColor& color)
{
    return color.red() > 240 && color.green() > 240 && color.blue() < 40;
}

// Runs of columns, as [from, to], where a line of pixels from top to bottom
// of a row holds the highlight colour (text drawn over a mark leaves its
// margins marked).
QList<QPair<int, int>> HighlightRuns(const QImage& image, const QRect& row)
{
    QList<QPair<int, int>> runs;
    for (int x = row.left(); x <= row.right(); ++x) {
        bool marked = false;
        for (int y = row.top(); y <= row.bottom() && !marked; ++y)
            marked = IsHighlight(image.pixelColor(x, y));
        if (!marked)
            continue;
        if (!runs.isEmpty() && runs.last().second == x - 1)
            runs.last().second = x;
        else
            runs.append({x, x});
    }
    return runs;
}

void SaveScreenshot(QWidget* widget, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    widget->grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name + u".png"_s);
}

} // namespace

class TestOvListView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnOrder_data();
    void columnOrder();
    void headerDragTakesNewOrder();
    void headerClicks_data();
    void headerClicks();
    void clickingAnotherColumnMovesTheSort();
    void oneSortedColumnAfterLayoutWithout();
    void columnWidthLimits_data();
    void columnWidthLimits();
    void headerMenuHidesAndShowsColumns();
    void headerMenuOfOwnerWins();
    void asksOnlyForPaintedRows();
    void newRowCountKeepsLayoutAndScroll();
    void selectionIndicesAndEvents();
    void doubleClickReportsCellUnderMouse();
    void columnAtFollowsHorizontalScroll();
    void dividerDoubleClickSizesToWidestText();
    void highlightMarksEveryHit();
    void highlightWholeCellWithoutPartial();
    void customFontStyleColoursCell();
    void hoverReportsCellsEnteredAndLeft();
    void keysGoToOwnerFirst();
    void dragStartsAndDropsReachOwner();
};

void TestOvListView::columnOrder_data()
{
    QTest::addColumn<TMoves>("moves");
    QTest::addColumn<QList<int>>("orders"); // by column index

    QTest::newRow("third to the front") << TMoves{{2, 0}} << QList<int>{1, 2, 0, 3, 4};
    QTest::newRow("and back again") << TMoves{{2, 0}, {2, 2}} << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("first to the end") << TMoves{{0, 4}} << QList<int>{4, 0, 1, 2, 3};
    QTest::newRow("far beyond the end") << TMoves{{1, 40}} << QList<int>{0, 4, 1, 2, 3};
    QTest::newRow("same place") << TMoves{{3, 3}} << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("negative ignored") << TMoves{{3, -1}} << QList<int>{0, 1, 2, 3, 4};
}

void TestOvListView::columnOrder()
{
    QFETCH(TMoves, moves);
    QFETCH(QList<int>, orders);
    TListFixture list;
    for (const auto& [column, order] : moves)
        list.View->SetColumnOrder(list.Column(column), order);
    QCOMPARE(list.Orders(), orders);
    // The header shows the columns in that order.
    QList<int> expected(cColumns);
    for (int i = 0; i < cColumns; ++i)
        expected[orders.at(i)] = i;
    QCOMPARE(list.ShownSections(), expected);
}

void TestOvListView::headerDragTakesNewOrder()
{
    TListFixture list;
    list.Column(1)->SetVisible(false);
    TOvListColumn* dragged = nullptr;
    list.View->OnColumnDragged = [&](TOvListView*, TOvListColumn* column) {
        dragged = column;
    };

    // The user drags the header of column 3 onto column 0.
    QWidget* header = list.Header()->viewport();
    const QPoint from = list.SectionCentre(3);
    const QPoint to = list.SectionCentre(0) - QPoint(list.Header()->sectionSize(0) / 4, 0);
    SendMouse(header, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step)
        SendMouse(header, QEvent::MouseMove, from + (to - from) * step / 10, Qt::LeftButton);
    SendMouse(header, QEvent::MouseButtonRelease, to, Qt::NoButton);

    QCOMPARE(dragged, list.Column(3));
    // Visible columns 3, 0, 2, 4 take the orders 0, 2, 3, 4; hidden column 1
    // keeps order 1. Renumbered: 3, 1, 0, 2, 4.
    QCOMPARE(list.Orders(), (QList<int>{2, 1, 3, 0, 4}));
    QTRY_COMPARE(list.ShownSections(), (QList<int>{3, 0, 2, 4}));
    list.Column(1)->SetVisible(true);
    QCOMPARE(list.ShownSections(), (QList<int>{3, 1, 0, 2, 4}));
}

void TestOvListView::headerClicks_data()
{
    QTest::addColumn<bool>("allowNoSort");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<TSortDirection>("direction");

    const auto up = TSortDirection::sdAscending;
    const auto down = TSortDirection::sdDescending;
    QTest::newRow("one click turns the sorted column descending") << false << 1 << true << down;
    QTest::newRow("two clicks: ascending again") << false << 2 << true << up;
    QTest::newRow("three clicks: descending, never unsorted") << false << 3 << true << down;
    QTest::newRow("allowed: two clicks leave it unsorted") << true << 2 << false << up;
    QTest::newRow("allowed: three clicks sort it again") << true << 3 << true << up;
}

void TestOvListView::headerClicks()
{
    QFETCH(bool, allowNoSort);
    QFETCH(int, clicks);
    QFETCH(bool, sorted);
    QFETCH(TSortDirection, direction);
    TListFixture list;
    list.View->SetAllowNoSort(allowNoSort);
    list.View->SetColumnSorted(list.Column(0), true, TSortDirection::sdAscending);
    QStringList events;
    list.View->OnColumnSorted = [&](TOvListView*, TOvListColumn* column) {
        events << u"sorted %1"_s.arg(column->Index());
    };
    list.View->OnColumnClick = [&](TOvListView*, TOvListColumn* column) {
        events << u"click %1"_s.arg(column->Index());
    };

    for (int i = 0; i < clicks; ++i)
        list.ClickHeader(0);

    QCOMPARE(list.Column(0)->Sorted(), sorted);
    QCOMPARE(list.Column(0)->SortDirection(), direction);
    QStringList expected;
    for (int i = 0; i < clicks; ++i)
        expected << u"sorted 0"_s << u"click 0"_s;
    QCOMPARE(events, expected);
    QCOMPARE(list.Header()->sortIndicatorSection(), sorted ? 0 : -1);
}

void TestOvListView::clickingAnotherColumnMovesTheSort()
{
    TListFixture list;
    list.View->SetColumnSorted(list.Column(0), true, TSortDirection::sdAscending);
    list.Column(2)->SetSortDirection(TSortDirection::sdDescending);
    list.Column(4)->SetCanSort(false);
    TOvListColumn* clicked = nullptr;
    list.View->OnColumnClick = [&](TOvListView*, TOvListColumn* column) {
        clicked = column;
    };

    list.ClickHeader(2);
    QVERIFY(!list.Column(0)->Sorted());
    QVERIFY(list.Column(2)->Sorted());
    QCOMPARE(list.Column(2)->SortDirection(), TSortDirection::sdDescending);
    QCOMPARE(list.View->Columns().SortedColumn(), list.Column(2));

    // A column that cannot sort leaves the sort alone, but reports the click.
    list.ClickHeader(4);
    QCOMPARE(clicked, list.Column(4));
    QVERIFY(!list.Column(4)->Sorted());
    QCOMPARE(list.View->Columns().SortedColumn(), list.Column(2));
    QCOMPARE(list.Header()->sortIndicatorSection(), 2);
}

void TestOvListView::oneSortedColumnAfterLayoutWithout()
{
    TListFixture list;
    list.View->Columns().BeginUpdate();
    for (TOvListColumn* column : list.View->Columns().Items())
        column->SetSorted(false);
    list.Column(0)->SetVisible(false);
    list.Column(1)->SetCanSort(false);
    list.View->SetColumnOrder(list.Column(3), 0);
    list.View->Columns().EndUpdate();
    // The leftmost visible column that can sort.
    QCOMPARE(list.View->Columns().SortedColumn(), list.Column(3));
    QCOMPARE(list.Column(3)->SortDirection(), TSortDirection::sdAscending);
}

void TestOvListView::columnWidthLimits_data()
{
    QTest::addColumn<int>("minWidth");
    QTest::addColumn<int>("maxWidth");
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("width");

    QTest::newRow("no limits") << 0 << 0 << 250 << 250;
    QTest::newRow("negative without minimum") << 0 << 0 << -5 << 0;
    QTest::newRow("capped at the maximum") << 20 << 200 << 250 << 200;
    QTest::newRow("below the minimum") << 40 << 200 << 30 << 40;
    QTest::newRow("inside the limits") << 40 << 200 << 90 << 90;
}

void TestOvListView::columnWidthLimits()
{
    QFETCH(int, minWidth);
    QFETCH(int, maxWidth);
    QFETCH(int, requested);
    QFETCH(int, width);
    TListFixture list;
    TOvListColumn* column = list.Column(1);
    column->SetMinWidth(minWidth);
    column->SetMaxWidth(maxWidth);
    list.View->SetColumnWidth(column, requested);
    QCOMPARE(column->Width(), width);
    QCOMPARE(list.Header()->sectionSize(1), width);
}

void TestOvListView::headerMenuHidesAndShowsColumns()
{
    TListFixture list;
    list.Column(0)->SetCanHide(false);
    list.View->SetColumnOrder(list.Column(3), 1);
    QList<int> shown;
    list.View->OnColumnShow = [&](TOvListView*, TOvListColumn* column) {
        shown << column->Index();
    };
    auto* menu = list.View->findChild<QMenu*>(u"FDefaultHeaderMenu"_s);
    QVERIFY(menu);

    auto openMenu = [&] {
        const QPoint pos = list.SectionCentre(2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos,
                                list.Header()->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list.Header()->viewport(), &event);
        QTRY_VERIFY(menu->isVisible());
    };
    openMenu();
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), cColumns);
    for (int i = 0; i < cColumns; ++i) {
        QCOMPARE(actions.at(i)->text(), u"Column %1"_s.arg(i)); // collection order
        QVERIFY(actions.at(i)->isChecked());
        QCOMPARE(actions.at(i)->isEnabled(), i != 0);
    }
    actions.at(3)->trigger();
    menu->hide();
    QVERIFY(!list.Column(3)->Visible());
    QCOMPARE(list.ShownSections(), (QList<int>{0, 1, 2, 4}));
    QCOMPARE(shown, QList<int>{3});

    // Shown again at its remembered place, its texts still by column index.
    openMenu();
    QVERIFY(!menu->actions().at(3)->isChecked());
    menu->actions().at(3)->trigger();
    menu->hide();
    QCOMPARE(list.ShownSections(), (QList<int>{0, 3, 1, 2, 4}));
    QCOMPARE(list.View->model()->index(4, 3).data().toString(), CellText(4, 3));
}

void TestOvListView::headerMenuOfOwnerWins()
{
    TListFixture list;
    QMenu ownMenu;
    ownMenu.addAction(u"Own"_s);
    list.View->SetHeaderPopupMenu(&ownMenu);
    const QPoint pos = list.SectionCentre(1);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos,
                            list.Header()->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(list.Header()->viewport(), &event);
    QTRY_VERIFY(ownMenu.isVisible());
    QVERIFY(!list.View->findChild<QMenu*>(u"FDefaultHeaderMenu"_s)->isVisible());
    ownMenu.hide();
}

void TestOvListView::asksOnlyForPaintedRows()
{
    TListFixture list(100000);
    list.RowsAsked.clear();
    list.View->viewport()->repaint();
    const int shownRows = list.View->viewport()->height() / list.View->RowHeight() + 2;
    QVERIFY(!list.RowsAsked.isEmpty());
    QVERIFY2(list.RowsAsked.size() <= shownRows,
             qPrintable(u"%1 rows asked, %2 shown"_s.arg(list.RowsAsked.size()).arg(shownRows)));

    list.RowsAsked.clear();
    list.View->verticalScrollBar()->setValue(list.View->verticalScrollBar()->maximum());
    list.View->viewport()->repaint();
    QVERIFY(list.RowsAsked.contains(99999));
    QVERIFY(list.RowsAsked.size() <= shownRows);
}

void TestOvListView::newRowCountKeepsLayoutAndScroll()
{
    TListFixture list(1000);
    list.Column(2)->SetVisible(false);
    list.View->SetColumnOrder(list.Column(4), 0);
    list.View->verticalScrollBar()->setValue(300);
    list.View->SelectItems({301, 302});

    list.View->Items().SetCount(900);
    QCOMPARE(list.View->Items().Count(), 900);
    QCOMPARE(list.View->model()->rowCount(), 900);
    QCOMPARE(list.ShownSections(), (QList<int>{4, 0, 1, 3}));
    QCOMPARE(list.View->verticalScrollBar()->value(), 300);
    QCOMPARE(list.View->GetSelectedCount(), 0);

    list.View->Items().SetCount(10);
    QCOMPARE(list.View->verticalScrollBar()->value(), list.View->verticalScrollBar()->maximum());
    QVERIFY(!list.View->Items().Item(10));
    QCOMPARE(list.View->Items().Item(9)->String(2), CellText(9, 2));
}

void TestOvListView::selectionIndicesAndEvents()
{
    TListFixture list;
    QStringList events;
    list.View->OnSelectItem = [&](TOvListView*, TOvListItem* item, bool selected) {
        events << u"item %1 %2"_s.arg(item->Index()).arg(selected);
    };
    list.View->OnDataStateChange = [&](TOvListView*, int from, int to) {
        events << u"range %1-%2"_s.arg(from).arg(to);
    };
    QWidget* rows = list.View->viewport();
    auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(rows, Qt::LeftButton, modifiers, list.CellCentre(row, 1));
    };

    click(5, {});
    click(2, Qt::ControlModifier);
    click(9, Qt::ControlModifier);
    QCOMPARE(list.View->GetSelectedItemIndices(), (QList<int>{2, 5, 9}));
    QCOMPARE(list.View->GetSelectedCount(), 3);
    QCOMPARE(list.View->Selected()->Index(), 2); // the first selected, not the focused one
    QCOMPARE(list.View->FocusedIndex(), 9);
    click(5, Qt::ControlModifier);
    QCOMPARE(events, (QStringList{u"item 5 1"_s, u"item 2 1"_s, u"item 9 1"_s, u"item 5 0"_s}));

    events.clear();
    click(9, {});
    click(12, Qt::ShiftModifier);
    QCOMPARE(list.View->GetSelectedItemIndices(), (QList<int>{9, 10, 11, 12}));
    QCOMPARE(events, (QStringList{u"item 2 0"_s, u"range 10-12"_s}));

    events.clear();
    list.View->ClearSelection();
    QCOMPARE(events, QStringList{u"range 9-12"_s});
    QVERIFY(list.View->GetSelectedItemIndices().isEmpty());
    QVERIFY(!list.View->Selected());
    list.View->SelectAll();
    QCOMPARE(list.View->GetSelectedCount(), 20);
    QVERIFY(list.View->Items().Item(19)->Selected());
}

void TestOvListView::doubleClickReportsCellUnderMouse()
{
    TListFixture list(3);
    int itemIndex = -2;
    int columnIndex = -2;
    list.View->OnDblClick = [&](TOvListView*, TOvListItem* item, TOvListColumn* column) {
        itemIndex = item ? item->Index() : -1;
        columnIndex = column ? column->Index() : -1;
    };
    list.View->SetColumnOrder(list.Column(3), 0);
    QWidget* rows = list.View->viewport();

    QTest::mouseDClick(rows, Qt::LeftButton, {}, list.CellCentre(1, 3));
    QCOMPARE(itemIndex, 1);
    QCOMPARE(columnIndex, 3);
    // Below the last row.
    QTest::mouseDClick(rows, Qt::LeftButton, {},
                       QPoint(list.CellCentre(1, 2).x(), rows->height() - 5));
    QCOMPARE(itemIndex, -1);
    QCOMPARE(columnIndex, 2);
    // Right of the last column.
    list.View->resize(800, 300);
    QTest::mouseDClick(rows, Qt::LeftButton, {},
                       QPoint(rows->width() - 5, list.CellCentre(0, 0).y()));
    QCOMPARE(itemIndex, 0);
    QCOMPARE(columnIndex, -1);
}

void TestOvListView::columnAtFollowsHorizontalScroll()
{
    TListFixture list;
    list.View->resize(300, 300);
    list.View->SetColumnOrder(list.Column(4), 0);
    const int width = list.Column(4)->Width();
    QCOMPARE(list.View->GetColumnAt(QPoint(width - 1, 5)), list.Column(4));
    QCOMPARE(list.View->GetColumnAt(QPoint(width, 5)), list.Column(0));
    list.View->horizontalScrollBar()->setValue(50);
    QCOMPARE(list.View->GetColumnAt(QPoint(width - 51, 5)), list.Column(4));
    QCOMPARE(list.View->GetColumnAt(QPoint(width - 50, 5)), list.Column(0));
    list.Header()->hide();
    QVERIFY(!list.View->GetColumnAt(QPoint(5, 5)));
}

void TestOvListView::dividerDoubleClickSizesToWidestText()
{
    TListFixture list;
    const QString widest = u"a much longer text than any other cell"_s;
    const QString blanks(300, u' '); // wider still, but blank: not counted
    list.Texts = [&](int row, int column) {
        if (column == 1 && row == 7)
            return widest;
        if (column == 1 && row == 8)
            return blanks;
        return CellText(row, column);
    };
    TOvListColumn* sized = nullptr;
    list.View->OnColumnAutosized = [&](TOvListView*, TOvListColumn* column, bool& handled) {
        sized = column;
        handled = column->Index() == 2;
    };
    auto doubleClickDivider = [&](int logical) {
        const QPoint divider(list.Header()->sectionViewportPosition(logical) +
                                 list.Header()->sectionSize(logical) - 1,
                             list.Header()->height() / 2);
        QTest::mouseDClick(list.Header()->viewport(), Qt::LeftButton, {}, divider);
    };

    doubleClickDivider(2);
    QCOMPARE(sized, list.Column(2));
    QCOMPARE(list.Column(2)->Width(), 120); // the owner handled it

    doubleClickDivider(1);
    QCOMPARE(sized, list.Column(1));
    QCOMPARE(list.Column(1)->Width(), list.View->fontMetrics().horizontalAdvance(widest) + 16);
    QCOMPARE(list.Header()->sectionSize(1), list.Column(1)->Width());
}

void TestOvListView::highlightMarksEveryHit()
{
    TListFixture list(3);
    list.Column(1)->SetWidth(400);
    list.Texts = [](int row, int column) {
        if (column == 1)
            return row == 0 ? u"Mail and mail again"_s : u"nothing here"_s;
        if (column == 2)
            return u"x mail and a long tail that the ellipsis cuts: mail"_s;
        return CellText(row, column);
    };
    list.View->SetHighlightText(u"MAIL"_s);
    const QImage image = list.View->viewport()->grab().toImage();
    SaveScreenshot(list.View.get(), u"listview-highlight"_s);
    QCOMPARE(HighlightRuns(image, list.CellRect(0, 1)).size(), 2);
    QVERIFY(HighlightRuns(image, list.CellRect(1, 1)).isEmpty());
    // Only the hit inside the shortened text is marked.
    QCOMPARE(HighlightRuns(image, list.CellRect(0, 2)).size(), 1);
    QVERIFY(HighlightRuns(image, list.CellRect(0, 0)).isEmpty());

    list.View->SetHighlightText(QString());
    QVERIFY(HighlightRuns(list.View->viewport()->grab().toImage(), list.CellRect(0, 1)).isEmpty());
}

void TestOvListView::highlightWholeCellWithoutPartial()
{
    TListFixture list(1);
    const QString text = u"one hit in here"_s;
    list.Texts = [&](int, int column) {
        return column == 1 ? text : QString();
    };
    list.Column(1)->SetWidth(300);
    list.View->SetHighlightText(u"hit"_s);
    const QList<QPair<int, int>> partial =
        HighlightRuns(list.View->viewport()->grab().toImage(), list.CellRect(0, 1));
    QCOMPARE(partial.size(), 1);

    list.Column(1)->SetPartialTextHighlight(false);
    const QList<QPair<int, int>> whole =
        HighlightRuns(list.View->viewport()->grab().toImage(), list.CellRect(0, 1));
    QCOMPARE(whole.size(), 1);
    const int textLeft = list.CellRect(0, 1).left() + 8;
    const int textRight = textLeft + list.View->fontMetrics().horizontalAdvance(text);
    QVERIFY2(qAbs(whole.first().first - textLeft) <= 1,
             qPrintable(QString::number(whole.first().first)));
    QVERIFY2(qAbs(whole.first().second + 1 - textRight) <= 1,
             qPrintable(QString::number(whole.first().second)));
    QVERIFY(whole.first().first < partial.first().first);
}

void TestOvListView::customFontStyleColoursCell()
{
    TListFixture list(2);
    list.Texts = [](int, int) {
        return u"WWWWWWWW"_s;
    };
    list.View->OnCustomItemFontStyle = [](TOvListView* view, TOvListItem* item,
                                          TOvListColumn* column, TOvItemFontStyle& style) {
        // Reading another row through the one item must not change this cell.
        view->Items().Item(1 - item->Index());
        if (column->Index() == 3)
            style.TextColor = Qt::red;
    };
    const QImage image = list.View->viewport()->grab().toImage();
    auto hasRed = [&](int column) {
        const int left = list.Header()->sectionViewportPosition(column);
        for (int x = left; x < left + list.Header()->sectionSize(column); ++x)
            for (int y = 0; y < list.View->RowHeight() * 2; ++y) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                    return true;
            }
        return false;
    };
    QVERIFY(hasRed(3));
    QVERIFY(!hasRed(2));
}

void TestOvListView::hoverReportsCellsEnteredAndLeft()
{
    TListFixture list(3);
    QStringList events;
    list.View->OnCellMouseEnter = [&](TOvListView*, int row, TOvListColumn* column,
                                      Qt::KeyboardModifiers) {
        events << u"enter %1 %2"_s.arg(row).arg(column ? column->Index() : -1);
    };
    list.View->OnCellMouseExit = [&](TOvListView*, int row, TOvListColumn* column,
                                     Qt::KeyboardModifiers) {
        events << u"exit %1 %2"_s.arg(row).arg(column ? column->Index() : -1);
    };
    QWidget* rows = list.View->viewport();
    for (const QPoint& pos :
         {list.CellCentre(0, 1), list.CellCentre(0, 1) + QPoint(3, 0), list.CellCentre(2, 1),
          QPoint(list.CellCentre(2, 2).x(), rows->height() - 3)})
        SendMouse(rows, QEvent::MouseMove, pos, Qt::NoButton);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(list.View.get(), &leave);
    QCOMPARE(events, (QStringList{u"enter 0 1"_s, u"exit 0 1"_s, u"enter 2 1"_s, u"exit 2 1"_s,
                                  u"enter -1 2"_s, u"exit -1 2"_s}));
}

void TestOvListView::keysGoToOwnerFirst()
{
    TListFixture list(5);
    QList<int> keys;
    list.View->OnKeyDown = [&](TOvListView*, QKeyEvent* event) {
        if (event->key() != Qt::Key_Control)
            keys << event->key();
        return event->key() == Qt::Key_A; // takes Ctrl+A over
    };
    list.View->setFocus();
    QTest::keyClick(list.View.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(list.View->GetSelectedCount(), 0);
    list.View->SetItemFocused(1);
    QTest::keyClick(list.View.get(), Qt::Key_Down);
    QCOMPARE(list.View->FocusedIndex(), 2); // passed on to the list
    QCOMPARE(keys, (QList<int>{Qt::Key_A, Qt::Key_Down}));
}

void TestOvListView::dragStartsAndDropsReachOwner()
{
    TListFixture list(5);
    int drags = 0;
    list.View->OnStartDrag = [&](TOvListView* view) {
        drags += view->GetSelectedCount();
    };
    QWidget* rows = list.View->viewport();
    const QPoint start = list.CellCentre(1, 1);
    QTest::mouseClick(rows, Qt::LeftButton, {}, start);
    SendMouse(rows, QEvent::MouseButtonPress, start, Qt::LeftButton);
    for (int step = 1; step <= 5; ++step)
        SendMouse(rows, QEvent::MouseMove, start + QPoint(0, step * 10), Qt::LeftButton);
    SendMouse(rows, QEvent::MouseButtonRelease, start + QPoint(0, 50), Qt::NoButton);
    QCOMPARE(drags, 1);

    // Drops are the owner's: accepted where it accepts them.
    int dropRow = -1;
    list.View->OnDragOver = [](TOvListView*, QDragMoveEvent* event) {
        if (event->mimeData()->hasFormat(u"application/x-test"_s))
            event->acceptProposedAction();
    };
    list.View->OnDragDrop = [&](TOvListView* view, QDropEvent* event) {
        dropRow = view->GetItemIndexAt(event->position().toPoint());
        event->acceptProposedAction();
    };
    for (const QString& format : {u"text/plain"_s, u"application/x-test"_s}) {
        QMimeData data;
        data.setData(format, "x");
        const QPoint at = list.CellCentre(3, 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(rows, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(rows, &move);
        QCOMPARE(move.isAccepted(), format == u"application/x-test"_s);
        if (move.isAccepted()) {
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(rows, &drop);
            QVERIFY(drop.isAccepted());
        }
    }
    QCOMPARE(dropRow, 3);
}

QTEST_MAIN(TestOvListView)
#include "tst_OvListView.moc"
