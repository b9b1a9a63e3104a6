#pragma once
// The list behind a custom-property set, a template or a history: a list of
// its own, a read-only copy of a stored object's list, or the live list of a
// detached object (kept alive through FOwner).

#include <QList>

#include <memory>
#include <stdexcept>

namespace Lockwyn {

template <typename T> class TListAccess
{
public:
    static TListAccess Own(QList<T> items = {}) { return TListAccess(std::move(items), false); }
    static TListAccess ReadOnly(QList<T> items) { return TListAccess(std::move(items), true); }
    static TListAccess Live(std::shared_ptr<void> owner, QList<T>* items)
    {
        TListAccess access({}, false);
        access.FOwner = std::move(owner);
        access.FItems = items;
        return access;
    }

    TListAccess(TListAccess&& other) noexcept { *this = std::move(other); }
    TListAccess& operator=(TListAccess&& other) noexcept
    {
        FOwner = std::move(other.FOwner);
        FOwn = std::move(other.FOwn);
        FReadOnly = other.FReadOnly;
        FItems = other.FItems == &other.FOwn ? &FOwn : other.FItems;
        return *this;
    }
    TListAccess(const TListAccess&) = delete;
    TListAccess& operator=(const TListAccess&) = delete;

    const QList<T>& Get() const { return *FItems; }
    QList<T>& Edit()
    {
        if (FReadOnly)
            throw std::logic_error("A stored object changes only through an operation");
        return *FItems;
    }

private:
    TListAccess(QList<T> items, bool readOnly) : FOwn(std::move(items)), FReadOnly(readOnly) {}

    std::shared_ptr<void> FOwner;
    QList<T> FOwn;
    QList<T>* FItems = &FOwn;
    bool FReadOnly = false;
};

} // namespace Lockwyn
