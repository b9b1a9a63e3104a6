#pragma once
// Reads KeePass 2.x XML, as KeePass and KeePassXC export it: the database's
// root group with its groups and entries. The recycle bin and its content are
// left out; entry history becomes token history.

#include "ConvertLib.Records.h"

#include <optional>

namespace Lockwyn {

class TXmlInput;

class TKeePassXmlReader
{
public:
    // Nothing when the file is not well-formed KeePass 2.x XML.
    std::optional<TGroupRecord> Read(const QString& fileName);

    // Times are ISO 8601 or, in files of KDBX 4 databases, base64 of
    // little-endian seconds since 0001-01-01 UTC; the result is in local time.
    static QDateTime ParseTime(const QString& text);

private:
    void ReadMeta();
    void ReadRoot(std::optional<TGroupRecord>& root);
    // Nothing for the recycle bin.
    std::optional<TGroupRecord> ReadGroup();
    TTokenRecord ReadEntry(bool withHistory);
    void ReadTimes(QDateTime& created, QDateTime& modified, bool& expires, QDateTime& expiry);
    void ReadString(TTokenRecord& entry);
    QList<TTokenRecord> ReadHistory();

    TXmlInput* FInput = nullptr;
    QString FRecycleBinUUID;
    bool FRecycleBinEnabled = true;
};

} // namespace Lockwyn
