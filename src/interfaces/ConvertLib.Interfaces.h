#pragma once
// Root interface of ConvertLib: the import and export converters, addressed by
// a fixed index:
//   0 "Lockwyn XML"            export and import
//   1 "Plain Text File"        export
//   2                          none
//   3 "KeePass 2.x XML"        import
//   4 "Password Safe 3.x XML"  import

#include "LockwynLib.Interfaces.h"

#include <QString>

#include <memory>

namespace Lockwyn {

class IConverter
{
public:
    virtual ~IConverter() = default;
    // The format's display name and its file-dialog mask ("*.xml").
    virtual QString GetFormatName() = 0;
    virtual QString GetFileMask() = 0;
    virtual bool GetCanExport() = 0;
    virtual bool GetCanImport() = 0;
    // Writes the whole database. False when the file could not be written, in
    // which case no file (and no partial file) is left at that place.
    virtual bool Export(const std::shared_ptr<ITokenStorage>& storage, const QString& fileName) = 0;
    // A new, detached group tree built from the file, with new IDs; the root's
    // tokens and groups are what the file holds. Nil when the file does not have
    // the converter's format (or is damaged).
    virtual std::shared_ptr<ITokenGroup> Import(const QString& fileName) = 0;
    // The data-format version found in the file last imported; 0 before.
    virtual int GetImportedVersion() = 0;
};

class IEximConvertersList
{
public:
    virtual ~IEximConvertersList() = default;
    // The converter of that index, or nil.
    virtual std::shared_ptr<IConverter> GetConverter(int index) = 0;
    // Imports build their trees with the storage library's object factory: the
    // host hands it over once after loading both libraries. Without it, Import
    // gives nil.
    virtual void SetObjectFactory(const std::shared_ptr<IObjectFactory>& factory) = 0;
};

} // namespace Lockwyn
