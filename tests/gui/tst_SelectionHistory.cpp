// The selection history: what is saved per operation and phase, and what
// restoring it selects in the group tree and the token list.

#include <QTest>

#include <memory>

#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.SelectionHistory.h"
#include "SessionTestSupport.h"

using namespace Lockwyn;
using namespace SessionTest;

class TestSelectionHistory : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<TScript> FScript;
    std::unique_ptr<TTestApp> FApp;
    std::unique_ptr<TTestMainView> FMain;
    std::shared_ptr<ITokenGroup> FMail;
    std::shared_ptr<IToken> FA;
    std::shared_ptr<IToken> FB;

    std::shared_ptr<IOperationHistory> History() { return GetLockwyn()->GetOperationHistory(); }

    template <typename T> std::shared_ptr<T> Execute(const std::shared_ptr<IOperationOf<T>>& op)
    {
        History()->Execute(op);
        return op->GetResult();
    }

    std::shared_ptr<IToken> AddToken(const std::shared_ptr<ITokenGroup>& group,
                                     const QString& title)
    {
        return Execute(group->CreateAddTokenOperation(title, {}, {}, {}, {}, false, {}, false,
                                                      nullptr, nullptr));
    }

    ISelectionHistory& Selection() { return *FApp->GetSelectionHistory(); }

private Q_SLOTS:
    void cleanupTestCase()
    {
        ResetDatabase();
        ReleaseLibraryConnections();
    }

    void init()
    {
        ResetDatabase();
        FScript = std::make_shared<TScript>();
        FApp = std::make_unique<TTestApp>(FScript);
        FMain = std::make_unique<TTestMainView>(FApp.get());
        const auto root = FApp->GetRootGroup();
        FMail = Execute(root->CreateAddGroupOperation("Mail", false, {}, nullptr));
        FA = AddToken(FMail, "a");
        FB = AddToken(FMail, "b");
        History()->Clear();
    }

    void cleanup()
    {
        FMain.reset();
        FApp.reset();
        FMail.reset();
        FA.reset();
        FB.reset();
    }

    // Deleting tokens and undoing it selects the re-created tokens again.
    void undoOfADeleteSelectsTheTokensAgain()
    {
        FMain->Tree.Selected = FMail;
        FMain->List.Selected = {FA, FB};
        const auto remove =
            GetLockwyn()->GetDatabaseFile()->GetTokenStorage()->CreateDeleteTokensOperation(
                {FA, FB});
        Selection().SaveSelection(remove, TSelectionHistoryPhase::shpBeforeOperation);
        History()->Execute(remove);
        FMain->List.Selected.clear();
        Selection().SaveSelection(remove, TSelectionHistoryPhase::shpAfterOperation);
        QCOMPARE(Selection().GetCount(), 2);

        FMain->Tree.Selected = FApp->GetRootGroup();
        const auto undone = History()->Undo();
        QVERIFY(Selection().RestoreSelection(undone, TSelectionHistoryPhase::shpBeforeOperation));
        QCOMPARE(FMain->Tree.Selected, FMail);
        QCOMPARE(FMain->List.Selected.size(), 2);
        QCOMPARE(FMain->List.Selected[0]->GetID(), FA->GetID());
        QCOMPARE(FMain->List.Selected[1]->GetID(), FB->GetID());

        const auto redone = History()->Redo();
        QVERIFY(Selection().RestoreSelection(redone, TSelectionHistoryPhase::shpAfterOperation));
        QCOMPARE(FMain->Tree.Selected, FMail);
        QVERIFY(FMain->List.Selected.isEmpty());
    }

    void unknownEntriesChangeNothing()
    {
        const auto op = FMail->CreateRenameOperation("Post");
        Selection().SaveSelection(op, TSelectionHistoryPhase::shpAfterOperation);
        FMain->Tree.Selected = FMail;
        FMain->List.Selected = {FA};
        QVERIFY(!Selection().RestoreSelection(op, TSelectionHistoryPhase::shpBeforeOperation));
        QVERIFY(!Selection().RestoreSelection(FMail->CreateRenameOperation("X"),
                                              TSelectionHistoryPhase::shpAfterOperation));
        QCOMPARE(FMain->Tree.Selected, FMail);
        QCOMPARE(FMain->List.Selected, ITokenList{FA});
    }

    void vanishedTokensAreSkipped()
    {
        FMain->Tree.Selected = FMail;
        FMain->List.Selected = {FA, FB};
        const auto op = FMail->CreateRenameOperation("Post");
        Selection().SaveSelection(op, TSelectionHistoryPhase::shpBeforeOperation);
        History()->Execute(
            GetLockwyn()->GetDatabaseFile()->GetTokenStorage()->CreateDeleteTokensOperation({FA}));
        FMain->List.Selected.clear();
        QVERIFY(Selection().RestoreSelection(op, TSelectionHistoryPhase::shpBeforeOperation));
        QCOMPARE(FMain->List.Selected, ITokenList{FB});
    }

    // Without a selected group (the search-results node) the tokens are
    // looked up from the root group.
    void noGroupSelectedLooksTokensUpFromTheRoot()
    {
        FMain->Tree.Selected = nullptr;
        FMain->List.Selected = {FB};
        const auto op = FMail->CreateRenameOperation("Post");
        Selection().SaveSelection(op, TSelectionHistoryPhase::shpAfterOperation);
        FMain->Tree.Selected = FMail;
        FMain->List.Selected.clear();
        QVERIFY(Selection().RestoreSelection(op, TSelectionHistoryPhase::shpAfterOperation));
        QCOMPARE(FMain->Tree.Selected, nullptr);
        QCOMPARE(FMain->List.Selected, ITokenList{FB});
    }

    void noTokenSelectedClearsTheListSelection()
    {
        FMain->Tree.Selected = FMail;
        const auto op = FMail->CreateRenameOperation("Post");
        Selection().SaveSelection(op, TSelectionHistoryPhase::shpBeforeOperation);
        FMain->List.Selected = {FA};
        QVERIFY(Selection().RestoreSelection(op, TSelectionHistoryPhase::shpBeforeOperation));
        QVERIFY(FMain->List.Selected.isEmpty());
    }

    void savingAgainReplacesTheEntry()
    {
        FMain->Tree.Selected = FMail;
        const auto op = FMail->CreateRenameOperation("Post");
        Selection().SaveSelection(op, TSelectionHistoryPhase::shpBeforeOperation);
        FMain->Tree.Selected = FApp->GetRootGroup();
        Selection().SaveSelection(op, TSelectionHistoryPhase::shpBeforeOperation);
        QCOMPARE(Selection().GetCount(), 1);
        FMain->Tree.Selected = FMail;
        QVERIFY(Selection().RestoreSelection(op, TSelectionHistoryPhase::shpBeforeOperation));
        QCOMPARE(FMain->Tree.Selected, FApp->GetRootGroup());
    }

    void deleteRemovesBothPhases()
    {
        const auto kept = FMail->CreateRenameOperation("Kept");
        const auto dropped = FMail->CreateRenameOperation("Dropped");
        for (const auto& op : {kept, dropped}) {
            Selection().SaveSelection(op, TSelectionHistoryPhase::shpBeforeOperation);
            Selection().SaveSelection(op, TSelectionHistoryPhase::shpAfterOperation);
        }
        Selection().Delete(dropped);
        QCOMPARE(Selection().GetCount(), 2);
        QVERIFY(!Selection().RestoreSelection(dropped, TSelectionHistoryPhase::shpAfterOperation));
        QVERIFY(Selection().RestoreSelection(kept, TSelectionHistoryPhase::shpAfterOperation));
    }

    void clearHistoryForgetsBoth()
    {
        const auto op = FMail->CreateRenameOperation("Post");
        Selection().SaveSelection(op, TSelectionHistoryPhase::shpBeforeOperation);
        History()->Execute(op);
        FApp->ClearHistory();
        QCOMPARE(Selection().GetCount(), 0);
        QCOMPARE(History()->GetCount(), 0);
        QVERIFY(!History()->GetCanUndo());
    }
};

QTEST_MAIN(TestSelectionHistory)
#include "tst_SelectionHistory.moc"
