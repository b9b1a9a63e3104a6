// Databases built at random through the public operations: deep and wide
// trees, long values, every field, history, custom values and auto-login
// records. Each is saved and opened again at intervals and must come back as
// it was; an operation refused for the database's limits must leave it as it
// was. And the limits themselves, where they start.

#include "LockwynLibTestFixture.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace TestData;

namespace {

const QString Password = QStringLiteral("round trip");
const TKeyDerivationSettings Cheap{1, 8u << 10};
const QString Template = QStringLiteral("%0:s (%1:d)");

struct TCounts
{
    int Operations = 0;
    int Refused = 0;
    int RoundTrips = 0;
};

// Saves the database (creating the file the first time) and opens the file in
// a second storage; the two trees must be the same.
bool SavesAndOpensTheSame(TFixture& f, const QString& fileName)
{
    const auto file = f.Lib->GetDatabaseFile();
    const int saved = file->GetOpened() ? file->Save() : file->CreateFile(fileName);
    if (saved != DatabaseFileCode::Ok) {
        qWarning("save failed: %d", saved);
        return false;
    }
    const auto other = file->CreateScratchFile();
    if (other->Open(fileName, Password) != DatabaseFileCode::Ok)
        return false;
    const bool same = Dump(*other->GetTokenStorage()->GetRootGroup()) == Dump(*f.Root);
    other->Close();
    other->GetTokenStorage()->Clear();
    return same;
}

class TRandomDatabase
{
public:
    TRandomDatabase(TFixture& f, quint32 seed) : F(f), FRandom(seed) {}

    // One operation at random; false when a refused one changed something.
    bool Step(TCounts& counts)
    {
        const QString before = Dump(*F.Root);
        ++counts.Operations;
        try {
            Run(FRandom.bounded(100));
        } catch (const ELimitExceeded&) {
            ++counts.Refused;
            return Dump(*F.Root) == before;
        }
        return true;
    }

private:
    int Random(int bound) { return int(FRandom.bounded(bound)); }
    bool Chance(int percent) { return Random(100) < percent; }

    QString Text(int longest = 24)
    {
        static const QString Letters = QStringLiteral("abcXYZ019 _-./:@%&<>\"'äöüßéЖжλ漢字\r\n\t") +
                                       QChar(u'\0') + QString::fromUcs4(U"😀🔑𝄞", 3);
        if (Chance(8))
            return {};
        QString text;
        const int length = 1 + Random(Chance(5) ? 4000 : longest);
        for (int i = 0; i < length; ++i) {
            const int at = Random(int(Letters.size()));
            text += Letters.at(at);
            if (Letters.at(at).isHighSurrogate())
                text += Letters.at(at + 1);
            else if (Letters.at(at).isLowSurrogate())
                text.chop(1);
        }
        return text;
    }

    QDateTime Date()
    {
        if (Chance(10))
            return {};
        return QDateTime::fromMSecsSinceEpoch(qint64(FRandom.bounded(Q_INT64_C(7000000000000))) -
                                              Q_INT64_C(2000000000000));
    }

    std::shared_ptr<ITokenGroup> AnyGroup(bool deepest = false)
    {
        auto groups = F.Root->GetAllGroups();
        groups.prepend(F.Root);
        if (!deepest)
            return groups.at(Random(int(groups.size())));
        auto depth = [](std::shared_ptr<ITokenGroup> group) {
            int level = 0;
            while ((group = group->GetParent()))
                ++level;
            return level;
        };
        return *std::max_element(groups.begin(), groups.end(),
                                 [&](const auto& a, const auto& b) { return depth(a) < depth(b); });
    }

    ITokenList SomeTokens()
    {
        const auto all = F.Root->GetAllTokens();
        ITokenList tokens;
        for (int i = Random(3); i >= 0 && !all.isEmpty(); --i) {
            const auto token = all.at(Random(int(all.size())));
            if (!tokens.contains(token))
                tokens.append(token);
        }
        return tokens;
    }

    std::shared_ptr<ITokenCustomProperties> Properties()
    {
        auto properties = F.Lib->GetObjectFactory()->CreateCustomProperties();
        for (int i = Random(4); i > 0; --i)
            properties->SetValue(Text(12), Text());
        return properties;
    }

    std::shared_ptr<IAutoLoginInfo> AutoLogin()
    {
        const auto factory = F.Lib->GetObjectFactory();
        if (Chance(40))
            return factory->CreateWebSitesDBAutoLoginInfo();
        return factory->CreateManualAutoLoginInfo(Text(), Chance(50), Chance(50), {Text(), Text()},
                                                  {Text(), Text()},
                                                  std::int32_t(FRandom.generate()));
    }

    Nullable<QString> Maybe()
    {
        return Chance(50) ? Nullable<QString>(Text()) : Nullable<QString>();
    }

    TTokenFieldsSnapshot Snapshot()
    {
        TTokenFieldsSnapshot snapshot{Maybe(), Maybe(), Maybe(), Maybe(), Maybe(), {}};
        for (int i = Random(3); i > 0; --i)
            snapshot.CustomProperties.append({Text(12), Text()});
        return snapshot;
    }

    std::shared_ptr<IToken> DetachedToken()
    {
        const auto factory = F.Lib->GetObjectFactory();
        auto token = factory->CreateToken();
        token->SetTitle(Text());
        token->SetUserName(Text());
        token->SetPassword(Text());
        token->SetURL(Text());
        token->SetNotes(Text());
        token->SetExpires(Chance(30));
        token->SetExpirationDate(Date());
        token->SetCreationDate(Date());
        token->SetModificationDate(Date());
        token->GetCustomProperties()->Assign(Properties());
        QList<TTokenHistoryEntry> entries;
        for (int i = Random(4); i > 0; --i)
            entries.append({TTokenHistoryEntryKind(Random(3)), Date(), Snapshot(), Snapshot()});
        token->GetHistory()->Assign(factory->CreateTokenHistory(entries));
        token->SetUseManualAutoLogin(Chance(50));
        token->SetAutoLoginInfo(AutoLogin());
        return token;
    }

    // A detached tree, now and then deeper than any database may hold.
    std::shared_ptr<ITokenGroup> DetachedTree(int levels)
    {
        auto group = F.Lib->GetObjectFactory()->CreateTokenGroup();
        group->SetTitle(Text());
        group->SetExpires(Chance(20));
        group->SetExpirationDate(Date());
        group->GetCustomPropertiesTemplate()->Add(Text(12));
        for (int i = Random(3); i > 0; --i)
            group->AppendToken(DetachedToken());
        if (levels > 1)
            group->AppendGroup(DetachedTree(levels - 1));
        if (levels > 1 && levels < 5 && Chance(50))
            group->AppendGroup(DetachedTree(levels - 1));
        return group;
    }

    void AddGroup()
    {
        auto templ = F.Lib->GetObjectFactory()->CreateCustomPropertiesTemplate();
        for (int i = Random(3); i > 0; --i)
            templ->Add(Text(12));
        F.History->Execute(
            AnyGroup(Chance(40))->CreateAddGroupOperation(Text(), Chance(20), Date(), templ));
    }

    void AddToken()
    {
        F.History->Execute(
            AnyGroup()->CreateAddTokenOperation(Text(), Text(), Text(), Text(), Text(), Chance(30),
                                                Date(), Chance(50), Properties(), AutoLogin()));
    }

    void UpdateToken()
    {
        const auto tokens = SomeTokens();
        if (tokens.isEmpty())
            return;
        const auto token = tokens.first();
        F.History->Execute(token->CreateUpdateOperation(F.Edited(token, [&](IToken& copy) {
            if (Chance(60))
                copy.SetPassword(Text());
            if (Chance(40))
                copy.SetTitle(Text());
            if (Chance(30))
                copy.SetNotes(Text());
            if (Chance(30))
                copy.GetCustomProperties()->SetValue(Text(12), Text());
            if (Chance(20))
                copy.SetAutoLoginInfo(AutoLogin());
            if (Chance(10))
                copy.GetHistory()->Clear();
        })));
    }

    void UpdateGroup()
    {
        const auto group = AnyGroup();
        auto copy = group->GetCloner()->Clone();
        copy->SetTitle(Text());
        copy->SetExpires(Chance(50));
        copy->GetCustomPropertiesTemplate()->Add(Text(12));
        F.History->Execute(group->CreateUpdateOperation(copy));
    }

    void TransferGroup(bool copy)
    {
        const auto group = AnyGroup();
        const auto target = AnyGroup(Chance(30));
        if (!group->GetParent() || target == group || !group->GetContainingGroups(target).isEmpty())
            return;
        if (copy)
            F.History->Execute(F.Storage->CreateCopyGroupOperation(group, target, Template));
        else
            F.History->Execute(F.Storage->CreateMoveGroupOperation(group, target, Template));
    }

    void Run(int choice)
    {
        const auto tokens = SomeTokens();
        if (choice < 15)
            AddGroup();
        else if (choice < 40)
            AddToken();
        else if (choice < 52)
            UpdateToken();
        else if (choice < 56)
            UpdateGroup();
        else if (choice < 62)
            TransferGroup(false);
        else if (choice < 66)
            TransferGroup(true);
        else if (choice < 71 && !tokens.isEmpty())
            F.History->Execute(F.Storage->CreateMoveTokensOperation(tokens, AnyGroup(), Template));
        else if (choice < 75 && !tokens.isEmpty())
            F.History->Execute(F.Storage->CreateCopyTokensOperation(tokens, AnyGroup(), Template));
        else if (choice < 79 && !tokens.isEmpty())
            F.History->Execute(F.Storage->CreateDeleteTokensOperation(tokens));
        else if (choice < 82 && AnyGroup()->GetParent())
            DeleteGroup();
        else if (choice < 88)
            F.History->Execute(
                AnyGroup(Chance(30))
                    ->CreateImportOperation(DetachedTree(Chance(15) ? 66 : 1 + Random(4)),
                                            Chance(50), Template));
        else if (choice < 95)
            F.History->Undo();
        else
            F.History->Redo();
    }

    void DeleteGroup()
    {
        auto group = AnyGroup();
        if (auto parent = group->GetParent())
            F.History->Execute(parent->CreateDeleteGroupOperation(group));
    }

    TFixture& F;
    QRandomGenerator FRandom;
};

// A chain of groups below the root, the last on the given level.
std::shared_ptr<ITokenGroup> Chain(TFixture& f, int levels)
{
    auto group = f.Root;
    for (int level = 1; level <= levels; ++level)
        group = f.AddGroup(group, QStringLiteral("Level %1").arg(level));
    return group;
}

using TDeepen = std::function<std::shared_ptr<IOperation>(TFixture&, std::shared_ptr<ITokenGroup>)>;

} // namespace

Q_DECLARE_METATYPE(TDeepen)

class TestLockwynLibRoundTrip : public QObject
{
    Q_OBJECT

    TCounts FTotal;

private Q_SLOTS:
    void randomDatabasesComeBackAsTheyWere_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u})
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
        const quint32 fresh = QRandomGenerator::system()->generate();
        QTest::newRow(qPrintable(QStringLiteral("seed %1 (this run's)").arg(fresh))) << fresh;
    }

    void randomDatabasesComeBackAsTheyWere()
    {
        QFETCH(quint32, seed);
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("random.lwdb"));
        TFixture f;
        f.Lib->GetDatabaseFile()->SetKeyDerivationSettings(Cheap);
        f.Storage->SetMasterPassword(Password);
        TRandomDatabase database(f, seed);
        TCounts counts;
        for (int step = 1; step <= 240; ++step) {
            QVERIFY2(database.Step(counts), "a refused operation changed the database");
            if (step % 20 == 0) {
                QVERIFY2(SavesAndOpensTheSame(f, fileName), qPrintable(QString::number(step)));
                ++counts.RoundTrips;
            }
        }
        FTotal.Operations += counts.Operations;
        FTotal.Refused += counts.Refused;
        FTotal.RoundTrips += counts.RoundTrips;
    }

    void deepestLevelSavesAndOneMoreIsRefused_data()
    {
        QTest::addColumn<TDeepen>("deepen");
        QTest::newRow("add") << TDeepen([](TFixture&, std::shared_ptr<ITokenGroup> deepest) {
            return deepest->CreateAddGroupOperation("One more", false, {}, nullptr);
        });
        QTest::newRow("move") << TDeepen([](TFixture& f, std::shared_ptr<ITokenGroup> deepest) {
            auto twoLevels = f.AddGroup(f.Root, "Two");
            f.AddGroup(twoLevels, "Levels");
            return f.Storage->CreateMoveGroupOperation(twoLevels, deepest->GetParent(), Template);
        });
        QTest::newRow("copy") << TDeepen([](TFixture& f, std::shared_ptr<ITokenGroup> deepest) {
            return f.Storage->CreateCopyGroupOperation(f.AddGroup(f.Root, "Copied"), deepest,
                                                       Template);
        });
        QTest::newRow("import") << TDeepen([](TFixture& f, std::shared_ptr<ITokenGroup> deepest) {
            const auto factory = f.Lib->GetObjectFactory();
            auto imported = factory->CreateTokenGroup();
            imported->AppendGroup(factory->CreateTokenGroup());
            return deepest->CreateImportOperation(imported, true, Template);
        });
    }

    // The deepest level a database holds saves and opens; an operation that
    // would go one deeper is refused before it changes anything.
    void deepestLevelSavesAndOneMoreIsRefused()
    {
        QFETCH(TDeepen, deepen);
        QTemporaryDir dir;
        TFixture f;
        f.Lib->GetDatabaseFile()->SetKeyDerivationSettings(Cheap);
        f.Storage->SetMasterPassword(Password);
        const auto deepest = Chain(f, DatabaseLimits::MaxGroupDepth);
        QVERIFY(SavesAndOpensTheSame(f, dir.filePath(QStringLiteral("deep.lwdb"))));
        QVERIFY_THROWS_EXCEPTION(ELimitExceeded, f.History->Execute(deepen(f, deepest)));
        QVERIFY(SavesAndOpensTheSame(f, dir.filePath(QStringLiteral("deep.lwdb"))));
    }

    // A value of exactly the longest length saves and opens; one character
    // more is refused.
    void longestValueSavesAndOneMoreIsRefused()
    {
        QTemporaryDir dir;
        TFixture f;
        f.Lib->GetDatabaseFile()->SetKeyDerivationSettings(Cheap);
        f.Storage->SetMasterPassword(Password);
        const QString longest(DatabaseLimits::MaxTextLength, QChar(0x263A));
        f.AddToken(f.Root, "Longest", "u", "p", "", longest);
        QVERIFY(SavesAndOpensTheSame(f, dir.filePath(QStringLiteral("long.lwdb"))));
        QVERIFY_THROWS_EXCEPTION(ELimitExceeded, f.AddToken(f.Root, "Longer", longest + u'x'));
        QVERIFY(f.Token("Longer") == nullptr);
    }

    void brokenTextIsRefused()
    {
        TFixture f;
        const QString broken = QStringLiteral("half a pair: ") + QChar(0xD83D);
        QVERIFY_THROWS_EXCEPTION(ELimitExceeded,
                                 f.Root->CreateAddTokenOperation("T", "u", broken, "", "", false,
                                                                 {}, false, nullptr, nullptr));
        QVERIFY_THROWS_EXCEPTION(ELimitExceeded,
                                 f.Root->CreateAddGroupOperation(broken, false, {}, nullptr));
    }

    void cleanupTestCase()
    {
        qInfo("%d databases saved and opened again after %d operations, %d of them refused",
              FTotal.RoundTrips, FTotal.Operations, FTotal.Refused);
    }
};

QTEST_GUILESS_MAIN(TestLockwynLibRoundTrip)
#include "tst_LockwynLibRoundTrip.moc"
