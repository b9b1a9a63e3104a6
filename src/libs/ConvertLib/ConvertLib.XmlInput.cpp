#include "ConvertLib.XmlInput.h"

namespace Lockwyn {

bool TXmlInput::Open(const QString& fileName)
{
    FFile.setFileName(fileName);
    return FFile.open(QIODevice::ReadOnly) && FFile.size() <= MaxFileSize;
}

QXmlStreamReader::TokenType TXmlInput::ReadToken()
{
    auto token = FReader.readNext();
    while (token == QXmlStreamReader::Invalid &&
           FReader.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
        if (FInputSinceToken > MaxTokenInput || FFile.pos() > MaxFileSize) {
            FRefused = true;
            return QXmlStreamReader::Invalid;
        }
        const QByteArray piece = FFile.read(PieceSize);
        if (piece.isEmpty()) {
            // Fed in pieces, the reader cannot tell the end of the file from a
            // pause; the document is complete when its element has closed.
            FComplete = FSeenElement && FDepth == 0;
            return FComplete ? QXmlStreamReader::EndDocument : QXmlStreamReader::Invalid;
        }
        FInputSinceToken += piece.size();
        FReader.addData(piece);
        token = FReader.readNext();
    }
    if (token != QXmlStreamReader::Invalid)
        FInputSinceToken = 0;
    return token;
}

// Reads one token, keeping the depth and refusing what the class refuses.
QXmlStreamReader::TokenType TXmlInput::Next()
{
    if (Failed())
        return QXmlStreamReader::Invalid;
    const auto token = ReadToken();
    switch (token) {
    case QXmlStreamReader::StartElement:
        FSeenElement = true;
        if (++FDepth > MaxDepth)
            FRefused = true;
        break;
    case QXmlStreamReader::EndElement:
        --FDepth;
        break;
    case QXmlStreamReader::DTD:
    case QXmlStreamReader::EntityReference:
        FRefused = true;
        break;
    default:
        break;
    }
    return Failed() ? QXmlStreamReader::Invalid : token;
}

bool TXmlInput::ReadNextChild()
{
    for (;;) {
        switch (Next()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::EndElement:
        case QXmlStreamReader::EndDocument:
        case QXmlStreamReader::Invalid:
            return false;
        default:
            break;
        }
    }
}

QString TXmlInput::Attribute(QStringView name) const
{
    return FReader.attributes().value(name.toString()).toString();
}

QString TXmlInput::ReadText()
{
    QString text;
    for (;;) {
        switch (Next()) {
        case QXmlStreamReader::Characters:
            text += FReader.text();
            if (text.size() > MaxTextLength)
                FRefused = true;
            break;
        case QXmlStreamReader::EndElement:
            return text;
        case QXmlStreamReader::StartElement:
            FRefused = true;
            return {};
        case QXmlStreamReader::Invalid:
        case QXmlStreamReader::EndDocument:
            return {};
        default:
            break;
        }
    }
}

void TXmlInput::Skip()
{
    const int depth = FDepth;
    while (FDepth >= depth && Next() != QXmlStreamReader::Invalid) {
    }
}

bool TXmlInput::Finish()
{
    for (auto token = Next();
         token != QXmlStreamReader::Invalid && token != QXmlStreamReader::EndDocument;
         token = Next()) {
    }
    return !Failed();
}

} // namespace Lockwyn
