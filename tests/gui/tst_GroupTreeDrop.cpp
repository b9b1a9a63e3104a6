// Drops on a group of the tree, on a real database: which ones are refused,
// and what moving and copying groups and tokens does to the data, the file
// and the undo history.

#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "Lockwyn.App.h"
#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.GroupTreeDrop.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"
#include "SessionTestSupport.h"
#include "TokenViewsTestSupport.h"

using namespace Lockwyn;
using namespace SessionTest;
using GroupTreeDrop::TDraggedKind;

namespace {

const QString Password = QStringLiteral("correct horse");

QStringList GroupTitles(const ITokenGroupList& groups)
{
    QStringList titles;
    for (const auto& group : groups)
        titles.append(group->GetTitle());
    return titles;
}

} // namespace

class TestGroupTreeDrop : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FFile;
    std::unique_ptr<TTokenViewsHost> FHost;
    std::unique_ptr<TMessageBoxAnswerer> FAnswers;
    // Root > Mail > Inner, Root > Bank; tokens a, b in Mail, c in Bank.
    QHash<QString, std::shared_ptr<ITokenGroup>> FGroups;
    QHash<QString, std::shared_ptr<IToken>> FTokens;

    std::shared_ptr<IOperationHistory> History() { return GetLockwyn()->GetOperationHistory(); }

    std::shared_ptr<ITokenGroup> AddGroup(const std::shared_ptr<ITokenGroup>& parent,
                                          const QString& title)
    {
        const auto op = parent->CreateAddGroupOperation(title, false, {}, nullptr);
        History()->Execute(op);
        return FGroups[title] = op->GetResult();
    }
    void AddToken(const QString& group, const QString& title)
    {
        const auto op = FGroups[group]->CreateAddTokenOperation(title, {}, {}, {}, {}, false, {},
                                                                false, nullptr, nullptr);
        History()->Execute(op);
        FTokens[title] = op->GetResult();
    }
    GroupTreeDrop::TDrop Drop(TDraggedKind kind, bool copy, const QString& selected,
                              const QString& target, const QStringList& tokens = {})
    {
        GroupTreeDrop::TDrop drop;
        drop.Kind = kind;
        drop.Operation =
            copy ? TLockwynDragOperationType::dotCopy : TLockwynDragOperationType::dotMove;
        drop.SelectedGroup = FGroups.value(selected);
        drop.Target = FGroups.value(target);
        if (!tokens.isEmpty()) {
            drop.SelectedTokens = ITokenList();
            for (const QString& title : tokens)
                drop.SelectedTokens->append(FTokens.value(title));
        }
        return drop;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
        FFile = FDir.filePath("drop.lwdb");
    }

    void cleanupTestCase() { ReleaseSession(); }

    void init()
    {
        OpenDatabaseFile(FFile, Password);
        FGroups["Root"] = LockwynApp().GetRootGroup();
        AddGroup(AddGroup(FGroups["Root"], "Mail"), "Inner");
        AddGroup(FGroups["Root"], "Bank");
        AddToken("Mail", "a");
        AddToken("Mail", "b");
        AddToken("Bank", "c");
        LockwynApp().ClearHistory();
        LockwynApp().SaveDatabase();
        FAnswers = std::make_unique<TMessageBoxAnswerer>();
        FHost = std::make_unique<TTokenViewsHost>();
        FHost->show();
    }

    void cleanup()
    {
        QVERIFY2(FAnswers->Unexpected().isEmpty(), qPrintable(FAnswers->Unexpected().join(" | ")));
        FAnswers.reset();
        FHost.reset();
        FGroups.clear();
        FTokens.clear();
        LockwynApp().ClearHistory();
        LockwynApp().SetReadOnlyMode(false);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("tokens");
        QTest::addColumn<bool>("accepted");
        const int group = int(TDraggedKind::dkGroup), tokens = int(TDraggedKind::dkTokens);
        QTest::newRow("group onto itself") << group << false << "Mail"
                                           << "Mail" << QStringList{} << false;
        QTest::newRow("copy onto itself") << group << true << "Mail"
                                          << "Mail" << QStringList{} << false;
        QTest::newRow("group below itself") << group << false << "Mail"
                                            << "Inner" << QStringList{} << false;
        QTest::newRow("copy below itself") << group << true << "Mail"
                                           << "Inner" << QStringList{} << false;
        QTest::newRow("move onto its parent") << group << false << "Inner"
                                              << "Mail" << QStringList{} << false;
        QTest::newRow("copy onto its parent") << group << true << "Inner"
                                              << "Mail" << QStringList{} << true;
        QTest::newRow("move elsewhere") << group << false << "Inner"
                                        << "Bank" << QStringList{} << true;
        QTest::newRow("move onto the root") << group << false << "Inner"
                                            << "Root" << QStringList{} << true;
        QTest::newRow("no group selected") << group << false << ""
                                           << "Bank" << QStringList{} << false;
        QTest::newRow("blank space") << group << false << "Inner"
                                     << "" << QStringList{} << false;
        QTest::newRow("tokens already there") << tokens << false << "Mail"
                                              << "Mail" << QStringList{"a", "b"} << false;
        QTest::newRow("copy of tokens into their group") << tokens << true << "Mail"
                                                         << "Mail" << QStringList{"a", "b"} << true;
        QTest::newRow("one token from elsewhere") << tokens << false << ""
                                                  << "Mail" << QStringList{"a", "c"} << true;
        QTest::newRow("no tokens") << tokens << true << "Mail"
                                   << "Bank" << QStringList{} << false;
        QTest::newRow("something else") << int(TDraggedKind::dkOther) << true << "Mail"
                                        << "Bank" << QStringList{"a"} << false;
    }

    void refusals()
    {
        QFETCH(int, kind);
        QFETCH(bool, copy);
        QFETCH(QString, selected);
        QFETCH(QString, target);
        QFETCH(QStringList, tokens);
        QFETCH(bool, accepted);
        const auto drop = Drop(TDraggedKind(kind), copy, selected, target, tokens);
        QCOMPARE(GroupTreeDrop::Accepts(drop), accepted);
        QCOMPARE(GroupTreeDrop::Execute(LockwynApp(), drop, {}), accepted);
        QCOMPARE(History()->GetCount(), accepted ? 1 : 0);
    }

    // A copy onto the own parent is named by the template; the copy is
    // selected, and undo and redo bring back the selection of each side.
    void groupCopyIsSelectedAndUndone()
    {
        FHost->SelectGroup(FGroups["Inner"]);
        const auto drop = Drop(TDraggedKind::dkGroup, true, "Inner", "Mail");
        QVERIFY(GroupTreeDrop::Execute(LockwynApp(), drop,
                                       [&](const auto& group) { FHost->SelectGroup(group); }));
        QCOMPARE(GroupTitles(FGroups["Mail"]->GetGroups()),
                 (QStringList{"Inner", "Inner (Copy 1)"}));
        QCOMPARE(FHost->Tree.Selected->GetTitle(), QStringLiteral("Inner (Copy 1)"));
        QVERIFY(FHost->Tree.Updates > 0);

        EditingProtocol::Undo(LockwynApp());
        QCOMPARE(FHost->Tree.Selected, FGroups["Inner"]);
        QCOMPARE(GroupTitles(FGroups["Mail"]->GetGroups()), QStringList{"Inner"});
        QCOMPARE(GroupTitlesOf(FFile, Password), (QStringList{"Mail", "Bank"}));
        EditingProtocol::Redo(LockwynApp());
        QCOMPARE(FHost->Tree.Selected->GetTitle(), QStringLiteral("Inner (Copy 1)"));
    }

    void tokensMoveAndTheFileFollows()
    {
        FHost->SelectGroup(FGroups["Mail"]);
        const auto drop = Drop(TDraggedKind::dkTokens, false, "Mail", "Bank", {"a"});
        QVERIFY(GroupTreeDrop::Execute(LockwynApp(), drop, {}));
        QCOMPARE(TokenTitlesOf(FFile, Password, "Bank"), (QStringList{"c", "a"}));
        QCOMPARE(TokenTitlesOf(FFile, Password, "Mail"), QStringList{"b"});
        // The list no longer shows the moved token.
        QCOMPARE(FHost->Column(0), QStringList{"b"});
        EditingProtocol::Undo(LockwynApp());
        QCOMPARE(TokenTitlesOf(FFile, Password, "Mail").size(), 2);
    }

    void readOnlyModeKeptCancelsTheDrop()
    {
        LockwynApp().SetReadOnlyMode(true);
        FAnswers->Answer("No");
        const auto drop = Drop(TDraggedKind::dkGroup, false, "Inner", "Bank");
        QVERIFY(!GroupTreeDrop::Execute(LockwynApp(), drop, {}));
        QCOMPARE(FAnswers->Messages().size(), 1);
        QCOMPARE(GroupTitles(FGroups["Mail"]->GetGroups()), QStringList{"Inner"});
        QCOMPARE(History()->GetCount(), 0);
    }
};

QTEST_MAIN(TestGroupTreeDrop)
#include "tst_GroupTreeDrop.moc"
