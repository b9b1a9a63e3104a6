#pragma once
// Loads a companion library, fetches its root interface through the exported
// entry and releases both again. A derived class names the file and words the
// errors; its constructor calls Load, so a failed load throws and leaves
// nothing loaded.

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QString>

#include <memory>
#include <stdexcept>

#include "Platform.Paths.h"

enum class TInterfacedLibLoaderError
{
    lleCannotLoadLibrary,
    lleCannotGetMainFunction,
    lleCannotGetMainInterface,
};

class ELibraryLoadError : public std::runtime_error
{
public:
    explicit ELibraryLoadError(const QString& message) : std::runtime_error(message.toStdString())
    {
    }
};

// How many loaders hold each library file. Never freed: loaders held by
// static singletons unload during static destruction, after a plain static
// table could be gone.
inline QHash<QString, int>& LibraryUseCounts()
{
    static auto* counts = new QHash<QString, int>;
    return *counts;
}

template <typename T> class TInterfacedLibLoader
{
public:
    using TMainFunction = void (*)(std::shared_ptr<T>*);

    TInterfacedLibLoader() = default;
    TInterfacedLibLoader(const TInterfacedLibLoader&) = delete;
    TInterfacedLibLoader& operator=(const TInterfacedLibLoader&) = delete;
    virtual ~TInterfacedLibLoader() { Unload(); }

    const std::shared_ptr<T>& MainInterface() const { return FMainInterface; }

protected:
    virtual QString GetLibraryFileName() const = 0;
    virtual QString GetMainFunctionName() const { return QStringLiteral("GetInstance"); }
    virtual QString GetErrorMessage(TInterfacedLibLoaderError error) const
    {
        switch (error) {
        case TInterfacedLibLoaderError::lleCannotLoadLibrary:
            return QStringLiteral("Cannot load library %1").arg(GetLibraryFileName());
        case TInterfacedLibLoaderError::lleCannotGetMainFunction:
            return QStringLiteral("Cannot get the main function named %1")
                .arg(GetMainFunctionName());
        case TInterfacedLibLoaderError::lleCannotGetMainInterface:
            break;
        }
        return QStringLiteral("Cannot get the main interface from %1").arg(GetLibraryFileName());
    }

    // Called by the most derived constructor, where the virtual names resolve.
    void Load()
    {
        try {
            FLibrary.setFileName(LocateLibrary(GetLibraryFileName()));
            if (!FLibrary.load())
                Fail(TInterfacedLibLoaderError::lleCannotLoadLibrary);
            ++LibraryUseCounts()[FLibrary.fileName()];
            auto entry = reinterpret_cast<TMainFunction>(
                FLibrary.resolve(GetMainFunctionName().toLatin1().constData()));
            if (!entry)
                Fail(TInterfacedLibLoaderError::lleCannotGetMainFunction);
            entry(&FMainInterface);
            if (!FMainInterface)
                Fail(TInterfacedLibLoaderError::lleCannotGetMainInterface);
        } catch (...) {
            Unload();
            throw;
        }
    }

private:
    [[noreturn]] void Fail(TInterfacedLibLoaderError error) const
    {
        throw ELibraryLoadError(GetErrorMessage(error));
    }

    // The program's own folder, then the folder an installation puts the
    // libraries in; never the system's search path, where a file of that
    // name could be anybody's. A name with a folder is taken as it is.
    static QString LocateLibrary(const QString& fileName)
    {
        if (!QFileInfo(fileName).isRelative())
            return fileName;
        const QString programDir = Platform::ExecutableDir();
        const QFileInfo own(programDir + QLatin1Char('/') + fileName);
        const QFileInfo installed(programDir + QStringLiteral("/../lib/lockwyn/") + fileName);
        return own.exists() || !installed.exists() ? own.absoluteFilePath()
                                                   : installed.absoluteFilePath();
    }

    // The interface is released before its code is unmapped. QLibrary
    // unmaps on the first unload even while other loaders of the same file
    // still hold objects from it, so the loaders count their uses.
    void Unload()
    {
        FMainInterface.reset();
        if (!FLibrary.isLoaded())
            return;
        auto use = LibraryUseCounts().find(FLibrary.fileName());
        if (use != LibraryUseCounts().end() && --use.value() > 0)
            return;
        LibraryUseCounts().remove(FLibrary.fileName());
        FLibrary.unload();
    }

    std::shared_ptr<T> FMainInterface;
    QLibrary FLibrary;
};
