#pragma once
// Reads Password Safe 3.x XML. Dotted group paths ("a.b", a literal dot
// written "\.") become nested groups; the notes' line delimiter becomes a line
// break; the password history becomes token history; e-mail and the other
// text fields become custom values.

#include "ConvertLib.Records.h"

#include <optional>

namespace Lockwyn {

class TXmlInput;

class TPasswordSafeXmlReader
{
public:
    // Nothing when the file is not well-formed Password Safe XML.
    std::optional<TGroupRecord> Read(const QString& fileName);

    static QStringList SplitGroupPath(const QString& path);

private:
    struct TEarlierPassword
    {
        QDateTime SetAt;
        QString Password;
    };

    void ReadEntry(TGroupRecord& root);
    void ReadEmptyGroups(TGroupRecord& root);
    QList<TEarlierPassword> ReadPasswordHistory();
    QDateTime ReadOldStyleTime();

    TXmlInput* FInput = nullptr;
    QString FDelimiter;
};

} // namespace Lockwyn
