// The info panel on a real database: which elements each page shows, values
// shown as text whatever markup they hold, the search marks, masks and the
// copy of every value.

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

#include "Components.ClipboardAutoCleaner.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"
#include "OvToast.h"
#include "SessionTestSupport.h"
#include "TokenViewsTestSupport.h"

using namespace Lockwyn;
using namespace SessionTest;

namespace {

const QString Password = QStringLiteral("correct horse");

QString ShownText(const QLabel* label)
{
    QTextDocument document;
    document.setHtml(label->text());
    return document.toPlainText();
}

} // namespace

class TestInfoPanel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FFile;
    std::unique_ptr<TTokenViewsHost> FHost;
    std::shared_ptr<ITokenGroup> FMail;

    std::shared_ptr<IOperationHistory> History() { return GetLockwyn()->GetOperationHistory(); }
    std::shared_ptr<ITokenGroup> Root() { return LockwynApp().GetRootGroup(); }
    TfrInfoPanel* Panel() { return FHost->Info; }

    std::shared_ptr<IToken> Add(const QString& title, const QString& userName = {},
                                const QString& password = {}, const QString& url = {},
                                const QString& notes = {},
                                const std::shared_ptr<ITokenCustomProperties>& properties = {})
    {
        const auto op = FMail->CreateAddTokenOperation(title, userName, password, url, notes, false,
                                                       {}, false, properties, nullptr);
        History()->Execute(op);
        return op->GetResult();
    }

    // Dates depend on the clock and the locale: only their captions count.
    static bool IsDate(const QString& caption)
    {
        return caption.endsWith(u"date:") || caption.endsWith(u"expires at:");
    }
    // The page's elements from top to bottom: "title", "path", "separator",
    // counters, or "caption: value" as the user reads them.
    QStringList Page()
    {
        QStringList page;
        const QList<QWidget*> elements =
            Panel()
                ->findChild<QWidget*>(QStringLiteral("pnlPage"))
                ->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* element : elements) {
            const QString name = element->objectName();
            auto* label = qobject_cast<QLabel*>(element);
            if (name == u"bvSeparator")
                page.append(QStringLiteral("separator"));
            else if (name == u"lblCaption")
                page.append(label->text() + u':');
            else if (name == u"lblValue") {
                if (!IsDate(page.last()))
                    page.last() += u' ' + ShownText(label);
            } else if (name == u"lblCounter")
                page.append(label->text());
            else if (label)
                page.append(name.mid(3).toLower() + u' ' + ShownText(label));
        }
        return page;
    }
    QLabel* Label(const QString& name, int index = 0)
    {
        return Panel()
            ->findChild<QWidget*>(QStringLiteral("pnlPage"))
            ->findChildren<QLabel*>(name)
            .value(index);
    }
    QLabel* ValueOf(const QString& caption)
    {
        const QList<QLabel*> labels =
            Panel()->findChild<QWidget*>(QStringLiteral("pnlPage"))->findChildren<QLabel*>();
        for (qsizetype i = 0; i + 1 < labels.size(); ++i)
            if (labels[i]->objectName() == u"lblCaption" && labels[i]->text() == caption)
                return labels[i + 1];
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
        FFile = FDir.filePath("info.lwdb");
    }

    void cleanupTestCase() { ReleaseSession(); }

    void init()
    {
        OpenDatabaseFile(FFile, Password, {"Mail"});
        FMail = Root()->GetGroups().at(0);
        GUISettings().SetViewHideUserName(false);
        GUISettings().SetViewHidePassword(true);
        GUISettings().SetAutoCleanClipboard(true);
        GUISettings().SetAutoCleanClipboardSeconds(15);
        FHost = std::make_unique<TTokenViewsHost>();
        FHost->show();
        QVERIFY(QTest::qWaitForWindowExposed(FHost.get()));
    }

    void cleanup()
    {
        FHost.reset();
        FMail.reset();
        LockwynApp().ClearHistory();
        TOvToast::Cancel();
        ClipboardAutoCleaner().CancelAutoClean();
        QGuiApplication::clipboard()->clear();
    }

    void tokenPageShowsWhatTheTokenHas_data()
    {
        QTest::addColumn<QStringList>("fields"); // user name, password, URL, notes
        QTest::addColumn<QStringList>("properties");
        QTest::addColumn<QStringList>("page");
        QTest::newRow("title only") << QStringList{"", "", "", ""} << QStringList{}
                                    << QStringList{"title t", "separator", "Creation date:"};
        QTest::newRow("blank URL and notes")
            << QStringList{"", "", "  ", " \r\n"} << QStringList{}
            << QStringList{"title t", "separator", "Creation date:"};
        QTest::newRow("all fields")
            << QStringList{"joe", "pw", "https://example.com", "two\r\nlines"} << QStringList{}
            << QStringList{"title t",
                           "separator",
                           "User Name: joe",
                           "Password: ********",
                           "URL: https://example.com",
                           "Notes: two\nlines",
                           "separator",
                           "Creation date:"};
        QTest::newRow("blank property is left out")
            << QStringList{"joe", "", "", ""} << QStringList{"PIN", "1234", "Hint", "  "}
            << QStringList{"title t",   "separator", "User Name: joe", "separator",
                           "PIN: 1234", "separator", "Creation date:"};
    }

    void tokenPageShowsWhatTheTokenHas()
    {
        QFETCH(QStringList, fields);
        QFETCH(QStringList, properties);
        QFETCH(QStringList, page);
        std::shared_ptr<ITokenCustomProperties> custom;
        if (!properties.isEmpty()) {
            custom = GetLockwyn()->GetObjectFactory()->CreateCustomProperties();
            for (qsizetype i = 0; i + 1 < properties.size(); i += 2)
                custom->Add(properties[i], properties[i + 1]);
        }
        const auto token = Add("t", fields[0], fields[1], fields[2], fields[3], custom);
        Panel()->SetToken(token);
        QCOMPARE(Page(), page);
    }

    // Markup and right-to-left text in any value show as the characters
    // they are; nothing is interpreted.
    void valuesShowAsText_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("notes");
        QTest::newRow("bold") << "<b>x</b>"
                              << "<i>y</i>";
        QTest::newRow("image") << "<img src=\"file:///etc/passwd\">"
                               << "<a href=\"x\">z</a>";
        QTest::newRow("entity") << "&lt;&amp;"
                                << "a &nbsp; b";
        QTest::newRow("right to left")
            << QString::fromUtf8("\u05e9\u05dc\u05d5\u05dd <b>") << QString::fromUtf8("\u202eevil");
    }

    void valuesShowAsText()
    {
        QFETCH(QString, title);
        QFETCH(QString, notes);
        const auto token = Add(title, {}, {}, QStringLiteral("https://x.example/?a=<b>"), notes);
        Panel()->SetToken(token);
        QCOMPARE(ShownText(Label("lblTitle")), title);
        QCOMPARE(ShownText(ValueOf("Notes")), notes);
        QCOMPARE(ShownText(ValueOf("URL")), QStringLiteral("https://x.example/?a=<b>"));
        QVERIFY(!Label("lblTitle")->text().contains(u"<b>x"));
    }

    // Only web addresses are links; others show as plain text.
    void urlIsALinkOnlyForWebAddresses_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("link");
        QTest::newRow("https") << "https://example.com/a?b=1&c=2" << true;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("file") << "file:///etc/passwd" << false;
    }

    void urlIsALinkOnlyForWebAddresses()
    {
        QFETCH(QString, url);
        QFETCH(bool, link);
        Panel()->SetToken(Add("t", {}, {}, url));
        QLabel* value = ValueOf("URL");
        QCOMPARE(ShownText(value), url);
        QCOMPARE(value->text().contains(u"<a href=\""), link);
        if (link)
            QVERIFY(value->text().contains(u"href=\"https://example.com/a?b=1&amp;c=2\""));
    }

    void searchTextIsMarked_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("both cases") << "Mail mail"
                                    << "MAIL" << QStringList{"Mail", "mail"};
        QTest::newRow("overlapping, the rightmost wins") << "aaa"
                                                         << "aa" << QStringList{"aa"};
        QTest::newRow("shorter value") << "a"
                                       << "ab" << QStringList{};
        QTest::newRow("markup in the search") << "<b>"
                                              << "<b" << QStringList{"<b"};
    }

    void searchTextIsMarked()
    {
        QFETCH(QString, value);
        QFETCH(QString, search);
        QFETCH(QStringList, marked);
        const QString markup = TfrInfoPanel::ValueMarkup(value, search);
        QTextDocument document;
        document.setHtml(markup);
        QCOMPARE(document.toPlainText(), value);
        QStringList runs;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().background().color() == QColor(255, 255, 0))
                    runs.append(it.fragment().text());
        QCOMPARE(runs, marked);
        if (search == u"aa")
            QVERIFY(markup.contains(u"a<span"));
    }

    void maskedValueCopiesTheRealOneThroughTheList()
    {
        const auto token = Add("t", "joe", "s3cret");
        Panel()->SetToken(token);
        QLabel* password = ValueOf("Password");
        QCOMPARE(ShownText(password), QStringLiteral("********"));
        QTest::mouseDClick(password, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("s3cret"));
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat("x-kde-passwordManagerHint"));
        QVERIFY(ClipboardAutoCleaner().IsCleanPending());
        QCOMPARE(ToastText(), QStringLiteral("Password copied to clipboard\r\nClipboard will be "
                                             "cleared in 15 seconds"));

        GUISettings().SetViewHidePassword(false);
        Panel()->UpdateView();
        QCOMPARE(ShownText(ValueOf("Password")), QStringLiteral("s3cret"));
    }

    void copyByMenuAndDoubleClick_data()
    {
        QTest::addColumn<QString>("caption"); // empty: the title
        QTest::addColumn<bool>("menu");
        QTest::addColumn<QString>("toast");
        QTest::newRow("title by double-click") << "" << false << "Title copied to clipboard";
        QTest::newRow("notes by menu") << "Notes" << true << "Notes copied to clipboard";
        QTest::newRow("URL by menu") << "URL" << true << "URL copied to clipboard";
        QTest::newRow("property") << "PIN" << false << "Text copied to clipboard";
    }

    void copyByMenuAndDoubleClick()
    {
        QFETCH(QString, caption);
        QFETCH(bool, menu);
        auto custom = GetLockwyn()->GetObjectFactory()->CreateCustomProperties();
        custom->Add("PIN", "4321");
        const auto token = Add("<t>", "", "", "https://example.com", "some notes", custom);
        Panel()->SetToken(token);
        QLabel* label = caption.isEmpty() ? Label("lblTitle") : ValueOf(caption);
        const QString expected = ShownText(label);
        if (menu) {
            Q_EMIT label->customContextMenuRequested(QPoint(2, 2));
            auto* popup = Panel()->findChild<QMenu*>();
            QVERIFY(popup->isVisible());
            popup->actions().first()->trigger();
            popup->close();
        } else {
            QTest::mouseDClick(label, Qt::LeftButton);
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
        QTEST(ToastText(), "toast");
        QVERIFY(!ClipboardAutoCleaner().IsCleanPending());
        // Captions copy nothing.
        QGuiApplication::clipboard()->clear();
        QTest::mouseDClick(Label("lblCaption"), Qt::LeftButton);
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    }

    void groupPage_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("page"); // <root> stands for the root's title
        QTest::newRow("root") << "" << QStringList{"title <root>", "separator", "Groups: 2",
                                                   "Tokens: 1",    "separator", "Creation date:"};
        QTest::newRow("with template") << "Mail"
                                       << QStringList{"title Mail",
                                                      "path <root>",
                                                      "separator",
                                                      "Groups: 1",
                                                      "Tokens: 1",
                                                      "separator",
                                                      "User values: PIN \nSite \n",
                                                      "separator",
                                                      "Creation date:",
                                                      "Modification date:"};
        QTest::newRow("empty") << "Inner"
                               << QStringList{"title Inner", "path <root>\\Mail", "separator",
                                              "Creation date:"};
    }

    void groupPage()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, page);
        auto edited = FMail->GetCloner()->Clone();
        edited->GetCustomPropertiesTemplate()->Add("PIN");
        edited->GetCustomPropertiesTemplate()->Add("Site");
        History()->Execute(FMail->CreateUpdateOperation(edited));
        const auto inner = FMail->CreateAddGroupOperation("Inner", false, {}, nullptr);
        History()->Execute(inner);
        Add("t");
        const auto shown = group.isEmpty() ? Root() : group == u"Mail" ? FMail : inner->GetResult();
        Panel()->SetTokenGroup(shown);
        page.replaceInStrings(QStringLiteral("<root>"), Root()->GetTitle());
        QStringList lines = Page();
        if (group.isEmpty())
            lines.removeAll(QStringLiteral("Modification date:"));
        QCOMPARE(lines, page);
    }

    void searchResultsPageCounts()
    {
        Add("mailbox");
        Add("other");
        FHost->Search(QStringLiteral("mail"));
        Panel()->SetTokenGroup(nullptr);
        QCOMPARE(Page(), (QStringList{"title Search results", "separator", "Groups found: 1",
                                      "Tokens found: 1"}));
    }

    // The same group again keeps the token page; a deleted token gives way
    // to its group's page.
    void tokenPageFollowsTheToken()
    {
        auto token = Add("t");
        Panel()->SetTokenGroup(FMail);
        Panel()->SetToken(token);
        Panel()->SetTokenGroup(FMail);
        QCOMPARE(Page().first(), QStringLiteral("title t"));
        QCOMPARE(Panel()->GetToken(), token);

        const QUuid id = token->GetID();
        token.reset();
        History()->Execute(LockwynApp().GetTokenStorage()->CreateDeleteTokensOperation(
            {FMail->FindTokenByID(id)}));
        Panel()->UpdateView();
        QCOMPARE(Page().first(), QStringLiteral("title Mail"));
        QVERIFY(!Panel()->GetToken());
        QCOMPARE(Panel()->GetTokenGroup(), FMail);
    }

    void aHundredThousandCharacterNoteIsShown()
    {
        const QString notes = QString(100000, u'n') + QStringLiteral(" end");
        Panel()->SetToken(Add("long", {}, {}, {}, notes));
        QCOMPARE(ShownText(ValueOf("Notes")), notes);
        QVERIFY(!FHost->grab().isNull());
    }
};

QTEST_MAIN(TestInfoPanel)
#include "tst_InfoPanel.moc"
