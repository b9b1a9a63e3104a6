// The storage library's groups, tokens, operations, undo, searches and
// history, reached through its interfaces with the real loader.

#include "LockwynLibTestFixture.h"

#include <QTest>

using namespace TestData;

namespace {

using TMakeOperation = std::function<std::shared_ptr<IOperation>(TFixture&)>;

} // namespace

Q_DECLARE_METATYPE(TMakeOperation)

class TestLockwynLibModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void operationsUndoAndRedo_data();
    void operationsUndoAndRedo();
    void operationResultIsTheObjectToSelect();
    void compositeUndoesInOneStep();
    void deletedObjectsDieAndUndoRecreatesThemWithTheirIDs();
    void historyStacks();
    void titleCollisions_data();
    void titleCollisions();
    void titleUniquenessIgnoresCase();
    void groupCannotMoveBelowItself();
    void searches_data();
    void searches();
    void groupsToShowAndContainingGroups();
    void historyEntries();
    void updateWithoutChangeRecordsNothing();
    void clearedHistoryReplacesTheStoredOne();
    void expiry();
    void storedObjectsChangeOnlyThroughOperations();
    void pathsTemplatesAndTitles();
    void customPropertyTitlesIncludeTemplateNames();
    void importKeepsOrRenewsIDs();
    void importCarriesTheDatesOfDetachedObjects();
};

void TestLockwynLibModel::operationsUndoAndRedo_data()
{
    QTest::addColumn<TMakeOperation>("make");
    QTest::newRow("add token") << TMakeOperation([](TFixture& f) {
        return f.Group("A")->CreateAddTokenOperation("New", "u", "p", "", "", false, {}, false,
                                                     nullptr, nullptr);
    });
    QTest::newRow("update token") << TMakeOperation([](TFixture& f) {
        auto token = f.Token("Shop");
        return token->CreateUpdateOperation(f.Edited(token, [](IToken& copy) {
            copy.SetPassword("changed");
            copy.GetCustomProperties()->SetValue("PIN", "0000");
        }));
    });
    QTest::newRow("move token") << TMakeOperation([](TFixture& f) {
        return f.Storage->CreateMoveTokenOperation(f.Token("Mail"), f.Group("B"), CopyTemplate);
    });
    QTest::newRow("move tokens") << TMakeOperation([](TFixture& f) {
        return f.Storage->CreateMoveTokensOperation({f.Token("Bank"), f.Token("Mail")},
                                                    f.Group("B"), CopyTemplate);
    });
    QTest::newRow("copy tokens") << TMakeOperation([](TFixture& f) {
        return f.Storage->CreateCopyTokensOperation({f.Token("Shop"), f.Token("Bank")},
                                                    f.Group("B"), CopyTemplate);
    });
    QTest::newRow("delete tokens") << TMakeOperation([](TFixture& f) {
        return f.Storage->CreateDeleteTokensOperation({f.Token("Shop"), f.Token("Mail")});
    });
    QTest::newRow("add group") << TMakeOperation(
        [](TFixture& f) { return f.Root->CreateAddGroupOperation("C", false, {}, nullptr); });
    QTest::newRow("update group") << TMakeOperation([](TFixture& f) {
        auto copy = f.Group("A")->GetCloner()->Clone();
        copy->SetTitle("A2");
        copy->SetExpires(true);
        copy->GetCustomPropertiesTemplate()->Add("Login");
        return f.Group("A")->CreateUpdateOperation(copy);
    });
    QTest::newRow("rename group") << TMakeOperation(
        [](TFixture& f) { return f.Group("B")->CreateRenameOperation("Renamed"); });
    QTest::newRow("move group") << TMakeOperation([](TFixture& f) {
        return f.Storage->CreateMoveGroupOperation(f.Group("B"), f.Root, CopyTemplate);
    });
    QTest::newRow("copy group") << TMakeOperation([](TFixture& f) {
        return f.Storage->CreateCopyGroupOperation(f.Group("A"), f.Group("B"), CopyTemplate);
    });
    QTest::newRow("delete group") << TMakeOperation(
        [](TFixture& f) { return f.Root->CreateDeleteGroupOperation(f.Group("A")); });
    QTest::newRow("import") << TMakeOperation([](TFixture& f) {
        auto factory = f.Lib->GetObjectFactory();
        auto imported = factory->CreateTokenGroup();
        auto token = factory->CreateToken();
        token->SetTitle("Mail");
        imported->AppendToken(token);
        auto group = factory->CreateTokenGroup();
        group->SetTitle("A");
        imported->AppendGroup(group);
        return f.Root->CreateImportOperation(imported, true, ImportTemplate);
    });
}

void TestLockwynLibModel::operationsUndoAndRedo()
{
    QFETCH(TMakeOperation, make);
    TFixture f;
    Populate(f);
    const QString before = Dump(*f.Root);
    auto operation = make(f);
    QCOMPARE(Dump(*f.Root), before); // building an operation changes nothing
    f.History->Execute(operation);
    const QString after = Dump(*f.Root);
    QVERIFY(after != before);
    QCOMPARE(f.History->Undo(), operation);
    QCOMPARE(Dump(*f.Root), before);
    QCOMPARE(f.History->Redo(), operation);
    QCOMPARE(Dump(*f.Root), after);
    f.History->Undo();
    QCOMPARE(Dump(*f.Root), before);
}

void TestLockwynLibModel::operationResultIsTheObjectToSelect()
{
    TFixture f;
    Populate(f);
    auto copy = f.Storage->CreateCopyTokensOperation({f.Token("Bank")}, f.Group("A"), CopyTemplate);
    QVERIFY(!copy->GetResult());
    f.History->Execute(copy);
    QCOMPARE(copy->GetResult()->GetTitle(), QStringLiteral("Bank (Copy 1)"));
    QCOMPARE(copy->GetResult()->GetGroup(), f.Group("A"));
    QVERIFY(copy->GetResult()->GetID() != f.Token("Bank")->GetID());
    f.History->Undo();
    QVERIFY(!copy->GetResult());
    f.History->Redo();
    QCOMPARE(copy->GetResult(), f.Token("Bank (Copy 1)"));

    auto move = f.Storage->CreateMoveGroupOperation(f.Group("B"), f.Root, CopyTemplate);
    f.History->Execute(move);
    QCOMPARE(move->GetResult(), f.Group("B"));
    QCOMPARE(move->GetResult()->GetParent(), f.Root);
}

void TestLockwynLibModel::compositeUndoesInOneStep()
{
    TFixture f;
    Populate(f);
    const QString before = Dump(*f.Root);
    auto token = f.Token("Mail");
    auto composite = f.Lib->GetObjectFactory()->CreateCompositeOperation();
    composite->Add(token->CreateUpdateOperation(
        f.Edited(token, [](IToken& copy) { copy.SetUserName("alice2"); })));
    auto move = f.Storage->CreateMoveTokenOperation(token, f.Group("B"), CopyTemplate);
    composite->Add(move);
    f.History->Execute(composite);
    QCOMPARE(move->GetResult(), token); // the same object, moved
    QCOMPARE(token->GetGroup(), f.Group("B"));
    QCOMPARE(token->GetUserName(), QStringLiteral("alice2"));
    QCOMPARE(f.History->GetCount(), 1);
    f.History->Undo();
    QCOMPARE(Dump(*f.Root), before);
    QVERIFY(!f.History->GetCanUndo());
}

void TestLockwynLibModel::deletedObjectsDieAndUndoRecreatesThemWithTheirIDs()
{
    TFixture f;
    Populate(f);
    std::weak_ptr<IToken> weakToken = f.Token("Mail");
    const QUuid tokenID = weakToken.lock()->GetID();
    f.History->Execute(f.Storage->CreateDeleteTokensOperation({weakToken.lock()}));
    QVERIFY(weakToken.expired());
    QVERIFY(!f.Root->FindTokenByID(tokenID, true));
    f.History->Undo();
    QCOMPARE(f.Root->FindTokenByID(tokenID, true)->GetTitle(), QStringLiteral("Mail"));

    std::weak_ptr<ITokenGroup> weakGroup = f.Group("B");
    std::weak_ptr<IToken> weakInner = f.Token("Shop");
    const QUuid groupID = weakGroup.lock()->GetID();
    const QUuid innerID = weakInner.lock()->GetID();
    f.History->Execute(f.Group("A")->CreateDeleteGroupOperation(weakGroup.lock()));
    QVERIFY(weakGroup.expired());
    QVERIFY(weakInner.expired());
    f.History->Undo();
    QCOMPARE(f.Root->FindGroupByID(groupID, true)->GetTitle(), QStringLiteral("B"));
    QCOMPARE(f.Root->FindTokenByID(innerID, true)->GetGroup()->GetID(), groupID);

    // A view that still holds a deleted token sees it detached.
    auto held = f.Token("Bank");
    f.History->Execute(f.Storage->CreateDeleteTokensOperation({held}));
    QVERIFY(!held->GetGroup());
    QCOMPARE(held->GetTitle(), QStringLiteral("Bank"));
}

void TestLockwynLibModel::historyStacks()
{
    TFixture f;
    QVERIFY(!f.History->GetCanUndo());
    QVERIFY(!f.History->Undo());
    f.AddGroup(f.Root, "One");
    f.AddGroup(f.Root, "Two");
    f.History->Undo();
    QVERIFY(f.History->GetCanUndo());
    QVERIFY(f.History->GetCanRedo());
    QCOMPARE(f.History->GetCount(), 2);
    f.AddGroup(f.Root, "Three"); // drops what could be redone
    QVERIFY(!f.History->GetCanRedo());
    QCOMPARE(Titles(f.Root->GetGroups()), QStringList({"One", "Three"}));
    f.History->Clear();
    QCOMPARE(f.History->GetCount(), 0);
    QVERIFY(!f.History->GetCanUndo());
}

void TestLockwynLibModel::titleCollisions_data()
{
    QTest::addColumn<TMakeOperation>("make");
    QTest::addColumn<QStringList>("tokenTitles"); // of group A afterwards
    QTest::addColumn<QStringList>("groupTitles"); // of group A afterwards
    QTest::newRow("copy into the same group counts up") << TMakeOperation([](TFixture& f) {
        return f.Storage->CreateCopyTokensOperation({f.Token("Bank"), f.Token("Bank")},
                                                    f.Group("A"), CopyTemplate);
    }) << QStringList{"Bank", "bank (Copy 2)", "Bank (Copy 1)", "Bank (Copy 3)"}
                                                        << QStringList{"B"};
    QTest::newRow("move collides case-insensitively") << TMakeOperation([](TFixture& f) {
        auto token = f.AddToken(f.Root, "BANK");
        return f.Storage->CreateMoveTokenOperation(token, f.Group("A"), CopyTemplate);
    }) << QStringList{"Bank", "bank (Copy 2)", "BANK (Copy 1)"}
                                                      << QStringList{"B"};
    QTest::newRow("group copy into its own parent") << TMakeOperation([](TFixture& f) {
        return f.Storage->CreateCopyGroupOperation(f.Group("B"), f.Group("A"), CopyTemplate);
    }) << QStringList{"Bank", "bank (Copy 2)"} << QStringList{"B", "B (Copy 1)"};
    QTest::newRow("import renames with its template") << TMakeOperation([](TFixture& f) {
        auto factory = f.Lib->GetObjectFactory();
        auto imported = factory->CreateTokenGroup();
        auto group = factory->CreateTokenGroup();
        group->SetTitle("b");
        imported->AppendGroup(group);
        return f.Group("A")->CreateImportOperation(imported, false, ImportTemplate);
    }) << QStringList{"Bank", "bank (Copy 2)"} << QStringList{"B", "b (Imported 1)"};
    QTest::newRow("template without a counter still finds a free title")
        << TMakeOperation([](TFixture& f) {
               return f.Storage->CreateCopyTokensOperation({f.Token("Bank")}, f.Group("A"), "%0:s");
           })
        << QStringList{"Bank", "bank (Copy 2)", "Bank (1)"} << QStringList{"B"};
}

void TestLockwynLibModel::titleCollisions()
{
    QFETCH(TMakeOperation, make);
    QFETCH(QStringList, tokenTitles);
    QFETCH(QStringList, groupTitles);
    TFixture f;
    Populate(f);
    f.AddToken(f.Group("A"), "bank (Copy 2)");
    f.History->Execute(make(f));
    QCOMPARE(Titles(f.Group("A")->GetTokens()), tokenTitles);
    QCOMPARE(Titles(f.Group("A")->GetGroups()), groupTitles);
}

void TestLockwynLibModel::titleUniquenessIgnoresCase()
{
    TFixture f;
    Populate(f);
    auto a = f.Group("A");
    QVERIFY(!a->IsTokenTitleUnique("bANK"));
    QVERIFY(a->IsTokenTitleUnique("bANK", f.Token("Bank")));
    QVERIFY(a->IsTokenTitleUnique("Mail"));
    QVERIFY(!f.Root->IsGroupTitleUnique("a"));
    QVERIFY(f.Root->IsGroupTitleUnique("a", a));
    QVERIFY(a->IsGroupTitleUnique("A"));
}

void TestLockwynLibModel::groupCannotMoveBelowItself()
{
    TFixture f;
    Populate(f);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, f.Storage->CreateMoveGroupOperation(
                                                        f.Group("A"), f.Group("B"), CopyTemplate));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, f.Storage->CreateMoveGroupOperation(
                                                        f.Group("A"), f.Group("A"), CopyTemplate));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             f.Root->CreateDeleteGroupOperation(f.Group("B")));
}

void TestLockwynLibModel::searches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("recursive");
    QTest::addColumn<QStringList>("direct"); // in the root group
    QTest::newRow("title, any case") << "mAIL" << QStringList{"Mail"} << QStringList{"Mail"};
    QTest::newRow("user name") << "BOB" << QStringList{"Bank"} << QStringList{};
    QTest::newRow("url") << "mail.example" << QStringList{"Mail"} << QStringList{"Mail"};
    QTest::newRow("notes, non-ASCII case") << "GRÖSSE" << QStringList{} << QStringList{};
    QTest::newRow("notes, umlaut") << "grÖ" << QStringList{"Shop"} << QStringList{};
    QTest::newRow("custom name") << "pin" << QStringList{"Shop"} << QStringList{};
    QTest::newRow("custom value") << "4711" << QStringList{"Shop"} << QStringList{};
    QTest::newRow("never the password") << "pw1" << QStringList{} << QStringList{};
    QTest::newRow("not across fields") << "alicehttps" << QStringList{} << QStringList{};
    QTest::newRow("several") << "a" << QStringList{"Mail", "Bank", "Shop"} << QStringList{"Mail"};
}

void TestLockwynLibModel::searches()
{
    QFETCH(QString, text);
    QFETCH(QStringList, recursive);
    QFETCH(QStringList, direct);
    TFixture f;
    Populate(f);
    QCOMPARE(Titles(f.Root->FindTokens(text, true)), recursive);
    QCOMPARE(Titles(f.Root->FindTokens(text, false)), direct);
    for (const auto& token : f.Root->GetAllTokens())
        QCOMPARE(token->GetMatcher()->Matches(text), recursive.contains(token->GetTitle()));
}

void TestLockwynLibModel::groupsToShowAndContainingGroups()
{
    TFixture f;
    Populate(f);
    f.AddGroup(f.Root, "Empty");
    // "Shop" lies in B below A: B holds it, A and the root are its ancestors.
    QCOMPARE(Titles(f.Root->FindGroupsToShow("carol")), QStringList({"Db", "A", "B"}));
    QCOMPARE(Titles(f.Root->FindGroupsToShow("empty")), QStringList({"Db", "Empty"}));
    QCOMPARE(Titles(f.Root->FindGroupsToShow("nothing")), QStringList({"Db"}));
    QCOMPARE(Titles(f.Root->FindGroups("b")), QStringList({"B"}));
    QCOMPARE(Titles(f.Root->GetContainingGroups(f.Token("Shop"))), QStringList({"B", "A", "Db"}));
    QCOMPARE(Titles(f.Root->GetContainingGroups(f.Group("B"))), QStringList({"A", "Db"}));
    QCOMPARE(Titles(f.Group("B")->GetContainingGroups(f.Token("Mail"))), QStringList());
}

void TestLockwynLibModel::historyEntries()
{
    TFixture f;
    Populate(f);
    auto token = f.Token("Shop");
    auto entries = token->GetHistory()->GetEntries();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].Kind, TTokenHistoryEntryKind::thekCreated);
    QCOMPARE(entries[0].First.Password.GetValue(), QStringLiteral("pw3"));
    QCOMPARE(entries[0].First.FindCustomProperty("PIN").GetValue(), QStringLiteral("4711"));

    f.History->Execute(token->CreateUpdateOperation(f.Edited(token, [](IToken& copy) {
        copy.SetPassword("pw3b");
        copy.SetNotes(QString());
        copy.SetExpires(true); // not a text field: no history row
        auto properties = copy.GetCustomProperties();
        properties->SetValue("PIN", "1234");
        properties->Add("Card", "visa");
    })));
    QVERIFY(token->GetModified());
    entries = token->GetHistory()->GetEntries();
    QCOMPARE(entries.size(), 2);
    const auto& changed = entries[0]; // newest first
    QCOMPARE(changed.Kind, TTokenHistoryEntryKind::thekChanged);
    QVERIFY(!changed.First.Title.GetHasValue());
    QVERIFY(!changed.Second.UserName.GetHasValue());
    QCOMPARE(changed.First.Password.GetValue(), QStringLiteral("pw3"));
    QCOMPARE(changed.Second.Password.GetValue(), QStringLiteral("pw3b"));
    QCOMPARE(changed.First.Notes.GetValue(), QStringLiteral("Größe"));
    QCOMPARE(changed.Second.Notes.GetValue(), QString());
    QCOMPARE(changed.First.FindCustomProperty("PIN").GetValue(), QStringLiteral("4711"));
    QCOMPARE(changed.Second.FindCustomProperty("PIN").GetValue(), QStringLiteral("1234"));
    QCOMPARE(changed.First.FindCustomProperty("Card").GetValue(), QString());
    QCOMPARE(changed.Second.FindCustomProperty("Card").GetValue(), QStringLiteral("visa"));
    QVERIFY_THROWS_EXCEPTION(ENullableNoValue, changed.First.Title.GetValue());
    f.History->Undo();
    QCOMPARE(token->GetHistory()->GetCount(), 1);
    QVERIFY(!token->GetModified());
}

void TestLockwynLibModel::updateWithoutChangeRecordsNothing()
{
    TFixture f;
    Populate(f);
    auto token = f.Token("Bank");
    auto copy = token->GetCloner()->Clone();
    QVERIFY(token->GetComparer()->Equals(copy));
    copy->SetTitle("Bank2");
    QVERIFY(!token->GetComparer()->Equals(copy));
    f.History->Execute(token->CreateUpdateOperation(token->GetCloner()->Clone()));
    QCOMPARE(token->GetHistory()->GetCount(), 1);
    QVERIFY(!token->GetModified());
}

void TestLockwynLibModel::clearedHistoryReplacesTheStoredOne()
{
    TFixture f;
    Populate(f);
    auto token = f.Token("Bank");
    auto copy = token->GetCloner()->Clone();
    copy->GetHistory()->Clear();
    QCOMPARE(token->GetHistory()->GetCount(), 1); // the stored one is untouched
    QCOMPARE(token->GetHistory()->GetEntries()[0].Kind, TTokenHistoryEntryKind::thekCreated);
    f.History->Execute(token->CreateUpdateOperation(copy));
    auto entries = token->GetHistory()->GetEntries();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].Kind, TTokenHistoryEntryKind::thekHistoryCleared);
    f.History->Undo();
    QCOMPARE(token->GetHistory()->GetEntries()[0].Kind, TTokenHistoryEntryKind::thekCreated);
}

void TestLockwynLibModel::expiry()
{
    TFixture f;
    Populate(f);
    auto past = QDateTime::currentDateTime().addDays(-1);
    auto future = QDateTime::currentDateTime().addDays(1);
    auto token = f.Token("Bank");
    f.History->Execute(token->CreateUpdateOperation(f.Edited(token, [&](IToken& copy) {
        copy.SetExpires(true);
        copy.SetExpirationDate(future);
    })));
    QVERIFY(token->GetExpires());
    QVERIFY(!token->GetExpired());
    f.History->Execute(token->CreateUpdateOperation(
        f.Edited(token, [&](IToken& copy) { copy.SetExpirationDate(past); })));
    QVERIFY(token->GetExpired());

    auto a = f.Group("A");
    auto copy = a->GetCloner()->Clone();
    copy->SetExpires(true);
    copy->SetExpirationDate(past);
    f.History->Execute(a->CreateUpdateOperation(copy));
    QVERIFY(a->GetExpired());
    QVERIFY(!f.Group("B")->GetExpired());
    QVERIFY(f.Group("B")->GetTokensExpired());
    QVERIFY(!f.Root->GetTokensExpired());
}

void TestLockwynLibModel::storedObjectsChangeOnlyThroughOperations()
{
    TFixture f;
    Populate(f);
    auto token = f.Token("Bank");
    QVERIFY_THROWS_EXCEPTION(std::logic_error, token->SetTitle("x"));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, token->GetCustomProperties()->AddEmpty("x"));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, token->GetHistory()->Clear());
    QVERIFY_THROWS_EXCEPTION(std::logic_error, token->SetCreationDate(QDateTime()));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, token->SetModificationDate(QDateTime()));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, f.Group("A")->SetTitle("x"));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, f.Group("A")->SetCreationDate(QDateTime()));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, f.Group("A")->SetModificationDate(QDateTime()));
    QVERIFY_THROWS_EXCEPTION(std::logic_error,
                             f.Group("A")->GetCustomPropertiesTemplate()->Add("x"));
    f.Root->SetTitle("Renamed database"); // the application names the root after the file
    QCOMPARE(f.Root->GetTitle(), QStringLiteral("Renamed database"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             token->GetCloner()->Clone()->CreateUpdateOperation(token));
}

void TestLockwynLibModel::pathsTemplatesAndTitles()
{
    TFixture f;
    Populate(f);
    QCOMPARE(f.Group("B")->GetPath(), QStringLiteral("Db\\A\\B"));
    QList<TTokenGroupPath> paths;
    f.Root->FillGroupPaths(paths);
    QCOMPARE(paths.size(), 3);
    QCOMPARE(paths[2].Path, QStringLiteral("Db\\A\\B"));
    QCOMPARE(paths[2].Group, f.Group("B"));
    QCOMPARE(f.Root->GetAllTokens().size(), 3);
    QCOMPARE(f.Group("A")->GetAllGroups().size(), 1);

    auto templ = f.Lib->GetObjectFactory()->CreateCustomPropertiesTemplate();
    templ->Add("Login");
    templ->Add("PIN");
    auto properties = f.Lib->GetObjectFactory()->CreateCustomProperties();
    properties->Add("PIN", "1");
    properties->ApplyTemplate(templ);
    QCOMPARE(properties->GetNames(), QStringList({"PIN", "Login"}));
    QCOMPARE(properties->GetValue("PIN").GetValue(), QStringLiteral("1"));
    QVERIFY(!properties->Exists("pin")); // names are case-sensitive
    f.AddToken(f.Root, "Card", "u", "p", "", "", properties);
    QCOMPARE(f.Root->GetAllCustomPropertyTitles(), QStringList({"PIN", "Login"}));
}

// Names only a group's template uses are offered as well, each name once,
// in tree order.
void TestLockwynLibModel::customPropertyTitlesIncludeTemplateNames()
{
    TFixture f;
    Populate(f);
    auto templ = f.Lib->GetObjectFactory()->CreateCustomPropertiesTemplate();
    templ->Add("Account");
    templ->Add("PIN");
    f.History->Execute(f.Group("B")->CreateAddGroupOperation("C", false, QDateTime(), templ));
    auto branch = f.Lib->GetObjectFactory()->CreateCustomPropertiesTemplate();
    branch->Add("Branch");
    auto edited = f.Group("A")->GetCloner()->Clone();
    edited->GetCustomPropertiesTemplate()->Assign(branch);
    f.History->Execute(f.Group("A")->CreateUpdateOperation(edited));

    QCOMPARE(f.Root->GetAllCustomPropertyTitles(), QStringList({"Branch", "PIN", "Account"}));
    QCOMPARE(f.Group("C")->GetAllCustomPropertyTitles(), QStringList({"Account", "PIN"}));
}

void TestLockwynLibModel::importKeepsOrRenewsIDs()
{
    TFixture f;
    Populate(f);
    auto factory = f.Lib->GetObjectFactory();
    auto imported = factory->CreateTokenGroup();
    auto fresh = factory->CreateToken();
    fresh->SetTitle("Fresh");
    imported->AppendToken(fresh);
    auto clash = f.Token("Bank")->GetCloner()->Clone(); // an ID the database has
    imported->AppendToken(clash);
    f.History->Execute(f.Root->CreateImportOperation(imported, false, ImportTemplate));
    QCOMPARE(f.Token("Fresh")->GetID(), fresh->GetID());
    QCOMPARE(f.Root->FindTokenByID(clash->GetID(), true)->GetGroup(), f.Group("A"));
    auto renamedCopy = f.Root->FindTokens("bob", false);
    QCOMPARE(renamedCopy.size(), 1);
    QVERIFY(renamedCopy[0]->GetID() != clash->GetID());
}

void TestLockwynLibModel::importCarriesTheDatesOfDetachedObjects()
{
    TFixture f;
    const QDateTime created(QDate(2020, 2, 29), QTime(23, 59, 58, 123));
    const QDateTime modified(QDate(2021, 7, 1), QTime(8, 0));
    auto factory = f.Lib->GetObjectFactory();
    auto imported = factory->CreateTokenGroup();
    auto group = factory->CreateTokenGroup();
    group->SetTitle("Dated");
    group->SetCreationDate(created);
    group->SetModificationDate(modified);
    auto token = factory->CreateToken();
    token->SetTitle("Dated");
    token->SetCreationDate(created);
    token->SetModificationDate(modified);
    group->AppendToken(token);
    auto unchanged = factory->CreateToken();
    unchanged->SetTitle("Unchanged");
    unchanged->SetCreationDate(created);
    unchanged->SetModificationDate(modified);
    unchanged->SetModificationDate(QDateTime()); // never changed after all
    group->AppendToken(unchanged);
    imported->AppendGroup(group);
    f.History->Execute(f.Root->CreateImportOperation(imported, true, ImportTemplate));

    const auto stored = f.Root->GetGroups().at(0);
    QCOMPARE(stored->GetCreationDate(), created);
    QCOMPARE(stored->GetModificationDate(), modified);
    QVERIFY(stored->GetModified());
    const auto tokens = stored->GetTokens();
    QCOMPARE(tokens.at(0)->GetCreationDate(), created);
    QCOMPARE(tokens.at(0)->GetModificationDate(), modified);
    QVERIFY(tokens.at(0)->GetModified());
    QCOMPARE(tokens.at(1)->GetModificationDate(), created);
    QVERIFY(!tokens.at(1)->GetModified());
}

QTEST_GUILESS_MAIN(TestLockwynLibModel)
#include "tst_LockwynLibModel.moc"
