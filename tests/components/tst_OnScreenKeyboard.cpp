// The on-screen keyboard under a real X server: the first keyboard on the PATH
// is the one offered, Open starts it once and afterwards brings its window
// back to the front, Close asks it to end, and without one nothing starts.
// The keyboard is a small real program started under the keyboards' names.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>

#include "Components.OnScreenKeyboard.h"

namespace {

using TWindowHandle = Platform::TWindowHandle;

} // namespace

class TestOnScreenKeyboard : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QByteArray FPath;
    QString FLog;
    int FFolders = 0;
    xcb_connection_t* FX = nullptr;
    xcb_window_t FRoot = XCB_WINDOW_NONE;

    // A folder alone on the PATH holding the keyboard program under the
    // given names; the folder's name.
    QString PutOnPath(const QStringList& names)
    {
        const QString folder = FDir.filePath(QString::number(++FFolders));
        QDir().mkpath(folder);
        for (const QString& name : names)
            QFile::link(QStringLiteral(FAKE_KEYBOARD), folder + u'/' + name);
        qputenv("PATH", QFile::encodeName(folder));
        return folder;
    }

    int Starts() const
    {
        QFile log(FLog);
        return log.open(QIODevice::ReadOnly) ? int(log.readAll().count('\n')) : 0;
    }

    QList<xcb_window_t> Children(xcb_window_t window) const
    {
        QList<xcb_window_t> children;
        xcb_query_tree_reply_t* reply =
            xcb_query_tree_reply(FX, xcb_query_tree(FX, window), nullptr);
        if (reply) {
            const xcb_window_t* first = xcb_query_tree_children(reply);
            children = QList<xcb_window_t>(first, first + xcb_query_tree_children_length(reply));
        }
        std::free(reply);
        return children;
    }

    // The root's children from bottom to top: the last is on top.
    xcb_window_t TopWindow() const
    {
        const QList<xcb_window_t> windows = Children(FRoot);
        return windows.isEmpty() ? xcb_window_t(XCB_WINDOW_NONE) : windows.last();
    }

    int MapState(xcb_window_t window) const
    {
        xcb_get_window_attributes_reply_t* reply =
            xcb_get_window_attributes_reply(FX, xcb_get_window_attributes(FX, window), nullptr);
        const int state = reply ? reply->map_state : -1;
        std::free(reply);
        return state;
    }

    xcb_window_t CreateWindow(xcb_window_t parent)
    {
        const xcb_window_t window = xcb_generate_id(FX);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(FX)).data;
        xcb_create_window(FX, XCB_COPY_FROM_PARENT, window, parent, 0, 0, 640, 480, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(FX, window);
        xcb_flush(FX);
        return window;
    }

    // Opens the keyboard and waits for its window.
    void StartKeyboard(TWindowHandle& keyboard)
    {
        QVERIFY(TOnScreenKeyboard::Open());
        QTRY_VERIFY_WITH_TIMEOUT(TOnScreenKeyboard::FindKeyboardWindow() != 0, 10000);
        keyboard = TOnScreenKeyboard::FindKeyboardWindow();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        FPath = qgetenv("PATH");
        FLog = FDir.filePath("starts.log");
        qputenv("FAKE_KEYBOARD_LOG", QFile::encodeName(FLog));
        FX = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(FX));
        FRoot = xcb_setup_roots_iterator(xcb_get_setup(FX)).data->root;
    }

    void cleanupTestCase() { xcb_disconnect(FX); }

    void cleanup()
    {
        if (TOnScreenKeyboard::FindKeyboardWindow())
            TOnScreenKeyboard::Close();
        QTRY_COMPARE(TOnScreenKeyboard::FindKeyboardWindow(), TWindowHandle(0));
        qputenv("PATH", FPath);
        QFile::remove(FLog);
    }

    void theFirstKeyboardOnThePathIsOffered_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("offered");
        QTest::newRow("both") << QStringList{"florence", "onboard"} << "onboard";
        QTest::newRow("onboard") << QStringList{"onboard"} << "onboard";
        QTest::newRow("florence") << QStringList{"florence"} << "florence";
        QTest::newRow("another program") << QStringList{"xvkbd"} << QString();
        QTest::newRow("none") << QStringList{} << QString();
    }

    void theFirstKeyboardOnThePathIsOffered()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, offered);
        const QString folder = PutOnPath(installed);
        QCOMPARE(TOnScreenKeyboard::GetKeyboardPath(),
                 offered.isEmpty() ? QString() : folder + u'/' + offered);
        QCOMPARE(TOnScreenKeyboard::IsAvailable(), !offered.isEmpty());
    }

    void openStartsItOnceAndThenBringsItToTheFront()
    {
        PutOnPath({"onboard"});
        QCOMPARE(TOnScreenKeyboard::FindKeyboardWindow(), TWindowHandle(0));
        QVERIFY(!TOnScreenKeyboard::Close());
        TWindowHandle keyboard = 0;
        StartKeyboard(keyboard);
        QVERIFY(keyboard);
        QCOMPARE(Starts(), 1);

        // Minimised and covered by another window.
        xcb_unmap_window(FX, xcb_window_t(keyboard));
        const xcb_window_t cover = CreateWindow(FRoot);
        QTRY_COMPARE(MapState(xcb_window_t(keyboard)), int(XCB_MAP_STATE_UNMAPPED));
        QTRY_COMPARE(TopWindow(), cover);

        QVERIFY(TOnScreenKeyboard::Open());
        QTRY_COMPARE(MapState(xcb_window_t(keyboard)), int(XCB_MAP_STATE_VIEWABLE));
        QTRY_COMPARE(TopWindow(), xcb_window_t(keyboard));
        QCOMPARE(TOnScreenKeyboard::FindKeyboardWindow(), keyboard);
        QCOMPARE(Starts(), 1);

        QVERIFY(TOnScreenKeyboard::Close());
        QTRY_COMPARE(TOnScreenKeyboard::FindKeyboardWindow(), TWindowHandle(0));
        QVERIFY(!TOnScreenKeyboard::Close());
        xcb_destroy_window(FX, cover);
        xcb_flush(FX);
    }

    // A window manager puts each window into a frame of its own.
    void theWindowIsFoundInsideAFrame()
    {
        PutOnPath({"florence"});
        TWindowHandle keyboard = 0;
        StartKeyboard(keyboard);
        QVERIFY(keyboard);
        const xcb_window_t frame = CreateWindow(FRoot);
        xcb_reparent_window(FX, xcb_window_t(keyboard), frame, 0, 20);
        xcb_flush(FX);
        QTRY_COMPARE(Children(frame), QList<xcb_window_t>{xcb_window_t(keyboard)});
        QCOMPARE(TOnScreenKeyboard::FindKeyboardWindow(), keyboard);
        QVERIFY(TOnScreenKeyboard::Open());
        QCOMPARE(Starts(), 1);
        QVERIFY(TOnScreenKeyboard::Close());
        QTRY_COMPARE(TOnScreenKeyboard::FindKeyboardWindow(), TWindowHandle(0));
        xcb_destroy_window(FX, frame);
        xcb_flush(FX);
    }

    void withoutAKeyboardNothingStarts()
    {
        PutOnPath({});
        QVERIFY(!TOnScreenKeyboard::IsAvailable());
        QVERIFY(!TOnScreenKeyboard::Open());
        QCOMPARE(Starts(), 0);
    }
};

QTEST_GUILESS_MAIN(TestOnScreenKeyboard)
#include "tst_OnScreenKeyboard.moc"
