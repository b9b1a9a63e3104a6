#include "ConvertLib.XmlInput.h"

namespace Lockwyn {

bool TXmlInput::Open(const QString& fileName)
{
    FFile.setFileName(fileName);
    if (!FFile.open(QIODevice::ReadOnly) || FFile.size() > MaxFileSize)
        return false;
    FReader.setDevice(&FFile);
    return true;
}

// Reads one token, keeping the depth and refusing what the class refuses.
QXmlStreamReader::TokenType TXmlInput::Next()
{
    if (Failed())
        return QXmlStreamReader::Invalid;
    const auto token = FReader.readNext();
    switch (token) {
    case QXmlStreamReader::StartElement:
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
    while (!FReader.atEnd() && Next() != QXmlStreamReader::Invalid) {
    }
    return !Failed();
}

} // namespace Lockwyn
