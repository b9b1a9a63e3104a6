#include "Forms.AboutDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include "Components.DialogWindow.h"
#include "Components.DpiScale.h"
#include "Components.FormPlacementSaver.h"
#include "Frames.DialogHeader.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Dialogs.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.ProductPage.h"
#include "OvToast.h"

namespace {

constexpr int ClientWidth = 640;
constexpr int ContentMargin = 16;
constexpr int LogoSize = 72;
constexpr int ProductNamePixelHeight = 22;
constexpr int RowSpacing = 6;
constexpr int SectionSpacing = 16;
constexpr int ButtonSpacing = 8;
constexpr int ButtonWidth = 88;
constexpr int LicenceHeight = 240;
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
    PrepareDialogWindow(*this);
    CreateControls();
    LocalizerUpdate();
}

void TAboutDialog::CreateControls()
{
    frDialogHeader = CreateDialogHeader(this);
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
    cbLibraries = new QComboBox(panel);
    cbLibraries->setObjectName(QStringLiteral("cbLibraries"));
    for (const TShippedLibrary& library : ShippedLibraries())
        cbLibraries->addItem(library.Name);
    lblLibraries->setBuddy(cbLibraries);
    memLicence = new QPlainTextEdit(panel);
    memLicence->setObjectName(QStringLiteral("memLicence"));
    memLicence->setReadOnly(true);
    memLicence->setLineWrapMode(QPlainTextEdit::NoWrap);
    memLicence->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(cbLibraries, &QComboBox::currentIndexChanged, this, &TAboutDialog::ShowLicence);
    ShowLicence(cbLibraries->currentIndex());

    auto* chooser = new QHBoxLayout;
    chooser->setSpacing(ScaleByDpi(this, ButtonSpacing));
    chooser->addWidget(lblLibraries);
    chooser->addWidget(cbLibraries, 1);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ScaleByDpi(this, RowSpacing));
    layout->addLayout(chooser);
    layout->addWidget(memLicence);
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
    lblLibraries->setText(tr("&Licences of the libraries shipped with %1:").arg(product));
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
