// The payload codec: round trips, keys of newer versions skipped, damaged
// input refused.

#include "LockwynLib.PayloadCodec.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenGroup.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QTest>

using namespace Lockwyn;

namespace {

TGroupTreeData SampleTree()
{
    TGroupTreeData tree;
    tree.Group.ID = QUuid::createUuid();
    tree.Group.Title = "Root";
    TGroupTreeData child;
    child.Group.ID = QUuid::createUuid();
    child.Group.Title = "Ünïcode";
    child.Group.Template = {"PIN"};
    child.Group.Expires = true;
    child.Group.Expiration = 123456789;
    TTokenData token;
    token.ID = QUuid::createUuid();
    token.Fields = {"Mail", "alice", "pw", "https://x.example", "two\r\nlines"};
    token.Created = 1000;
    token.CustomProperties = {TTokenCustomProperty("PIN", "1234")};
    token.History = {CreatedEntry(token, 1000)};
    TTokenData changed = token;
    changed.Fields[2] = "pw2";
    changed.Modified = 2000;
    THistoryEntryData entry;
    ChangedEntry(token, changed, 2000, entry);
    changed.History.prepend(entry);
    child.Tokens.push_back(changed);
    tree.Groups.push_back(child);
    return tree;
}

QCborMap TokenMap(const QString& title)
{
    return QCborMap{{"id", QUuid::createUuid().toRfc4122()},
                    {"f", QCborArray{title, "u", "p", "", ""}}};
}

QByteArray RootWith(const QCborMap& group)
{
    return QCborValue(QCborMap{{"root", group}}).toCbor();
}

} // namespace

class TestLockwynLibPayloadCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip();
    void unknownKeysAreSkipped();
    void damagedInput_data();
    void damagedInput();
};

void TestLockwynLibPayloadCodec::roundTrip()
{
    auto root = TTokenGroup::Build(SampleTree());
    const QByteArray encoded = EncodePayload(*root);
    qsizetype plainSize = 0;
    const QByteArray packed = PackPayload(*root, plainSize);
    QCOMPARE(plainSize, encoded.size());
    plainSize = 0;
    auto decoded = UnpackPayload(packed, &plainSize);
    QVERIFY(decoded);
    QCOMPARE(plainSize, encoded.size());
    QCOMPARE(EncodePayload(*decoded), encoded);
    const auto& token = decoded->Groups().at(0)->Tokens().at(0)->Data();
    QCOMPARE(token.History.size(), 2);
    QCOMPARE(token.History[0].Second->Values[2], QStringLiteral("pw2"));
    // A history value equal to the current one shares its string.
    QCOMPARE(token.History[1].First.Values[0].constData(), token.Fields[0].constData());
    QCOMPARE(token.History[1].First.Values[2], QStringLiteral("pw"));
}

void TestLockwynLibPayloadCodec::unknownKeysAreSkipped()
{
    QCborMap token = TokenMap("Kept");
    token.insert(QStringLiteral("future"), QCborMap{{"x", QCborArray{1, 2, 3}}});
    token.insert(7, "a key of another type");
    QCborArray history{QCborMap{{"k", 9}, {"d", 5}}, // a kind of a newer version
                       QCborMap{{"k", 0}, {"d", 6}, {"a", QCborMap{{"f", QCborArray{}}}}}};
    token.insert(QStringLiteral("h"), history);
    QCborMap group{{"id", QUuid::createUuid().toRfc4122()},
                   {"t", "Root"},
                   {"a very long key of a newer version", 1},
                   {"tk", QCborArray{token}}};
    auto root = DecodePayload(RootWith(group));
    QVERIFY(root);
    QCOMPARE(root->Data().Title, QStringLiteral("Root"));
    QCOMPARE(root->Tokens().size(), std::size_t(1));
    const auto& data = root->Tokens()[0]->Data();
    QCOMPARE(data.Fields[0], QStringLiteral("Kept"));
    QCOMPARE(data.History.size(), 1);
    QCOMPARE(data.History[0].Kind, TTokenHistoryEntryKind::thekCreated);
}

void TestLockwynLibPayloadCodec::damagedInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = EncodePayload(*TTokenGroup::Build(SampleTree()));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << good.left(good.size() / 2);
    QTest::newRow("not a map") << QCborValue(QCborArray{1, 2}).toCbor();
    QTest::newRow("no root") << QCborValue(QCborMap{{"x", 1}}).toCbor();
    QTest::newRow("title of the wrong type") << RootWith(QCborMap{{"t", 5}});
    QTest::newRow("short ID") << RootWith(QCborMap{{"id", QByteArray("short")}});
    QTest::newRow("odd custom properties")
        << RootWith(QCborMap{{"tk", QCborArray{[] {
                                  QCborMap token = TokenMap("T");
                                  token.insert(QStringLiteral("cp"), QCborArray{"name"});
                                  return token;
                              }()}}});
    QCborMap deep;
    for (int i = 0; i < 100; ++i)
        deep = QCborMap{{"g", QCborArray{deep}}};
    QTest::newRow("nested too deep") << RootWith(deep);
    QTest::newRow("garbage") << QByteArray(64, '\xff');
}

void TestLockwynLibPayloadCodec::damagedInput()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!DecodePayload(bytes));
    QVERIFY(!UnpackPayload(bytes));
}

QTEST_GUILESS_MAIN(TestLockwynLibPayloadCodec)
#include "tst_LockwynLibPayloadCodec.moc"
