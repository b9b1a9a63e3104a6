#include "Forms.AboutDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Components.FormPlacementSaver.h"
#include "Frames.DialogHeader.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.ProductPage.h"
#include "OvToast.h"

namespace {

constexpr int ClientWidth = 560;
constexpr int ContentMargin = 16;
constexpr int LogoSize = 72;
constexpr int ProductNamePixelHeight = 22;
constexpr int RowSpacing = 6;
constexpr int SectionSpacing = 16;
constexpr int ButtonSpacing = 8;
constexpr int ButtonWidth = 88;
constexpr int LibraryListWidth = 150;
constexpr int LicenceHeight = 200;
constexpr int ToastInterval = 2000;

// The libraries shipped with the program and the files of their licences.
struct TShippedLibrary
{
    QString Name;
    QString LicenceFile;
};

QList<TShippedLibrary> ShippedLibraries()
{
    return {
        {QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())),
         QStringLiteral(":/licences/Qt.txt")},
        {QStringLiteral("libsodium"), QStringLiteral(":/licences/libsodium.txt")},
        {QStringLiteral("zxcvbn-c"), QStringLiteral(":/licences/zxcvbn.txt")},
        {QStringLiteral("libdeflate"), QStringLiteral(":/licences/libdeflate.txt")},
    };
}

QString ReadResource(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TAboutDialog::TAboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgAbout"));
    setWindowFlags((parent ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);
    CreateControls();
    frDialogHeader->SetSettingsMenuVisible(false);
    frDialogHeader->SetHelpMenu(LockwynApp().GetHelpMenu());
    LocalizerUpdate();
}

void TAboutDialog::CreateControls()
{
    frDialogHeader = new TfrDialogHeader(this);
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("pnlDlgContent"));
    const int margin = ScaleByDpi(this, ContentMargin);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(margin, margin, margin, 0);
    contentLayout->setSpacing(ScaleByDpi(this, SectionSpacing));
    contentLayout->addWidget(CreateProductPanel());
    contentLayout->addWidget(CreateLibraryPanel());
    content->setFixedWidth(ScaleByDpi(this, ClientWidth));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(frDialogHeader);
    layout->addWidget(content);
    layout->addWidget(CreateButtonRow());
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TAboutDialog::CreateProductPanel()
{
    auto* panel = new QWidget(this);
    imgLogo = new QLabel(panel);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    const int logoSize = ScaleByDpi(this, LogoSize);
    imgLogo->setFixedSize(logoSize, logoSize);
    imgLogo->setVisible(false);

    lblProductName = new QLabel(panel);
    lblProductName->setObjectName(QStringLiteral("lblProductName"));
    QFont nameFont = lblProductName->font();
    nameFont.setBold(true);
    nameFont.setPixelSize(ScaleByDpi(this, ProductNamePixelHeight));
    lblProductName->setFont(nameFont);
    lblVersion = new QLabel(panel);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblEncryption = new QLabel(panel);
    lblEncryption->setObjectName(QStringLiteral("lblEncryption"));
    lblEncryption->setWordWrap(true);
    lblProductPage = new QLabel(panel);
    lblProductPage->setObjectName(QStringLiteral("lblProductPage"));
    lblProductPage->setTextFormat(Qt::RichText);
    lblProductPage->setOpenExternalLinks(true);

    auto* text = new QVBoxLayout;
    text->setSpacing(ScaleByDpi(this, RowSpacing));
    text->addWidget(lblProductName);
    text->addWidget(lblVersion);
    text->addWidget(lblEncryption);
    text->addWidget(lblProductPage);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ScaleByDpi(this, ContentMargin));
    layout->addWidget(imgLogo, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    return panel;
}

QWidget* TAboutDialog::CreateLibraryPanel()
{
    auto* panel = new QWidget(this);
    lblLibraries = new QLabel(panel);
    lblLibraries->setObjectName(QStringLiteral("lblLibraries"));
    lstLibraries = new QListWidget(panel);
    lstLibraries->setObjectName(QStringLiteral("lstLibraries"));
    lstLibraries->setFixedWidth(ScaleByDpi(this, LibraryListWidth));
    for (const TShippedLibrary& library : ShippedLibraries())
        lstLibraries->addItem(library.Name);
    memLicence = new QPlainTextEdit(panel);
    memLicence->setObjectName(QStringLiteral("memLicence"));
    memLicence->setReadOnly(true);
    memLicence->setLineWrapMode(QPlainTextEdit::NoWrap);
    memLicence->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lblLibraries->setBuddy(lstLibraries);
    connect(lstLibraries, &QListWidget::currentRowChanged, this, &TAboutDialog::ShowLicence);
    lstLibraries->setCurrentRow(0);

    auto* row = new QHBoxLayout;
    row->setSpacing(ScaleByDpi(this, ButtonSpacing));
    row->addWidget(lstLibraries);
    row->addWidget(memLicence, 1);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ScaleByDpi(this, RowSpacing));
    layout->addWidget(lblLibraries);
    layout->addLayout(row);
    panel->setFixedHeight(ScaleByDpi(this, LicenceHeight));
    return panel;
}

QWidget* TAboutDialog::CreateButtonRow()
{
    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("flpnlDlgButtons"));
    btnCopyVersionInfo = new QPushButton(buttons);
    btnCopyVersionInfo->setObjectName(QStringLiteral("btnCopyVersionInfo"));
    btnCopyVersionInfo->setAutoDefault(false);
    connect(btnCopyVersionInfo, &QPushButton::clicked, this, &TAboutDialog::CopyVersionInfo);
    btnClose = new QPushButton(buttons);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);
    btnClose->setMinimumWidth(ScaleByDpi(this, ButtonWidth));
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    const int margin = ScaleByDpi(this, ContentMargin);
    auto* layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(ScaleByDpi(this, ButtonSpacing));
    layout->addWidget(btnCopyVersionInfo);
    layout->addStretch(1);
    layout->addWidget(btnClose);
    return buttons;
}

void TAboutDialog::LocalizerUpdate()
{
    const QString product = LocalizedStrings().FAppName;
    setWindowTitle(product);
    frDialogHeader->SetCaption(tr("About %1").arg(product));
    lblProductName->setText(product);
    lblVersion->setText(tr("Version %1").arg(QCoreApplication::applicationVersion()));
    lblEncryption->setText(tr("Databases are encrypted with XChaCha20-Poly1305; the key is "
                              "derived from the master password with Argon2id."));
    const QString page = ProductPageUrl().toString();
    lblProductPage->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(page.toHtmlEscaped()));
    lblLibraries->setText(tr("&Libraries shipped with %1 and their licences:").arg(product));
    btnCopyVersionInfo->setText(tr("Copy version info"));
    btnClose->setText(tr("Close"));
}

void TAboutDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QDialog::changeEvent(event);
}

void TAboutDialog::SetPicture(const QPixmap& picture)
{
    FPicture = picture;
    const qreal ratio = devicePixelRatioF();
    QPixmap scaled =
        picture.scaled(imgLogo->size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    imgLogo->setPixmap(scaled);
    imgLogo->setVisible(!picture.isNull());
}

void TAboutDialog::Show()
{
    TFormPlacementSaver::CenterFormInMainScreen(this);
    exec();
}

void TAboutDialog::ShowLicence(int row)
{
    const QList<TShippedLibrary> libraries = ShippedLibraries();
    memLicence->setPlainText(row >= 0 && row < libraries.size()
                                 ? ReadResource(libraries.at(row).LicenceFile)
                                 : QString());
}

QString TAboutDialog::VersionInfo()
{
    return QStringLiteral("%1 %2\nQt %3 (%4)\n%5, %6 %7, %8")
        .arg(LocalizedStrings().FAppName, QCoreApplication::applicationVersion(),
             QString::fromLatin1(qVersion()), QGuiApplication::platformName(),
             QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             QSysInfo::currentCpuArchitecture());
}

void TAboutDialog::CopyVersionInfo()
{
    QGuiApplication::clipboard()->setText(VersionInfo());
    TOvToast::Show(this, LocalizedStrings().FToastVersionInfoCopied, ToastInterval);
}
