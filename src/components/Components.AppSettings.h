#pragma once
// Base of settings objects: every stored, writable property (Q_PROPERTY,
// STORED true by default) declared below QObject is written to an XML file
// under its name and read back. Owned QObject values are written as nested elements with their own
// stored properties, collections (TPersistentCollection) with their items.
//
// Loading never loses what the user had: values that cannot be read keep
// their current (default) value, everything readable is taken, and a damaged
// file is kept beside the settings file as "<name>.bad".

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class QMetaProperty;

enum class TAppSettingsLoadResult
{
    aslrLoaded,  // the file was read completely
    aslrMissing, // there is no file; nothing changed
    aslrDamaged, // parts could not be read; the file was kept as "<name>.bad"
};

class TAppSettings : public QObject
{
    Q_OBJECT
public:
    using TToText = std::function<QString(const QVariant&)>;
    // Returns no value when the text is not a valid value of the type.
    using TFromText = std::function<std::optional<QVariant>(const QString&)>;

    explicit TAppSettings(QObject* parent = nullptr);

    TAppSettingsLoadResult Load();
    // Replaces the file atomically: a failed or interrupted save leaves the
    // previous file as it was. Returns false and sets LastError on failure.
    bool Save();
    QString LastError() const { return FLastError; }

    virtual QString GetNameOfFile() const = 0;
    static QString DamagedFileName(const QString& fileName);

    // Teaches the settings the text form of a property type beyond bool, int,
    // QString, QStringList, QKeySequence, enumerations and owned objects.
    static void RegisterValueType(QMetaType type, TToText toText, TFromText fromText);

protected:
    // Lets a derived class refuse a value that was read but is out of range
    // for the property `name` of `owner` (this object or one it owns).
    virtual bool IsAcceptableValue(const QObject& owner, const char* name,
                                   const QVariant& value) const;

private:
    void KeepDamagedFile(const QString& fileName, const QByteArray& content);

    QString FLastError;
};
