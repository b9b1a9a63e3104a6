// Export and import through the controller with the real converter library:
// the questions, file dialogs, toasts and error boxes, the file written for
// the owner only, the import as one undoable step with renamed collisions,
// read-only mode, and a slow parse that shows a progress dialog and can be
// cancelled without changing anything.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QQueue>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include <functional>
#include <memory>

#include "Components.FileDialog.h"
#include "Lockwyn.DatabaseTransfer.h"
#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "OvToast.h"
#include "SessionTestSupport.h"

using namespace Lockwyn;
using namespace SessionTest;

namespace {

const QString Password = QStringLiteral("correct horse");
const QString OpenSecret = QStringLiteral("open-database-secret");
const QString ImportedSecret = QStringLiteral("imported-secret");
constexpr int LockwynXml = 0;
constexpr int PlainText = 1;
constexpr int KeePassXml = 3;

QStringList TitlesOf(const ITokenGroupList& groups)
{
    QStringList titles;
    for (const auto& group : groups)
        titles.append(group->GetTitle());
    return titles;
}

// Runs the action once the import's progress dialog is on screen.
void WhenProgressShows(const std::function<void(QProgressDialog*)>& action)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        QProgressDialog* progress = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == u"fImportProgress" && window->isVisible())
                progress = qobject_cast<QProgressDialog*>(window);
        }
        if (!progress)
            return;
        poll->stop();
        poll->deleteLater();
        action(progress);
    });
    poll->start(5);
}

} // namespace

class TestDatabaseTransfer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FDatabase;
    // A Lockwyn XML file with the groups "Mail" (one token) and "Bank".
    QString FMailAndBank;
    std::shared_ptr<TScript> FScript;
    std::unique_ptr<TTestApp> FApp;
    std::unique_ptr<TTestMainView> FMain;
    std::unique_ptr<TMessageBoxAnswerer> FAnswers;
    QQueue<QString> FChosen;
    QList<TFileDialogRequest> FRequests;

    QString Path(const QString& name) const { return FDir.filePath(name); }
    std::shared_ptr<IOperationHistory> History() { return GetLockwyn()->GetOperationHistory(); }
    QStringList FileGroups() { return GroupTitlesOf(FDatabase, Password); }

    // A file of the Lockwyn XML format written by the converter library from
    // a database of its own.
    void WriteMailAndBank(const QString& fileName)
    {
        const auto scratch = GetLockwyn()->GetDatabaseFile()->CreateScratchFile();
        const auto storage = scratch->GetTokenStorage();
        const auto root = storage->GetRootGroup();
        const auto mail = root->CreateAddGroupOperation("Mail", false, {}, nullptr);
        History()->Execute(mail);
        History()->Execute(mail->GetResult()->CreateAddTokenOperation(
            "Webmail", "ann", ImportedSecret, {}, {}, false, {}, false, nullptr, nullptr));
        History()->Execute(root->CreateAddGroupOperation("Bank", false, {}, nullptr));
        History()->Clear();
        QVERIFY(GetConvertLib()->GetConverter(LockwynXml)->Export(storage, fileName));
        storage->Clear();
    }

    // The open database's group "Mail" gets a token.
    void AddTokenToOpenMail()
    {
        const auto mail = FApp->GetRootGroup()->GetGroups().first();
        History()->Execute(mail->CreateAddTokenOperation("Inbox", "me", OpenSecret, {}, {}, false,
                                                         {}, false, nullptr, nullptr));
        History()->Clear();
    }

    void ExpectUnchanged(int historyCount)
    {
        QCOMPARE(OpenGroupTitles(), QStringList{"Mail"});
        QCOMPARE(FileGroups(), QStringList{"Mail"});
        QCOMPARE(History()->GetCount(), historyCount);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(Path("lockwyn.settings.xml"));
        FDatabase = QFileInfo(Path("a.lwdb")).absoluteFilePath();
        FMailAndBank = Path("mail-and-bank.xml");
        ResetDatabase();
        WriteMailAndBank(FMailAndBank);
        TFileDialog::SetHook([this](const TFileDialogRequest& request) {
            FRequests.append(request);
            return FChosen.isEmpty() ? QString() : FChosen.dequeue();
        });
    }

    void cleanupTestCase()
    {
        TFileDialog::SetHook({});
        DatabaseTransfer::WaitForImportWorkers();
        ResetDatabase();
        ReleaseLibraryConnections();
    }

    void init()
    {
        ResetDatabase();
        QFile::remove(FDatabase);
        CreateDatabaseFile(FDatabase, Password, {"Mail"});
        FScript = std::make_shared<TScript>();
        FApp = std::make_unique<TTestApp>(FScript);
        FMain = std::make_unique<TTestMainView>(FApp.get());
        FAnswers = std::make_unique<TMessageBoxAnswerer>();
        FScript->Rounds.enqueue(
            {TStartDialogResult::sdrOpenDatabase, FDatabase, Password, false, {}});
        FApp->Start();
        FChosen.clear();
        FRequests.clear();
    }

    void cleanup()
    {
        QVERIFY2(FAnswers->Unexpected().isEmpty(), qPrintable(FAnswers->Unexpected().join(" | ")));
        QCOMPARE(FAnswers->PendingAnswers(), 0);
        QVERIFY(FChosen.isEmpty());
        QCOMPARE(FApp->GetCanLock(), true);
        TOvToast::Cancel();
        FAnswers.reset();
        FMain.reset();
        FApp.reset();
    }

    // -----------------------------------------------------------------------
    // Export

    void exportWritesEverySecretForTheOwnerOnly_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("Lockwyn XML") << LockwynXml << "Exporting to Lockwyn XML"
                                     << "Lockwyn XML (*.xml)"
                                     << "xml";
        QTest::newRow("plain text") << PlainText << "Exporting to Plain Text File"
                                    << "Plain Text File (*.txt)"
                                    << "txt";
    }

    void exportWritesEverySecretForTheOwnerOnly()
    {
        QFETCH(int, index);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        QFETCH(QString, suffix);
        AddTokenToOpenMail();
        const QString target = Path("export." + suffix);
        FChosen.enqueue(target);
        FAnswers->Answer("Yes");
        QVERIFY(FApp->ExportDatabase(index));

        QCOMPARE(FAnswers->Messages(), QStringList{"The exported file will contain your passwords "
                                                   "unencrypted. Continue?"});
        QCOMPARE(FRequests.size(), 1);
        const TFileDialogRequest& request = FRequests.first();
        QCOMPARE(request.Kind, TFileDialogRequest::TKind::fdkSave);
        QCOMPARE(request.Title, title);
        QCOMPARE(request.NameFilter, filter);
        QCOMPARE(request.DefaultSuffix, suffix);
        QCOMPARE(request.InitialFileName, Path("a"));
        QCOMPARE(ToastText(), QStringLiteral("Database a has been exported successfully"));

        QVERIFY(ReadAll(target).contains(OpenSecret.toUtf8()));
        QCOMPARE(QFile::permissions(target) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(target);
    }

    void exportDeclinedOrCancelledWritesNothing_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("dialogs");
        QTest::newRow("unencrypted file declined") << "No" << 0;
        QTest::newRow("file dialog cancelled") << "Yes" << 1;
    }

    void exportDeclinedOrCancelledWritesNothing()
    {
        QFETCH(QString, answer);
        QFETCH(int, dialogs);
        FAnswers->Answer(answer);
        if (dialogs > 0)
            FChosen.enqueue(QString());
        QVERIFY(!FApp->ExportDatabase(LockwynXml));
        QCOMPARE(FRequests.size(), dialogs);
        QCOMPARE(FAnswers->Messages().size(), 1);
        QCOMPARE(ToastText(), QString());
        QCOMPARE(QDir(FDir.path()).entryList({"export*"}), QStringList());
    }

    void exportAsksBeforeReplacingAFile_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("replace") << "Yes" << true;
        QTest::newRow("back to the dialog") << "No" << false;
    }

    void exportAsksBeforeReplacingAFile()
    {
        QFETCH(QString, answer);
        QFETCH(bool, replaced);
        const QString target = Path("existing.xml");
        WriteAll(target, "kept");
        FAnswers->Answer("Yes");
        FAnswers->Answer(answer);
        FChosen.enqueue(target);
        if (!replaced)
            FChosen.enqueue(QString());
        QCOMPARE(FApp->ExportDatabase(LockwynXml), replaced);
        QCOMPARE(FAnswers->Messages().value(1),
                 QStringLiteral("existing.xml already exists.\nDo you want to replace it?"));
        QCOMPARE(ReadAll(target) == "kept", !replaced);
        // Declining goes back to the dialog, which starts at the same file.
        QCOMPARE(FRequests.size(), replaced ? 1 : 2);
        QCOMPARE(FRequests.last().InitialFileName, replaced ? Path("a") : target);
        QFile::remove(target);
    }

    void exportFailureShowsAnErrorBox_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing folder") << "missing/out.xml"
                                        << "Export to out.xml failed";
        QTest::newRow("the open database") << "a.lwdb"
                                           << "Export to a.lwdb failed";
    }

    void exportFailureShowsAnErrorBox()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        const QByteArray database = ReadAll(FDatabase);
        FAnswers->Answer("Yes");
        if (QFileInfo::exists(Path(target)))
            FAnswers->Answer("Yes");
        FAnswers->Answer("OK");
        FChosen.enqueue(Path(target));
        QVERIFY(!FApp->ExportDatabase(LockwynXml));
        QCOMPARE(FAnswers->Messages().last(), message);
        QCOMPARE(ToastText(), QString());
        QCOMPARE(ReadAll(FDatabase), database);
    }

    void exportWorksInReadOnlyMode()
    {
        FApp->SetReadOnlyMode(true);
        FAnswers->Answer("Yes");
        FChosen.enqueue(Path("read-only.xml"));
        QVERIFY(FApp->ExportDatabase(LockwynXml));
        QCOMPARE(FAnswers->Messages().size(), 1);
        QVERIFY(FApp->GetReadOnlyMode());
        QVERIFY(QFileInfo::exists(Path("read-only.xml")));
    }

    // -----------------------------------------------------------------------
    // Import

    void importIsOneUndoableStepWithRenamedCollisions()
    {
        FChosen.enqueue(FMailAndBank);
        QVERIFY(FApp->ImportDatabase(LockwynXml));
        QCOMPARE(FRequests.size(), 1);
        QCOMPARE(FRequests.first().Kind, TFileDialogRequest::TKind::fdkOpen);
        QCOMPARE(FRequests.first().Title, QStringLiteral("Importing from Lockwyn XML"));
        QCOMPARE(FRequests.first().NameFilter, QStringLiteral("Lockwyn XML (*.xml)"));
        const QStringList imported{"Mail", "Mail (Imported 1)", "Bank"};
        QCOMPARE(OpenGroupTitles(), imported);
        QCOMPARE(FileGroups(), imported);
        const auto webmail = FApp->GetRootGroup()->GetGroups().at(1)->GetTokens();
        QCOMPARE(webmail.size(), 1);
        QCOMPARE(webmail.first()->GetPassword(), ImportedSecret);
        QVERIFY(FAnswers->Messages().isEmpty());
        QCOMPARE(ToastText(), QString());
        QVERIFY(FMain->Tree.Updates > 0);

        QCOMPARE(History()->GetCount(), 1);
        EditingProtocol::Undo(*FApp);
        QCOMPARE(FileGroups(), QStringList{"Mail"});
        QCOMPARE(FApp->GetRootGroup()->GetAllTokens().size(), 0);
        EditingProtocol::Redo(*FApp);
        QCOMPARE(FileGroups(), imported);
    }

    void importReadsThePeersExport()
    {
        FChosen.enqueue(QStringLiteral(CONVERT_TEST_DATA "/keepassxc-export.xml"));
        QVERIFY(FApp->ImportDatabase(KeePassXml));
        QCOMPARE(FRequests.first().Title, QStringLiteral("Importing from KeePass 2.x XML"));
        QCOMPARE(TitlesOf(FApp->GetRootGroup()->GetAllGroups()),
                 (QStringList{"Mail", "Internet", "Shops", "Work"}));
        QCOMPARE(FApp->GetRootGroup()->GetAllTokens().size(), 3);
    }

    void importOfAFileOfAnotherFormatShowsAnErrorBox_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("content");
        QTest::newRow("Lockwyn XML read as KeePass") << KeePassXml << QString();
        QTest::newRow("text read as Lockwyn XML") << LockwynXml << "just some notes";
        QTest::newRow("damaged Lockwyn XML") << LockwynXml << "<LockwynDatabase version=\"1\"><";
    }

    void importOfAFileOfAnotherFormatShowsAnErrorBox()
    {
        QFETCH(int, index);
        QFETCH(QString, content);
        QString source = FMailAndBank;
        if (!content.isEmpty()) {
            source = Path("other.txt");
            WriteAll(source, content.toUtf8());
        }
        FChosen.enqueue(source);
        FAnswers->Answer("OK");
        QVERIFY(!FApp->ImportDatabase(index));
        QCOMPARE(FAnswers->Messages(),
                 QStringList{Format(QStringLiteral("Input file %s has a wrong format"),
                                    QFileInfo(source).fileName())});
        ExpectUnchanged(0);
    }

    void importCancelledInTheFileDialogChangesNothing()
    {
        FChosen.enqueue(QString());
        QVERIFY(!FApp->ImportDatabase(LockwynXml));
        QVERIFY(FAnswers->Messages().isEmpty());
        ExpectUnchanged(0);
    }

    void importTellsWhenTheFileIsNewer_data()
    {
        QTest::addColumn<int>("versionAhead");
        QTest::addColumn<QString>("toast");
        QTest::newRow("same version") << 0 << QString();
        QTest::newRow("newer version") << 1
                                       << "Imported database was created in a newer version of "
                                          "Lockwyn. \nSome data may not be imported.";
    }

    void importTellsWhenTheFileIsNewer()
    {
        QFETCH(int, versionAhead);
        QFETCH(QString, toast);
        const auto attribute = [](int version) {
            return QByteArray("version=\"" + QByteArray::number(version) + '"');
        };
        const int current = FApp->GetTokenStorage()->GetVersion();
        QByteArray content = ReadAll(FMailAndBank);
        QVERIFY(content.contains(attribute(current)));
        content.replace(attribute(current), attribute(current + versionAhead));
        const QString source = Path("versioned.xml");
        WriteAll(source, content);
        FChosen.enqueue(source);
        QVERIFY(FApp->ImportDatabase(LockwynXml));
        QCOMPARE(ToastText(), toast);
    }

    // Importing used to add the data in memory and then fail to save.
    void importInReadOnlyModeAsksToLeaveItFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("imported");
        QTest::newRow("leave read-only mode") << "Yes" << true;
        QTest::newRow("stay read-only") << "No" << false;
    }

    void importInReadOnlyModeAsksToLeaveItFirst()
    {
        QFETCH(QString, answer);
        QFETCH(bool, imported);
        FApp->SetReadOnlyMode(true);
        FAnswers->Answer(answer);
        if (imported)
            FChosen.enqueue(FMailAndBank);
        QCOMPARE(FApp->ImportDatabase(LockwynXml), imported);
        QCOMPARE(FAnswers->Messages(), QStringList{LocalizedStrings().FReadOnlyDisableDlgMessage});
        QCOMPARE(FRequests.size(), imported ? 1 : 0);
        QCOMPARE(FApp->GetReadOnlyMode(), !imported);
        if (imported)
            QCOMPARE(FileGroups(), (QStringList{"Mail", "Mail (Imported 1)", "Bank"}));
        else
            ExpectUnchanged(0);
    }

    // A parse that waits for its file: the window stays alive, the progress
    // dialog comes, and Cancel leaves the database as it was.
    void slowParseShowsProgressAndCancelChangesNothing_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("waited for") << false;
    }

    void slowParseShowsProgressAndCancelChangesNothing()
    {
        QFETCH(bool, cancel);
        const QString pipe = Path(cancel ? "cancelled.xml" : "waited.xml");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QByteArray content = ReadAll(FMailAndBank);
        QFile writer(pipe);
        QString label;
        WhenProgressShows([&](QProgressDialog* progress) {
            label = progress->findChild<QLabel*>()->text();
            if (cancel) {
                progress->findChild<QAbstractButton*>()->click();
                return;
            }
            // The parser has the pipe open for reading; hand it the file.
            QVERIFY(writer.open(QIODevice::WriteOnly));
            writer.write(content);
            writer.close();
        });
        FChosen.enqueue(pipe);
        QCOMPARE(FApp->ImportDatabase(LockwynXml), !cancel);
        QCOMPARE(label, Format(QStringLiteral("Reading %s..."), QFileInfo(pipe).fileName()));
        QVERIFY(FAnswers->Messages().isEmpty());
        if (cancel) {
            // The parser still waits for its file; feed it and let it end.
            QVERIFY(writer.open(QIODevice::WriteOnly));
            writer.write(content);
            writer.close();
            DatabaseTransfer::WaitForImportWorkers();
            QCoreApplication::processEvents();
            ExpectUnchanged(0);
        } else {
            QCOMPARE(FileGroups(), (QStringList{"Mail", "Mail (Imported 1)", "Bank"}));
        }
        QFile::remove(pipe);
    }
};

QTEST_MAIN(TestDatabaseTransfer)
#include "tst_DatabaseTransfer.moc"
