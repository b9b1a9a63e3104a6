// The payload codec: round trips, keys of newer versions skipped, damaged
// input refused.

#include "LockwynLib.PayloadCodec.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenGroup.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QTest>
#include <QtEndian>

#include <limits>

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

// A root with groups nested the given levels below it.
TGroupTreeData Chain(int levels)
{
    TGroupTreeData tree;
    tree.Group.ID = QUuid::createUuid();
    if (levels > 0)
        tree.Groups.push_back(Chain(levels - 1));
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

// A short CBOR text string, written by hand.
QByteArray Text(QByteArrayView text)
{
    return char(0x60 + text.size()) + text.toByteArray();
}

} // namespace

class TestLockwynLibPayloadCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip();
    void unknownKeysAreSkipped();
    void indefiniteLengthsTagsAndLargeNumbers();
    void damagedInput_data();
    void damagedInput();
    void writerStopsWhereTheReaderDoes();
    void packedSizeMustMatch_data();
    void packedSizeMustMatch();
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

void TestLockwynLibPayloadCodec::indefiniteLengthsTagsAndLargeNumbers()
{
    const QByteArray indefiniteMap("\xBF", 1);
    const QByteArray indefiniteArray("\x9F", 1);
    const QByteArray end("\xFF", 1);
    const QByteArray token = indefiniteMap + Text("id") + char(0x50) +
                             QUuid::createUuid().toRfc4122() + Text("f") + indefiniteArray +
                             Text("Kept") + Text("") + end + Text("x") +
                             QByteArray("\x3B\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 9) + end;
    const QByteArray group = indefiniteMap + Text("t") + QByteArray("\x7F", 1) + Text("Ro") +
                             Text("ot") + end + Text("future") +
                             QByteArray("\xC1\xFB\x3F\xF8\0\0\0\0\0\0", 10) + Text("big") +
                             QByteArray("\x1B\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 9) + Text("tk") +
                             indefiniteArray + token + end + end;
    auto root = DecodePayload(QByteArray(QByteArray("\xA1", 1) + Text("root") + group));
    QVERIFY(root);
    QCOMPARE(root->Data().Title, QStringLiteral("Root"));
    QCOMPARE(root->Tokens().size(), std::size_t(1));
    const auto& data = root->Tokens()[0]->Data();
    QCOMPARE(data.Fields[0], QStringLiteral("Kept"));
    QVERIFY(data.Fields[1].isEmpty());
    QCOMPARE(data.Expiration, std::numeric_limits<qint64>::min());
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
    QTest::newRow("length beyond the end")
        << QByteArray("\xA1\x64root\xA1\x61t\x7A\x7F\xFF\xFF\xFF", 14);
    QTest::newRow("end marker in a map of known length")
        << QByteArray("\xA1\x64root\xA1\x61t\xFF", 10);
    QTest::newRow("endless tags") << QByteArray(QByteArray("\xA1\x64root\xA1\x61x", 9) +
                                                QByteArray(4096, '\xC1'));
    QTest::newRow("text that is not UTF-8") << QByteArray("\xA1\x64root\xA1\x61t\x62\xC3\x28", 12);
    QCborMap deepest;
    for (int level = 0; level <= DatabaseLimits::MaxGroupDepth; ++level)
        deepest = QCborMap{{"g", QCborArray{deepest}}};
    QTest::newRow("groups a level deeper than a database holds") << RootWith(deepest);
}

// The writer refuses to write what the reader would refuse; it writes the
// deepest tree the reader accepts.
void TestLockwynLibPayloadCodec::writerStopsWhereTheReaderDoes()
{
    qsizetype plainSize = 0;
    QVERIFY(UnpackPayload(
        PackPayload(*TTokenGroup::Build(Chain(DatabaseLimits::MaxGroupDepth)), plainSize)));
    QVERIFY_THROWS_EXCEPTION(
        ELimitExceeded,
        PackPayload(*TTokenGroup::Build(Chain(DatabaseLimits::MaxGroupDepth + 1)), plainSize));
}

void TestLockwynLibPayloadCodec::damagedInput()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!DecodePayload(bytes));
    QVERIFY(!UnpackPayload(bytes));
}

void TestLockwynLibPayloadCodec::packedSizeMustMatch_data()
{
    QTest::addColumn<qint64>("sizeChange");
    QTest::newRow("one byte less") << qint64(-1);
    QTest::newRow("one byte more") << qint64(1);
    QTest::newRow("far beyond what the stream can hold") << (qint64(1) << 28);
}

void TestLockwynLibPayloadCodec::packedSizeMustMatch()
{
    QFETCH(qint64, sizeChange);
    auto root = TTokenGroup::Build(SampleTree());
    qsizetype plainSize = 0;
    QByteArray packed = PackPayload(*root, plainSize);
    QVERIFY(UnpackPayload(packed));
    qToBigEndian<quint32>(quint32(plainSize + sizeChange), packed.data());
    QVERIFY(!UnpackPayload(packed));
}

QTEST_GUILESS_MAIN(TestLockwynLibPayloadCodec)
#include "tst_LockwynLibPayloadCodec.moc"
