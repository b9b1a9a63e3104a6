#include "Lockwyn.LibraryConnections.h"

#include "Components.Singleton.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LocalizedStrings.h"

QString TLibraryErrorMessages::GetLibraryErrorMessage(TInterfacedLibLoaderError error,
                                                      const QString& libraryFileName,
                                                      const QString& mainFunctionName)
{
    const TLocalizedStrings& strings = LocalizedStrings();
    switch (error) {
    case TInterfacedLibLoaderError::lleCannotLoadLibrary:
        return Lockwyn::Format(strings.FCannotLoadLibraryError, libraryFileName);
    case TInterfacedLibLoaderError::lleCannotGetMainFunction:
        return Lockwyn::Format(strings.FCannotGetMainFunctionError, mainFunctionName);
    case TInterfacedLibLoaderError::lleCannotGetMainInterface:
        break;
    }
    return Lockwyn::Format(strings.FCannotGetMainInterfaceError, libraryFileName);
}

QString TLibraryErrorMessages::LibraryFileName(const QString& baseName)
{
#ifdef Q_OS_WIN
    return baseName + QStringLiteral(".dll");
#else
    return baseName + QStringLiteral(".so");
#endif
}

TLockwynLibConnectionBase::TLockwynLibConnectionBase()
{
    Load();
}
QString TLockwynLibConnectionBase::GetLibraryFileName() const
{
    return TLibraryErrorMessages::LibraryFileName(QStringLiteral("LockwynLib"));
}

TConvertLibConnectionBase::TConvertLibConnectionBase()
{
    Load();
    // Imports build their group trees with the storage library's objects.
    MainInterface()->SetObjectFactory(GetLockwyn()->GetObjectFactory());
}
QString TConvertLibConnectionBase::GetLibraryFileName() const
{
    return TLibraryErrorMessages::LibraryFileName(QStringLiteral("ConvertLib"));
}

TWebAutoLoginConnectionBase::TWebAutoLoginConnectionBase()
{
    Load();
}
QString TWebAutoLoginConnectionBase::GetLibraryFileName() const
{
    return TLibraryErrorMessages::LibraryFileName(QStringLiteral("FormFillLib"));
}

TWebSitesDBConnectionBase::TWebSitesDBConnectionBase()
{
    Load();
}
QString TWebSitesDBConnectionBase::GetLibraryFileName() const
{
    return TLibraryErrorMessages::LibraryFileName(QStringLiteral("UrlRegistryLib"));
}

TAppEnumeratorConnectionBase::TAppEnumeratorConnectionBase()
{
    Load();
}
QString TAppEnumeratorConnectionBase::GetLibraryFileName() const
{
    return TLibraryErrorMessages::LibraryFileName(QStringLiteral("BrowserScanLib"));
}

std::shared_ptr<Lockwyn::ILockwyn> GetLockwyn()
{
    return TSingleton<TLockwynLibConnectionBase>::Instance().MainInterface();
}

std::shared_ptr<Lockwyn::IEximConvertersList> GetConvertLib()
{
    return TSingleton<TConvertLibConnectionBase>::Instance().MainInterface();
}

std::shared_ptr<Lockwyn::IWebAutoLogin> GetWebAutoLogin()
{
    return TSingleton<TWebAutoLoginConnectionBase>::Instance().MainInterface();
}

std::shared_ptr<Lockwyn::IWebSitesDB> GetWebSitesDB()
{
    return TSingleton<TWebSitesDBConnectionBase>::Instance().MainInterface();
}

std::shared_ptr<Lockwyn::IAppEnumerator> GetAppEnumerator()
{
    return TSingleton<TAppEnumeratorConnectionBase>::Instance().MainInterface();
}

void ReleaseLibraryConnections()
{
    TSingleton<TAppEnumeratorConnectionBase>::Release();
    TSingleton<TWebSitesDBConnectionBase>::Release();
    TSingleton<TWebAutoLoginConnectionBase>::Release();
    TSingleton<TConvertLibConnectionBase>::Release();
    TSingleton<TLockwynLibConnectionBase>::Release();
}
