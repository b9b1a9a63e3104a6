#include "LockwynLib.Kdf.h"
#include "LockwynLib.SecureMemory.h"

#include <QTest>

#include <sodium.h>

using namespace Lockwyn;

Q_DECLARE_METATYPE(Lockwyn::TKdfParams)

namespace {

TSecureBuffer Password(const char* text)
{
    return TSecureBuffer::FromString(QString::fromUtf8(text));
}

TKdfSalt Salt(std::uint8_t fill)
{
    TKdfSalt salt;
    salt.fill(fill);
    return salt;
}

} // namespace

class TestKdf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultIsModerateArgon2id()
    {
        const TKdfParams params = TKdfParams::Default();
        QCOMPARE(params.Algorithm, TKdfAlgorithm::kaArgon2id13);
        QCOMPARE(params.OpsLimit, 3u);
        QCOMPARE(params.MemLimit, quint64(256) << 20);
        QVERIFY(params.IsValid());
        QVERIFY(TKdfParams::Cheap().IsValid());
    }

    void validity_data()
    {
        QTest::addColumn<TKdfParams>("params");
        QTest::addColumn<bool>("valid");
        const auto a = TKdfAlgorithm::kaArgon2id13;
        QTest::newRow("sensitive level") << TKdfParams{a, 4, quint64(1) << 30} << true;
        QTest::newRow("no passes") << TKdfParams{a, 0, quint64(1) << 20} << false;
        QTest::newRow("too many passes") << TKdfParams{a, 1000, quint64(1) << 20} << false;
        QTest::newRow("too little memory") << TKdfParams{a, 3, 1024} << false;
        QTest::newRow("too much memory") << TKdfParams{a, 3, quint64(64) << 30} << false;
        QTest::newRow("unknown algorithm") << TKdfParams{TKdfAlgorithm(2), 3, 1 << 20} << false;
    }

    void validity()
    {
        QFETCH(TKdfParams, params);
        QFETCH(bool, valid);
        QCOMPARE(params.IsValid(), valid);
    }

    // Same inputs, same key (it must reopen files); any input changed, another key.
    void deriveKey()
    {
        const TKdfParams cheap = TKdfParams::Cheap();
        const TSecureBuffer key = DeriveKey(Password("pw"), Salt(1), cheap);
        QCOMPARE(key.Size(), FileKeySize);
        QVERIFY(key.Equals(DeriveKey(Password("pw"), Salt(1), cheap)));
        QVERIFY(!key.Equals(DeriveKey(Password("pW"), Salt(1), cheap)));
        QVERIFY(!key.Equals(DeriveKey(Password("pw"), Salt(2), cheap)));
        TKdfParams morePasses = cheap;
        ++morePasses.OpsLimit;
        QVERIFY(!key.Equals(DeriveKey(Password("pw"), Salt(1), morePasses)));
    }

    // The key is libsodium's Argon2id13 of the password, salt and parameters.
    void deriveKeyIsArgon2id()
    {
        const TKdfParams cheap = TKdfParams::Cheap();
        const TKdfSalt salt = Salt(7);
        unsigned char expected[FileKeySize];
        QCOMPARE(crypto_pwhash(expected, sizeof(expected), "secret", 6, salt.data(), cheap.OpsLimit,
                               cheap.MemLimit, crypto_pwhash_ALG_ARGON2ID13),
                 0);
        const TSecureBuffer key = DeriveKey(Password("secret"), salt, cheap);
        QCOMPARE(key.View(), QByteArrayView(expected, sizeof(expected)));
    }

    void invalidParamsGiveNoKey()
    {
        QVERIFY(DeriveKey(Password("pw"), Salt(1), {TKdfAlgorithm::kaArgon2id13, 0, 0}).IsEmpty());
    }

    void saltsAreRandom() { QVERIFY(RandomSalt() != RandomSalt()); }

    void cacheKeepsFilesApart()
    {
        TKeyCache cache;
        const TKdfParams cheap = TKdfParams::Cheap();
        const TSecureBuffer a = cache.GetKey("/a.lwdb", Salt(1), cheap, Password("pw"));
        QVERIFY(a.Equals(cache.GetKey("/a.lwdb", Salt(1), cheap, Password("pw"))));
        QCOMPARE(cache.DerivationCount(), 1);
        QVERIFY(a.Equals(cache.GetKey("/b.lwdb", Salt(1), cheap, Password("pw"))));
        QCOMPARE(cache.DerivationCount(), 2);
        cache.GetKey("/a.lwdb", Salt(2), cheap, Password("pw"));
        QCOMPARE(cache.DerivationCount(), 3);
    }

    void cachePutAvoidsDerivation()
    {
        TKeyCache cache;
        const TKdfParams cheap = TKdfParams::Cheap();
        const TSecureBuffer key = DeriveKey(Password("new"), Salt(3), cheap);
        cache.Put("/a.lwdb", Salt(3), cheap, Password("new"), key);
        QVERIFY(key.Equals(cache.GetKey("/a.lwdb", Salt(3), cheap, Password("new"))));
        QCOMPARE(cache.DerivationCount(), 0);
    }
};

class TestSecureMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stringRoundTrip()
    {
        const QString text = QString::fromUtf8("pässwörd \xF0\x9F\x94\x91");
        const TSecureBuffer buffer = TSecureBuffer::FromString(text);
        QCOMPARE(buffer.View(), QByteArrayView(text.toUtf8()));
        QCOMPARE(buffer.ToString(), text);
    }

    void moveLeavesSourceEmpty()
    {
        TSecureBuffer a(QByteArrayView("key"));
        TSecureBuffer b = std::move(a);
        QVERIFY(a.IsEmpty());
        QCOMPARE(b.View(), QByteArrayView("key"));
        a = b.Clone();
        QVERIFY(a.Equals(b));
        b.Clear();
        QVERIFY(b.IsEmpty());
        QVERIFY(!a.Equals(b));
    }

    void truncateWipesTheTail()
    {
        TSecureBuffer buffer(QByteArrayView("abcdef"));
        buffer.Truncate(2);
        QCOMPARE(buffer.View(), QByteArrayView("ab"));
        QCOMPARE(buffer.Data()[2], std::uint8_t(0));
    }

    // A shared buffer is let go, not overwritten under its other holders.
    void wipeQtContainers()
    {
        QByteArray bytes("secret");
        SecureWipe(bytes);
        QVERIFY(bytes.isEmpty());
        QByteArray shared = QByteArray("secret").append('!');
        const QByteArray other = shared;
        SecureWipe(shared);
        QVERIFY(shared.isEmpty());
        QCOMPARE(other, QByteArray("secret!"));
    }
};

int main(int argc, char** argv)
{
    TestKdf kdf;
    TestSecureMemory memory;
    return QTest::qExec(&kdf, argc, argv) | QTest::qExec(&memory, argc, argv);
}

#include "tst_LockwynLibKdf.moc"
