// The data folder, which holds the recent database paths and the settings,
// is created for the user alone.

#include "Platform.Paths.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataFolderIsCreatedForTheUserAlone()
    {
        QTemporaryDir dir;
        const QString wanted = dir.filePath(QStringLiteral("config/Orvanta Lockwyn"));
        qputenv("LOCKWYN_DATA_DIR", wanted.toUtf8());
        QCOMPARE(Platform::DataFolder(), wanted);
        for (const QString& folder : {wanted, dir.filePath(QStringLiteral("config"))}) {
            const QFileInfo info(folder);
            QVERIFY(info.isDir());
            QCOMPARE(info.permissions() & (QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                           QFileDevice::ReadOther | QFileDevice::ExeOther),
                     QFileDevice::Permissions());
        }
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_Paths.moc"
