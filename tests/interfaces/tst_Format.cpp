#include <QTest>

#include "Lockwyn.Format.h"

using Lockwyn::FormatList;

class TestFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void format_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");

        QTest::newRow("string") << "Cannot load %s" << QStringList{"LockwynLib.so"}
                                << "Cannot load LockwynLib.so";
        QTest::newRow("number") << "cleared in %d seconds" << QStringList{"15"}
                                << "cleared in 15 seconds";
        QTest::newRow("sequential") << "%s and %s" << QStringList{"a", "b"} << "a and b";
        QTest::newRow("numbered") << "%0:s (Copy %1:d)" << QStringList{"Mail", "2"}
                                  << "Mail (Copy 2)";
        QTest::newRow("numbered reversed")
            << "%1:s before %0:s" << QStringList{"x", "y"} << "y before x";
        QTest::newRow("plain after numbered continues")
            << "%1:s %s" << QStringList{"a", "b", "c"} << "b c";
        QTest::newRow("percent sign") << "100%% sure" << QStringList{} << "100% sure";
        QTest::newRow("lone percent at end") << "50%" << QStringList{} << "50%";
        QTest::newRow("unknown conversion kept") << "%x and %s" << QStringList{"a"} << "%x and a";
        QTest::newRow("missing argument is empty") << "[%s]" << QStringList{} << "[]";
        QTest::newRow("value with placeholder is not re-expanded")
            << "%0:s/%1:s" << QStringList{"%1:s", "b"} << "%1:s/b";
        QTest::newRow("line break kept") << "a\r\n%s" << QStringList{"b"} << "a\r\nb";
    }

    void format()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        QCOMPARE(FormatList(pattern, args), expected);
    }

    void formatTakesNumbersAndText()
    {
        QCOMPARE(Lockwyn::Format(QStringLiteral("%0:s (Imported %1:d)"), QStringLiteral("Bank"), 3),
                 QStringLiteral("Bank (Imported 3)"));
        QCOMPARE(Lockwyn::Format(QStringLiteral("%s"), "utf-8 \xc3\xa4"),
                 QStringLiteral("utf-8 ä"));
    }
};

QTEST_APPLESS_MAIN(TestFormat)
#include "tst_Format.moc"
