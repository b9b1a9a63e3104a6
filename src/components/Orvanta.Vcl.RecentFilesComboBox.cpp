#include "Orvanta.Vcl.RecentFilesComboBox.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

#include <algorithm>

#include "Components.DpiScale.h"

namespace {

constexpr int EntryHeight = 44;
constexpr int EntryMargin = 8;
constexpr int LineGap = 2;
constexpr int EditTextIndent = 2;
constexpr int EditExtraHeight = 6;
constexpr QRgb SeparatorColor = 0xFFC0C0C0; // RGB(192, 192, 192)

QString CanonicalName(const QString& fileName)
{
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(fileName)).absoluteFilePath());
}

bool FileExists(const QString& fileName)
{
    return QFileInfo(fileName).isFile();
}

QDateTime ModificationTimeOrNow(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QDateTime modified = info.isFile() ? info.lastModified() : QDateTime();
    return modified.isValid() ? modified : QDateTime::currentDateTime();
}

QFont FontResized(QFont font, int points)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + points);
    else
        font.setPixelSize(font.pixelSize() + qRound(points * 96.0 / 72.0));
    return font;
}

QString TimeStampText(const QDateTime& timeStamp)
{
    if (!timeStamp.isValid())
        return QString();
    // Short date and short time; the time without seconds even where the
    // locale's short format has them.
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("[:.]ss?")));
    return locale.toString(timeStamp.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(timeStamp.time(), timeFormat);
}

} // namespace

// TOvRecentItems

void TOvRecentItems::Changed()
{
    if (OnUpdate)
        OnUpdate();
}

void TOvRecentItems::SetItem(int index, const TOvRecentItem& item)
{
    *FItems.at(std::size_t(index)) = item;
    Changed();
}

const TOvRecentItem& TOvRecentItems::Add(const QString& fileName, int iconIndex,
                                         const QDateTime& timeStamp)
{
    FItems.push_back(std::make_unique<TOvRecentItem>(fileName, iconIndex, timeStamp));
    const TOvRecentItem& added = *FItems.back();
    SortSilently();
    Changed();
    return added;
}

const TOvRecentItem& TOvRecentItems::Add(const QString& fileName, int iconIndex)
{
    return Add(fileName, iconIndex, ModificationTimeOrNow(fileName));
}

void TOvRecentItems::AddFileNames(const QStringList& fileNames, int iconIndex)
{
    for (const QString& fileName : fileNames) {
        if (FileExists(fileName))
            Add(fileName, iconIndex);
    }
}

void TOvRecentItems::GetFileNames(QStringList& fileNames) const
{
    fileNames.clear();
    for (const auto& item : FItems)
        fileNames.append(item->FileName());
}

int TOvRecentItems::IndexOf(const QString& fileName) const
{
    const QString wanted = CanonicalName(fileName);
    for (int i = 0; i < Count(); ++i) {
        if (CanonicalName(GetItem(i).FileName()).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TOvRecentItems::Delete(int index)
{
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TOvRecentItems::RemoveNonExisted()
{
    for (int i = Count() - 1; i >= 0; --i) {
        if (!FileExists(GetItem(i).FileName()))
            Delete(i);
    }
}

void TOvRecentItems::Clear()
{
    FItems.clear();
    Changed();
}

void TOvRecentItems::Assign(const TOvRecentItems& source)
{
    if (&source == this)
        return;
    FItems.clear();
    for (const auto& item : source.FItems)
        FItems.push_back(std::make_unique<TOvRecentItem>(*item));
    Changed();
}

void TOvRecentItems::Sort()
{
    SortSilently();
    Changed();
}

void TOvRecentItems::SortSilently()
{
    // An invalid time stamp has an invalid date, which compares below every
    // real day.
    std::stable_sort(FItems.begin(), FItems.end(), [](const auto& a, const auto& b) {
        return a->TimeStamp().date() > b->TimeStamp().date();
    });
}

// TOvRecentFileItemDelegate

TOvRecentFileItemDelegate::TOvRecentFileItemDelegate(TOvRecentFilesComboBox* comboBox)
    : QStyledItemDelegate(comboBox), FComboBox(comboBox)
{
}

void TOvRecentFileItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const
{
    painter->save();
    if (FComboBox->OnDrawItem)
        FComboBox->OnDrawItem(painter, option, index.row());
    else
        DrawEntry(painter, option, index.row());
    painter->restore();
}

void TOvRecentFileItemDelegate::DrawEntry(QPainter* painter, const QStyleOptionViewItem& option,
                                          int row) const
{
    const TOvRecentItems& items = FComboBox->Items();
    if (row < 0 || row >= items.Count())
        return;
    const TOvRecentItem& item = items.GetItem(row);
    const QRect rect = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    const auto scaled = [this](int value) {
        return ScaleByDpi(FComboBox, value);
    };

    painter->fillRect(rect, selected ? palette.highlight() : palette.base());
    painter->setPen(selected ? palette.color(QPalette::HighlightedText)
                             : palette.color(QPalette::Text));

    int textLeft = rect.left() + scaled(EntryMargin);
    const QList<QIcon>& images = FComboBox->Images();
    if (!images.isEmpty()) {
        const QSize iconSize = FComboBox->iconSize();
        if (item.IconIndex() >= 0 && item.IconIndex() < images.size()) {
            const QRect iconRect(
                QPoint(textLeft, rect.top() + (rect.height() - iconSize.height()) / 2), iconSize);
            images.at(item.IconIndex())
                .paint(painter, iconRect, Qt::AlignCenter,
                       selected ? QIcon::Selected : QIcon::Normal);
        }
        textLeft += iconSize.width() + scaled(EntryMargin);
    }
    const int textRight = rect.right() - scaled(EntryMargin);

    const QFont nameFont = FontResized(FComboBox->font(), 2);
    const QFont folderFont = FontResized(FComboBox->font(), -1);
    const QFontMetrics nameMetrics(nameFont);
    const QFontMetrics folderMetrics(folderFont);
    const int textHeight = nameMetrics.height() + scaled(LineGap) + folderMetrics.height();
    const int nameTop = rect.top() + (rect.height() - textHeight) / 2;
    const int folderTop = nameTop + nameMetrics.height() + scaled(LineGap);

    painter->setFont(nameFont);
    const QString timeStamp = TimeStampText(item.TimeStamp());
    const int timeStampWidth = nameMetrics.horizontalAdvance(timeStamp);
    painter->drawText(
        QRect(textRight - timeStampWidth, nameTop, timeStampWidth, nameMetrics.height()),
        Qt::AlignRight | Qt::AlignVCenter, timeStamp);

    const QFileInfo file(item.FileName());
    const int nameWidth =
        textRight - textLeft - (timeStamp.isEmpty() ? 0 : timeStampWidth + scaled(EntryMargin));
    painter->drawText(QRect(textLeft, nameTop, nameWidth, nameMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      nameMetrics.elidedText(file.completeBaseName(), Qt::ElideRight, nameWidth));

    painter->setFont(folderFont);
    const int folderWidth = textRight - textLeft;
    painter->drawText(QRect(textLeft, folderTop, folderWidth, folderMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      folderMetrics.elidedText(QDir::toNativeSeparators(file.path()),
                                               Qt::ElideMiddle, folderWidth));

    if (row < items.Count() - 1) {
        painter->setPen(QColor::fromRgb(SeparatorColor));
        painter->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    }
}

QSize TOvRecentFileItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const
{
    const int height =
        FComboBox->OnMeasureItem ? FComboBox->OnMeasureItem(index.row()) : FComboBox->ItemHeight();
    return QSize(option.rect.width(), height);
}

// TOvRecentFilesComboBox

TOvRecentFilesComboBox::TOvRecentFilesComboBox(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new TOvRecentFileItemDelegate(this));
    setMaxVisibleItems(DropDownCount);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    FItems.OnUpdate = [this] {
        ItemsUpdated();
    };
}

void TOvRecentFilesComboBox::SetImages(const QList<QIcon>& images)
{
    FImages = images;
    update();
    view()->viewport()->update();
}

int TOvRecentFilesComboBox::ItemHeight() const
{
    return ScaleByDpi(this, EntryHeight);
}

QString TOvRecentFilesComboBox::SelectedFileName() const
{
    // The shown strings, which are the file names; the list may have
    // changed already while they are being rebuilt.
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void TOvRecentFilesComboBox::ItemsUpdated()
{
    const QString selected = SelectedFileName();
    QStringList names;
    FItems.GetFileNames(names);
    {
        const QSignalBlocker blocker(this);
        clear();
        addItems(names);
        setCurrentIndex(selected.isEmpty() ? -1 : FItems.IndexOf(selected));
    }
    if (SelectedFileName() != selected) {
        Q_EMIT currentIndexChanged(currentIndex());
        Q_EMIT currentTextChanged(currentText());
    }
    update();
}

QSize TOvRecentFilesComboBox::sizeHint() const
{
    QSize size = QComboBox::sizeHint();
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const int textHeight = qMax(fontMetrics().height(),
                                QFontInfo(font()).pixelSize() + ScaleByDpi(this, EditExtraHeight));
    size.setHeight(
        style()
            ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(size.width(), textHeight), this)
            .height());
    return size;
}

QSize TOvRecentFilesComboBox::minimumSizeHint() const
{
    return QSize(QComboBox::minimumSizeHint().width(), sizeHint().height());
}

int TOvRecentFilesComboBox::DropDownHeight() const
{
    const int shown = qMin(count(), DropDownCount);
    int height = 0;
    for (int row = 0; row < shown; ++row)
        height += OnMeasureItem ? OnMeasureItem(row) : ItemHeight();
    if (shown == 0)
        height = OnMeasureItem ? OnMeasureItem(0) : ItemHeight();
    return height + 2;
}

void TOvRecentFilesComboBox::showPopup()
{
    QComboBox::showPopup();
    QWidget* container = view()->parentWidget();
    if (!container)
        return;
    PlacePopup(container, DropDownHeight());
    // The base class opens nothing for an empty list; an empty drop-down
    // tells the user there is nothing to choose.
    if (count() == 0)
        container->show();
}

// Below the control, or above it when the screen has more room there.
void TOvRecentFilesComboBox::PlacePopup(QWidget* container, int height) const
{
    const QRect below(mapToGlobal(QPoint(0, this->height())), QSize(width(), height));
    QRect geometry = below;
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        const int roomBelow = available.bottom() - below.top();
        const int roomAbove = mapToGlobal(QPoint(0, 0)).y() - available.top();
        if (height > roomBelow && roomAbove > roomBelow)
            geometry.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
    }
    container->setGeometry(geometry);
}

void TOvRecentFilesComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);

    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QRect textRect = field.adjusted(ScaleByDpi(this, EditTextIndent), 0, 0, 0);
    const QString text = fontMetrics().elidedText(QDir::toNativeSeparators(SelectedFileName()),
                                                  Qt::ElideMiddle, textRect.width());
    painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), text,
                         QPalette::ButtonText);
}

void TOvRecentFilesComboBox::wheelEvent(QWheelEvent* event)
{
    if (FBlockItemChangeOnMouseWheel) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}
