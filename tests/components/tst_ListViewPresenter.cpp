#include <QApplication>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QtTest>

#include <memory>

#include "Components.ListViewPresenter.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TSortDirection)

namespace {

struct TEntry
{
    QString Title;
    QString User;
    QString Notes;
};
using TEntryPtr = std::shared_ptr<TEntry>;

TEntryPtr Entry(const QString& title, const QString& user, const QString& notes)
{
    return std::make_shared<TEntry>(TEntry{title, user, notes});
}

// Three columns: title, user, notes; the notes cell is masked, sorting goes
// by the real notes. Ties fall back to the other fields in column order.
class TEntryPresenter : public TListViewPresenter<TEntryPtr>
{
public:
    using TListViewPresenter::TListViewPresenter;

    QList<TEntryPtr> Source;
    QString Filter;

protected:
    int GetSourceCount() const override { return int(Source.size()); }
    TEntryPtr GetSourceItem(int index) const override { return Source.at(index); }
    bool FilterItem(const TEntryPtr& entry) const override
    {
        return entry->Title.contains(Filter, Qt::CaseInsensitive);
    }
    int GetColumnCount() const override { return 3; }
    QString GetItemText(const TEntryPtr& entry, int column) const override
    {
        return column == 2 ? u"********"_s : GetSortText(entry, column);
    }
    void* GetItemDataPointer(const TEntryPtr& entry) const override { return entry.get(); }
    QList<int> GetSortFields(int column) const override
    {
        QList<int> fields{column};
        for (int field = 0; field < 3; ++field)
            if (field != column)
                fields << field;
        return fields;
    }
    QString GetSortText(const TEntryPtr& entry, int field) const override
    {
        return field == 0 ? entry->Title : field == 1 ? entry->User : entry->Notes;
    }
};

struct TPresenterFixture
{
    std::unique_ptr<TOvListView> View = std::make_unique<TOvListView>();
    std::unique_ptr<TEntryPresenter> Presenter = std::make_unique<TEntryPresenter>(View.get());

    TPresenterFixture() { Presenter->InitColumns(); }

    QList<TEntryPtr> Rows() const
    {
        QList<TEntryPtr> rows;
        for (int i = 0; i < Presenter->GetFilteredItemsCount(); ++i)
            rows << Presenter->GetFilteredItem(i);
        return rows;
    }
    void Sort(int column, TSortDirection direction)
    {
        View->SetColumnSorted(View->Columns().Item(column), true, direction);
    }
};

QString RandomWord(QRandomGenerator& random)
{
    static const QStringList words{u"mail"_s,  u"Mail"_s,  u"bank"_s, u"Bank"_s,
                                   u"äpfel"_s, u"apfel"_s, u"zoo"_s,  QString()};
    return words.at(random.bounded(int(words.size())));
}

} // namespace

class TestListViewPresenter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void initColumnsGivesDefaults();
    void sortsWithTieBreaks_data();
    void sortsWithTieBreaks();
    void sortAgreesWithCompareItems_data();
    void sortAgreesWithCompareItems();
    void headerClickResorts();
    void filtersAndSkipsNull();
    void fillsEveryColumn();
    void keepsSelectionAcrossReload();
    void selectsFromOutside();
    void remembersFilteredSelection();
    void rememberedItemsAreNotKeptAlive();
};

void TestListViewPresenter::initTestCase()
{
    // Sorting follows the user's locale: lower case before upper case, and
    // "ä" beside "a", in English.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestListViewPresenter::initColumnsGivesDefaults()
{
    TPresenterFixture list;
    const TOvListColumns& columns = list.View->Columns();
    QCOMPARE(columns.Count(), 3);
    QVERIFY(columns.Item(0)->Sorted());
    QCOMPARE(columns.Item(0)->SortDirection(), TSortDirection::sdAscending);
    QVERIFY(!columns.Item(0)->CanHide());
    for (int i = 1; i < 3; ++i) {
        QVERIFY(!columns.Item(i)->Sorted());
        QVERIFY(columns.Item(i)->CanHide());
    }
    for (int i = 0; i < 3; ++i)
        QCOMPARE(columns.Item(i)->Width(), 100); // not shown yet

    list.View->resize(640, 200);
    list.View->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.View.get()));
    list.Presenter->InitColumns();
    const int scrollBar = list.View->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QCOMPARE(columns.Item(1)->Width(), (list.View->viewport()->width() - scrollBar) / 3);
}

void TestListViewPresenter::sortsWithTieBreaks_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<TSortDirection>("direction");
    QTest::addColumn<QString>("order"); // entries by their names

    const auto up = TSortDirection::sdAscending;
    const auto down = TSortDirection::sdDescending;
    QTest::newRow("title, ties by user") << 0 << up << u"CBAD"_s;
    QTest::newRow("title descending, ties reversed too") << 0 << down << u"DABC"_s;
    QTest::newRow("user, ties by title") << 1 << up << u"CADB"_s;
    QTest::newRow("user descending") << 1 << down << u"BDAC"_s;
    QTest::newRow("masked notes by their real values") << 2 << up << u"BDAC"_s;
    QTest::newRow("notes descending") << 2 << down << u"CADB"_s;
}

void TestListViewPresenter::sortsWithTieBreaks()
{
    QFETCH(int, column);
    QFETCH(TSortDirection, direction);
    QFETCH(QString, order);
    TPresenterFixture list;
    const QHash<QString, TEntryPtr> entries{{u"A"_s, Entry(u"b"_s, u"x"_s, u"2"_s)},
                                            {u"B"_s, Entry(u"a"_s, u"y"_s, u"1"_s)},
                                            {u"C"_s, Entry(u"a"_s, u"x"_s, u"3"_s)},
                                            {u"D"_s, Entry(u"B"_s, u"x"_s, u"1"_s)}};
    list.Presenter->Source = entries.values();
    list.Sort(column, direction);
    QString shown;
    for (const TEntryPtr& row : list.Rows())
        shown += entries.key(row);
    QCOMPARE(shown, order);
}

void TestListViewPresenter::sortAgreesWithCompareItems_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<TSortDirection>("direction");
    for (int column = 0; column < 3; ++column)
        for (TSortDirection direction : {TSortDirection::sdAscending, TSortDirection::sdDescending})
            QTest::addRow("column %d %s", column,
                          direction == TSortDirection::sdAscending ? "up" : "down")
                << column << direction;
}

void TestListViewPresenter::sortAgreesWithCompareItems()
{
    QFETCH(int, column);
    QFETCH(TSortDirection, direction);
    TPresenterFixture list;
    QRandomGenerator random(7);
    for (int i = 0; i < 3000; ++i)
        list.Presenter->Source << Entry(RandomWord(random), RandomWord(random), RandomWord(random));
    list.Sort(column, direction);
    const QList<TEntryPtr> rows = list.Rows();
    QCOMPARE(rows.size(), 3000);
    for (qsizetype i = 0; i + 1 < rows.size(); ++i)
        QVERIFY2(list.Presenter->CompareItems(column, rows.at(i), rows.at(i + 1)) <= 0,
                 qPrintable(u"rows %1 and %2"_s.arg(i).arg(i + 1)));
}

void TestListViewPresenter::headerClickResorts()
{
    TPresenterFixture list;
    list.Presenter->Source = {Entry(u"a"_s, u"2"_s, {}), Entry(u"b"_s, u"1"_s, {})};
    list.Presenter->Reload();
    list.View->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.View.get()));
    QHeaderView* header = list.View->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    QCOMPARE(list.Rows().first()->Title, u"b"_s);
    QCOMPARE(list.View->Items().Item(0)->String(0), u"b"_s);
}

void TestListViewPresenter::filtersAndSkipsNull()
{
    TPresenterFixture list;
    list.Presenter->Source = {Entry(u"Mail"_s, {}, {}), nullptr, Entry(u"Bank"_s, {}, {}),
                              Entry(u"Webmail"_s, {}, {})};
    list.Presenter->Filter = u"mail"_s;
    list.Presenter->Reload();
    QCOMPARE(list.View->Items().Count(), 2);
    QCOMPARE(list.Rows().at(0)->Title, u"Mail"_s);
    QCOMPARE(list.Rows().at(1)->Title, u"Webmail"_s);

    list.Presenter->Source.clear();
    list.Presenter->Reload();
    QCOMPARE(list.View->Items().Count(), 0);
    QVERIFY(!list.Presenter->GetSelectedItem());
}

void TestListViewPresenter::fillsEveryColumn()
{
    TPresenterFixture list;
    const TEntryPtr entry = Entry(u"Mail"_s, u"anna"_s, u"secret note"_s);
    list.Presenter->Source = {entry};
    list.Presenter->Reload();
    list.View->Columns().Item(1)->SetVisible(false);
    const TOvListItem* item = list.View->Items().Item(0);
    QCOMPARE(item->Strings(), (QStringList{u"Mail"_s, u"anna"_s, u"********"_s}));
    QCOMPARE(item->Data(), entry.get());
}

void TestListViewPresenter::keepsSelectionAcrossReload()
{
    TPresenterFixture list;
    const TEntryPtr a = Entry(u"a"_s, {}, {});
    const TEntryPtr b = Entry(u"b"_s, {}, {});
    const TEntryPtr c = Entry(u"c"_s, {}, {});
    const TEntryPtr d = Entry(u"d"_s, {}, {});
    list.Presenter->Source = {a, b, c, d};
    list.Presenter->Reload();
    list.View->SelectItems({1, 3});
    QCOMPARE(list.Presenter->GetSelectedItems(), (QList<TEntryPtr>{b, d}));

    // d leaves the list, a new row comes before b.
    const TEntryPtr aa = Entry(u"aa"_s, {}, {});
    list.Presenter->Source = {c, b, a, aa};
    list.Presenter->Reload();
    QCOMPARE(list.Presenter->GetSelectedItems(), QList<TEntryPtr>{b});
    QCOMPARE(list.View->GetSelectedItemIndices(), QList<int>{2});
    QCOMPARE(list.Presenter->GetSelectedItem(), b);

    list.Presenter->Source = {a};
    list.Presenter->Reload();
    QVERIFY(list.Presenter->GetSelectedItems().isEmpty());
    QVERIFY(!list.Presenter->GetSelectedItem());
}

void TestListViewPresenter::selectsFromOutside()
{
    TPresenterFixture list;
    list.View->resize(400, 200);
    list.View->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.View.get()));
    for (int i = 0; i < 500; ++i)
        list.Presenter->Source << Entry(u"entry %1"_s.arg(i, 3, 10, QChar(u'0')), {}, {});
    list.Presenter->Reload();
    list.View->SetItemFocused(0);
    const TEntryPtr first = list.Presenter->Source.at(300);
    const TEntryPtr second = list.Presenter->Source.at(450);

    list.Presenter->SelectItems({second, first}, false);
    QCOMPARE(list.View->GetSelectedItemIndices(), (QList<int>{300, 450}));
    QCOMPARE(list.View->FocusedIndex(), 0);
    const QRect shown = list.View->visualRect(list.View->model()->index(300, 0));
    QVERIFY(list.View->viewport()->rect().contains(shown));

    list.Presenter->SelectItems({second}, true);
    QCOMPARE(list.View->GetSelectedItemIndices(), QList<int>{450});
    QCOMPARE(list.View->FocusedIndex(), 450);

    list.Presenter->SelectItems({}, true);
    QVERIFY(list.View->GetSelectedItemIndices().isEmpty());
}

void TestListViewPresenter::remembersFilteredSelection()
{
    TPresenterFixture list;
    const TEntryPtr a = Entry(u"a"_s, {}, {});
    const TEntryPtr b = Entry(u"b"_s, {}, {});
    list.Presenter->Source = {a, b};
    list.Presenter->Reload();

    list.View->SelectItems({0});
    list.Presenter->RememberFilteredSelection(false);
    QVERIFY(list.Presenter->GetSelectedFilteredItems().isEmpty());
    list.Presenter->RememberFilteredSelection(true);
    QCOMPARE(list.Presenter->GetSelectedFilteredItems(), QList<TEntryPtr>{a});

    list.View->ClearSelection();
    list.Presenter->RememberFilteredSelection(true);
    QCOMPARE(list.Presenter->GetSelectedFilteredItems(), QList<TEntryPtr>{a});
    list.View->SelectItems({1});
    list.Presenter->RememberFilteredSelection(false);
    QCOMPARE(list.Presenter->GetSelectedFilteredItems(), QList<TEntryPtr>{a});

    list.Presenter->ClearSelectedFilteredItems();
    QVERIFY(list.Presenter->GetSelectedFilteredItems().isEmpty());
}

void TestListViewPresenter::rememberedItemsAreNotKeptAlive()
{
    TPresenterFixture list;
    TEntryPtr doomed = Entry(u"a"_s, {}, {});
    const std::weak_ptr<TEntry> watch = doomed;
    list.Presenter->Source = {doomed, Entry(u"b"_s, {}, {})};
    list.Presenter->Reload();
    list.View->SelectAll();
    list.Presenter->RememberFilteredSelection(true);
    QCOMPARE(list.Presenter->GetSelectedFilteredItems().size(), 2);

    // Deleted from the source: gone once the list no longer shows it.
    list.Presenter->Source.removeFirst();
    doomed.reset();
    list.Presenter->Reload();
    QVERIFY(watch.expired());
    QCOMPARE(list.Presenter->GetSelectedFilteredItems().size(), 1);
}

QTEST_MAIN(TestListViewPresenter)
#include "tst_ListViewPresenter.moc"
