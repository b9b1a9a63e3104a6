// Titles and names stay on one line: breaks become spaces, control
// characters go, and a paste into a line edit is cleaned the same way.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "Components.SingleLineText.h"

class TestSingleLineText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleaned_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("plain") << "Bank"
                               << "Bank";
        QTest::newRow("windows break") << "a\r\nb"
                                       << "a b";
        QTest::newRow("unix breaks") << "a\n\nb\n"
                                     << "a b ";
        QTest::newRow("tab") << "a\tb"
                             << "a b";
        QTest::newRow("unicode separators")
            << QString("a") + QChar(0x2028) + "b" + QChar(0x2029) << "a b ";
        QTest::newRow("bell and escape") << QString("a\x07"
                                                    "b\x1b[0m")
                                         << "ab[0m";
        QTest::newRow("delete and C1") << QString("a") + QChar(0x7F) + QChar(0x9B) + "b"
                                       << "ab";
        QTest::newRow("umlauts and emoji stay")
            << QString::fromUtf8("Grüße 🔑") << QString::fromUtf8("Grüße 🔑");
        QTest::newRow("surrounding spaces stay") << "  x  "
                                                 << "  x  ";
    }

    void cleaned()
    {
        QFETCH(QString, text);
        QFETCH(QString, line);
        QCOMPARE(SingleLineText(text), line);
    }

    void pasteIntoALineEditIsCleaned()
    {
        QLineEdit edit;
        edit.setValidator(new TSingleLineValidator(&edit));
        edit.setText("Mail");
        edit.setCursorPosition(2);
        QApplication::clipboard()->setText("x\r\ny\x01");
        edit.paste();
        QCOMPARE(edit.text(), QStringLiteral("Max yil"));
        QCOMPARE(edit.cursorPosition(), 5);
    }
};

QTEST_MAIN(TestSingleLineText)
#include "tst_SingleLineText.moc"
