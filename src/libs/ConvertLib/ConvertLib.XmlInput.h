#pragma once
// Reads an XML file for the importers and refuses what could exhaust memory or
// time: any document type declaration (so no entity is ever expanded), nesting
// deeper than MaxDepth, element texts longer than MaxTextLength and files larger
// than MaxFileSize. Elements are walked the usual way:
//     while (input.ReadNextChild()) { if (input.Name() == u"X") ...; else input.Skip(); }
// Finish reads the rest and tells whether the whole file was well-formed.

#include <QFile>
#include <QString>
#include <QXmlStreamReader>

namespace Lockwyn {

class TXmlInput
{
public:
    static constexpr qint64 MaxFileSize = qint64(1) << 30;
    static constexpr int MaxDepth = 256;
    static constexpr qsizetype MaxTextLength = qsizetype(1) << 22;

    // False when the file cannot be read or is too large.
    bool Open(const QString& fileName);
    // Moves to the next child element of the current one (at first: the
    // document element); false at the end of the current element or on failure.
    bool ReadNextChild();
    QStringView Name() const { return FReader.name(); }
    QString Attribute(QStringView name) const;
    // The text of the current element, which must not hold child elements.
    QString ReadText();
    // Passes over the current element and everything in it.
    void Skip();
    // True when the rest of the file is well-formed and nothing was refused.
    bool Finish();
    bool Failed() const { return FRefused || FReader.hasError(); }

private:
    QXmlStreamReader::TokenType Next();

    QFile FFile;
    QXmlStreamReader FReader;
    int FDepth = 0;
    bool FRefused = false;
};

} // namespace Lockwyn
