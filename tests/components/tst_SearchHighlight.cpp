#include <QApplication>
#include <QFontMetrics>
#include <QtTest>

#include "Components.SearchHighlight.h"
#include "OvVcl.TextEllipsis.h"

using namespace Qt::StringLiterals;

using TRun = TSearchHighlights::TRun;

class TestSearchHighlight : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findAll_data();
    void findAll();
    void findRuns_data();
    void findRuns();
    void rectsCoverMatchedCharacters();
    void rectsOnlyInsideShortenedText();
    void htmlEscapesEverythingButMarks();
};

void TestSearchHighlight::findAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QList<qsizetype>>("hits");

    QTest::newRow("two hits, any case")
        << u"Mail and MAIL"_s << u"mail"_s << QList<qsizetype>{0, 9};
    QTest::newRow("overlapping hits") << u"aaaa"_s << u"aa"_s << QList<qsizetype>{0, 1, 2};
    QTest::newRow("umlauts ignore case") << u"Über über"_s << u"ÜBER"_s << QList<qsizetype>{0, 5};
    QTest::newRow("no hit") << u"password"_s << u"user"_s << QList<qsizetype>{};
    QTest::newRow("empty search") << u"text"_s << QString() << QList<qsizetype>{};
    QTest::newRow("search longer than text") << u"ab"_s << u"abc"_s << QList<qsizetype>{};
}

void TestSearchHighlight::findAll()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(QList<qsizetype>, hits);
    QCOMPARE(TSearchHighlights::FindAll(text, search), hits);
}

void TestSearchHighlight::findRuns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QList<TRun>>("runs");

    QTest::newRow("upper and lower case both marked")
        << u"Mail mail"_s << u"mail"_s << QList<TRun>{{0, 4}, {5, 4}};
    QTest::newRow("three letters, two searched: the last two")
        << u"aaa"_s << u"aa"_s << QList<TRun>{{1, 2}};
    QTest::newRow("never overlapping") << u"aaaaa"_s << u"aa"_s << QList<TRun>{{1, 2}, {3, 2}};
    QTest::newRow("value shorter than the search") << u"ab"_s << u"abc"_s << QList<TRun>{};
    QTest::newRow("empty search") << u"abc"_s << QString() << QList<TRun>{};
}

void TestSearchHighlight::findRuns()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(QList<TRun>, runs);
    QCOMPARE(TSearchHighlights::FindRuns(text, search), runs);
}

void TestSearchHighlight::rectsCoverMatchedCharacters()
{
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    const QString text = u"Bank mail, old MAIL"_s;
    const QRect textRect(40, 10, 500, 17);
    const QList<QRect> rects = TSearchHighlights::GetRects(font, text, u"mail"_s, textRect);
    QCOMPARE(rects.size(), 2);
    for (qsizetype i = 0; i < rects.size(); ++i) {
        const qsizetype start = TSearchHighlights::FindAll(text, u"mail"_s).at(i);
        QVERIFY(qAbs(rects.at(i).left() - (40 + metrics.horizontalAdvance(text.left(start)))) <= 1);
        QVERIFY(qAbs(rects.at(i).right() + 1 -
                     (40 + metrics.horizontalAdvance(text.left(start + 4)))) <= 1);
        QCOMPARE(rects.at(i).top(), textRect.top());
        QCOMPARE(rects.at(i).bottom(), textRect.bottom());
    }
    QVERIFY(rects.at(0).right() < rects.at(1).left());
    QVERIFY(TSearchHighlights::GetRects(font, text, u"none"_s, textRect).isEmpty());
}

void TestSearchHighlight::rectsOnlyInsideShortenedText()
{
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    const QString text = u"mail at the start, and the end holds another mail"_s;
    const int width = metrics.horizontalAdvance(u"mail at the start"_s);
    const QString shown = ElideText(metrics, text, width, TEllipsisStyle::esEndEllipsis);
    QCOMPARE(TSearchHighlights::GetRects(font, shown, u"mail"_s, QRect(0, 0, width, 16)).size(), 1);
}

void TestSearchHighlight::htmlEscapesEverythingButMarks()
{
    const QString html = TSearchHighlights::ToHighlightedHtml(
        u"<b>x</b> & <img src=x onerror=alert(1)> box"_s, u"b"_s, QColor(Qt::yellow));
    QVERIFY(!html.contains(u"<b>"_s));
    QVERIFY(!html.contains(u"<img"_s));
    QVERIFY(html.contains(u"&lt;"_s));
    QVERIFY(html.contains(u"&amp;"_s));
    QCOMPARE(html.count(u"<span style=\"background-color:#ffff00\">"_s), 3);
    // Only the search text sits inside the marks.
    QVERIFY(html.contains(u"<span style=\"background-color:#ffff00\">b</span>ox"_s));
    QCOMPARE(TSearchHighlights::ToHighlightedHtml(u"a<b"_s, QString(), QColor(Qt::yellow)),
             u"a&lt;b"_s);
}

QTEST_MAIN(TestSearchHighlight)
#include "tst_SearchHighlight.moc"
