#include "LockwynLib.PayloadCodec.h"

#include "LockwynLib.AutoLoginInfo.h"
#include "LockwynLib.CborWriter.h"
#include "LockwynLib.SecureMemory.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenGroup.h"

#include <QCborStreamReader>
#include <QtEndian>

#include <zlib.h>

namespace Lockwyn {

namespace {

constexpr int CompressionLevel = 1;
constexpr qsizetype MaxPayloadSize = qsizetype(1) << 30;
constexpr int MaxGroupDepth = 64;
constexpr qsizetype MaxKeySize = 16;

// Map keys.
constexpr const char* KeyRoot = "root";
constexpr const char* KeyID = "id";
constexpr const char* KeyTitle = "t";
constexpr const char* KeyCreated = "c";
constexpr const char* KeyModified = "m";
constexpr const char* KeyExpiration = "x";
constexpr const char* KeyExpires = "e";
constexpr const char* KeyTemplate = "tp";
constexpr const char* KeyTokens = "tk";
constexpr const char* KeyGroups = "g";
constexpr const char* KeyFields = "f";
constexpr const char* KeyManual = "ma";
constexpr const char* KeyCustom = "cp";
constexpr const char* KeyHistory = "h";
constexpr const char* KeyAutoLogin = "al";
constexpr const char* KeyKind = "k";
constexpr const char* KeyTime = "d";
constexpr const char* KeyFirst = "a";
constexpr const char* KeySecond = "b";
constexpr const char* KeyUseCatalogue = "w";
constexpr const char* KeyLoginURL = "u";
constexpr const char* KeyForceRedirect = "r";
constexpr const char* KeyAnalyze = "z";
constexpr const char* KeyUserNameID = "ui";
constexpr const char* KeyUserNameName = "un";
constexpr const char* KeyPasswordID = "pi";
constexpr const char* KeyPasswordName = "pn";
constexpr const char* KeyFormIndex = "i";

// ---------------------------------------------------------------------------
// Writing

class TEncoder
{
public:
    explicit TEncoder(QByteArray& out) : FWriter(out) {}

    void Root(const TTokenGroup& root)
    {
        FWriter.Map(1);
        FWriter.Key(KeyRoot);
        Group(root);
    }

private:
    void Group(const TTokenGroup& group)
    {
        const auto& data = group.Data();
        FWriter.Map(9);
        Key(KeyID, data.ID);
        Key(KeyTitle, data.Title);
        Key(KeyCreated, data.Created);
        Key(KeyModified, data.Modified);
        Key(KeyExpiration, data.Expiration);
        Key(KeyExpires, data.Expires);
        FWriter.Key(KeyTemplate);
        FWriter.Array(quint64(data.Template.size()));
        for (const auto& name : data.Template)
            FWriter.Text(name);
        FWriter.Key(KeyTokens);
        FWriter.Array(quint64(group.Tokens().size()));
        for (const auto& token : group.Tokens())
            Token(token->Data());
        FWriter.Key(KeyGroups);
        FWriter.Array(quint64(group.Groups().size()));
        for (const auto& child : group.Groups())
            Group(*child);
    }

    void Token(const TTokenData& data)
    {
        FWriter.Map(data.AutoLogin ? 10 : 9);
        Key(KeyID, data.ID);
        FWriter.Key(KeyFields);
        FWriter.Array(TokenFieldCount);
        for (const auto& field : data.Fields)
            FWriter.Text(field);
        Key(KeyCreated, data.Created);
        Key(KeyModified, data.Modified);
        Key(KeyExpiration, data.Expiration);
        Key(KeyExpires, data.Expires);
        Key(KeyManual, data.UseManualAutoLogin);
        FWriter.Key(KeyCustom);
        CustomProperties(data.CustomProperties);
        FWriter.Key(KeyHistory);
        FWriter.Array(quint64(data.History.size()));
        for (const auto& entry : data.History)
            HistoryEntry(entry, data);
        if (data.AutoLogin)
            AutoLogin(AutoLoginValues(data.AutoLogin));
    }

    void CustomProperties(const QList<TTokenCustomProperty>& properties)
    {
        FWriter.Array(quint64(properties.size()) * 2);
        for (const auto& property : properties) {
            FWriter.Text(property.GetName());
            FWriter.Text(property.GetValue());
        }
    }

    void HistoryEntry(const THistoryEntryData& entry, const TTokenData& token)
    {
        FWriter.Map(entry.Second ? 4 : 3);
        Key(KeyKind, qint64(entry.Kind));
        Key(KeyTime, entry.Time);
        FWriter.Key(KeyFirst);
        Snapshot(entry.First, token);
        if (entry.Second) {
            FWriter.Key(KeySecond);
            Snapshot(*entry.Second, token);
        }
    }

    void Snapshot(const TTokenSnapshotData& snapshot, const TTokenData& token)
    {
        FWriter.Map(2);
        FWriter.Key(KeyFields);
        FWriter.Array(TokenFieldCount);
        for (int field = 0; field < TokenFieldCount; ++field) {
            if (!snapshot.Has(field))
                FWriter.Null();
            else if (snapshot.Values[field] == token.Fields[field])
                FWriter.Undefined();
            else
                FWriter.Text(snapshot.Values[field]);
        }
        FWriter.Key(KeyCustom);
        CustomProperties(snapshot.CustomProperties);
    }

    void AutoLogin(const TAutoLoginValues& values)
    {
        FWriter.Key(KeyAutoLogin);
        FWriter.Map(9);
        Key(KeyUseCatalogue, values.UseWebSitesDB);
        Key(KeyLoginURL, values.LoginURL);
        Key(KeyForceRedirect, values.ForceRedirect);
        Key(KeyAnalyze, values.AnalyzeAutomatically);
        Key(KeyUserNameID, values.UserNameElement.ID);
        Key(KeyUserNameName, values.UserNameElement.Name);
        Key(KeyPasswordID, values.PasswordElement.ID);
        Key(KeyPasswordName, values.PasswordElement.Name);
        Key(KeyFormIndex, qint64(values.WebFormIndex));
    }

    void Key(const char* key, const QString& value)
    {
        FWriter.Key(key);
        FWriter.Text(value);
    }
    void Key(const char* key, qint64 value)
    {
        FWriter.Key(key);
        FWriter.Int(value);
    }
    void Key(const char* key, bool value)
    {
        FWriter.Key(key);
        FWriter.Bool(value);
    }
    void Key(const char* key, const QUuid& value)
    {
        FWriter.Key(key);
        FWriter.Bytes(value.toRfc4122());
    }

    TCborWriter FWriter;
};

// ---------------------------------------------------------------------------
// Reading

class EDamaged
{
};

class TDecoder
{
public:
    explicit TDecoder(QByteArrayView cbor)
        : FReader(reinterpret_cast<const quint8*>(cbor.data()), cbor.size())
    {
    }

    std::shared_ptr<TTokenGroup> Root()
    {
        std::shared_ptr<TTokenGroup> root;
        ForEachKey([&](QByteArrayView key) {
            if (key == KeyRoot && !root)
                root = Group(0);
            else
                Skip();
        });
        if (!root || FReader.lastError() != QCborError::NoError)
            throw EDamaged();
        return root;
    }

private:
    std::shared_ptr<TTokenGroup> Group(int depth)
    {
        if (depth > MaxGroupDepth)
            throw EDamaged();
        auto group = std::make_shared<TTokenGroup>(TGroupData());
        TGroupData data;
        ForEachKey([&](QByteArrayView key) {
            if (key == KeyID)
                data.ID = Uuid();
            else if (key == KeyTitle)
                data.Title = String();
            else if (key == KeyCreated)
                data.Created = Integer();
            else if (key == KeyModified)
                data.Modified = Integer();
            else if (key == KeyExpiration)
                data.Expiration = Integer();
            else if (key == KeyExpires)
                data.Expires = Bool();
            else if (key == KeyTemplate)
                ForEachItem([&] { data.Template.append(String()); });
            else if (key == KeyTokens)
                ForEachItem([&] { group->InsertToken(-1, std::make_shared<TToken>(Token())); });
            else if (key == KeyGroups)
                ForEachItem([&] { group->InsertGroup(-1, Group(depth + 1)); });
            else
                Skip();
        });
        if (data.ID.isNull())
            data.ID = QUuid::createUuid();
        group->SetData(std::move(data));
        return group;
    }

    // Fields of history snapshots marked "same as current", resolved once the
    // token's own fields are known.
    struct TPending
    {
        qsizetype Entry;
        quint8 FirstSame;
        quint8 SecondSame;
        std::shared_ptr<TTokenSnapshotData> Second;
    };

    TTokenData Token()
    {
        TTokenData data;
        std::vector<TPending> pending;
        ForEachKey([&](QByteArrayView key) {
            if (key == KeyID)
                data.ID = Uuid();
            else if (key == KeyFields)
                Fields(data.Fields);
            else if (key == KeyCreated)
                data.Created = Integer();
            else if (key == KeyModified)
                data.Modified = Integer();
            else if (key == KeyExpiration)
                data.Expiration = Integer();
            else if (key == KeyExpires)
                data.Expires = Bool();
            else if (key == KeyManual)
                data.UseManualAutoLogin = Bool();
            else if (key == KeyCustom)
                data.CustomProperties = CustomProperties();
            else if (key == KeyHistory)
                ForEachItem([&] { HistoryEntry(data.History, pending); });
            else if (key == KeyAutoLogin)
                data.AutoLogin = MakeAutoLoginInfo(AutoLogin());
            else
                Skip();
        });
        for (const auto& item : pending) {
            ResolveSame(data.History[item.Entry].First, item.FirstSame, data);
            if (item.Second)
                ResolveSame(*item.Second, item.SecondSame, data);
        }
        if (data.ID.isNull())
            data.ID = QUuid::createUuid();
        return data;
    }

    static void ResolveSame(TTokenSnapshotData& snapshot, quint8 same, const TTokenData& token)
    {
        for (int field = 0; field < TokenFieldCount; ++field)
            if (same & (1u << field))
                snapshot.Set(field, token.Fields[field]);
    }

    void HistoryEntry(THistoryData& history, std::vector<TPending>& pending)
    {
        THistoryEntryData entry;
        qint64 kind = -1;
        TPending item{};
        ForEachKey([&](QByteArrayView key) {
            if (key == KeyKind) {
                kind = Integer();
            } else if (key == KeyTime) {
                entry.Time = Integer();
            } else if (key == KeyFirst) {
                item.FirstSame = Snapshot(entry.First);
            } else if (key == KeySecond) {
                item.Second = std::make_shared<TTokenSnapshotData>();
                item.SecondSame = Snapshot(*item.Second);
            } else {
                Skip();
            }
        });
        if (kind < 0 || kind > qint64(TTokenHistoryEntryKind::thekChanged))
            return; // a kind of a newer version
        entry.Kind = TTokenHistoryEntryKind(kind);
        if (entry.Kind != TTokenHistoryEntryKind::thekChanged)
            item.Second.reset();
        else if (!item.Second)
            item.Second = std::make_shared<TTokenSnapshotData>();
        entry.Second = item.Second;
        history.append(std::move(entry));
        item.Entry = history.size() - 1;
        pending.push_back(std::move(item));
    }

    quint8 Snapshot(TTokenSnapshotData& snapshot)
    {
        quint8 same = 0;
        ForEachKey([&](QByteArrayView key) {
            if (key == KeyFields) {
                int field = 0;
                ForEachItem([&] {
                    if (field >= TokenFieldCount) {
                        Skip();
                    } else if (FReader.isUndefined()) {
                        same |= quint8(1u << field);
                        FReader.next();
                    } else if (FReader.isNull()) {
                        FReader.next();
                    } else {
                        snapshot.Set(field, String());
                    }
                    ++field;
                });
            } else if (key == KeyCustom) {
                snapshot.CustomProperties = CustomProperties();
            } else {
                Skip();
            }
        });
        return same;
    }

    void Fields(std::array<QString, TokenFieldCount>& fields)
    {
        int field = 0;
        ForEachItem([&] {
            if (field < TokenFieldCount)
                fields[field] = String();
            else
                Skip();
            ++field;
        });
    }

    QList<TTokenCustomProperty> CustomProperties()
    {
        QList<TTokenCustomProperty> properties;
        QString name;
        bool haveName = false;
        ForEachItem([&] {
            if (!haveName) {
                name = String();
            } else {
                properties.append(TTokenCustomProperty(name, String()));
            }
            haveName = !haveName;
        });
        if (haveName)
            throw EDamaged();
        return properties;
    }

    TAutoLoginValues AutoLogin()
    {
        TAutoLoginValues values;
        ForEachKey([&](QByteArrayView key) {
            if (key == KeyUseCatalogue)
                values.UseWebSitesDB = Bool();
            else if (key == KeyLoginURL)
                values.LoginURL = String();
            else if (key == KeyForceRedirect)
                values.ForceRedirect = Bool();
            else if (key == KeyAnalyze)
                values.AnalyzeAutomatically = Bool();
            else if (key == KeyUserNameID)
                values.UserNameElement.ID = String();
            else if (key == KeyUserNameName)
                values.UserNameElement.Name = String();
            else if (key == KeyPasswordID)
                values.PasswordElement.ID = String();
            else if (key == KeyPasswordName)
                values.PasswordElement.Name = String();
            else if (key == KeyFormIndex)
                values.WebFormIndex =
                    std::int32_t(qBound<qint64>(qint64(0), Integer(), qint64(1000000)));
            else
                Skip();
        });
        return values;
    }

    // Primitive readers; anything unexpected is damage.

    template <typename F> void ForEachKey(F&& onKey)
    {
        if (!FReader.isMap() || !FReader.enterContainer())
            throw EDamaged();
        while (FReader.lastError() == QCborError::NoError && FReader.hasNext()) {
            char buffer[MaxKeySize];
            qsizetype size = 0;
            if (!ReadKey(buffer, size)) {
                Skip(); // an unknown kind of key: skip its value
                continue;
            }
            onKey(QByteArrayView(buffer, size));
        }
        Leave();
    }

    // A text key that fits the buffer; anything else is read past.
    bool ReadKey(char (&buffer)[MaxKeySize], qsizetype& size)
    {
        if (!FReader.isString()) {
            Skip();
            return false;
        }
        bool fits = true;
        size = 0;
        for (;;) {
            auto chunk = FReader.readStringChunk(buffer + size, MaxKeySize - size);
            if (chunk.status == QCborStreamReader::EndOfString)
                return fits;
            if (chunk.status == QCborStreamReader::Error)
                throw EDamaged();
            if (size + chunk.data >= MaxKeySize) {
                fits = false;
                size = 0;
            } else {
                size += chunk.data;
            }
        }
    }

    template <typename F> void ForEachItem(F&& onItem)
    {
        if (!FReader.isArray() || !FReader.enterContainer())
            throw EDamaged();
        while (FReader.lastError() == QCborError::NoError && FReader.hasNext())
            onItem();
        Leave();
    }

    void Leave()
    {
        if (FReader.lastError() != QCborError::NoError || !FReader.leaveContainer())
            throw EDamaged();
    }

    void Skip()
    {
        if (!FReader.isValid() || !FReader.next(MaxGroupDepth * 8))
            throw EDamaged();
    }

    QString String()
    {
        if (!FReader.isString())
            throw EDamaged();
        QString text;
        auto chunk = FReader.readString();
        while (chunk.status == QCborStreamReader::Ok) {
            text += chunk.data;
            chunk = FReader.readString();
        }
        if (chunk.status == QCborStreamReader::Error)
            throw EDamaged();
        return text;
    }

    qint64 Integer()
    {
        qint64 value = 0;
        if (FReader.isUnsignedInteger())
            value = qint64(qMin<quint64>(FReader.toUnsignedInteger(), quint64(INT64_MAX)));
        else if (FReader.isNegativeInteger())
            value = qint64(quint64(FReader.toNegativeInteger()) > quint64(INT64_MAX)
                               ? INT64_MIN
                               : -qint64(quint64(FReader.toNegativeInteger())));
        else
            throw EDamaged();
        FReader.next();
        return value;
    }

    bool Bool()
    {
        if (!FReader.isBool())
            throw EDamaged();
        const bool value = FReader.toBool();
        FReader.next();
        return value;
    }

    QUuid Uuid()
    {
        if (!FReader.isByteArray())
            throw EDamaged();
        QByteArray bytes;
        auto chunk = FReader.readByteArray();
        while (chunk.status == QCborStreamReader::Ok && bytes.size() <= 16) {
            bytes += chunk.data;
            chunk = FReader.readByteArray();
        }
        if (chunk.status != QCborStreamReader::EndOfString || bytes.size() != 16)
            throw EDamaged();
        return QUuid::fromRfc4122(bytes);
    }

    QCborStreamReader FReader;
};

} // namespace

QByteArray EncodePayload(const TTokenGroup& root, qsizetype sizeHint)
{
    QByteArray out;
    out.reserve(sizeHint);
    TEncoder(out).Root(root);
    return out;
}

std::shared_ptr<TTokenGroup> DecodePayload(QByteArrayView cbor)
{
    try {
        return TDecoder(cbor).Root();
    } catch (const EDamaged&) {
        return nullptr;
    }
}

namespace {

// What qUncompress reads: the plain size (big-endian, 4 bytes), then a zlib
// stream. Deflated in slices, so no buffer of the plain size is needed.
QByteArray Compress(QByteArrayView plain)
{
    constexpr qsizetype Slice = 1 << 16;
    if (plain.size() > MaxPayloadSize)
        throw std::length_error("The database is too large");
    QByteArray packed(4, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(plain.size()), packed.data());
    z_stream stream{};
    if (deflateInit(&stream, CompressionLevel) != Z_OK)
        throw std::bad_alloc();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    stream.avail_in = uInt(plain.size());
    int status = Z_OK;
    while (status == Z_OK) {
        const qsizetype at = packed.size();
        packed.resize(at + Slice);
        stream.next_out = reinterpret_cast<Bytef*>(packed.data() + at);
        stream.avail_out = uInt(Slice);
        status = deflate(&stream, Z_FINISH);
        packed.resize(packed.size() - qsizetype(stream.avail_out));
    }
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw std::runtime_error("Compression failed");
    return packed;
}

} // namespace

QByteArray PackPayload(const TTokenGroup& root, qsizetype& plainSize)
{
    QByteArray plain = EncodePayload(root, plainSize + plainSize / 16);
    plainSize = plain.size();
    QByteArray packed = Compress(plain);
    SecureWipe(plain);
    return packed;
}

std::shared_ptr<TTokenGroup> UnpackPayload(QByteArrayView packed, qsizetype* plainSize)
{
    if (packed.size() < 4 || qFromBigEndian<quint32>(packed.data()) > quint32(MaxPayloadSize))
        return nullptr;
    QByteArray plain = qUncompress(reinterpret_cast<const uchar*>(packed.data()), packed.size());
    if (plain.isEmpty())
        return nullptr;
    if (plainSize)
        *plainSize = plain.size();
    auto root = DecodePayload(plain);
    SecureWipe(plain);
    return root;
}

} // namespace Lockwyn
