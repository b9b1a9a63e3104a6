#pragma once
// Reads an XML file for the importers and refuses what could exhaust memory or
// time: any document type declaration (so no entity is ever expanded), nesting
// deeper than MaxDepth, element texts longer than MaxTextLength and files larger
// than MaxFileSize. The file is read in pieces and a single token (a text, a
// comment, a tag) that takes more input than the longest text may is refused
// while it is read, so memory stays within a few times MaxTextLength whatever
// the file holds. Elements are walked the usual way:
//     while (input.ReadNextChild()) { if (input.Name() == u"X") ...; else input.Skip(); }
// Finish reads the rest and tells whether the whole file was well-formed.

#include "LockwynLib.Interfaces.h"

#include <QFile>
#include <QString>
#include <QXmlStreamReader>

namespace Lockwyn {

class TXmlInput
{
public:
    static constexpr qint64 MaxFileSize = qint64(1) << 30;
    // Deeper than any group tree a database holds with the elements around
    // it: a deeper tree is read and then refused by the import as too deep.
    static constexpr int MaxDepth = 256;
    static constexpr qsizetype MaxTextLength = DatabaseLimits::MaxTextLength;
    // Input one token may take: a text of MaxTextLength characters written
    // with character references.
    static constexpr qint64 MaxTokenInput = qint64(MaxTextLength) * 8;
    static constexpr qint64 PieceSize = 64 * 1024;

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
    bool Failed() const { return FRefused || (FReader.hasError() && !FComplete); }

private:
    QXmlStreamReader::TokenType Next();
    // Reads the next token, feeding the reader piece by piece.
    QXmlStreamReader::TokenType ReadToken();

    QFile FFile;
    QXmlStreamReader FReader;
    int FDepth = 0;
    bool FRefused = false;
    bool FSeenElement = false;
    bool FComplete = false; // the file has ended after the document element
    qint64 FInputSinceToken = 0;
};

} // namespace Lockwyn
