#include "ConvertLib.XmlOutput.h"

#include <QIODevice>

namespace Lockwyn {

namespace {

constexpr qsizetype FlushSize = qsizetype(1) << 19;

} // namespace

TXmlOutput::TXmlOutput(QIODevice& device) : FDevice(device)
{
    FBuffer.reserve(FlushSize + 4096);
    FBuffer += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
}

void TXmlOutput::StartElement(const QString& name)
{
    CloseStartTag();
    NewLine();
    FBuffer += u'<';
    FBuffer += name;
    FOpen.append(name);
    FStartTagOpen = true;
}

void TXmlOutput::Attribute(const QString& name, const QString& value)
{
    FBuffer += u' ';
    FBuffer += name;
    FBuffer += QStringLiteral("=\"");
    Escape(value, true);
    FBuffer += u'"';
}

void TXmlOutput::EndElement()
{
    const QString name = FOpen.takeLast();
    if (FStartTagOpen) {
        FBuffer += QStringLiteral("/>");
        FStartTagOpen = false;
    } else {
        NewLine();
        FBuffer += QStringLiteral("</");
        FBuffer += name;
        FBuffer += u'>';
    }
    FlushWhenFull();
}

void TXmlOutput::TextElement(const QString& name, const QString& text)
{
    TextElement(name, QString(), QString(), text);
}

void TXmlOutput::TextElement(const QString& name, const QString& attribute,
                             const QString& attributeValue, const QString& text)
{
    StartElement(name);
    if (!attribute.isEmpty())
        Attribute(attribute, attributeValue);
    FOpen.removeLast();
    FStartTagOpen = false;
    if (text.isEmpty()) {
        FBuffer += QStringLiteral("/>");
    } else {
        FBuffer += u'>';
        Escape(text, false);
        FBuffer += QStringLiteral("</");
        FBuffer += name;
        FBuffer += u'>';
    }
    FlushWhenFull();
}

bool TXmlOutput::Finish()
{
    CloseStartTag();
    FBuffer += u'\n';
    Flush();
    return !FFailed;
}

void TXmlOutput::CloseStartTag()
{
    if (!FStartTagOpen)
        return;
    FBuffer += u'>';
    FStartTagOpen = false;
}

void TXmlOutput::NewLine()
{
    FBuffer += u'\n';
    FBuffer.resize(FBuffer.size() + FOpen.size(), u' ');
}

void TXmlOutput::Escape(const QString& text, bool attribute)
{
    qsizetype plain = 0;
    const auto flushPlain = [&](qsizetype end) {
        FBuffer.append(QStringView(text).mid(plain, end - plain));
        plain = end + 1;
    };
    const char16_t* chars = QStringView(text).utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = chars[i];
        if (c > u'>')
            continue;
        const char* reference = nullptr;
        switch (c) {
        case u'&':
            reference = "&amp;";
            break;
        case u'<':
            reference = "&lt;";
            break;
        case u'>':
            reference = "&gt;";
            break;
        case u'\r':
            reference = "&#13;";
            break;
        case u'"':
            reference = attribute ? "&quot;" : nullptr;
            break;
        case u'\n':
            reference = attribute ? "&#10;" : nullptr;
            break;
        case u'\t':
            reference = attribute ? "&#9;" : nullptr;
            break;
        default:
            break;
        }
        if (reference) {
            flushPlain(i);
            FBuffer += QLatin1String(reference);
        }
    }
    flushPlain(text.size());
}

void TXmlOutput::FlushWhenFull()
{
    if (FBuffer.size() >= FlushSize)
        Flush();
}

void TXmlOutput::Flush()
{
    const QByteArray bytes = FBuffer.toUtf8();
    if (FDevice.write(bytes) != bytes.size())
        FFailed = true;
    FBuffer.resize(0);
}

} // namespace Lockwyn
