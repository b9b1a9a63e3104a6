// The data folder, which holds the recent database paths and the settings,
// is the user's alone: created so, or made so when an earlier version left it
// readable by everybody.

#include "Platform.Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataFolderIsTheUsersAlone_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("created") << false;
        QTest::newRow("left readable by all") << true;
    }

    void dataFolderIsTheUsersAlone()
    {
        QFETCH(bool, existing);
        QTemporaryDir dir;
        const QString wanted = dir.filePath(QStringLiteral("config/Orvanta Lockwyn"));
        const QFileDevice::Permissions othersMay = QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                                   QFileDevice::ReadOther | QFileDevice::ExeOther;
        if (existing) {
            QVERIFY(QDir().mkpath(wanted));
            for (const QString& folder : {wanted, dir.filePath(QStringLiteral("config"))})
                QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner |
                                                          QFileDevice::WriteOwner |
                                                          QFileDevice::ExeOwner | othersMay));
        }
        qputenv("LOCKWYN_DATA_DIR", wanted.toUtf8());
        QCOMPARE(Platform::DataFolder(), wanted);
        QVERIFY(QFileInfo(wanted).isDir());
        QCOMPARE(QFileInfo(wanted).permissions() & othersMay, QFileDevice::Permissions());
        // A parent created on the way is private too; one that was there is left alone.
        const QFileInfo parent(dir.filePath(QStringLiteral("config")));
        QCOMPARE(parent.permissions() & othersMay,
                 existing ? othersMay : QFileDevice::Permissions());
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_Paths.moc"
