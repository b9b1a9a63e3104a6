#include "Components.AppSettings.h"

#include "Platform.AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QKeySequence>
#include <QMetaProperty>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <stdexcept>

#include "Components.PersistentCollection.h"

namespace {

const QString RootElement = QStringLiteral("Settings");
const QString ItemsElement = QStringLiteral("Items");
const QString ItemElement = QStringLiteral("Item");
// Text that XML cannot carry (control characters, a carriage return, broken
// surrogates) is written as base64 of its UTF-16LE code units.
const QString FormatAttribute = QStringLiteral("format");
const QString Base64Format = QStringLiteral("base64-utf16le");

struct TValueCodec
{
    TAppSettings::TToText ToText;
    TAppSettings::TFromText FromText;
};

std::optional<QVariant> BoolFromText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(u"true", Qt::CaseInsensitive) == 0)
        return QVariant(true);
    if (t.compare(u"false", Qt::CaseInsensitive) == 0)
        return QVariant(false);
    return std::nullopt;
}

std::optional<QVariant> IntFromText(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<QVariant>(value) : std::nullopt;
}

// One key combination, or none at all.
std::optional<QVariant> KeySequenceFromText(const QString& text)
{
    const QKeySequence keys = QKeySequence::fromString(text.trimmed(), QKeySequence::PortableText);
    if (keys.count() > 1 || (keys.count() == 1 && keys[0].key() == Qt::Key_unknown))
        return std::nullopt;
    return QVariant::fromValue(keys);
}

QHash<int, TValueCodec>& Codecs()
{
    static QHash<int, TValueCodec> codecs{
        {QMetaType::Bool,
         {[](const QVariant& v) {
              return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
          },
          BoolFromText}},
        {QMetaType::Int,
         {[](const QVariant& v) { return QString::number(v.toInt()); }, IntFromText}},
        {QMetaType::QString,
         {[](const QVariant& v) { return v.toString(); },
          [](const QString& text) {
              return std::optional<QVariant>(text);
          }}},
        {QMetaType::QKeySequence,
         {[](const QVariant& v) {
              return v.value<QKeySequence>().toString(QKeySequence::PortableText);
          },
          KeySequenceFromText}},
    };
    return codecs;
}

bool IsXmlText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF)
            return false;
        if (QChar::isLowSurrogate(c))
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 == text.size() || !QChar::isLowSurrogate(text.at(i + 1).unicode()))
                return false;
            ++i;
        }
    }
    return true;
}

QByteArray Utf16LeBytes(const QString& text)
{
    return QStringEncoder(QStringConverter::Utf16LE).encode(text);
}

std::optional<QString> FromUtf16LeBytes(const QByteArray& bytes)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    return QStringDecoder(QStringConverter::Utf16LE).decode(bytes);
}

bool IsObjectProperty(const QMetaProperty& property)
{
    return property.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

bool IsStringList(const QMetaProperty& property)
{
    return property.metaType() == QMetaType::fromType<QStringList>();
}

// Whether the file keeps the property: stored, and either writable or an
// owned object whose own properties are read back.
bool IsKept(const QMetaProperty& property)
{
    return property.isStored() && (property.isWritable() || IsObjectProperty(property));
}

// The kept properties an object declares below QObject, in declaration order.
QList<QMetaProperty> KeptProperties(const QObject& object)
{
    QList<QMetaProperty> properties;
    const QMetaObject* meta = object.metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
        if (IsKept(meta->property(i)))
            properties.append(meta->property(i));
    return properties;
}

class TSettingsXmlWriter
{
public:
    explicit TSettingsXmlWriter(QIODevice* device) : FWriter(device)
    {
        FWriter.setAutoFormatting(true);
    }

    bool Write(const QObject& root)
    {
        FWriter.writeStartDocument();
        FWriter.writeStartElement(RootElement);
        WriteObject(root);
        FWriter.writeEndElement();
        FWriter.writeEndDocument();
        return !FWriter.hasError();
    }

private:
    void WriteObject(const QObject& object)
    {
        for (const QMetaProperty& property : KeptProperties(object)) {
            FWriter.writeStartElement(QString::fromLatin1(property.name()));
            WriteValue(property, property.read(&object));
            FWriter.writeEndElement();
        }
        if (auto* collection = qobject_cast<const TPersistentCollection*>(&object))
            WriteItems(*collection);
    }

    void WriteItems(const TPersistentCollection& collection)
    {
        FWriter.writeStartElement(ItemsElement);
        for (int i = 0; i < collection.ItemCount(); ++i) {
            FWriter.writeStartElement(ItemElement);
            WriteObject(*collection.ItemAt(i));
            FWriter.writeEndElement();
        }
        FWriter.writeEndElement();
    }

    void WriteValue(const QMetaProperty& property, const QVariant& value)
    {
        if (IsObjectProperty(property)) {
            if (const QObject* owned = value.value<QObject*>())
                WriteObject(*owned);
        } else if (IsStringList(property)) {
            for (const QString& item : value.toStringList()) {
                FWriter.writeStartElement(ItemElement);
                WriteText(item);
                FWriter.writeEndElement();
            }
        } else if (property.isEnumType()) {
            WriteText(QString::fromLatin1(property.enumerator().valueToKey(value.toInt())));
        } else {
            const auto codec = Codecs().constFind(property.metaType().id());
            if (codec == Codecs().constEnd())
                throw std::logic_error(std::string("No text form for the settings property ") +
                                       property.name());
            WriteText(codec->ToText(value));
        }
    }

    void WriteText(const QString& text)
    {
        if (IsXmlText(text)) {
            FWriter.writeCharacters(text);
            return;
        }
        FWriter.writeAttribute(FormatAttribute, Base64Format);
        FWriter.writeCharacters(QString::fromLatin1(Utf16LeBytes(text).toBase64()));
    }

    QXmlStreamWriter FWriter;
};

using TValidator = std::function<bool(const QObject&, const char*, const QVariant&)>;

// Reads what it can; anything it cannot take marks the file as damaged.
class TSettingsXmlReader
{
public:
    TSettingsXmlReader(const QByteArray& content, TValidator validator)
        : FReader(content), FValidator(std::move(validator))
    {
    }

    // True when every element of the file was taken.
    bool Read(QObject& root)
    {
        if (FReader.readNextStartElement() && FReader.name() == RootElement)
            ReadObject(root);
        else
            FDamaged = true;
        if (FReader.hasError())
            FDamaged = true;
        return !FDamaged;
    }

private:
    void ReadObject(QObject& object)
    {
        auto* collection = qobject_cast<TPersistentCollection*>(&object);
        while (FReader.readNextStartElement()) {
            const QByteArray name = FReader.name().toLatin1();
            const int index = object.metaObject()->indexOfProperty(name.constData());
            if (collection && FReader.name() == ItemsElement) {
                ReadItems(*collection);
            } else if (index >= QObject::staticMetaObject.propertyCount() &&
                       IsKept(object.metaObject()->property(index))) {
                ReadProperty(object, object.metaObject()->property(index));
            } else {
                Reject();
            }
        }
    }

    void ReadItems(TPersistentCollection& collection)
    {
        collection.ClearItems();
        while (FReader.readNextStartElement()) {
            if (FReader.name() == ItemElement)
                ReadObject(*collection.AppendItem());
            else
                Reject();
        }
    }

    void ReadProperty(QObject& object, const QMetaProperty& property)
    {
        if (IsObjectProperty(property)) {
            if (QObject* owned = property.read(&object).value<QObject*>())
                ReadObject(*owned);
            else
                Reject();
        } else if (IsStringList(property)) {
            ReadStringList(object, property);
        } else {
            const std::optional<QString> text = ReadText();
            const std::optional<QVariant> value = text ? FromText(property, *text) : std::nullopt;
            Take(object, property, value);
        }
    }

    void ReadStringList(QObject& object, const QMetaProperty& property)
    {
        QStringList list;
        while (FReader.readNextStartElement()) {
            if (FReader.name() != ItemElement) {
                Reject();
                continue;
            }
            if (const std::optional<QString> text = ReadText())
                list.append(*text);
            else
                FDamaged = true;
        }
        Take(object, property, QVariant(list));
    }

    static std::optional<QVariant> FromText(const QMetaProperty& property, const QString& text)
    {
        if (property.isEnumType()) {
            bool ok = false;
            const int value =
                property.enumerator().keyToValue(text.trimmed().toLatin1().constData(), &ok);
            return ok ? std::optional<QVariant>(value) : std::nullopt;
        }
        const auto codec = Codecs().constFind(property.metaType().id());
        if (codec == Codecs().constEnd())
            return std::nullopt;
        return codec->FromText(text);
    }

    void Take(QObject& object, const QMetaProperty& property, const std::optional<QVariant>& value)
    {
        if (!value || !FValidator(object, property.name(), *value) ||
            !property.write(&object, *value))
            FDamaged = true;
    }

    // The text of the current element; none when it holds elements or
    // undecodable base64.
    std::optional<QString> ReadText()
    {
        const bool base64 = FReader.attributes().value(FormatAttribute) == Base64Format;
        QString text;
        bool plain = true;
        while (!FReader.atEnd()) {
            const auto token = FReader.readNext();
            if (token == QXmlStreamReader::Characters) {
                text += FReader.text();
            } else if (token == QXmlStreamReader::StartElement) {
                plain = false;
                FReader.skipCurrentElement();
            } else if (token == QXmlStreamReader::EndElement) {
                break;
            }
        }
        if (!plain || FReader.hasError())
            return std::nullopt;
        if (!base64)
            return text;
        const auto decoded = QByteArray::fromBase64Encoding(
            text.trimmed().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        return decoded ? FromUtf16LeBytes(*decoded) : std::nullopt;
    }

    void Reject()
    {
        FDamaged = true;
        FReader.skipCurrentElement();
    }

    QXmlStreamReader FReader;
    TValidator FValidator;
    bool FDamaged = false;
};

} // namespace

TAppSettings::TAppSettings(QObject* parent) : QObject(parent) {}

QString TAppSettings::DamagedFileName(const QString& fileName)
{
    return fileName + QStringLiteral(".bad");
}

void TAppSettings::RegisterValueType(QMetaType type, TToText toText, TFromText fromText)
{
    Codecs().insert(type.id(), TValueCodec{std::move(toText), std::move(fromText)});
}

bool TAppSettings::IsAcceptableValue(const QObject&, const char*, const QVariant&) const
{
    return true;
}

TAppSettingsLoadResult TAppSettings::Load()
{
    const QString fileName = GetNameOfFile();
    QFile file(fileName);
    if (!QFileInfo(fileName).exists() && !QFileInfo(fileName).isSymLink())
        return TAppSettingsLoadResult::aslrMissing;
    QByteArray content;
    if (file.open(QIODevice::ReadOnly)) {
        content = file.readAll();
        file.close();
    } else {
        // Unreadable (no permission, a folder): move it aside before a save
        // could replace it.
        QFile::remove(DamagedFileName(fileName));
        QFile::rename(fileName, DamagedFileName(fileName));
        FLastError = file.errorString();
        return TAppSettingsLoadResult::aslrDamaged;
    }
    TSettingsXmlReader reader(
        content, [this](const QObject& owner, const char* name, const QVariant& value) {
            return IsAcceptableValue(owner, name, value);
        });
    if (reader.Read(*this))
        return TAppSettingsLoadResult::aslrLoaded;
    KeepDamagedFile(fileName, content);
    return TAppSettingsLoadResult::aslrDamaged;
}

// The damaged file stays in place until the next save; its copy beside it
// keeps what could not be read.
void TAppSettings::KeepDamagedFile(const QString& fileName, const QByteArray& content)
{
    Platform::TAtomicFile copy(DamagedFileName(fileName));
    if (!copy.Open() || !copy.Write(content) || !copy.Commit())
        FLastError = copy.Error().Reason;
}

bool TAppSettings::Save()
{
    const QString fileName = GetNameOfFile();
    if (fileName.isEmpty()) {
        FLastError = QStringLiteral("No settings file name");
        return false;
    }
    // It names the user's databases: for the user's eyes only.
    Platform::MakePrivateFolder(QFileInfo(fileName).absolutePath());
    Platform::TAtomicFile file(fileName);
    if (!file.Open()) {
        FLastError = file.Error().Reason;
        return false;
    }
    if (!TSettingsXmlWriter(&file.Device()).Write(*this)) {
        FLastError = QStringLiteral("Cannot write the settings to %1").arg(fileName);
        return false;
    }
    if (!file.Commit()) {
        FLastError = file.Error().Reason;
        return false;
    }
    FLastError.clear();
    return true;
}
