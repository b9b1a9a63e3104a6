#pragma once
// A drop-down list of recently used files: each entry shows the file's name
// in large type, its folder below and its modification time, newest day
// first. TOvRecentItems is the list model, also used on its own to carry
// the list into and out of the settings.

#include <QComboBox>
#include <QDateTime>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStyledItemDelegate>

#include <functional>
#include <memory>
#include <vector>

class TOvRecentItem
{
public:
    TOvRecentItem() = default;
    TOvRecentItem(const QString& fileName, int iconIndex, const QDateTime& timeStamp)
        : FFileName(fileName), FIconIndex(iconIndex), FTimeStamp(timeStamp)
    {
    }

    const QString& FileName() const { return FFileName; }
    int IconIndex() const { return FIconIndex; }
    // The file's modification time when it was added; invalid when unknown.
    const QDateTime& TimeStamp() const { return FTimeStamp; }

private:
    QString FFileName;
    int FIconIndex = -1;
    QDateTime FTimeStamp;
};

class TOvRecentItems
{
public:
    TOvRecentItems() = default;
    TOvRecentItems(const TOvRecentItems&) = delete;
    TOvRecentItems& operator=(const TOvRecentItems&) = delete;

    // Raised after every change of the list.
    std::function<void()> OnUpdate;

    int Count() const { return int(FItems.size()); }
    const TOvRecentItem& GetItem(int index) const { return *FItems.at(std::size_t(index)); }
    // Copies the other entry's fields into the entry at index.
    void SetItem(int index, const TOvRecentItem& item);

    // Appends an entry and sorts the list; returns the entry.
    const TOvRecentItem& Add(const QString& fileName, int iconIndex, const QDateTime& timeStamp);
    // The time stamp is the file's modification time, or now when that
    // cannot be read.
    const TOvRecentItem& Add(const QString& fileName, int iconIndex = -1);
    // Adds each name whose file exists; other names are skipped.
    void AddFileNames(const QStringList& fileNames, int iconIndex = -1);
    void GetFileNames(QStringList& fileNames) const;
    // Index of the first entry naming the same file, compared as full paths
    // without regard to letter case; -1 when there is none.
    int IndexOf(const QString& fileName) const;
    void Delete(int index);
    void RemoveNonExisted();
    void Clear();
    // Copies the entries of another list.
    void Assign(const TOvRecentItems& source);
    // Newest day first; entries of the same day keep their order.
    void Sort();

private:
    void Changed();
    void SortSilently();

    std::vector<std::unique_ptr<TOvRecentItem>> FItems;
};

// Draws and measures the entries of the open list.
class TOvRecentFilesComboBox;

class TOvRecentFileItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit TOvRecentFileItemDelegate(TOvRecentFilesComboBox* comboBox);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void DrawEntry(QPainter* painter, const QStyleOptionViewItem& option, int row) const;

    TOvRecentFilesComboBox* FComboBox;
};

class TOvRecentFilesComboBox : public QComboBox
{
    Q_OBJECT
public:
    using TDrawItemEvent =
        std::function<void(QPainter* painter, const QStyleOptionViewItem& option, int index)>;
    using TMeasureItemEvent = std::function<int(int index)>;

    static constexpr int DropDownCount = 10;

    explicit TOvRecentFilesComboBox(QWidget* parent = nullptr);

    TOvRecentItems& Items() { return FItems; }
    const TOvRecentItems& Items() const { return FItems; }

    // Icons drawn before the entries, picked by each entry's icon index. An
    // empty list draws no icons and leaves no room for them.
    const QList<QIcon>& Images() const { return FImages; }
    void SetImages(const QList<QIcon>& images);

    bool BlockItemChangeOnMouseWheel() const { return FBlockItemChangeOnMouseWheel; }
    void SetBlockItemChangeOnMouseWheel(bool block) { FBlockItemChangeOnMouseWheel = block; }

    // Height of an entry of the open list.
    int ItemHeight() const;

    // The full file name of the selected entry, or an empty string.
    QString SelectedFileName() const;

    // User-supplied drawing and measuring; each replaces the built-in one.
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ItemsUpdated();
    int DropDownHeight() const;
    void PlacePopup(QWidget* container, int height) const;

    TOvRecentItems FItems;
    QList<QIcon> FImages;
    bool FBlockItemChangeOnMouseWheel = false;
};
