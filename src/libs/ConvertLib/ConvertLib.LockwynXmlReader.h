#pragma once
// Reads the Lockwyn XML format written by TLockwynXmlWriter. Elements it does
// not know (from a newer version) are passed over; the version the file
// records is reported so the program can warn about what was left out.

#include "ConvertLib.Records.h"

#include <optional>

namespace Lockwyn {

class TXmlInput;

class TLockwynXmlReader
{
public:
    // Nothing when the file is not well-formed Lockwyn XML.
    std::optional<TImportedDocument> Read(const QString& fileName);

private:
    void ReadGroup(TGroupRecord& group);
    TTokenRecord ReadToken();
    void ReadTemplate(QStringList& names);
    TTokenHistoryEntry ReadHistoryEntry();
    TTokenFieldsSnapshot ReadSnapshot();
    TTokenCustomProperty ReadCustomProperty();
    TAutoLoginValues ReadAutoLogin();
    TWebFormElement ReadFormElement();
    // Reads the current element when it is one of the common dates.
    bool ReadDate(QDateTime& created, QDateTime& modified, bool& expires, QDateTime& expiration);
    QDateTime ReadDateTime();
    bool ReadBool();
    QString ReadValue();

    TXmlInput* FInput = nullptr;
};

} // namespace Lockwyn
