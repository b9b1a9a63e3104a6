#pragma once
// Plain values of tokens and groups. Operations keep these (never live
// objects), so a removed object can die and undo can re-create it with its ID.
// QString and QList share their data on copy, so snapshots are cheap.

#include "LockwynLib.Interfaces.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <array>
#include <memory>
#include <vector>

namespace Lockwyn {

// Milliseconds since the epoch, UTC; 0 stands for "none".
using TMsecs = qint64;

TMsecs NowMsecs();
QDateTime ToDateTime(TMsecs msecs);
TMsecs ToMsecs(const QDateTime& dateTime);

// The text fields of a token, in the order history entries list them.
enum class TTokenField : quint8
{
    tfTitle,
    tfUserName,
    tfPassword,
    tfURL,
    tfNotes
};
inline constexpr int TokenFieldCount = 5;

// The fields one side of a history entry records.
struct TTokenSnapshotData
{
    std::array<QString, TokenFieldCount> Values;
    quint8 Present = 0; // one bit per TTokenField
    QList<TTokenCustomProperty> CustomProperties;

    bool Has(int field) const { return Present & (1u << field); }
    void Set(int field, const QString& value)
    {
        Values[field] = value;
        Present |= quint8(1u << field);
    }
    bool operator==(const TTokenSnapshotData&) const = default;
};

struct THistoryEntryData
{
    TMsecs Time = 0;
    TTokenHistoryEntryKind Kind = TTokenHistoryEntryKind::thekCreated;
    TTokenSnapshotData First;
    // Only "changed" entries have a second side; shared, it never changes.
    std::shared_ptr<const TTokenSnapshotData> Second;

    bool operator==(const THistoryEntryData& other) const;
};
using THistoryData = QList<THistoryEntryData>; // newest first

struct TTokenData
{
    QUuid ID;
    std::array<QString, TokenFieldCount> Fields;
    TMsecs Created = 0;
    TMsecs Modified = 0; // 0 while never changed
    TMsecs Expiration = 0;
    bool Expires = false;
    bool UseManualAutoLogin = false;
    QList<TTokenCustomProperty> CustomProperties;
    THistoryData History;
    std::shared_ptr<IAutoLoginInfo> AutoLogin; // nil: the catalogue's settings

    const QString& Field(TTokenField field) const { return Fields[int(field)]; }
    // Same values; ID and creation and modification dates are not compared.
    bool SameValues(const TTokenData& other) const;
};

struct TGroupData
{
    QUuid ID;
    QString Title;
    TMsecs Created = 0;
    TMsecs Modified = 0;
    TMsecs Expiration = 0;
    bool Expires = false;
    QStringList Template;

    bool SameValues(const TGroupData& other) const;
};

// A group with everything below it.
struct TGroupTreeData
{
    TGroupData Group;
    std::vector<TTokenData> Tokens;
    std::vector<TGroupTreeData> Groups;
};

// A "created" entry recording the token's values.
THistoryEntryData CreatedEntry(const TTokenData& token, TMsecs time);
// A "changed" entry for the fields that differ; nothing when none differs.
bool ChangedEntry(const TTokenData& before, const TTokenData& after, TMsecs time,
                  THistoryEntryData& entry);
// Gives the tree and everything in it new IDs.
void RenewIDs(TGroupTreeData& tree);

} // namespace Lockwyn
