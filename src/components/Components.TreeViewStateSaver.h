#pragma once
// Remembers which nodes of a tree were expanded and which was selected, by
// node path: the path elements from the top-level ancestor down to the node,
// joined with "\". With path encryption a non-empty path is stored as its
// SHA-1 digest, so the store holds no node captions in readable form.

#include <QModelIndex>
#include <QObject>
#include <QString>

#include <functional>

#include "Components.PersistentCollection.h"

class QTreeView;

class TTreeViewStateSaverItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Path READ Path WRITE SetPath)
    Q_PROPERTY(bool Expanded READ Expanded WRITE SetExpanded)

public:
    using QObject::QObject;

    QString Path() const { return FPath; }
    void SetPath(const QString& value) { FPath = value; }
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool value) { FExpanded = value; }

private:
    QString FPath;
    bool FExpanded = false;
};

class TTreeViewStateSaver : public TPersistentCollectionOf<TTreeViewStateSaverItem>
{
    Q_OBJECT
    Q_PROPERTY(QString SelectedItemPath READ SelectedItemPath WRITE SetSelectedItemPath)

public:
    // A node's path element; without one the node's caption is used.
    using TGetItemTextFunc = std::function<QString(const QModelIndex& node)>;

    explicit TTreeViewStateSaver(bool AEncryptPath, QObject* parent = nullptr);
    TTreeViewStateSaver(TGetItemTextFunc AGetItemTextFunc, bool AEncryptPath,
                        QObject* parent = nullptr);

    QString SelectedItemPath() const { return FSelectedItemPath; }
    void SetSelectedItemPath(const QString& value) { FSelectedItemPath = value; }
    bool EncryptPath() const { return FEncryptPath; }

    void AddItem(const QString& path, bool expanded);

    QString GetNodePath(const QModelIndex& node) const;
    // The stored form of a path: as it is, or its digest with path encryption.
    QString StoredPath(const QString& path) const;
    // SHA-1 of the UTF-16LE bytes as 40 upper-case hexadecimal digits; an
    // empty path stays empty.
    static QString PathDigest(const QString& path);

    // Replaces the items by every node of the tree in tree order; the selected
    // node's path becomes SelectedItemPath (kept when nothing is selected).
    void SaveTreeViewState(const QTreeView* treeView);
    // Applies the stored expansion to the nodes with matching paths, then
    // selects the stored node. True when at least one item matched.
    bool LoadTreeViewState(QTreeView* treeView) const;

private:
    QString GetItemText(const QModelIndex& node) const;

    bool FEncryptPath;
    TGetItemTextFunc FGetItemTextFunc;
    QString FSelectedItemPath;
};
