#include "Frames.DatabaseFileNameEditor.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

#include "Components.DpiScale.h"
#include "Components.FileDialog.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LocalizedStrings.h"

namespace {

const QString DatabaseFileExtension = QStringLiteral("lwdb");
const QString DefaultDatabaseName = QStringLiteral("Passwords");
constexpr int ControlSpacing = 4;

// Background halves of the browse button while hot and while pressed.
constexpr QRgb HotUpper = 0xFFE2F3FC;     // RGB(226, 243, 252)
constexpr QRgb HotLower = 0xFFB7E1FB;     // RGB(183, 225, 251)
constexpr QRgb PressedUpper = 0xFFC2E4F6; // RGB(194, 228, 246)
constexpr QRgb PressedLower = 0xFFA6D9F2; // RGB(166, 217, 242)

bool IsCreateMode(TDatabaseOpenMode mode)
{
    return mode == TDatabaseOpenMode::domCreateNewDatabase;
}

} // namespace

// TSelectFileButton

TSelectFileButton::TSelectFileButton(QWidget* parent) : QAbstractButton(parent)
{
    FOpenIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
}

QSize TSelectFileButton::sizeHint() const
{
    const int side = ScaleByDpi(this, 24);
    return QSize(side, side);
}

void TSelectFileButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    update();
}

void TSelectFileButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    update();
}

void TSelectFileButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    const bool pressed = isDown();
    const bool hot = underMouse() && isEnabled();
    if (pressed || hot) {
        QRect upper = area;
        upper.setHeight(area.height() / 2);
        painter.fillRect(upper, QColor::fromRgb(pressed ? PressedUpper : HotUpper));
        painter.fillRect(area.adjusted(0, upper.height(), 0, 0),
                         QColor::fromRgb(pressed ? PressedLower : HotLower));
    }
    const int iconSide = std::max(16, std::min(area.width(), area.height()) * 16 / 24);
    QRect iconRect(0, 0, iconSide, iconSide);
    iconRect.moveCenter(area.center());
    if (pressed) {
        const int free = (std::min(area.width(), area.height()) - iconSide) / 2;
        iconRect.translate(free / 4 + 1, free / 4 + 1);
    }
    if (!isEnabled())
        painter.setOpacity(0.5);
    FOpenIcon.paint(&painter, iconRect, Qt::AlignCenter,
                    isEnabled() ? QIcon::Normal : QIcon::Disabled);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = area.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

// TfrDatabaseFileNameEditor

TfrDatabaseFileNameEditor::TfrDatabaseFileNameEditor(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frDatabaseFileNameEditor"));
    CreateControls();
    LocalizerUpdate();
    SetMode(TDatabaseOpenMode::domCreateNewDatabase);
}

void TfrDatabaseFileNameEditor::CreateControls()
{
    FFileNameEdit = new QLineEdit(this);
    FFileNameEdit->setObjectName(QStringLiteral("edtFileName"));
    connect(FFileNameEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { FFileNameToCreate = text; });

    FRecentFilesComboBox = new TOvRecentFilesComboBox(this);
    FRecentFilesComboBox->setObjectName(QStringLiteral("cbRecentFiles"));
    connect(FRecentFilesComboBox, &QComboBox::activated, this,
            [this] { FFileNameToOpen = FRecentFilesComboBox->SelectedFileName(); });

    btnSelectFile = new TSelectFileButton(this);
    btnSelectFile->setObjectName(QStringLiteral("btnSelectFile"));
    connect(btnSelectFile, &QAbstractButton::clicked, this, [this] { SelectFile(); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ScaleByDpi(this, ControlSpacing));
    layout->addWidget(FFileNameEdit, 1);
    layout->addWidget(FRecentFilesComboBox, 1);
    layout->addWidget(btnSelectFile);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFocusProxy(FFileNameEdit);
}

void TfrDatabaseFileNameEditor::LocalizerUpdate()
{
    btnSelectFile->setToolTip(LocalizedStrings().FDatabaseFileDialogTitle);
    btnSelectFile->setAccessibleName(LocalizedStrings().FDatabaseFileDialogTitle);
}

void TfrDatabaseFileNameEditor::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

QString TfrDatabaseFileNameEditor::DefaultNewDatabaseName()
{
    const QString name = DefaultDatabaseName + u'.' + DatabaseFileExtension;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? name : QDir(documents).filePath(name);
}

QString TfrDatabaseFileNameEditor::GetFileName() const
{
    return IsCreateMode(FMode) ? FFileNameToCreate : FFileNameToOpen;
}

bool TfrDatabaseFileNameEditor::GetEmpty() const
{
    return GetFileName().trimmed().isEmpty();
}

void TfrDatabaseFileNameEditor::SetMode(TDatabaseOpenMode mode)
{
    FMode = mode;
    const bool create = IsCreateMode(mode);
    FFileNameEdit->setVisible(create);
    FRecentFilesComboBox->setVisible(!create);
    setFocusProxy(create ? static_cast<QWidget*>(FFileNameEdit) : FRecentFilesComboBox);
    if (create) {
        if (FFileNameToCreate.isEmpty())
            FFileNameToCreate = DefaultNewDatabaseName();
        FFileNameEdit->setText(FFileNameToCreate);
    } else {
        FillComboBox();
    }
}

void TfrDatabaseFileNameEditor::FillComboBox()
{
    FRecentFilesComboBox->Items().Assign(FRecentItems);
    SelectToOpen(FFileNameToOpen);
}

// Selects the file in the list, adding it at its date position when missing.
// A file that does not exist is not offered.
void TfrDatabaseFileNameEditor::SelectToOpen(const QString& fileName)
{
    if (fileName.trimmed().isEmpty() || !QFileInfo(fileName).isFile()) {
        FFileNameToOpen.clear();
        FRecentFilesComboBox->setCurrentIndex(-1);
        return;
    }
    if (FRecentItems.IndexOf(fileName) < 0) {
        FRecentItems.Add(fileName);
        FRecentFilesComboBox->Items().Assign(FRecentItems);
    }
    const int index = FRecentItems.IndexOf(fileName);
    FFileNameToOpen = FRecentItems.GetItem(index).FileName();
    FRecentFilesComboBox->setCurrentIndex(index);
}

void TfrDatabaseFileNameEditor::SetRecentItems(const TOvRecentItems* items)
{
    if (items)
        FRecentItems.Assign(*items);
    else
        FRecentItems.Clear();
    FRecentFilesComboBox->Items().Assign(FRecentItems);
    // The name to open is one of the list or none.
    const int index = FRecentItems.IndexOf(FFileNameToOpen);
    if (index < 0)
        FFileNameToOpen.clear();
    FRecentFilesComboBox->setCurrentIndex(index);
}

void TfrDatabaseFileNameEditor::SetFileName(const QString& fileName)
{
    if (IsCreateMode(FMode)) {
        FFileNameToCreate = fileName;
        FFileNameEdit->setText(fileName);
    } else {
        SelectToOpen(fileName);
    }
}

void TfrDatabaseFileNameEditor::Clear()
{
    if (!IsCreateMode(FMode))
        return;
    FFileNameToCreate.clear();
    FFileNameEdit->clear();
}

void TfrDatabaseFileNameEditor::Focus()
{
    QWidget* control =
        IsCreateMode(FMode) ? static_cast<QWidget*>(FFileNameEdit) : FRecentFilesComboBox;
    if (control->isVisible())
        control->setFocus(Qt::OtherFocusReason);
}

bool TfrDatabaseFileNameEditor::SelectFile()
{
    return SelectFileInMode(FMode);
}

bool TfrDatabaseFileNameEditor::SelectFileInMode(TDatabaseOpenMode mode)
{
    if (IsCreateMode(mode)) {
        const QString initial =
            FFileNameToCreate.trimmed().isEmpty() ? DefaultNewDatabaseName() : FFileNameToCreate;
        const QString chosen = RunFileDialog(mode, initial);
        if (chosen.isEmpty())
            return false;
        FFileNameToCreate = QDir::toNativeSeparators(chosen);
        if (IsCreateMode(FMode))
            FFileNameEdit->setText(FFileNameToCreate);
        return true;
    }
    // Without a file to open the dialog starts in the documents folder.
    const QString initial = FFileNameToOpen.trimmed().isEmpty()
                                ? QFileInfo(DefaultNewDatabaseName()).absolutePath() + u'/'
                                : FFileNameToOpen;
    const QString chosen = RunFileDialog(mode, initial);
    if (chosen.isEmpty())
        return false;
    FFileNameToOpen = QDir::toNativeSeparators(chosen);
    if (!IsCreateMode(FMode))
        SelectToOpen(FFileNameToOpen);
    return true;
}

QString TfrDatabaseFileNameEditor::RunFileDialog(TDatabaseOpenMode mode,
                                                 const QString& initialFileName)
{
    const TLocalizedStrings& strings = LocalizedStrings();
    TFileDialogRequest request;
    request.Kind = IsCreateMode(mode) ? TFileDialogRequest::TKind::fdkSave
                                      : TFileDialogRequest::TKind::fdkOpen;
    request.ObjectName = IsCreateMode(mode) ? QStringLiteral("fsdCreateDatabase")
                                            : QStringLiteral("fodOpenDatabase");
    request.Title = strings.FDatabaseFileDialogTitle;
    request.NameFilter = Lockwyn::Format(QStringLiteral("%0:s (*.%1:s)"),
                                         strings.FDatabaseFileFilterName, DatabaseFileExtension);
    request.DefaultSuffix = DatabaseFileExtension;
    request.InitialFileName = initialFileName;
    return TFileDialog::Execute(this, request);
}
