// The ring fills clockwise from twelve o'clock in proportion to the value.

#include <QtMath>
#include <QtTest>

#include "Orvanta.Vcl.RingProgress.h"

class TestRingProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillsClockwiseFromTheTop_data();
    void fillsClockwiseFromTheTop();
};

void TestRingProgress::fillsClockwiseFromTheTop_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<bool>>("filled"); // at 45, 135, 225 and 315 degrees

    QTest::newRow("empty") << 0 << QList<bool>{false, false, false, false};
    QTest::newRow("a fifth") << 20 << QList<bool>{true, false, false, false};
    QTest::newRow("half") << 50 << QList<bool>{true, true, false, false};
    QTest::newRow("most") << 80 << QList<bool>{true, true, true, false};
    QTest::newRow("full") << 100 << QList<bool>{true, true, true, true};
}

void TestRingProgress::fillsClockwiseFromTheTop()
{
    QFETCH(int, value);
    QFETCH(QList<bool>, filled);
    TOvRingProgress ring;
    QPalette palette = ring.palette();
    palette.setColor(QPalette::Highlight, Qt::red);
    palette.setColor(QPalette::Mid, Qt::blue);
    ring.setPalette(palette);
    ring.setTextVisible(false);
    ring.setRange(0, 100);
    ring.setValue(value);
    ring.resize(100, 100);
    const QImage image = ring.grab().toImage();

    const double radius = 50 - 100 * 0.12 / 2;
    for (int i = 0; i < 4; ++i) {
        const double angle = qDegreesToRadians(45.0 + 90 * i);
        const QPoint at(qRound(50 + radius * qSin(angle)), qRound(50 - radius * qCos(angle)));
        const QColor pixel = image.pixelColor(at);
        QCOMPARE(pixel.red() > pixel.blue(), filled[i]);
    }
}

QTEST_MAIN(TestRingProgress)
#include "tst_RingProgress.moc"
