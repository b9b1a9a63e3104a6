#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "Components.Singleton.h"
#include "Lockwyn.LibraryConnections.h"
#include "TestLib.Interfaces.h"

namespace {

// A connection to whatever file the test names.
class TTestLibConnection : public TLibraryConnection<ITestLibRoot>
{
public:
    static inline QString FileName;

    TTestLibConnection() { Load(); }

protected:
    QString GetLibraryFileName() const override { return FileName; }
};

using TTestLib = TSingleton<TTestLibConnection>;

// Whether the file is mapped into this process.
bool IsMapped(const QString& fileName)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QString path = QFileInfo(fileName).canonicalFilePath();
    return !path.isEmpty() && maps.readAll().contains(path.toUtf8());
}

QString LoadError()
{
    try {
        TTestLib::Instance();
    } catch (const ELibraryLoadError& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

} // namespace

class TestLibraryLoader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;

    QString Place(const char* builtFile, const QString& name)
    {
        const QString target = FDir.filePath(name);
        QFile::remove(target);
        if (!QFile::copy(QString::fromUtf8(builtFile), target))
            return QString();
        return target;
    }

private Q_SLOTS:
    void cleanup() { TTestLib::Release(); }

    void goodLibraryHandsOutItsObject()
    {
        const QString file = Place(TESTLIB_GOOD, QStringLiteral("Good.so"));
        TTestLibConnection::FileName = file;
        QCOMPARE(LoadError(), QString());
        QVERIFY(TTestLib::Exists());
        QCOMPARE(TTestLib::Instance().MainInterface()->Answer(), 42);
        QVERIFY(IsMapped(file));

        // Released: the object goes first, then the library.
        TTestLib::Release();
        QVERIFY(!IsMapped(file));
    }

    void twoConnectionsToOneLibraryLiveApart()
    {
        TTestLibConnection::FileName = Place(TESTLIB_GOOD, QStringLiteral("Good.so"));
        auto first = std::make_unique<TTestLibConnection>();
        auto second = std::make_unique<TTestLibConnection>();
        second.reset();
        QCOMPARE(first->MainInterface()->Answer(), 42);
        first.reset();
        QVERIFY(!IsMapped(TTestLibConnection::FileName));
    }

    void failedLoad_data()
    {
        QTest::addColumn<QString>("builtFile");
        QTest::addColumn<QString>("expected"); // %1: the file the connection names
        QTest::newRow("missing file") << QString() << QStringLiteral("Cannot load %1");
        QTest::newRow("not a library")
            << QStringLiteral("text") << QStringLiteral("Cannot load %1");
        QTest::newRow("no entry function")
            << QStringLiteral(TESTLIB_NOENTRY)
            << QStringLiteral("Cannot get the main function named GetInstance");
        QTest::newRow("entry hands back nothing")
            << QStringLiteral(TESTLIB_NULLENTRY)
            << QStringLiteral("Cannot get the main interface from %1");
    }

    void failedLoad()
    {
        QFETCH(QString, builtFile);
        QFETCH(QString, expected);
        const QString file = FDir.filePath(QStringLiteral("Failing.so"));
        QFile::remove(file);
        if (builtFile == QLatin1String("text")) {
            QFile text(file);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("not a shared library");
        } else if (!builtFile.isEmpty()) {
            QVERIFY(QFile::copy(builtFile, file));
        }
        TTestLibConnection::FileName = file;

        QCOMPARE(LoadError(), expected.contains(u"%1") ? expected.arg(file) : expected);
        QVERIFY(!TTestLib::Exists());
        QVERIFY(!IsMapped(file));
    }

    // A bare name is looked for beside the program: a library of that name on
    // the system's search path is not loaded.
    void libraryOnTheSystemPathOnlyIsNotLoaded()
    {
        TTestLibConnection::FileName = QStringLiteral("libz.so.1");
        QCOMPARE(LoadError(), QStringLiteral("Cannot load libz.so.1"));
        QVERIFY(!TTestLib::Exists());
    }

    void nextInstanceCallTriesAgain()
    {
        const QString file = FDir.filePath(QStringLiteral("Later.so"));
        QFile::remove(file);
        TTestLibConnection::FileName = file;
        QCOMPARE(LoadError(), QStringLiteral("Cannot load %1").arg(file));
        QVERIFY(!TTestLib::Exists());

        QCOMPARE(Place(TESTLIB_GOOD, QStringLiteral("Later.so")), file);
        QCOMPARE(LoadError(), QString());
        QCOMPARE(TTestLib::Instance().MainInterface()->Answer(), 42);
    }

    void messagesOfTheConnections_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("expected");
        QTest::newRow("load") << int(TInterfacedLibLoaderError::lleCannotLoadLibrary)
                              << QStringLiteral("Cannot load ConvertLib.so");
        QTest::newRow("function") << int(TInterfacedLibLoaderError::lleCannotGetMainFunction)
                                  << QStringLiteral("Cannot get the main function named Entry");
        QTest::newRow("interface") << int(TInterfacedLibLoaderError::lleCannotGetMainInterface)
                                   << QStringLiteral("Cannot get the main interface from "
                                                     "ConvertLib.so");
    }

    void messagesOfTheConnections()
    {
        QFETCH(int, error);
        QFETCH(QString, expected);
        QCOMPARE(TLibraryErrorMessages::GetLibraryErrorMessage(TInterfacedLibLoaderError(error),
                                                               QStringLiteral("ConvertLib.so"),
                                                               QStringLiteral("Entry")),
                 expected);
    }

    void storageLibraryThroughItsAccessor()
    {
#ifndef LOCKWYN_HAVE_STORAGE_LIBRARY
        QSKIP("The storage library is not part of this build");
#else
        QVERIFY(GetLockwyn());
        QVERIFY(GetLockwyn()->GetPasswordGenerator());
        QCOMPARE(GetLockwyn(), GetLockwyn()); // one connection
        ReleaseLibraryConnections();
        QVERIFY(!TSingleton<TLockwynLibConnectionBase>::Exists());
#endif
    }
};

QTEST_GUILESS_MAIN(TestLibraryLoader)
#include "tst_LibraryLoader.moc"
