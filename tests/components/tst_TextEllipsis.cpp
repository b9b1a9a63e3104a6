#include <QApplication>
#include <QFontMetrics>
#include <QtTest>

#include "OvVcl.TextEllipsis.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TEllipsisStyle)

namespace {

const QChar Ellipsis(0x2026);

} // namespace

class TestTextEllipsis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fittingTextUnchanged_data();
    void fittingTextUnchanged();
    void shortenedTextFits_data();
    void shortenedTextFits();
    void endKeepsTheStart();
    void wordCutsAtWordBoundary();
    void pathKeepsTheLastElement();
    void lineBreaksShownAsBlanks();
    void veryLongTextFits();
};

void TestTextEllipsis::fittingTextUnchanged_data()
{
    QTest::addColumn<TEllipsisStyle>("style");
    QTest::newRow("end") << TEllipsisStyle::esEndEllipsis;
    QTest::newRow("word") << TEllipsisStyle::esWordEllipsis;
    QTest::newRow("path") << TEllipsisStyle::esPathEllipsis;
}

void TestTextEllipsis::fittingTextUnchanged()
{
    QFETCH(TEllipsisStyle, style);
    const QFontMetrics metrics(QApplication::font());
    const QString text = u"\\Mail\\Webmail"_s;
    QCOMPARE(ElideText(metrics, text, metrics.horizontalAdvance(text), style), text);
}

void TestTextEllipsis::shortenedTextFits_data()
{
    fittingTextUnchanged_data();
}

void TestTextEllipsis::shortenedTextFits()
{
    QFETCH(TEllipsisStyle, style);
    const QFontMetrics metrics(QApplication::font());
    const QString text = u"\\Internet\\Shopping and more\\Bookshop account for the family"_s;
    for (int width : {40, 90, 160, 250}) {
        const QString shown = ElideText(metrics, text, width, style);
        QVERIFY2(metrics.horizontalAdvance(shown) <= width, qPrintable(shown));
        QVERIFY2(shown.contains(Ellipsis), qPrintable(shown));
    }
}

void TestTextEllipsis::endKeepsTheStart()
{
    const QFontMetrics metrics(QApplication::font());
    const QString text = u"Bookshop account for the family"_s;
    const QString shown = ElideText(metrics, text, metrics.horizontalAdvance(u"Bookshop acc"_s),
                                    TEllipsisStyle::esEndEllipsis);
    QVERIFY(shown.endsWith(Ellipsis));
    QVERIFY(text.startsWith(shown.chopped(1)));
}

void TestTextEllipsis::wordCutsAtWordBoundary()
{
    const QFontMetrics metrics(QApplication::font());
    const QString text = u"Bookshop account for the family"_s;
    const int width = metrics.horizontalAdvance(u"Bookshop acco"_s + Ellipsis);
    QCOMPARE(ElideText(metrics, text, width, TEllipsisStyle::esWordEllipsis),
             u"Bookshop"_s + Ellipsis);
    // A first word too long for the width is cut like the end ellipsis.
    const QString word = u"Supercalifragilistic"_s;
    const int narrow = metrics.horizontalAdvance(u"Super"_s + Ellipsis);
    QCOMPARE(ElideText(metrics, word, narrow, TEllipsisStyle::esWordEllipsis),
             ElideText(metrics, word, narrow, TEllipsisStyle::esEndEllipsis));
}

void TestTextEllipsis::pathKeepsTheLastElement()
{
    const QFontMetrics metrics(QApplication::font());
    const QString text = u"\\Internet\\Shopping\\Books\\Bookshop"_s;
    const int width = metrics.horizontalAdvance(u"\\Intern"_s + Ellipsis + u"\\Bookshop"_s);
    const QString shown = ElideText(metrics, text, width, TEllipsisStyle::esPathEllipsis);
    QVERIFY2(shown.endsWith(Ellipsis + u"\\Bookshop"_s), qPrintable(shown));
    QVERIFY2(shown.startsWith(u"\\Int"_s), qPrintable(shown));
    // Without room for the last element, its end goes.
    const QString tight = ElideText(metrics, text, metrics.horizontalAdvance(u"\\Book"_s),
                                    TEllipsisStyle::esPathEllipsis);
    QVERIFY2(tight.startsWith(Ellipsis) && tight.endsWith(Ellipsis), qPrintable(tight));
    // Without a backslash the middle goes.
    const QString plain =
        ElideText(metrics, u"Bookshop account for the family"_s,
                  metrics.horizontalAdvance(u"Bookshop family"_s), TEllipsisStyle::esPathEllipsis);
    QVERIFY2(plain.startsWith(u"Book"_s) && plain.endsWith(u"mily"_s), qPrintable(plain));
}

void TestTextEllipsis::lineBreaksShownAsBlanks()
{
    const QFontMetrics metrics(QApplication::font());
    QCOMPARE(ElideText(metrics, u"one\r\ntwo\nthree\tfour"_s, 1000, TEllipsisStyle::esEndEllipsis),
             u"one  two three four"_s);
}

void TestTextEllipsis::veryLongTextFits()
{
    const QFontMetrics metrics(QApplication::font());
    const QString note = QString(100000, u'x') + u"\nend"_s;
    for (TEllipsisStyle style : {TEllipsisStyle::esEndEllipsis, TEllipsisStyle::esPathEllipsis}) {
        const QString shown = ElideText(metrics, note, 200, style);
        QVERIFY(metrics.horizontalAdvance(shown) <= 200);
        QVERIFY(shown.size() < 200);
        QVERIFY(shown.contains(Ellipsis));
    }
}

QTEST_MAIN(TestTextEllipsis)
#include "tst_TextEllipsis.moc"
