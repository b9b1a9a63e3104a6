#include <QApplication>
#include <QVBoxLayout>
#include <QWindow>
#include <QtTest>

#include <memory>

#include "OvToast.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int cLongInterval = 60000; // never fades during a test

QList<TOvToast*> Toasts()
{
    QList<TOvToast*> toasts;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (auto* toast = qobject_cast<TOvToast*>(window))
            toasts << toast;
    return toasts;
}

TOvToast* ShowToast(QWidget* control, const QString& message, int interval = cLongInterval)
{
    TOvToast::Show(control, message, interval);
    const QList<TOvToast*> toasts = Toasts();
    return toasts.size() == 1 ? toasts.first() : nullptr;
}

QSize ToastSize(QWidget* control, const QString& message)
{
    TOvToast* toast = ShowToast(control, message);
    return toast ? toast->size() : QSize();
}

QPoint GlobalCentre(const QWidget* widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

bool CentredOn(const QWidget* toast, const QWidget* control)
{
    return (GlobalCentre(toast) - GlobalCentre(control)).manhattanLength() <= 2;
}

void ProcessDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestOvToast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void showsOneAtATime();
    void cancelRemovesToast();
    void withoutControlShowsNothing();
    void doesNotTakeFocus();
    void looksLikeAToast();
    void sizeFromText();
    void twoLines_data();
    void twoLines();
    void centredOnControl();
    void followsAnchor_data();
    void followsAnchor();
    void goesAwayWithAnchor_data();
    void goesAwayWithAnchor();
    void goesAwayWhenAnchorDestroyed();
    void fadesOutAfterInterval();

private:
    std::unique_ptr<QWidget> FWindow;
    QWidget* FControl = nullptr; // off-centre child of FWindow
};

void TestOvToast::init()
{
    FWindow = std::make_unique<QWidget>();
    FWindow->setGeometry(100, 100, 640, 480);
    auto* layout = new QVBoxLayout(FWindow.get());
    layout->setContentsMargins(40, 30, 200, 100);
    FControl = new QWidget;
    layout->addWidget(FControl);
    FWindow->show();
    FWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FWindow.get()));
}

void TestOvToast::cleanup()
{
    TOvToast::Cancel();
    FWindow.reset();
}

void TestOvToast::showsOneAtATime()
{
    TOvToast::Show(FWindow.get(), u"Password copied to clipboard"_s, cLongInterval);
    TOvToast::Show(FWindow.get(), u"Database reloaded"_s, cLongInterval);
    const QList<TOvToast*> toasts = Toasts();
    QCOMPARE(toasts.size(), 1);
    QCOMPARE(toasts.first()->accessibleName(), u"Database reloaded"_s);
    QVERIFY(toasts.first()->isVisible());
}

void TestOvToast::cancelRemovesToast()
{
    QPointer<TOvToast> toast = ShowToast(FWindow.get(), u"Read Only mode enabled"_s);
    QVERIFY(toast);
    TOvToast::Cancel();
    QVERIFY(!toast);
}

void TestOvToast::withoutControlShowsNothing()
{
    QPointer<TOvToast> earlier = ShowToast(FWindow.get(), u"Earlier"_s);
    TOvToast::Show(nullptr, u"Nowhere"_s, cLongInterval);
    QVERIFY(!earlier);
    QVERIFY(Toasts().isEmpty());
}

void TestOvToast::doesNotTakeFocus()
{
    TOvToast* toast = ShowToast(FWindow.get(), u"Copied"_s);
    QVERIFY(toast);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), FWindow.get());
    QVERIFY(FWindow->isActiveWindow());
}

void TestOvToast::looksLikeAToast()
{
    TOvToast* toast = ShowToast(FWindow.get(), u"Copied"_s);
    QVERIFY(toast);
    QCOMPARE(qRound(toast->windowOpacity() * 255), 180);
    const QImage image = toast->grab().toImage();
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::black));
    // White text inside the margins.
    bool whiteText = false;
    for (int y = 16; y < image.height() - 16 && !whiteText; ++y)
        for (int x = 32; x < image.width() - 32 && !whiteText; ++x)
            whiteText = image.pixelColor(x, y).lightness() > 200;
    QVERIFY(whiteText);
}

void TestOvToast::sizeFromText()
{
    const QString message = u"Password copied to clipboard"_s;
    TOvToast* toast = ShowToast(FWindow.get(), message);
    QVERIFY(toast);
    const QFontMetrics metrics(toast->font());
    // Qt measures with fractional metrics: allow a pixel of rounding.
    QVERIFY(qAbs(toast->height() - (metrics.height() + 32)) <= 1);
    QVERIFY(qAbs(toast->width() - (metrics.horizontalAdvance(message) + 64)) <= 1);
}

void TestOvToast::twoLines_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("CR LF")
        << u"Password copied to clipboard\r\nClipboard will be cleared in 5 seconds"_s;
    QTest::newRow("LF")
        << u"Password copied to clipboard\nClipboard will be cleared in 5 seconds"_s;
}

void TestOvToast::twoLines()
{
    QFETCH(QString, message);

    const QSize longer = ToastSize(FWindow.get(), u"Clipboard will be cleared in 5 seconds"_s);
    const QSize shorter = ToastSize(FWindow.get(), u"Password copied to clipboard"_s);
    TOvToast* toast = ShowToast(FWindow.get(), message);
    QVERIFY(toast);
    QVERIFY(longer.width() > shorter.width());
    QCOMPARE(toast->width(), longer.width());
    const int secondLine = toast->height() - longer.height();
    QVERIFY(qAbs(secondLine - QFontMetrics(toast->font()).lineSpacing()) <= 1);
}

void TestOvToast::centredOnControl()
{
    TOvToast* toast = ShowToast(FControl, u"Enter a password"_s);
    QVERIFY(toast);
    QVERIFY(!CentredOn(toast, FWindow.get())); // the control is off-centre
    QVERIFY2(CentredOn(toast, FControl),
             qPrintable(u"toast %1, control %2"_s.arg(QDebug::toString(toast->geometry()),
                                                      QDebug::toString(GlobalCentre(FControl)))));
}

void TestOvToast::followsAnchor_data()
{
    QTest::addColumn<bool>("onChild");
    QTest::addColumn<QRect>("newGeometry");
    QTest::newRow("window moved") << false << QRect(400, 250, 640, 480);
    QTest::newRow("window resized") << false << QRect(100, 100, 900, 300);
    QTest::newRow("child, window moved") << true << QRect(400, 250, 640, 480);
    QTest::newRow("child, window resized") << true << QRect(100, 100, 900, 700);
}

void TestOvToast::followsAnchor()
{
    QFETCH(bool, onChild);
    QFETCH(QRect, newGeometry);

    QWidget* control = onChild ? FControl : FWindow.get();
    TOvToast* toast = ShowToast(control, u"Database reloaded"_s);
    QVERIFY(toast);
    const QPoint before = toast->pos();
    FWindow->setGeometry(newGeometry);
    QTRY_COMPARE(FWindow->geometry(), newGeometry);
    QVERIFY(toast->pos() != before);
    QVERIFY(CentredOn(toast, control));
}

void TestOvToast::goesAwayWithAnchor_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("closed") << u"close"_s;
    QTest::newRow("hidden") << u"hide"_s;
    QTest::newRow("minimised") << u"minimise"_s;
}

void TestOvToast::goesAwayWithAnchor()
{
    QFETCH(QString, how);

    QPointer<TOvToast> toast = ShowToast(FControl, u"Copied"_s);
    QVERIFY(toast);
    if (how == u"close")
        FWindow->close();
    else if (how == u"hide")
        FWindow->hide();
    else
        FWindow->showMinimized();
    // Gone at once, without a fade.
    QVERIFY(!toast || !toast->isVisible());
    ProcessDeferredDeletes();
    QVERIFY(!toast);
}

void TestOvToast::goesAwayWhenAnchorDestroyed()
{
    QPointer<TOvToast> toast = ShowToast(FControl, u"Copied"_s);
    QVERIFY(toast);
    FWindow.reset();
    QVERIFY(!toast);
}

void TestOvToast::fadesOutAfterInterval()
{
    QPointer<TOvToast> toast = ShowToast(FWindow.get(), u"Database reloaded"_s, 50);
    QVERIFY(toast);
    QList<int> opacities;
    connect(toast->windowHandle(), &QWindow::opacityChanged, this,
            [&](qreal opacity) { opacities << qRound(opacity * 255); });
    QVERIFY(toast->isVisible());
    QTRY_VERIFY(!toast);
    // 11 steps from 180 to 0; the first, 180, changes nothing.
    QCOMPARE(opacities, (QList<int>{162, 144, 126, 108, 90, 72, 54, 36, 18, 0}));
}

QTEST_MAIN(TestOvToast)
#include "tst_OvToast.moc"
