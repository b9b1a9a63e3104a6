#pragma once
// The converters' neutral form of a database: what a file holds, independent of
// the file format and of the storage library's objects. Readers fill it, writers
// read it; the storage library's trees are built from it and snapshotted into it.

#include "LockwynLib.Interfaces.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Lockwyn {

struct TTokenRecord
{
    QString Title;
    QString UserName;
    QString Password;
    QString URL;
    QString Notes;
    // Invalid dates are unknown; the tree builder leaves them to the library.
    QDateTime CreationDate;
    QDateTime ModificationDate;
    bool Expires = false;
    QDateTime ExpirationDate;
    QList<TTokenCustomProperty> CustomProperties;
    QList<TTokenHistoryEntry> History; // newest first
    bool UseManualAutoLogin = false;
    std::optional<TAutoLoginValues> AutoLogin;
    bool operator==(const TTokenRecord&) const = default;
};

struct TGroupRecord
{
    QString Title;
    QDateTime CreationDate;
    QDateTime ModificationDate;
    bool Expires = false;
    QDateTime ExpirationDate;
    QStringList Template;
    QList<TTokenRecord> Tokens;
    std::vector<TGroupRecord> Groups;
    bool operator==(const TGroupRecord&) const = default;
};

// What an importer read: the tree and the data-format version the file
// records (0 for formats of other programs).
struct TImportedDocument
{
    int Version = 0;
    TGroupRecord Root;
};

} // namespace Lockwyn
