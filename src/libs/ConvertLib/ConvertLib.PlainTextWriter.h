#pragma once
// Writes a listing a person can read and print: every group by its path, and
// under it every field of every token.

#include "ConvertLib.Records.h"

class QIODevice;
class QTextStream;

namespace Lockwyn {

class TPlainTextWriter
{
public:
    // False when the device reports a write error.
    bool Write(const TGroupRecord& root, QIODevice& device);

private:
    void WriteGroup(const TGroupRecord& group, const QString& path);
    void WriteToken(const TTokenRecord& token);
    void WriteField(const QString& caption, const QString& value);

    QTextStream* FOut = nullptr;
    int FCaptionWidth = 0;
};

} // namespace Lockwyn
