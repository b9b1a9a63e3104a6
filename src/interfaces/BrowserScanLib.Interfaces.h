#pragma once
// Root interface of BrowserScanLib: the web browsers installed for the user,
// with their names, program files and icons, and the system's default one.

#include <QIcon>
#include <QString>

#include <memory>

namespace Lockwyn {

// Loads the icon on first use; a null icon when the application has none.
class IAppIcon
{
public:
    virtual ~IAppIcon() = default;
    virtual QIcon GetIcon() = 0;
};

class IAppInfo
{
public:
    virtual ~IAppInfo() = default;
    virtual QString GetName() = 0;
    // The absolute program file that starts the application.
    virtual QString GetPath() = 0;
    virtual std::shared_ptr<IAppIcon> GetIcon() = 0;
};

class IBrowserInfo : public IAppInfo
{
public:
    // True when both start the same program file once links are resolved;
    // names play no part. False for nil.
    virtual bool IsSameBrowser(const std::shared_ptr<IBrowserInfo>& other) = 0;
};

class IBrowserItems
{
public:
    virtual ~IBrowserItems() = default;
    virtual int Count() = 0;
    // Nil outside 0 .. Count - 1.
    virtual std::shared_ptr<IBrowserInfo> Items(int index) = 0;
};

// Lets a range-for walk the items: for (const auto& browser : *items).
class TBrowserItemsIterator
{
public:
    TBrowserItemsIterator(IBrowserItems& items, int index) : FItems(&items), FIndex(index) {}
    std::shared_ptr<IBrowserInfo> operator*() const { return FItems->Items(FIndex); }
    TBrowserItemsIterator& operator++()
    {
        ++FIndex;
        return *this;
    }
    bool operator==(const TBrowserItemsIterator& other) const { return FIndex == other.FIndex; }

private:
    IBrowserItems* FItems;
    int FIndex;
};

inline TBrowserItemsIterator begin(IBrowserItems& items)
{
    return {items, 0};
}

inline TBrowserItemsIterator end(IBrowserItems& items)
{
    return {items, items.Count()};
}

class IBrowserList
{
public:
    virtual ~IBrowserList() = default;
    // Scans the installed browsers again. The list scans once by itself,
    // when it is first read.
    virtual void Refresh() = 0;
    // Nil when the system names no installed browser.
    virtual std::shared_ptr<IBrowserInfo> GetDefaultBrowser() = 0;
    // Sorted by name. Items handed out stay valid after a Refresh.
    virtual std::shared_ptr<IBrowserItems> GetItems() = 0;
};

class IAppEnumerator
{
public:
    virtual ~IAppEnumerator() = default;
    virtual std::shared_ptr<IBrowserList> GetBrowsers() = 0;
};

} // namespace Lockwyn
