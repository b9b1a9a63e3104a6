// The token list and the info panel as a person sees them, in English and
// German, at the scale the test runs with (QT_SCALE_FACTOR): a populated
// list, a search with its marks, hidden and reordered columns, the panel on
// a token, a group and an expired token are saved as pictures under the
// build's screenshots folder, and no caption of the panel is cut.

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"
#include "OvVcl.ListView.h"
#include "SessionTestSupport.h"
#include "TokenViewsTestSupport.h"

using namespace Lockwyn;
using namespace SessionTest;

namespace {

const QString Password = QStringLiteral("secret");

void Save(QWidget& widget, const QString& name)
{
    // Pages are laid out once the event loop runs.
    QCoreApplication::processEvents();
    QDir().mkpath(SCREENSHOT_DIR);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1");
    const QString file = QStringLiteral(SCREENSHOT_DIR "/tokens-%1-scale%2.png").arg(name, scale);
    QVERIFY(widget.grab().save(file));
}

} // namespace

class TestTokenViewsScreenshots : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    std::unique_ptr<TTokenViewsHost> FHost;
    std::shared_ptr<ITokenGroup> FMail;
    std::shared_ptr<IToken> FExpired;

    void Add(const std::shared_ptr<ITokenGroup>& group, const QString& title,
             const QString& userName, const QString& password, const QString& url,
             const QString& notes, bool expired = false)
    {
        const auto op = group->CreateAddTokenOperation(
            title, userName, password, url, notes, expired,
            expired ? QDateTime::currentDateTime().addDays(-2) : QDateTime(), false, nullptr,
            nullptr);
        GetLockwyn()->GetOperationHistory()->Execute(op);
        if (expired)
            FExpired = op->GetResult();
    }

    // Captions and counters of the info panel show their whole text.
    void VerifyPanelTextsFit()
    {
        QCoreApplication::processEvents();
        for (QLabel* label : FHost->Info->findChildren<QLabel*>()) {
            if (label->objectName() != u"lblCaption" && label->objectName() != u"lblCounter")
                continue;
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                         label->contentsRect().width(),
                     qPrintable(label->text()));
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
        const QString file = FDir.filePath("pictures.lwdb");
        OpenDatabaseFile(file, Password, {"Mail", "Bank", "Shops"});
        const auto root = LockwynApp().GetRootGroup();
        FMail = root->GetGroups().at(0);
        Add(FMail, "Work mail", "j.miller@example.com", "Tr0ub4dor&3", "https://mail.example.com",
            "Second factor on the phone");
        Add(FMail, "Private mail", "jane", "correct horse", "https://webmail.example.org",
            "Recovery codes\r\nin the safe");
        Add(FMail, "Old mailbox", "jane.old", "hunter2", "https://old.example.net", "", true);
        Add(FMail, "Mailing list", "jane", "listpass", "javascript:alert(1)", "<b>not bold</b>");
        Add(FMail, QString::fromUtf8("\u05d3\u05d5\u05d0\u05e8 mail"), "dana", "x", "", "");
        Add(root->GetGroups().at(1), "Online banking", "12345678", "pin-and-tan",
            "https://bank.example.com", "");
        FHost = std::make_unique<TTokenViewsHost>();
        FHost->resize(1000, 420);
        FHost->Splitter->setSizes({680, 320});
        FHost->show();
        QVERIFY(QTest::qWaitForWindowExposed(FHost.get()));
        // Without a stored layout the columns share the list's width.
        FHost->List->LoadUIState();
    }

    void cleanupTestCase()
    {
        FHost.reset();
        FMail.reset();
        FExpired.reset();
        ReleaseSession();
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("German") << "de";
    }

    void pictures()
    {
        QFETCH(QString, language);
        LockwynApp().SetLanguage(language);
        FHost->SearchText.clear();
        FHost->SelectGroup(FMail);
        FHost->ListControl()->SelectItems({1});
        VerifyPanelTextsFit();
        Save(*FHost, "list-token-" + language);

        FHost->Info->SetTokenGroup(FMail);
        FHost->ListControl()->ClearSelection();
        FHost->Info->SetTokenGroup(nullptr);
        FHost->Info->SetTokenGroup(FMail);
        VerifyPanelTextsFit();
        Save(*FHost, "group-" + language);

        FHost->ListControl()->SelectItems({});
        FHost->Info->SetToken(FExpired);
        VerifyPanelTextsFit();
        Save(*FHost, "expired-" + language);

        FHost->Search(QStringLiteral("mail"));
        FHost->ListControl()->SelectItems({0});
        VerifyPanelTextsFit();
        Save(*FHost, "search-" + language);

        TOvListView* list = FHost->ListControl();
        list->Columns().Item(2)->SetVisible(false);
        list->SetColumnOrder(list->Columns().Item(4), 1);
        QCoreApplication::processEvents();
        Save(*FHost, "columns-" + language);
        list->Columns().Item(2)->SetVisible(true);
        list->SetOriginalColumnOrder();
        LockwynApp().SetLanguage("en");
    }
};

QTEST_MAIN(TestTokenViewsScreenshots)
#include "tst_TokenViewsScreenshots.moc"
