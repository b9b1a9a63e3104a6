#pragma once
// Writes XML to a device quickly: the text is built in memory, escaped on the
// way, and goes out as UTF-8 in large pieces. Elements hold either text or
// child elements; children are indented one space per level. A carriage
// return is written as a character reference, which readers keep where they
// would turn a literal one into a line feed. The caller keeps out characters
// that XML 1.0 cannot hold at all.

#include <QString>
#include <QStringList>

class QIODevice;

namespace Lockwyn {

class TXmlOutput
{
public:
    explicit TXmlOutput(QIODevice& device);

    void StartElement(const QString& name);
    // Only right after StartElement.
    void Attribute(const QString& name, const QString& value);
    void EndElement();
    void TextElement(const QString& name, const QString& text);
    void TextElement(const QString& name, const QString& attribute, const QString& attributeValue,
                     const QString& text);
    // Writes what is left; false when the device failed at any point.
    bool Finish();

private:
    void CloseStartTag();
    void NewLine();
    void Escape(const QString& text, bool attribute);
    void FlushWhenFull();
    void Flush();

    QIODevice& FDevice;
    QString FBuffer;
    QStringList FOpen;
    bool FStartTagOpen = false;
    bool FFailed = false;
};

} // namespace Lockwyn
