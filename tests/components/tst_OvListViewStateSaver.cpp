#include <QApplication>
#include <QtTest>

#include <memory>

#include "Components.OvListViewStateSaver.h"
#include "OvVcl.ListView.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int cColumns = 4;

struct TStoredColumn
{
    int ColumnIndex;
    bool Visible;
    int Order;
    bool Sorted;
    TSortDirection Direction;
    int Width;
};

std::unique_ptr<TOvListView> NewList()
{
    auto list = std::make_unique<TOvListView>();
    list->Columns().BeginUpdate();
    for (int i = 0; i < cColumns; ++i)
        list->Columns().Add()->SetWidth(100 + i);
    list->Columns().Item(0)->SetSorted(true);
    list->Columns().EndUpdate();
    return list;
}

void Store(TOvListViewStateSaver& saver, const QList<TStoredColumn>& columns)
{
    saver.ClearItems();
    for (const TStoredColumn& column : columns) {
        TOvListViewStateSaverItem* item = saver.AppendItem();
        item->SetColumnIndex(column.ColumnIndex);
        item->SetVisible(column.Visible);
        item->SetOrder(column.Order);
        item->SetSorted(column.Sorted);
        item->SetSortDirection(column.Direction);
        item->SetWidth(column.Width);
    }
}

// Each column as "index:order:visible:sorted:direction:width".
QStringList Layout(const TOvListView& list)
{
    QStringList layout;
    for (const TOvListColumn* c : list.Columns().Items())
        layout << u"%1:%2:%3:%4:%5:%6"_s.arg(c->Index())
                      .arg(c->Order())
                      .arg(c->Visible() ? u"shown"_s : u"hidden"_s)
                      .arg(c->Sorted() ? u"sorted"_s : u"-"_s)
                      .arg(c->SortDirection() == TSortDirection::sdAscending ? u"up"_s : u"down"_s)
                      .arg(c->Width());
    return layout;
}

const auto up = TSortDirection::sdAscending;
const auto down = TSortDirection::sdDescending;

} // namespace

Q_DECLARE_METATYPE(QList<TStoredColumn>)

class TestOvListViewStateSaver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void savesEveryColumnInCollectionOrder();
    void roundTrip();
    void load_data();
    void load();
};

void TestOvListViewStateSaver::savesEveryColumnInCollectionOrder()
{
    auto list = NewList();
    list->SetColumnOrder(list->Columns().Item(3), 0);
    list->Columns().Item(2)->SetVisible(false);
    list->SetColumnSorted(list->Columns().Item(1), true, down);
    TOvListViewStateSaver saver;
    saver.SaveListViewState(list.get());
    QCOMPARE(saver.ItemCount(), cColumns);
    const QList<int> orders{1, 2, 3, 0};
    for (int i = 0; i < cColumns; ++i) {
        const TOvListViewStateSaverItem* item = saver.ItemAt(i);
        QCOMPARE(item->ColumnIndex(), i);
        QCOMPARE(item->Order(), orders.at(i));
        QCOMPARE(item->Visible(), i != 2);
        QCOMPARE(item->Sorted(), i == 1);
        QCOMPARE(item->SortDirection(), i == 1 ? down : up);
        QCOMPARE(item->Width(), 100 + i);
    }
}

void TestOvListViewStateSaver::roundTrip()
{
    auto saved = NewList();
    saved->SetColumnOrder(saved->Columns().Item(2), 0);
    saved->Columns().Item(3)->SetVisible(false);
    saved->SetColumnSorted(saved->Columns().Item(2), true, down);
    saved->SetColumnWidth(saved->Columns().Item(1), 250);
    TOvListViewStateSaver saver;
    saver.SaveListViewState(saved.get());

    auto loaded = NewList();
    int rebuildsSorted = 0;
    loaded->OnColumnSorted = [&](TOvListView*, TOvListColumn*) {
        ++rebuildsSorted;
    };
    QVERIFY(saver.LoadListViewState(loaded.get()));
    QCOMPARE(Layout(*loaded), Layout(*saved));
    QCOMPARE(rebuildsSorted, 1); // applied as one update
}

void TestOvListViewStateSaver::load_data()
{
    QTest::addColumn<QList<TStoredColumn>>("stored");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("layout");

    const QStringList untouched{u"0:0:shown:sorted:up:100"_s, u"1:1:shown:-:up:101"_s,
                                u"2:2:shown:-:up:102"_s, u"3:3:shown:-:up:103"_s};
    QTest::newRow("stored for fewer columns: ignored")
        << QList<TStoredColumn>{{0, true, 1, false, up, 50},
                                {1, true, 0, true, down, 60},
                                {2, false, 2, false, up, 70}}
        << false << untouched;
    QTest::newRow("stored for more columns: ignored")
        << QList<TStoredColumn>{{0, true, 0, false, up, 50},
                                {1, true, 1, false, up, 50},
                                {2, true, 2, false, up, 50},
                                {3, true, 3, false, up, 50},
                                {4, true, 4, false, up, 50}}
        << false << untouched;
    QTest::newRow("indexes as stored")
        << QList<TStoredColumn>{{3, true, 0, false, up, 40},
                                {0, true, 1, true, down, 50},
                                {1, false, 2, false, up, 60},
                                {2, true, 3, false, up, 70}}
        << true
        << QStringList{u"0:1:shown:sorted:down:50"_s, u"1:2:hidden:-:up:60"_s,
                       u"2:3:shown:-:up:70"_s, u"3:0:shown:-:up:40"_s};
    QTest::newRow("a repeated index: positions used")
        << QList<TStoredColumn>{{1, true, 3, false, up, 40},
                                {1, true, 2, true, up, 50},
                                {2, true, 1, false, up, 60},
                                {0, true, 0, false, up, 70}}
        << true
        << QStringList{u"0:3:shown:-:up:40"_s, u"1:2:shown:sorted:up:50"_s, u"2:1:shown:-:up:60"_s,
                       u"3:0:shown:-:up:70"_s};
    QTest::newRow("an index out of range: positions used")
        << QList<TStoredColumn>{{0, true, 0, true, up, 40},
                                {7, true, 1, false, up, 50},
                                {2, true, 2, false, up, 60},
                                {-1, true, 3, false, up, 70}}
        << true
        << QStringList{u"0:0:shown:sorted:up:40"_s, u"1:1:shown:-:up:50"_s, u"2:2:shown:-:up:60"_s,
                       u"3:3:shown:-:up:70"_s};
    // Applied by ascending order: of two columns stored as sorted, the one
    // further right is applied last and stays sorted.
    QTest::newRow("applied in display order")
        << QList<TStoredColumn>{{0, true, 2, true, up, 40},
                                {1, true, 0, true, down, 50},
                                {2, true, 1, false, up, 60},
                                {3, true, 3, false, up, 70}}
        << true
        << QStringList{u"0:2:shown:sorted:up:40"_s, u"1:0:shown:-:down:50"_s,
                       u"2:1:shown:-:up:60"_s, u"3:3:shown:-:up:70"_s};
    QTest::newRow("nothing visible: false, but applied")
        << QList<TStoredColumn>{{0, false, 0, true, up, 40},
                                {1, false, 1, false, up, 50},
                                {2, false, 2, false, up, 60},
                                {3, false, 3, false, up, 70}}
        << false
        << QStringList{u"0:0:hidden:sorted:up:40"_s, u"1:1:hidden:-:up:50"_s,
                       u"2:2:hidden:-:up:60"_s, u"3:3:hidden:-:up:70"_s};
}

void TestOvListViewStateSaver::load()
{
    QFETCH(QList<TStoredColumn>, stored);
    QFETCH(bool, result);
    QFETCH(QStringList, layout);
    auto list = NewList();
    TOvListViewStateSaver saver;
    Store(saver, stored);
    QCOMPARE(saver.LoadListViewState(list.get()), result);
    QCOMPARE(Layout(*list), layout);
}

QTEST_MAIN(TestOvListViewStateSaver)
#include "tst_OvListViewStateSaver.moc"
