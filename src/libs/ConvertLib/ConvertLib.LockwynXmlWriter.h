#pragma once
// Writes the Lockwyn XML format: the whole tree with every value the storage
// library holds, so that reading it back gives the same records.

#include "ConvertLib.Records.h"

class QIODevice;
class QXmlStreamWriter;

namespace Lockwyn {

class TLockwynXmlWriter
{
public:
    // False when the device reports a write error.
    bool Write(const TGroupRecord& root, int version, QIODevice& device);

private:
    void WriteGroup(const TGroupRecord& group);
    void WriteToken(const TTokenRecord& token);
    void WriteHistoryEntry(const TTokenHistoryEntry& entry);
    void WriteSnapshot(QStringView name, const TTokenFieldsSnapshot& snapshot);
    void WriteCustomProperties(const QList<TTokenCustomProperty>& properties);
    void WriteAutoLogin(const TAutoLoginRecord& autoLogin);
    void WriteFormElement(QStringView name, const TWebFormElement& element);
    void WriteDates(const QDateTime& created, const QDateTime& modified, bool expires,
                    const QDateTime& expiration);
    void WriteDate(QStringView name, const QDateTime& value);
    void WriteBool(QStringView name, bool value);
    void WriteText(QStringView name, const QString& value);
    void WriteOptionalText(QStringView name, const Nullable<QString>& value);

    QXmlStreamWriter* FWriter = nullptr;
};

} // namespace Lockwyn
