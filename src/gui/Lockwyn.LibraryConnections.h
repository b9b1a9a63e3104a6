#pragma once
// The five companion libraries: which file each connection loads, how its
// errors read in the user's language, and the accessors the program reaches
// them through. Each library is loaded on the first call of its accessor.

#include <QString>

#include <memory>

#include "BrowserScanLib.Interfaces.h"
#include "Components.InterfacedLibLoader.h"
#include "ConvertLib.Interfaces.h"
#include "FormFillLib.Interfaces.h"
#include "LockwynLib.Interfaces.h"
#include "UrlRegistryLib.Interfaces.h"

class TLibraryErrorMessages
{
public:
    // The text of a load error from the UI string table.
    static QString GetLibraryErrorMessage(TInterfacedLibLoaderError error,
                                          const QString& libraryFileName,
                                          const QString& mainFunctionName);

    // "LockwynLib" -> "LockwynLib.so" ("LockwynLib.dll" on Windows).
    static QString LibraryFileName(const QString& baseName);
};

// A loader whose errors are worded by TLibraryErrorMessages. The most derived
// class names the file and calls Load in its constructor.
template <typename T> class TLibraryConnection : public TInterfacedLibLoader<T>
{
protected:
    QString GetErrorMessage(TInterfacedLibLoaderError error) const override
    {
        return TLibraryErrorMessages::GetLibraryErrorMessage(error, this->GetLibraryFileName(),
                                                             this->GetMainFunctionName());
    }
};

class TLockwynLibConnectionBase : public TLibraryConnection<Lockwyn::ILockwyn>
{
public:
    TLockwynLibConnectionBase();

protected:
    QString GetLibraryFileName() const override;
};

class TConvertLibConnectionBase : public TLibraryConnection<Lockwyn::IEximConvertersList>
{
public:
    TConvertLibConnectionBase();

protected:
    QString GetLibraryFileName() const override;
};

class TWebAutoLoginConnectionBase : public TLibraryConnection<Lockwyn::IWebAutoLogin>
{
public:
    TWebAutoLoginConnectionBase();

protected:
    QString GetLibraryFileName() const override;
};

class TWebSitesDBConnectionBase : public TLibraryConnection<Lockwyn::IWebSitesDB>
{
public:
    TWebSitesDBConnectionBase();

protected:
    QString GetLibraryFileName() const override;
};

class TAppEnumeratorConnectionBase : public TLibraryConnection<Lockwyn::IAppEnumerator>
{
public:
    TAppEnumeratorConnectionBase();

protected:
    QString GetLibraryFileName() const override;
};

// Each loads its library on first use and throws ELibraryLoadError when that
// fails; the next call tries again.
std::shared_ptr<Lockwyn::ILockwyn> GetLockwyn();
std::shared_ptr<Lockwyn::IEximConvertersList> GetConvertLib();
std::shared_ptr<Lockwyn::IWebAutoLogin> GetWebAutoLogin();
std::shared_ptr<Lockwyn::IWebSitesDB> GetWebSitesDB();
std::shared_ptr<Lockwyn::IAppEnumerator> GetAppEnumerator();

// Frees the five connections (interfaces first, then the libraries); called at
// program end.
void ReleaseLibraryConnections();
