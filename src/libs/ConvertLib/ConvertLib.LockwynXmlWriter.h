#pragma once
// Writes the Lockwyn XML format: the whole tree with every value the storage
// library holds, so that reading it back gives the same records. Values equal
// to what an imported token or group starts with (empty texts, false flags,
// no expiration date, the web-site catalogue auto-login) are left out.

#include "ConvertLib.TreeSink.h"
#include "ConvertLib.XmlOutput.h"

class QIODevice;

namespace Lockwyn {

class TLockwynXmlWriter : public ITreeSink
{
public:
    TLockwynXmlWriter(QIODevice& device, int version);

    void StartGroup(const TGroupRecord& group) override;
    void AddToken(const TTokenRecord& token) override;
    void EndGroup() override;
    // False when the device reported a write error.
    bool Finish();

private:
    void WriteHistoryEntry(const TTokenHistoryEntry& entry);
    void WriteSnapshot(const QString& name, const TTokenFieldsSnapshot& snapshot);
    void WriteCustomProperties(const QList<TTokenCustomProperty>& properties);
    void WriteAutoLogin(const TAutoLoginValues& autoLogin);
    void WriteFormElement(const QString& name, const TWebFormElement& element);
    void WriteDates(const QDateTime& created, const QDateTime& modified, bool expires,
                    const QDateTime& expiration);
    void WriteDate(const QString& name, const QDateTime& value);
    void WriteBool(const QString& name, bool value);
    void WriteText(const QString& name, const QString& value);
    void WriteNonEmptyText(const QString& name, const QString& value);
    void WriteOptionalText(const QString& name, const Nullable<QString>& value);

    TXmlOutput FOutput;
};

} // namespace Lockwyn
