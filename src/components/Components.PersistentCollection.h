#pragma once
// A list of owned items that TAppSettings stores as an "Items" element, one
// "Item" per entry holding the item's stored properties.

#include <QList>
#include <QObject>

class TPersistentCollection : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual int ItemCount() const = 0;
    virtual QObject* ItemAt(int index) const = 0;
    // Appends an item with the values an item has at creation.
    virtual QObject* AppendItem() = 0;
    virtual void ClearItems() = 0;
};

template <typename TItem> class TPersistentCollectionOf : public TPersistentCollection
{
public:
    using TPersistentCollection::TPersistentCollection;

    int ItemCount() const override { return int(FItems.size()); }
    TItem* ItemAt(int index) const override { return FItems.at(index); }
    TItem* AppendItem() override
    {
        auto* item = new TItem(this);
        FItems.append(item);
        return item;
    }
    void ClearItems() override
    {
        qDeleteAll(FItems);
        FItems.clear();
    }
    const QList<TItem*>& Items() const { return FItems; }

private:
    QList<TItem*> FItems;
};
