#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "Orvanta.Vcl.RecentFilesComboBox.h"

namespace {

const QDateTime Day1 = QDateTime(QDate(2024, 3, 1), QTime(9, 0));
const QDateTime Day1Late = QDateTime(QDate(2024, 3, 1), QTime(23, 30));
const QDateTime Day2 = QDateTime(QDate(2024, 3, 2), QTime(8, 0));
const QDateTime Day3 = QDateTime(QDate(2024, 3, 3), QTime(1, 0));

QStringList Names(const TOvRecentItems& items)
{
    QStringList names;
    items.GetFileNames(names);
    return names;
}

QString CreateFile(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("x");
    return path;
}

} // namespace

class TestRecentFilesComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sort_data();
    void sort();
    void indexOf_data();
    void indexOf();
    void addFileNamesSkipsMissingFiles();
    void addTakesModificationTimeOrNow();
    void removeNonExisted();
    void updateEventAfterEveryChange();
    void assignCopiesEntries();
    void comboRebuildsKeepingSelection();
    void dropDownHeight_data();
    void dropDownHeight();
    void mouseWheel_data();
    void mouseWheel();
    void entriesSeparatedButLast();
    void selectedEntryHighlighted();
    void iconBeforeText();
    void userDrawingReplacesBuiltIn();
};

void TestRecentFilesComboBox::sort_data()
{
    QTest::addColumn<QList<QDateTime>>("stamps"); // for "a", "b", "c", ... in adding order
    QTest::addColumn<QString>("expected");

    QTest::newRow("same day keeps adding order") << QList<QDateTime>{Day1Late, Day1} << "ab";
    QTest::newRow("a later day moves first") << QList<QDateTime>{Day1, Day1Late, Day2} << "cab";
    QTest::newRow("newest day first") << QList<QDateTime>{Day1, Day3, Day2} << "bca";
    QTest::newRow("unknown time last") << QList<QDateTime>{QDateTime(), Day1} << "ba";
    QTest::newRow("mixed") << QList<QDateTime>{Day2, Day1, Day3, Day2, Day1Late} << "cadbe";
}

void TestRecentFilesComboBox::sort()
{
    QFETCH(QList<QDateTime>, stamps);
    QFETCH(QString, expected);

    TOvRecentItems items;
    for (int i = 0; i < stamps.size(); ++i)
        items.Add(QString(QChar('a' + i)), -1, stamps[i]);

    QCOMPARE(Names(items).join(QString()), expected);
}

void TestRecentFilesComboBox::indexOf_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("expected");

    QTest::newRow("same name") << QDir::current().filePath("db/Second.lwdb") << 1;
    QTest::newRow("other letter case") << QDir::current().filePath("DB/second.LWDB") << 1;
    QTest::newRow("relative name") << "db/first.lwdb" << 0;
    QTest::newRow("relative with dots") << "db/../db/./second.lwdb" << 1;
    QTest::newRow("unknown") << "db/third.lwdb" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestRecentFilesComboBox::indexOf()
{
    QFETCH(QString, query);
    QFETCH(int, expected);

    TOvRecentItems items;
    items.Add(QDir::current().filePath("db/first.lwdb"), -1, Day2);
    items.Add(QDir::current().filePath("db/Second.lwdb"), -1, Day1);

    QCOMPARE(items.IndexOf(query), expected);
}

void TestRecentFilesComboBox::addFileNamesSkipsMissingFiles()
{
    QTemporaryDir dir;
    const QString existing = CreateFile(dir, "here.lwdb");

    TOvRecentItems items;
    items.AddFileNames({dir.filePath("gone.lwdb"), existing, dir.path()});

    QCOMPARE(Names(items), QStringList{existing});
}

void TestRecentFilesComboBox::addTakesModificationTimeOrNow()
{
    QTemporaryDir dir;
    const QString existing = CreateFile(dir, "old.lwdb");
    QFile file(existing);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(Day1, QFileDevice::FileModificationTime);
    file.close();

    TOvRecentItems items;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const TOvRecentItem& missing = items.Add(dir.filePath("missing.lwdb"));
    const TOvRecentItem& old = items.Add(existing);

    QCOMPARE(old.TimeStamp(), Day1);
    QVERIFY(missing.TimeStamp() >= before);
    QVERIFY(missing.TimeStamp() <= QDateTime::currentDateTime());
    QCOMPARE(Names(items), (QStringList{dir.filePath("missing.lwdb"), existing}));
}

void TestRecentFilesComboBox::removeNonExisted()
{
    QTemporaryDir dir;
    const QString a = CreateFile(dir, "a.lwdb");
    const QString b = CreateFile(dir, "b.lwdb");
    const QString c = CreateFile(dir, "c.lwdb");
    TOvRecentItems items;
    for (const QString& name : {a, b, c})
        items.Add(name, -1, Day1);
    QFile::remove(a);
    QFile::remove(c);

    items.RemoveNonExisted();

    QCOMPARE(Names(items), QStringList{b});
}

void TestRecentFilesComboBox::updateEventAfterEveryChange()
{
    TOvRecentItems items;
    QStringList seen;
    items.OnUpdate = [&] {
        seen.append(QString::number(items.Count()));
    };

    items.Add("a", -1, Day1);
    items.Add("b", -1, Day2);
    items.SetItem(0, TOvRecentItem("c", 2, Day3));
    items.Delete(1);
    items.Clear();

    QCOMPARE(seen, (QStringList{"1", "2", "2", "1", "0"}));
}

void TestRecentFilesComboBox::assignCopiesEntries()
{
    TOvRecentItems source;
    source.Add("a", 3, Day1);
    source.Add("b", 4, Day2);
    TOvRecentItems copy;
    copy.Add("old", -1, Day3);

    copy.Assign(source);
    source.Clear();

    QCOMPARE(Names(copy), (QStringList{"b", "a"}));
    QCOMPARE(copy.GetItem(1).IconIndex(), 3);
    QCOMPARE(copy.GetItem(1).TimeStamp(), Day1);
}

void TestRecentFilesComboBox::comboRebuildsKeepingSelection()
{
    TOvRecentFilesComboBox combo;
    combo.Items().Add("/x/a.lwdb", -1, Day1);
    combo.Items().Add("/x/b.lwdb", -1, Day1);
    combo.setCurrentIndex(1);
    QSignalSpy changed(&combo, &QComboBox::currentIndexChanged);

    combo.Items().Add("/x/c.lwdb", -1, Day2); // sorts before both

    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.itemText(0), QString("/x/c.lwdb"));
    QCOMPARE(combo.SelectedFileName(), QString("/x/b.lwdb"));
    QCOMPARE(combo.currentIndex(), 2);
    QCOMPARE(changed.count(), 0); // the same file stays selected

    combo.Items().Delete(2);
    QCOMPARE(combo.currentIndex(), -1);
    QCOMPARE(changed.count(), 1);
}

void TestRecentFilesComboBox::dropDownHeight_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("shownEntries");

    QTest::newRow("empty list shows one entry's height") << 0 << 1;
    QTest::newRow("three") << 3 << 3;
    QTest::newRow("ten") << 10 << 10;
    QTest::newRow("more than ten") << 14 << 10;
}

void TestRecentFilesComboBox::dropDownHeight()
{
    QFETCH(int, entries);
    QFETCH(int, shownEntries);

    QWidget window;
    window.resize(400, 200);
    auto* combo = new TOvRecentFilesComboBox(&window);
    combo->setGeometry(10, 10, 380, 26);
    for (int i = 0; i < entries; ++i)
        combo->Items().Add(QString("/x/%1.lwdb").arg(i), -1, Day1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    combo->showPopup();
    QWidget* popup = combo->view()->parentWidget();
    QTRY_VERIFY(popup->isVisible());

    QCOMPARE(popup->height(), shownEntries * combo->ItemHeight() + 2);
    QCOMPARE(popup->width(), combo->width());
    combo->hidePopup();
}

void TestRecentFilesComboBox::mouseWheel_data()
{
    QTest::addColumn<bool>("blocked");
    QTest::addColumn<int>("expectedIndex");

    QTest::newRow("wheel changes the selection") << false << 1;
    QTest::newRow("blocked wheel keeps it") << true << 0;
}

void TestRecentFilesComboBox::mouseWheel()
{
    QFETCH(bool, blocked);
    QFETCH(int, expectedIndex);

    TOvRecentFilesComboBox combo;
    combo.Items().Add("/x/a.lwdb", -1, Day1);
    combo.Items().Add("/x/b.lwdb", -1, Day1);
    combo.setCurrentIndex(0);
    combo.SetBlockItemChangeOnMouseWheel(blocked);
    combo.resize(300, 26);
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));

    const QPointF center(combo.width() / 2.0, combo.height() / 2.0);
    QWheelEvent wheel(center, combo.mapToGlobal(center), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&combo, &wheel);

    QCOMPARE(combo.currentIndex(), expectedIndex);
}

namespace {

QImage PaintEntries(TOvRecentFilesComboBox& combo, int width, int selectedRow = -1)
{
    const int height = combo.ItemHeight();
    QImage image(width, height * combo.count(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    for (int row = 0; row < combo.count(); ++row) {
        QStyleOptionViewItem option;
        option.initFrom(combo.view());
        option.rect = QRect(0, row * height, width, height);
        if (row == selectedRow)
            option.state |= QStyle::State_Selected;
        combo.itemDelegate()->paint(&painter, option, combo.model()->index(row, 0));
    }
    return image;
}

} // namespace

void TestRecentFilesComboBox::entriesSeparatedButLast()
{
    TOvRecentFilesComboBox combo;
    combo.Items().Add("/folder/first.lwdb", -1, Day2);
    combo.Items().Add("/folder/second.lwdb", -1, Day1);
    const QImage image = PaintEntries(combo, 300);
    const int height = combo.ItemHeight();

    QCOMPARE(image.pixel(150, height - 1), qRgb(192, 192, 192));
    QCOMPARE(image.pixel(2, height - 1), qRgb(192, 192, 192));
    QVERIFY(image.pixel(150, 2 * height - 1) != qRgb(192, 192, 192));
}

void TestRecentFilesComboBox::selectedEntryHighlighted()
{
    TOvRecentFilesComboBox combo;
    combo.Items().Add("/folder/first.lwdb", -1, Day2);
    combo.Items().Add("/folder/second.lwdb", -1, Day1);
    const QImage image = PaintEntries(combo, 300, 1);
    const QPalette palette = combo.view()->palette();
    const int height = combo.ItemHeight();

    QCOMPARE(QColor(image.pixel(1, 1)), palette.color(QPalette::Base));
    QCOMPARE(QColor(image.pixel(1, height + 1)), palette.color(QPalette::Highlight));
}

void TestRecentFilesComboBox::iconBeforeText()
{
    TOvRecentFilesComboBox combo;
    QPixmap red(combo.iconSize());
    red.fill(Qt::red);
    combo.SetImages({QIcon(red)});
    combo.Items().Add("/folder/with-icon.lwdb", 0, Day2);
    combo.Items().Add("/folder/without.lwdb", -1, Day1);
    const QImage image = PaintEntries(combo, 300);
    const int height = combo.ItemHeight();
    const int iconLeft = 8;
    const int iconRight = iconLeft + combo.iconSize().width() - 1;

    QCOMPARE(QColor(image.pixel(iconLeft, height / 2)), QColor(Qt::red));
    QCOMPARE(QColor(image.pixel(iconRight, height / 2)), QColor(Qt::red));
    QVERIFY(QColor(image.pixel(iconLeft - 1, height / 2)) != QColor(Qt::red));
    QVERIFY(QColor(image.pixel(iconLeft, height + height / 2)) != QColor(Qt::red));
}

void TestRecentFilesComboBox::userDrawingReplacesBuiltIn()
{
    TOvRecentFilesComboBox combo;
    combo.Items().Add("/folder/first.lwdb", -1, Day2);
    QList<int> drawn;
    combo.OnDrawItem = [&](QPainter* painter, const QStyleOptionViewItem& option, int row) {
        drawn.append(row);
        painter->fillRect(option.rect, Qt::darkGreen);
    };
    combo.OnMeasureItem = [](int) {
        return 30;
    };

    const QImage image = PaintEntries(combo, 200);

    QCOMPARE(drawn, QList<int>{0});
    QCOMPARE(QColor(image.pixel(100, 10)), QColor(Qt::darkGreen));
    QStyleOptionViewItem option;
    QCOMPARE(combo.itemDelegate()->sizeHint(option, combo.model()->index(0, 0)).height(), 30);
}

QTEST_MAIN(TestRecentFilesComboBox)
#include "tst_RecentFilesComboBox.moc"
