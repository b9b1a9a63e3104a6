#include "LockwynLib.PayloadCodec.h"

#include "LockwynLib.AutoLoginInfo.h"
#include "LockwynLib.CborReader.h"
#include "LockwynLib.CborWriter.h"
#include "LockwynLib.SecureMemory.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenGroup.h"

#include <QtEndian>

#include <libdeflate.h>
#include <zlib.h>

namespace Lockwyn {

namespace {

constexpr int CompressionLevel = 1;
constexpr qsizetype MaxPayloadSize = qsizetype(1) << 30;

// Map keys.
constexpr char KeyRoot[] = "root";
constexpr char KeyID[] = "id";
constexpr char KeyTitle[] = "t";
constexpr char KeyCreated[] = "c";
constexpr char KeyModified[] = "m";
constexpr char KeyExpiration[] = "x";
constexpr char KeyExpires[] = "e";
constexpr char KeyTemplate[] = "tp";
constexpr char KeyTokens[] = "tk";
constexpr char KeyGroups[] = "g";
constexpr char KeyFields[] = "f";
constexpr char KeyManual[] = "ma";
constexpr char KeyCustom[] = "cp";
constexpr char KeyHistory[] = "h";
constexpr char KeyAutoLogin[] = "al";
constexpr char KeyKind[] = "k";
constexpr char KeyTime[] = "d";
constexpr char KeyFirst[] = "a";
constexpr char KeySecond[] = "b";
constexpr char KeyUseCatalogue[] = "w";
constexpr char KeyLoginURL[] = "u";
constexpr char KeyForceRedirect[] = "r";
constexpr char KeyAnalyze[] = "z";
constexpr char KeyUserNameID[] = "ui";
constexpr char KeyUserNameName[] = "un";
constexpr char KeyPasswordID[] = "pi";
constexpr char KeyPasswordName[] = "pn";
constexpr char KeyFormIndex[] = "i";

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
        CommonKeys(data);
        Key(KeyTitle, data.Title);
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

    // The five keys of groups and tokens alike.
    template <typename TData> void CommonKeys(const TData& data)
    {
        Key(KeyID, data.ID);
        Key(KeyCreated, data.Created);
        Key(KeyModified, data.Modified);
        Key(KeyExpiration, data.Expiration);
        Key(KeyExpires, data.Expires);
    }

    void Token(const TTokenData& data)
    {
        FWriter.Map(data.AutoLogin ? 10 : 9);
        CommonKeys(data);
        FWriter.Key(KeyFields);
        FWriter.Array(TokenFieldCount);
        for (const auto& field : data.Fields)
            FWriter.Text(field);
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

constexpr std::uint64_t Code(const char* key)
{
    return CborKeyCode(key);
}

class TDecoder
{
public:
    explicit TDecoder(QByteArrayView cbor) : FReader(cbor) {}

    std::shared_ptr<TTokenGroup> Root()
    {
        std::shared_ptr<TTokenGroup> root;
        ForEachKey([&](std::uint64_t key) {
            if (key == Code(KeyRoot) && !root)
                root = Group(0);
            else
                FReader.Skip();
        });
        if (!root)
            throw ECborDamaged();
        return root;
    }

private:
    std::shared_ptr<TTokenGroup> Group(int depth)
    {
        if (depth > MaxGroupDepth)
            throw ECborDamaged();
        auto group = std::make_shared<TTokenGroup>(TGroupData());
        TGroupData data;
        ForEachKey([&](std::uint64_t key) {
            if (CommonKey(key, data))
                return;
            switch (key) {
            case Code(KeyTitle):
                data.Title = FReader.Text();
                break;
            case Code(KeyTemplate):
                ForEachItem([&](qsizetype size) { data.Template.reserve(size); },
                            [&] { data.Template.append(FReader.Text()); });
                break;
            case Code(KeyTokens):
                ForEachItem([&](qsizetype size) { group->ReserveTokens(size); },
                            [&] { group->InsertToken(-1, std::make_shared<TToken>(Token())); });
                break;
            case Code(KeyGroups):
                ForEachItem([&](qsizetype size) { group->ReserveGroups(size); },
                            [&] { group->InsertGroup(-1, Group(depth + 1)); });
                break;
            default:
                FReader.Skip();
            }
        });
        EnsureID(data);
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
        FPending.clear();
        ForEachKey([&](std::uint64_t key) {
            if (CommonKey(key, data))
                return;
            switch (key) {
            case Code(KeyFields):
                Fields(data.Fields);
                break;
            case Code(KeyManual):
                data.UseManualAutoLogin = FReader.Bool();
                break;
            case Code(KeyCustom):
                data.CustomProperties = CustomProperties();
                break;
            case Code(KeyHistory):
                ForEachItem([&](qsizetype size) { data.History.reserve(size); },
                            [&] { HistoryEntry(data.History); });
                break;
            case Code(KeyAutoLogin):
                data.AutoLogin = MakeAutoLoginInfo(AutoLogin());
                break;
            default:
                FReader.Skip();
            }
        });
        for (const auto& item : FPending) {
            ResolveSame(data.History[item.Entry].First, item.FirstSame, data);
            if (item.Second)
                ResolveSame(*item.Second, item.SecondSame, data);
        }
        FPending.clear();
        EnsureID(data);
        return data;
    }

    // Reads a value of the five keys of groups and tokens alike; false for other keys.
    template <typename TData> bool CommonKey(std::uint64_t key, TData& data)
    {
        switch (key) {
        case Code(KeyID):
            data.ID = Uuid();
            return true;
        case Code(KeyCreated):
            data.Created = FReader.Integer();
            return true;
        case Code(KeyModified):
            data.Modified = FReader.Integer();
            return true;
        case Code(KeyExpiration):
            data.Expiration = FReader.Integer();
            return true;
        case Code(KeyExpires):
            data.Expires = FReader.Bool();
            return true;
        default:
            return false;
        }
    }

    template <typename TData> static void EnsureID(TData& data)
    {
        if (data.ID.isNull())
            data.ID = QUuid::createUuid();
    }

    static void ResolveSame(TTokenSnapshotData& snapshot, quint8 same, const TTokenData& token)
    {
        for (int field = 0; field < TokenFieldCount; ++field)
            if (same & (1u << field))
                snapshot.Set(field, token.Fields[field]);
    }

    void HistoryEntry(THistoryData& history)
    {
        THistoryEntryData entry;
        qint64 kind = -1;
        TPending item{};
        ForEachKey([&](std::uint64_t key) {
            switch (key) {
            case Code(KeyKind):
                kind = FReader.Integer();
                break;
            case Code(KeyTime):
                entry.Time = FReader.Integer();
                break;
            case Code(KeyFirst):
                item.FirstSame = Snapshot(entry.First);
                break;
            case Code(KeySecond):
                item.Second = std::make_shared<TTokenSnapshotData>();
                item.SecondSame = Snapshot(*item.Second);
                break;
            default:
                FReader.Skip();
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
        FPending.push_back(std::move(item));
    }

    quint8 Snapshot(TTokenSnapshotData& snapshot)
    {
        quint8 same = 0;
        ForEachKey([&](std::uint64_t key) {
            switch (key) {
            case Code(KeyFields): {
                int field = 0;
                ForEachItem([&] {
                    if (field >= TokenFieldCount) {
                        FReader.Skip();
                    } else if (FReader.IsUndefined()) {
                        same |= quint8(1u << field);
                        FReader.Skip();
                    } else if (FReader.IsNull()) {
                        FReader.Skip();
                    } else {
                        snapshot.Set(field, FReader.Text());
                    }
                    ++field;
                });
                break;
            }
            case Code(KeyCustom):
                snapshot.CustomProperties = CustomProperties();
                break;
            default:
                FReader.Skip();
            }
        });
        return same;
    }

    void Fields(std::array<QString, TokenFieldCount>& fields)
    {
        int field = 0;
        ForEachItem([&] {
            if (field < TokenFieldCount)
                fields[field] = FReader.Text();
            else
                FReader.Skip();
            ++field;
        });
    }

    QList<TTokenCustomProperty> CustomProperties()
    {
        QList<TTokenCustomProperty> properties;
        QString name;
        bool haveName = false;
        ForEachItem([&](qsizetype size) { properties.reserve(size / 2); },
                    [&] {
                        if (!haveName)
                            name = FReader.Text();
                        else
                            properties.append(TTokenCustomProperty(name, FReader.Text()));
                        haveName = !haveName;
                    });
        if (haveName)
            throw ECborDamaged();
        return properties;
    }

    TAutoLoginValues AutoLogin()
    {
        TAutoLoginValues values;
        ForEachKey([&](std::uint64_t key) {
            switch (key) {
            case Code(KeyUseCatalogue):
                values.UseWebSitesDB = FReader.Bool();
                break;
            case Code(KeyLoginURL):
                values.LoginURL = FReader.Text();
                break;
            case Code(KeyForceRedirect):
                values.ForceRedirect = FReader.Bool();
                break;
            case Code(KeyAnalyze):
                values.AnalyzeAutomatically = FReader.Bool();
                break;
            case Code(KeyUserNameID):
                values.UserNameElement.ID = FReader.Text();
                break;
            case Code(KeyUserNameName):
                values.UserNameElement.Name = FReader.Text();
                break;
            case Code(KeyPasswordID):
                values.PasswordElement.ID = FReader.Text();
                break;
            case Code(KeyPasswordName):
                values.PasswordElement.Name = FReader.Text();
                break;
            case Code(KeyFormIndex):
                values.WebFormIndex =
                    std::int32_t(qBound<qint64>(qint64(0), FReader.Integer(), qint64(1000000)));
                break;
            default:
                FReader.Skip();
            }
        });
        return values;
    }

    // A map's values, each handed to onKey with the code of its key.
    template <typename F> void ForEachKey(F&& onKey)
    {
        auto map = FReader.EnterMap();
        while (FReader.Next(map)) {
            const std::uint64_t key = FReader.Key();
            if (!FReader.Next(map))
                throw ECborDamaged();
            onKey(key);
        }
    }

    // An array's items; onSize first learns how many there are at most.
    template <typename S, typename F> void ForEachItem(S&& onSize, F&& onItem)
    {
        auto array = FReader.EnterArray();
        onSize(FReader.SizeHint(array));
        while (FReader.Next(array))
            onItem();
    }
    template <typename F> void ForEachItem(F&& onItem)
    {
        ForEachItem([](qsizetype) {}, std::forward<F>(onItem));
    }

    QUuid Uuid()
    {
        const QByteArrayView bytes = FReader.Bytes();
        if (bytes.size() != 16)
            throw ECborDamaged();
        return QUuid::fromRfc4122(bytes);
    }

    TCborReader FReader;
    std::vector<TPending> FPending;
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
    } catch (const ECborDamaged&) {
        return nullptr;
    }
}

namespace {

// The plain size (big-endian, 4 bytes, as qUncompress reads it), then a zlib
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

// The plain bytes, inflated in one call into a buffer of the size the header
// gives; empty when the stream is damaged or its size differs. libdeflate
// inflates whole buffers about twice as fast as zlib.
QByteArray Decompress(QByteArrayView packed)
{
    if (packed.size() < 4)
        return {};
    // DEFLATE expands at most 1032 to 1, so a damaged size costs no huge buffer.
    constexpr quint64 MaxExpansion = 1032;
    const quint32 size = qFromBigEndian<quint32>(packed.data());
    if (size == 0 || size > quint32(MaxPayloadSize) ||
        size > quint64(packed.size() - 4) * MaxExpansion)
        return {};
    QByteArray plain(qsizetype(size), Qt::Uninitialized);
    const std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> decompressor(
        libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    if (!decompressor)
        throw std::bad_alloc();
    // Without a place for the actual size, anything but exactly `size` bytes fails.
    if (libdeflate_zlib_decompress(decompressor.get(), packed.data() + 4,
                                   std::size_t(packed.size() - 4), plain.data(), size,
                                   nullptr) != LIBDEFLATE_SUCCESS)
        SecureWipe(plain);
    return plain;
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
    QByteArray plain = Decompress(packed);
    if (plain.isEmpty())
        return nullptr;
    if (plainSize)
        *plainSize = plain.size();
    auto root = DecodePayload(plain);
    SecureWipe(plain);
    return root;
}

} // namespace Lockwyn
