#include <QColor>
#include <QTest>

#include "Lockwyn.Colors.h"

class TestColors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversion_data();
    void conversion();
};

void TestColors::conversion_data()
{
    QTest::addColumn<uint>("color");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");

    QTest::newRow("pure red value $000000FF")
        << uint(Lockwyn::ColorFromBgr(0x0000FF)) << 255 << 0 << 0;
    QTest::newRow("pure blue value $00FF0000")
        << uint(Lockwyn::ColorFromBgr(0xFF0000)) << 0 << 0 << 255;
    QTest::newRow("strength start") << uint(Lockwyn::clStrengthBarStart) << 233 << 103 << 97;
    QTest::newRow("strength middle") << uint(Lockwyn::clStrengthBarMiddle) << 254 << 219 << 127;
    QTest::newRow("strength finish") << uint(Lockwyn::clStrengthBarFinish) << 113 << 218 << 101;
    QTest::newRow("mismatch") << uint(Lockwyn::clMismatchBackground) << 255 << 190 << 190;
    QTest::newRow("root group") << uint(Lockwyn::clRootGroupText) << 53 << 90 << 136;
    QTest::newRow("search counter") << uint(Lockwyn::clSearchCounterText) << 254 << 113 << 0;
    QTest::newRow("counter") << uint(Lockwyn::clCounterText) << 0 << 102 << 204;
    QTest::newRow("url") << uint(Lockwyn::clUrlText) << 0 << 0 << 255;
}

void TestColors::conversion()
{
    QFETCH(uint, color);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);

    QCOMPARE(QColor::fromRgb(QRgb(color)), QColor(red, green, blue));
}

QTEST_APPLESS_MAIN(TestColors)
#include "tst_Colors.moc"
