// The token list on a real database: what its cells show and how they are
// drawn, the sort, the search results, the selection across reloads and
// undo, the commands of the mouse and the keys, the delete questions, the
// clipboard and the copy-drag inside the list.

#include <QClipboard>
#include <QDesktopServices>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "Components.ClipboardAutoCleaner.h"
#include "Lockwyn.App.h"
#include "Lockwyn.DragObject.h"
#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "Lockwyn.TokenListPresenter.h"
#include "OvToast.h"
#include "OvVcl.ListView.h"
#include "SessionTestSupport.h"
#include "TokenViewsTestSupport.h"

using namespace Lockwyn;
using namespace SessionTest;

namespace {

const QString Password = QStringLiteral("correct horse");
const QDateTime Past = QDateTime::currentDateTime().addDays(-3);

// Takes the web addresses the program hands to the default browser.
class TUrlCatcher : public QObject
{
    Q_OBJECT
public:
    TUrlCatcher()
    {
        for (const char* scheme : {"http", "https", "file", "javascript"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~TUrlCatcher() override
    {
        for (const char* scheme : {"http", "https", "file", "javascript"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> Opened;

public Q_SLOTS:
    void Open(const QUrl& url) { Opened.append(url); }
};

QStringList Titles(const ITokenList& tokens)
{
    QStringList titles;
    for (const auto& token : tokens)
        titles.append(token->GetTitle());
    return titles;
}

QStringList Sorted(QStringList titles)
{
    titles.sort();
    return titles;
}

} // namespace

class TestTokensView : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FFile;
    std::unique_ptr<TTokenViewsHost> FHost;
    std::unique_ptr<TMessageBoxAnswerer> FAnswers;
    std::shared_ptr<ITokenGroup> FMail;
    std::shared_ptr<ITokenGroup> FBank;

    std::shared_ptr<IOperationHistory> History() { return GetLockwyn()->GetOperationHistory(); }
    std::shared_ptr<ITokenGroup> Root() { return LockwynApp().GetRootGroup(); }
    TOvListView* List() { return FHost->ListControl(); }
    TfrTokensView* View() { return FHost->List; }

    std::shared_ptr<IToken> Add(const std::shared_ptr<ITokenGroup>& group, const QString& title,
                                const QString& userName, const QString& password,
                                const QString& url, const QString& notes, bool expires = false,
                                const QDateTime& expirationDate = {})
    {
        const auto op =
            group->CreateAddTokenOperation(title, userName, password, url, notes, expires,
                                           expirationDate, false, nullptr, nullptr);
        History()->Execute(op);
        return op->GetResult();
    }
    std::shared_ptr<ITokenGroup> AddGroup(const QString& title, bool expires = false)
    {
        const auto op =
            Root()->CreateAddGroupOperation(title, expires, expires ? Past : QDateTime(), nullptr);
        History()->Execute(op);
        return op->GetResult();
    }
    // Four tokens in "Mail" whose sort orders differ by column.
    void AddSortSample()
    {
        Add(FMail, "alpha", "joe", "p3", "https://a.example", "n1");
        Add(FMail, "Beta", "ann", "p1", "", "n2");
        Add(FMail, "gamma", "joe", "p2", "", "");
        Add(FMail, "delta", "", "p2", "", "n4");
        LockwynApp().ClearHistory();
    }
    void Sort(int column, bool descending)
    {
        List()->SetColumnSorted(List()->Columns().Item(column), true,
                                descending ? TSortDirection::sdDescending
                                           : TSortDirection::sdAscending);
    }
    QStringList SelectedTitles()
    {
        const auto selected = View()->GetSelectedTokens();
        return selected ? Titles(*selected) : QStringList();
    }
    void SelectRows(const QList<int>& rows) { List()->SelectItems(rows); }
    void SendDrop(const TLockwynDragObject& drag, Qt::KeyboardModifiers modifiers,
                  bool& moveAccepted, bool& dropAccepted)
    {
        QWidget* rows = List()->viewport();
        const QPoint at = FHost->CellCentre(0, 0);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &drag, Qt::LeftButton,
                              modifiers);
        QApplication::sendEvent(rows, &enter);
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &drag, Qt::LeftButton, modifiers);
        QApplication::sendEvent(rows, &move);
        moveAccepted = move.isAccepted();
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &drag, Qt::LeftButton, modifiers);
        QApplication::sendEvent(rows, &drop);
        dropAccepted = drop.isAccepted();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        // Sorting follows the user's language; these tests read English.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
        FFile = FDir.filePath("tokens.lwdb");
    }

    void cleanupTestCase() { ReleaseSession(); }

    void init()
    {
        OpenDatabaseFile(FFile, Password, {"Mail", "Bank"});
        FMail = Root()->GetGroups().at(0);
        FBank = Root()->GetGroups().at(1);
        GUISettings().SetViewHideUserName(false);
        GUISettings().SetViewHidePassword(true);
        GUISettings().SetDeleteConfirmations(true);
        GUISettings().SetAutoCleanClipboard(true);
        GUISettings().SetAutoCleanClipboardSeconds(15);
        FAnswers = std::make_unique<TMessageBoxAnswerer>();
        FHost = std::make_unique<TTokenViewsHost>();
        FHost->show();
        QVERIFY(QTest::qWaitForWindowExposed(FHost.get()));
    }

    void cleanup()
    {
        QVERIFY2(FAnswers->Unexpected().isEmpty(), qPrintable(FAnswers->Unexpected().join(" | ")));
        FAnswers.reset();
        FHost.reset();
        FMail.reset();
        FBank.reset();
        LockwynApp().ClearHistory();
        TOvToast::Cancel();
        ClipboardAutoCleaner().CancelAutoClean();
        QGuiApplication::clipboard()->clear();
    }

    void sortsByTheRealValuesWithTieBreaks_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("titles");
        // The locale's order puts "Beta" among the lower-case titles.
        QTest::newRow("title") << 0 << false << QStringList{"alpha", "Beta", "delta", "gamma"};
        QTest::newRow("title descending")
            << 0 << true << QStringList{"gamma", "delta", "Beta", "alpha"};
        QTest::newRow("user name, ties by title")
            << 1 << false << QStringList{"delta", "Beta", "alpha", "gamma"};
        QTest::newRow("user name descending reverses the ties")
            << 1 << true << QStringList{"gamma", "alpha", "Beta", "delta"};
        QTest::newRow("masked password")
            << 2 << false << QStringList{"Beta", "delta", "gamma", "alpha"};
        QTest::newRow("notes") << 4 << false << QStringList{"gamma", "alpha", "Beta", "delta"};
    }

    void sortsByTheRealValuesWithTieBreaks()
    {
        QFETCH(int, column);
        QFETCH(bool, descending);
        QFETCH(QStringList, titles);
        AddSortSample();
        FHost->SelectGroup(FMail);
        Sort(column, descending);
        QCOMPARE(FHost->Column(0), titles);
        QVERIFY(FHost->Column(2).startsWith("********"));
    }

    // Equal titles meet in the search results: user name, then notes decide.
    void searchResultsShowPathsAndSortTiesByUserNameAndNotes()
    {
        Add(FBank, "alpha", "joe", "", "", "z");
        Add(FMail, "alpha", "joe", "", "", "a");
        Add(FMail, "alphabet", "", "", "", "");
        Add(Root(), "alpha", "ann", "", "", "");
        Add(FMail, "other", "", "", "", "");
        FHost->Search(QStringLiteral("alph"));
        QCOMPARE(FHost->Column(0),
                 (QStringList{"\\alpha", "\\Mail\\alpha", "\\Bank\\alpha", "\\Mail\\alphabet"}));
        QCOMPARE(List()->Columns().Item(0)->EllipsisStyle(), TEllipsisStyle::esPathEllipsis);
        QCOMPARE(List()->HighlightText(), QStringLiteral("alph"));

        // An ordinary group shows its matching tokens with plain titles.
        FHost->SearchText = QStringLiteral("Alph");
        FHost->SelectGroup(FMail);
        QCOMPARE(FHost->Column(0), (QStringList{"alpha", "alphabet"}));
        QCOMPARE(List()->Columns().Item(0)->EllipsisStyle(), TEllipsisStyle::esEndEllipsis);
        QCOMPARE(List()->HighlightText(), QStringLiteral("Alph"));
    }

    void masksReplaceTheWholeCell_data()
    {
        QTest::addColumn<bool>("hideUserName");
        QTest::addColumn<bool>("hidePassword");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("userNameCell");
        QTest::addColumn<QString>("passwordCell");
        QTest::newRow("nothing hidden") << false << false << "pw"
                                        << "joe"
                                        << "pw";
        QTest::newRow("password hidden") << false << true << "pw"
                                         << "joe"
                                         << "********";
        QTest::newRow("empty password hidden") << false << true << ""
                                               << "joe"
                                               << "********";
        QTest::newRow("both hidden") << true << true << "pw"
                                     << "********"
                                     << "********";
    }

    void masksReplaceTheWholeCell()
    {
        QFETCH(bool, hideUserName);
        QFETCH(bool, hidePassword);
        QFETCH(QString, password);
        GUISettings().SetViewHideUserName(hideUserName);
        GUISettings().SetViewHidePassword(hidePassword);
        Add(FMail, "t", "joe", password, "", "line one\r\nline two\nthree");
        FHost->SelectGroup(FMail);
        QTEST(FHost->Cell(0, 1), "userNameCell");
        QTEST(FHost->Cell(0, 2), "passwordCell");
        // CR LF becomes a blank; a bare LF stays.
        QCOMPARE(FHost->Cell(0, 4), QStringLiteral("line one line two\nthree"));
    }

    void coloursAndStrikeOut_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<int>("column");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("strikeOut");
        const QColor black(0, 0, 0), grey(0x80, 0x80, 0x80), light(0xB0, 0xB0, 0xB0),
            blue(0, 0, 255);
        QTest::newRow("plain title") << "plain" << 0 << black << false << false;
        QTest::newRow("valid URL") << "plain" << 3 << blue << true << false;
        QTest::newRow("javascript URL") << "script" << 3 << black << false << false;
        QTest::newRow("expired title") << "expired" << 0 << grey << false << true;
        QTest::newRow("expired URL is grey") << "expired" << 3 << grey << false << true;
        QTest::newRow("expired masked password") << "expired" << 2 << grey << false << false;
        QTest::newRow("expired user name") << "expired" << 1 << grey << false << true;
        QTest::newRow("in expired group") << "old group" << 0 << light << false << true;
        QTest::newRow("in expired group, masked") << "old group" << 2 << light << false << false;
    }

    void coloursAndStrikeOut()
    {
        QFETCH(QString, token);
        QFETCH(int, column);
        const auto old = AddGroup(QStringLiteral("Old"), true);
        Add(FMail, "plain", "u", "p", "https://example.com", "");
        Add(FMail, "script", "u", "p", "javascript:alert(1)", "");
        Add(FMail, "expired", "u", "p", "https://example.com", "", true, Past);
        Add(old, "old group", "u", "p", "", "");
        FHost->SelectGroup(token == u"old group" ? old : FMail);
        const int row = FHost->Column(0).indexOf(token);
        QVERIFY(row >= 0);
        TOvItemFontStyle style;
        List()->OnCustomItemFontStyle(List(), List()->Items().Item(row),
                                      List()->Columns().Item(column), style);
        QTEST(style.TextColor, "colour");
        QTEST(style.Underline, "underline");
        QTEST(style.StrikeOut, "strikeOut");
    }

    // Tokens that are still shown stay selected; one that left is dropped.
    void selectionSurvivesAReload()
    {
        AddSortSample();
        FHost->SelectGroup(FMail);
        SelectRows({0, 2, 3});
        QCOMPARE(SelectedTitles(), (QStringList{"alpha", "delta", "gamma"}));
        const auto delta = FMail->GetTokens().at(3);
        History()->Execute(LockwynApp().GetTokenStorage()->CreateDeleteTokensOperation({delta}));
        View()->Reload();
        QCOMPARE(SelectedTitles(), (QStringList{"alpha", "gamma"}));
        View()->UpdateView();
        QCOMPARE(SelectedTitles(), (QStringList{"alpha", "gamma"}));
    }

    void selectTokenShowsItsGroupAndFocusesTheRow()
    {
        AddSortSample();
        const auto other = Add(FBank, "card", "", "", "", "");
        FHost->SelectGroup(FMail);
        View()->SelectToken(other);
        QCOMPARE(FHost->Tree.Selected, FBank);
        QCOMPARE(SelectedTitles(), QStringList{"card"});
        QCOMPARE(List()->FocusedIndex(), 0);
        View()->SelectToken(nullptr);
        QVERIFY(!View()->GetSelectedTokens());
        QCOMPARE(View()->GetSelectedCount(), 0);
    }

    void selectTokensShowsTheGroupHoldingMost_data()
    {
        QTest::addColumn<QList<int>>("perGroup"); // tokens taken from Mail, Bank, Root
        QTest::addColumn<QStringList>("groups");  // either of these may be chosen
        QTest::newRow("one group holds most") << QList<int>{1, 3, 1} << QStringList{"Bank"};
        QTest::newRow("a tie") << QList<int>{2, 2, 1} << QStringList{"Mail", "Bank"};
        QTest::newRow("one token") << QList<int>{0, 0, 1} << QStringList{"root"};
    }

    void selectTokensShowsTheGroupHoldingMost()
    {
        QFETCH(QList<int>, perGroup);
        QFETCH(QStringList, groups);
        const std::shared_ptr<ITokenGroup> owners[] = {FMail, FBank, Root()};
        ITokenList tokens;
        for (int g = 0; g < 3; ++g)
            for (int i = 0; i < perGroup[g]; ++i)
                tokens.append(Add(owners[g], QStringLiteral("t%1").arg(i), "", "", "", ""));
        const auto chosen = GetMostReferencedParentGroup(tokens);
        QVERIFY(chosen);
        const QString title = chosen == Root() ? QStringLiteral("root") : chosen->GetTitle();
        QVERIFY2(groups.contains(title), qPrintable(title));
        QVERIFY(!GetMostReferencedParentGroup({}));

        View()->SelectTokens(tokens);
        QCOMPARE(FHost->Tree.Selected, chosen);
        QCOMPARE(View()->GetSelectedCount(), perGroup[chosen == FMail   ? 0
                                                      : chosen == FBank ? 1
                                                                        : 2]);
    }

    void selectingNoTokensKeepsTheGroup()
    {
        AddSortSample();
        FHost->SelectGroup(FMail);
        SelectRows({0});
        View()->SelectTokens({});
        QCOMPARE(FHost->Tree.Selected, FMail);
        QVERIFY(!View()->GetSelectedTokens());
    }

    void doubleClickCopiesByColumn_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<bool>("secret");
        QTest::newRow("title") << 0 << "alpha"
                               << "Title copied to clipboard" << false;
        QTest::newRow("user name")
            << 1 << "joe"
            << "User name copied to clipboard\r\nClipboard will be cleared in 15 seconds" << true;
        QTest::newRow("masked password")
            << 2 << "p3"
            << "Password copied to clipboard\r\nClipboard will be cleared in 15 seconds" << true;
        QTest::newRow("notes") << 4 << "n1"
                               << "Notes copied to clipboard" << false;
    }

    void doubleClickCopiesByColumn()
    {
        QFETCH(int, column);
        QFETCH(bool, secret);
        AddSortSample();
        FHost->SelectGroup(FMail);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, FHost->CellCentre(0, column));
        QTEST(QGuiApplication::clipboard()->text(), "clipboard");
        QTEST(ToastText(), "toast");
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->hasFormat("x-kde-passwordManagerHint"),
                 secret);
        QCOMPARE(ClipboardAutoCleaner().IsCleanPending(), secret);
    }

    void doubleClickBelowTheRowsAddsAToken()
    {
        AddSortSample();
        FHost->SelectGroup(FMail);
        QWidget* rows = List()->viewport();
        QTest::mouseDClick(rows, Qt::LeftButton, {},
                           QPoint(FHost->CellCentre(0, 0).x(), rows->height() - 3));
        QCOMPARE(ToastText(), LocalizedStrings().FToastTokenEditorNotAvailable);
    }

    // Only http and https reach a browser; Shift fills the login form instead.
    void doubleClickOnTheURL_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("filled");
        QTest::newRow("https") << "https://example.com/login" << false << true << false;
        QTest::newRow("https with Shift") << "https://example.com/login" << true << false << true;
        QTest::newRow("javascript") << "javascript:alert(1)" << false << false << false;
        QTest::newRow("javascript with Shift") << "javascript:alert(1)" << true << false << false;
        QTest::newRow("file") << "file:///etc/passwd" << false << false << false;
        QTest::newRow("empty") << "" << false << false << false;
    }

    void doubleClickOnTheURL()
    {
        QFETCH(QString, url);
        QFETCH(bool, shift);
        QFETCH(bool, opened);
        QFETCH(bool, filled);
        const TUrlCatcher browser;
        Add(FMail, "site", "u", "p", url, "");
        FHost->SelectGroup(FMail);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton,
                           shift ? Qt::ShiftModifier : Qt::NoModifier, FHost->CellCentre(0, 3));
        QCOMPARE(browser.Opened.size(), opened ? 1 : 0);
        if (opened)
            QCOMPARE(browser.Opened.first().toString(), url);
        QCOMPARE(FHost->OpenAndFill, filled ? QList<bool>{false} : QList<bool>{});
    }

    void keysByTable_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("remaining");
        const QString editor = QStringLiteral("The token editor is not available yet");
        QTest::newRow("Enter edits")
            << int(Qt::Key_Return) << Qt::KeyboardModifiers() << editor << 1 << 4;
        QTest::newRow("Enter with Shift edits")
            << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier) << editor << 1 << 4;
        QTest::newRow("Insert adds")
            << int(Qt::Key_Insert) << Qt::KeyboardModifiers() << editor << 1 << 4;
        QTest::newRow("Ctrl+Insert is not add")
            << int(Qt::Key_Insert) << Qt::KeyboardModifiers(Qt::ControlModifier) << QString() << 1
            << 4;
        QTest::newRow("Delete deletes")
            << int(Qt::Key_Delete) << Qt::KeyboardModifiers() << QString() << 0 << 3;
        QTest::newRow("Shift+Delete is not delete")
            << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier) << QString() << 1
            << 4;
        QTest::newRow("Ctrl+A selects all")
            << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::ControlModifier) << QString() << 4 << 4;
        QTest::newRow("Ctrl+Shift+A does not")
            << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier)
            << QString() << 1 << 4;
    }

    void keysByTable()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        GUISettings().SetDeleteConfirmations(false);
        AddSortSample();
        FHost->SelectGroup(FMail);
        SelectRows({1});
        List()->setFocus();
        QTest::keyClick(List(), Qt::Key(key), modifiers);
        QTEST(ToastText(), "toast");
        QTEST(View()->GetSelectedCount(), "selected");
        QTEST(int(FMail->GetTokens().size()), "remaining");
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("remaining");
        QTest::newRow("one, Yes") << QList<int>{1} << true << "Yes"
                                  << "Delete token \"Beta\" now?"
                                  << QStringList{"alpha", "delta", "gamma"};
        QTest::newRow("one, No") << QList<int>{1} << true << "No"
                                 << "Delete token \"Beta\" now?"
                                 << QStringList{"alpha", "Beta", "delta", "gamma"};
        QTest::newRow("three, Yes") << QList<int>{0, 2, 3} << true << "Yes"
                                    << "Delete 3 tokens now?" << QStringList{"Beta"};
        QTest::newRow("no question")
            << QList<int>{0, 2} << false << QString() << QString() << QStringList{"Beta", "gamma"};
    }

    void deleteAsksFirst()
    {
        QFETCH(QList<int>, rows);
        QFETCH(bool, confirm);
        QFETCH(QString, answer);
        QFETCH(QString, question);
        QFETCH(QStringList, remaining);
        GUISettings().SetDeleteConfirmations(confirm);
        AddSortSample();
        LockwynApp().SaveDatabase();
        FHost->SelectGroup(FMail);
        SelectRows(rows);
        if (!answer.isEmpty())
            FAnswers->Answer(answer);
        View()->DeleteSelectedTokens();
        QCOMPARE(FAnswers->Messages(), question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(FHost->Column(0), remaining);
        QCOMPARE(TokenTitlesOf(FFile, Password, "Mail"), Titles(FMail->GetTokens()));
        QCOMPARE(History()->GetCount(), answer == u"No" ? 0 : 1);
    }

    // After undo the selection from before the change is back, after redo
    // the one from after it; the file holds each state.
    void undoAndRedoBringTheSelectionBack_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("add") << "add" << QStringList{"Beta"} << QStringList{"new"};
        QTest::newRow("delete") << "delete" << QStringList{"alpha", "gamma"} << QStringList{};
        QTest::newRow("move") << "move" << QStringList{"alpha", "gamma"}
                              << QStringList{"alpha", "gamma"};
        QTest::newRow("copy") << "copy" << QStringList{"Beta"} << QStringList{"Beta (Copy 1)"};
    }

    void undoAndRedoBringTheSelectionBack()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        GUISettings().SetDeleteConfirmations(false);
        AddSortSample();
        LockwynApp().SaveDatabase();
        FHost->SelectGroup(FMail);
        SelectRows(change == u"delete" || change == u"move" ? QList<int>{0, 3} : QList<int>{1});
        QCOMPARE(SelectedTitles(), before);
        ILockwynApp& app = LockwynApp();
        const QString transfer = LocalizedStrings().FTransferTitleCollisionTemplate;
        if (change == u"delete") {
            View()->DeleteSelectedTokens();
        } else if (change == u"add") {
            const auto op = FMail->CreateAddTokenOperation("new", {}, {}, {}, {}, false, {}, false,
                                                           nullptr, nullptr);
            EditingProtocol::Execute(app, op, [&] {
                View()->Reload();
                View()->SelectToken(op->GetResult());
            });
        } else if (change == u"move") {
            const auto op = app.GetTokenStorage()->CreateMoveTokensOperation(
                *View()->GetSelectedTokens(), FBank, transfer);
            EditingProtocol::Execute(app, op, [&] {
                View()->Reload();
                FHost->SelectGroup(FBank);
                View()->SelectTokens(op->GetResults());
            });
        } else {
            const auto drag = View()->CreateDragObject();
            bool moveAccepted = false, dropAccepted = false;
            SendDrop(*drag, Qt::ControlModifier, moveAccepted, dropAccepted);
            QVERIFY(dropAccepted);
        }
        QCOMPARE(SelectedTitles(), after);
        const QStringList changed = Sorted(TokenTitlesOf(FFile, Password, "Mail"));

        FHost->SelectGroup(Root());
        EditingProtocol::Undo(app);
        QCOMPARE(FHost->Tree.Selected, FMail);
        QCOMPARE(SelectedTitles(), before);
        QCOMPARE(Sorted(TokenTitlesOf(FFile, Password, "Mail")),
                 Sorted({"alpha", "Beta", "gamma", "delta"}));

        FHost->SelectGroup(Root());
        EditingProtocol::Redo(app);
        QCOMPARE(FHost->Tree.Selected, change == u"move" ? FBank : FMail);
        QCOMPARE(SelectedTitles(), after);
        QCOMPARE(Sorted(TokenTitlesOf(FFile, Password, "Mail")), changed);
    }

    void dragCaptionNamesTheTokenOrTheirNumber_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QString>("caption");
        QTest::newRow("none") << QList<int>{} << QString();
        QTest::newRow("one") << QList<int>{1} << "Beta";
        QTest::newRow("three") << QList<int>{0, 1, 3} << "3 tokens selected";
    }

    void dragCaptionNamesTheTokenOrTheirNumber()
    {
        QFETCH(QList<int>, rows);
        QFETCH(QString, caption);
        AddSortSample();
        FHost->SelectGroup(FMail);
        SelectRows(rows);
        const auto drag = View()->CreateDragObject();
        QCOMPARE(bool(drag), !caption.isEmpty());
        if (!drag)
            return;
        QCOMPARE(drag->Control(), List());
        // The image is the caption on the selection colours, 4 pixels around it.
        TLockwynDragObject expected(List(), &List()->font());
        expected.PrepareDragImage(caption);
        QCOMPARE(drag->GetDragImages().toImage(), expected.GetDragImages().toImage());
        expected.PrepareDragImage(caption + u'x');
        QVERIFY(drag->GetDragImages().toImage() != expected.GetDragImages().toImage());
    }

    // Inside the list only a copy (Ctrl held) of its own rows is accepted.
    void copyDragInsideTheList_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("ownList");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier) << true << true;
        QTest::newRow("plain drag") << Qt::KeyboardModifiers() << true << false;
        QTest::newRow("from another control")
            << Qt::KeyboardModifiers(Qt::ControlModifier) << false << false;
    }

    void copyDragInsideTheList()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, ownList);
        QFETCH(bool, accepted);
        AddSortSample();
        LockwynApp().SaveDatabase();
        FHost->SelectGroup(FMail);
        SelectRows({0, 2});
        QWidget other;
        TLockwynDragObject drag(ownList ? static_cast<QWidget*>(List()) : &other);
        bool moveAccepted = false, dropAccepted = false;
        SendDrop(drag, modifiers, moveAccepted, dropAccepted);
        QCOMPARE(moveAccepted, accepted);
        QCOMPARE(dropAccepted, accepted);
        const QStringList expected =
            accepted
                ? QStringList{"alpha", "Beta", "gamma", "delta", "alpha (Copy 1)", "delta (Copy 1)"}
                : QStringList{"alpha", "Beta", "gamma", "delta"};
        QCOMPARE(Titles(FMail->GetTokens()), expected);
        QCOMPARE(TokenTitlesOf(FFile, Password, "Mail"), expected);
        const QStringList selected =
            accepted ? QStringList{"alpha (Copy 1)"} : QStringList{"alpha", "delta"};
        QCOMPARE(SelectedTitles(), selected);
    }

    // The search-results node has no group to copy into.
    void copyDragIsRefusedInTheSearchResults()
    {
        AddSortSample();
        FHost->Search(QStringLiteral("a"));
        SelectRows({0});
        const auto drag = View()->CreateDragObject();
        bool moveAccepted = true, dropAccepted = true;
        SendDrop(*drag, Qt::ControlModifier, moveAccepted, dropAccepted);
        QVERIFY(!moveAccepted);
        QVERIFY(!dropAccepted);
        QCOMPARE(FMail->GetTokens().size(), 4);
    }

    void dragOperationFollowsCtrl_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("cursor");
        QTest::newRow("move") << Qt::KeyboardModifiers() << true << 150;
        QTest::newRow("copy") << Qt::KeyboardModifiers(Qt::ControlModifier) << true << 151;
        QTest::newRow("copy with Shift")
            << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << true << 151;
        QTest::newRow("refused") << Qt::KeyboardModifiers(Qt::ControlModifier) << false << 152;
    }

    void dragOperationFollowsCtrl()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, accepted);
        QTEST(TLockwynDragObject::GetDragCursor(
                  accepted, TLockwynDragObject::GetDragOperationType(modifiers)),
              "cursor");
        QFETCH(int, cursor);
        const QCursor shape = TLockwynDragObject::DragCursor(cursor);
        QCOMPARE(shape.pixmap().size(), QSize(32, 32));
        QCOMPARE(shape.hotSpot(), cursor == 152 ? QPoint(15, 15) : QPoint(12, 8));
    }

    void filteredSelectionIsRemembered()
    {
        AddSortSample();
        FHost->SelectGroup(FMail);
        SelectRows({0});
        QVERIFY(!View()->GetSelectedFilteredTokens());
        FHost->Search(QStringLiteral("a"));
        SelectRows({0, 1});
        const QStringList chosen = SelectedTitles();
        QCOMPARE(chosen.size(), 2);
        List()->ClearSelection();
        QCOMPARE(Titles(*View()->GetSelectedFilteredTokens()), chosen);
        View()->ClearSelectedFilteredTokens();
        QVERIFY(!View()->GetSelectedFilteredTokens());
    }

    void copyThroughTheCleaner_data()
    {
        QTest::addColumn<bool>("autoClean");
        QTest::addColumn<QString>("toast");
        QTest::newRow("auto-clean")
            << true << "Password copied to clipboard\r\nClipboard will be cleared in 7 seconds";
        QTest::newRow("no auto-clean") << false << "Password copied to clipboard";
    }

    void copyThroughTheCleaner()
    {
        QFETCH(bool, autoClean);
        GUISettings().SetAutoCleanClipboard(autoClean);
        GUISettings().SetAutoCleanClipboardSeconds(7);
        AddSortSample();
        FHost->SelectGroup(FMail);
        SelectRows({1, 3});
        View()->CopySelectedPassword();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("p1"));
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat("x-kde-passwordManagerHint"));
        QTEST(ToastText(), "toast");
        QCOMPARE(ClipboardAutoCleaner().IsCleanPending(), autoClean);
        View()->CopyUserName(nullptr);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("p1"));
    }

    // A stored layout may hide the title column; loading it shows the column.
    void loadingALayoutKeepsTheTitleShown()
    {
        List()->Columns().Item(0)->SetCanHide(true);
        List()->Columns().Item(0)->SetVisible(false);
        List()->Columns().Item(3)->SetVisible(false);
        View()->SaveUIState();
        View()->LoadUIState();
        QVERIFY(List()->Columns().Item(0)->Visible());
        QVERIFY(!List()->Columns().Item(0)->CanHide());
        QVERIFY(!List()->Columns().Item(3)->Visible());
        QCOMPARE(List()->Columns().Item(3)->Caption(), QStringLiteral("URL"));
    }

    void badInputIsShown()
    {
        const QString longNote(100000, u'n');
        Add(FMail, "<b>bold</b>", "<img src=x>", "", "", longNote);
        Add(FMail, QString::fromUtf8("\u05e9\u05dc\u05d5\u05dd abc"), "", "", "", "");
        FHost->SelectGroup(FMail);
        QCOMPARE(FHost->Column(0).size(), 2);
        QVERIFY(FHost->Column(0).contains("<b>bold</b>"));
        QCOMPARE(FHost->Cell(FHost->Column(0).indexOf("<b>bold</b>"), 4).size(), 100000);
        SelectRows({0, 1});
        QVERIFY(!FHost->grab().isNull());
    }
};

QTEST_MAIN(TestTokensView)
#include "tst_TokensView.moc"
