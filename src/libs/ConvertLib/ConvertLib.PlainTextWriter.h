#pragma once
// Writes a listing a person can read and print: every group by its path, and
// under it every field of every token.

#include "ConvertLib.TreeSink.h"

#include <QTextStream>

class QIODevice;

namespace Lockwyn {

class TPlainTextWriter : public ITreeSink
{
public:
    explicit TPlainTextWriter(QIODevice& device);

    void StartGroup(const TGroupRecord& group) override;
    void AddToken(const TTokenRecord& token) override;
    void EndGroup() override;
    // False when the device reported a write error.
    bool Finish();

private:
    void WriteField(const QString& caption, const QString& value);

    QTextStream FOut;
    QStringList FPath;
    int FCaptionWidth = 0;
};

} // namespace Lockwyn
