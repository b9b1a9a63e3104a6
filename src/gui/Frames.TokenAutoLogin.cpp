#include "Frames.TokenAutoLogin.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Components.SingleLineText.h"
#include "Components.URLOpenUtil.h"
#include "Frames.WebFieldsEditView.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Orvanta.Types.Url.h"

using namespace Lockwyn;

namespace {

constexpr int Spacing = 6;
constexpr int ManualIndent = 20;
constexpr int MaxWebFormIndex = 1000;
constexpr int ShortURLLength = 44;
const QString HelpAddress =
    QStringLiteral("https://lockwyn.example/products/lockwyn/help/autologin-how-to");

QString Link(const QString& url, const QString& text)
{
    return Format(QStringLiteral("<a href=\"%0:s\">%1:s</a>"), url.toHtmlEscaped(),
                  text.toHtmlEscaped());
}

// The address as a link caption: cut after 43 characters.
QString ShortURL(const QString& url)
{
    return url.size() < ShortURLLength ? url : url.left(ShortURLLength - 1) + QStringLiteral("...");
}

QLabel* LinkLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setWordWrap(true);
    QObject::connect(label, &QLabel::linkActivated, label, [](const QString& url) {
        if (gUrl.VerifyUrl(url))
            URLOpenUtil().GoURL(url);
    });
    return label;
}

} // namespace

TfrTokenAutoLogin::TfrTokenAutoLogin(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frTokenAutoLogin"));
    CreateControls();
    chkAnalyzeAutomatically->setChecked(true);
    LocalizerUpdate();
    Refresh();
}

void TfrTokenAutoLogin::CreateControls()
{
    const int spacing = ScaleByDpi(this, Spacing);
    htlblHowDoesAutoLoginWork = LinkLabel("htlblHowDoesAutoLoginWork", this);
    htlblLogginTo = LinkLabel("htlblLogginTo", this);
    rbUseWebSitesDB = new QRadioButton(this);
    rbUseWebSitesDB->setObjectName(QStringLiteral("rbUseWebSitesDB"));
    rbUseManualSettings = new QRadioButton(this);
    rbUseManualSettings->setObjectName(QStringLiteral("rbUseManualSettings"));
    for (QRadioButton* button : {rbUseWebSitesDB, rbUseManualSettings})
        connect(button, &QRadioButton::clicked, this, &TfrTokenAutoLogin::UpdateEnabling);

    pnlManualSettings = new QWidget(this);
    pnlManualSettings->setObjectName(QStringLiteral("pnlManualSettings"));
    lblLoginURL = new QLabel(pnlManualSettings);
    edtLoginURL = new QLineEdit(pnlManualSettings);
    edtLoginURL->setObjectName(QStringLiteral("edtLoginURL"));
    edtLoginURL->setValidator(new TSingleLineValidator(edtLoginURL));
    lblLoginURL->setBuddy(edtLoginURL);
    chkForceRedirect = new QCheckBox(pnlManualSettings);
    chkForceRedirect->setObjectName(QStringLiteral("chkForceRedirect"));
    chkAnalyzeAutomatically = new QCheckBox(pnlManualSettings);
    chkAnalyzeAutomatically->setObjectName(QStringLiteral("chkAnalyzeAutomatically"));
    for (QCheckBox* box : {chkForceRedirect, chkAnalyzeAutomatically})
        connect(box, &QCheckBox::clicked, this, &TfrTokenAutoLogin::UpdateEnabling);
    lblWebFormElements = new QLabel(pnlManualSettings);
    // Analysing a page in the browser comes with the browser's library.
    btnAnalyzeWebPage = new QPushButton(pnlManualSettings);
    btnAnalyzeWebPage->setObjectName(QStringLiteral("btnAnalyzeWebPage"));
    btnAnalyzeWebPage->setAutoDefault(false);
    btnAnalyzeWebPage->setEnabled(false);
    frWebFieldsEditView = new TfrWebFieldsEditView(pnlManualSettings);
    lblWebFormIndex = new QLabel(pnlManualSettings);
    seWebFormIndex = new QSpinBox(pnlManualSettings);
    seWebFormIndex->setObjectName(QStringLiteral("seWebFormIndex"));
    seWebFormIndex->setRange(0, MaxWebFormIndex);
    lblWebFormIndex->setBuddy(seWebFormIndex);

    auto* elementsRow = new QHBoxLayout;
    elementsRow->addWidget(lblWebFormElements, 1);
    elementsRow->addWidget(btnAnalyzeWebPage);
    auto* indexRow = new QHBoxLayout;
    indexRow->addWidget(lblWebFormIndex);
    indexRow->addWidget(seWebFormIndex);
    indexRow->addStretch(1);
    auto* manual = new QVBoxLayout(pnlManualSettings);
    manual->setContentsMargins(ScaleByDpi(this, ManualIndent), 0, 0, 0);
    manual->setSpacing(spacing);
    manual->addWidget(lblLoginURL);
    manual->addWidget(edtLoginURL);
    manual->addWidget(chkForceRedirect);
    manual->addWidget(chkAnalyzeAutomatically);
    manual->addLayout(elementsRow);
    manual->addWidget(frWebFieldsEditView);
    manual->addLayout(indexRow);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(htlblHowDoesAutoLoginWork);
    layout->addWidget(htlblLogginTo);
    layout->addWidget(rbUseWebSitesDB);
    layout->addWidget(rbUseManualSettings);
    layout->addWidget(pnlManualSettings);
    layout->addStretch(1);
}

void TfrTokenAutoLogin::LocalizerUpdate()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    htlblHowDoesAutoLoginWork->setText(
        Link(HelpAddress, strings.FHowDoesAutoLoginWorkLabelCaption));
    rbUseWebSitesDB->setText(rbUseWebSitesDB->isEnabled()
                                 ? strings.FUseWebSitesDBRadioButtonEnabledCaption
                                 : strings.FUseWebSitesDBRadioButtonDisabledCaption);
    rbUseManualSettings->setText(tr("Use manual settings"));
    lblLoginURL->setText(tr("Login URL:"));
    chkForceRedirect->setText(tr("Force redirect to the main URL after login"));
    chkAnalyzeAutomatically->setText(tr("Analyze web page automatically on each login"));
    lblWebFormElements->setText(tr("Web Form Elements:"));
    btnAnalyzeWebPage->setText(tr("Analyze Web Page In a Browser"));
    lblWebFormIndex->setText(tr("Web Form Index:"));
    UpdateLoggingInLabel();
}

void TfrTokenAutoLogin::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

IWebFieldsEditView* TfrTokenAutoLogin::GetWebFieldsEditView()
{
    return frWebFieldsEditView;
}

void TfrTokenAutoLogin::LoadNew(const QString& mainURL)
{
    FMainURL = mainURL;
    LookUpSite(mainURL);
    Refresh();
}

void TfrTokenAutoLogin::LoadFromToken(const std::shared_ptr<IToken>& token, const QString& mainURL)
{
    const TAutoLoginValues values = AutoLoginValues(token->GetAutoLoginInfo());
    edtLoginURL->setText(values.LoginURL);
    chkAnalyzeAutomatically->setChecked(values.AnalyzeAutomatically);
    chkForceRedirect->setChecked(values.ForceRedirect);
    seWebFormIndex->setValue(values.WebFormIndex);
    frWebFieldsEditView->SetUserNameElement(values.UserNameElement);
    frWebFieldsEditView->SetPasswordElement(values.PasswordElement);
    if (values.LoginURL.isEmpty() && gUrl.VerifyUrl(mainURL.trimmed()))
        edtLoginURL->setText(mainURL.trimmed());
    FMainURL = mainURL;
    LookUpSite(mainURL);
    Refresh();
}

void TfrTokenAutoLogin::EnterPage(const QString& mainURL)
{
    FMainURL = mainURL;
    if (LookUpSite(mainURL))
        ResetManualFields(mainURL);
    Refresh();
}

// Without a catalogue entry for the address, the page follows the address
// itself.
bool TfrTokenAutoLogin::LookUpSite(const QString& mainURL)
{
    const bool changed = mainURL != FLastFoundedWebSite;
    FLastFoundedWebSite = mainURL;
    return changed;
}

void TfrTokenAutoLogin::ResetManualFields(const QString& mainURL)
{
    const QString url = mainURL.trimmed();
    edtLoginURL->setText(gUrl.VerifyUrl(url) ? url : QString());
    frWebFieldsEditView->SetUserNameElement({});
    frWebFieldsEditView->SetPasswordElement({});
    seWebFormIndex->setValue(0);
}

// The catalogue knows no entry for the site: the token's own settings apply.
void TfrTokenAutoLogin::Refresh()
{
    rbUseWebSitesDB->setEnabled(false);
    rbUseManualSettings->setChecked(true);
    LocalizerUpdate();
    UpdateEnabling();
}

void TfrTokenAutoLogin::UpdateEnabling()
{
    const bool manual = rbUseManualSettings->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(lblLoginURL), static_cast<QWidget*>(edtLoginURL),
          static_cast<QWidget*>(chkForceRedirect), static_cast<QWidget*>(chkAnalyzeAutomatically)})
        control->setEnabled(manual);
    const bool elements = manual && !chkAnalyzeAutomatically->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(lblWebFormElements), static_cast<QWidget*>(frWebFieldsEditView),
          static_cast<QWidget*>(lblWebFormIndex), static_cast<QWidget*>(seWebFormIndex)})
        control->setEnabled(elements);
}

void TfrTokenAutoLogin::UpdateLoggingInLabel()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    const QString url = FMainURL.trimmed();
    if (gUrl.VerifyUrl(url))
        htlblLogginTo->setText(Format(strings.FLogginInToUnknownWebsite, Link(url, ShortURL(url))));
    else
        htlblLogginTo->setText(strings.FURLNotVerified.toHtmlEscaped());
}

TAutoLoginValues TfrTokenAutoLogin::GetValues() const
{
    return {!GetUseManualSettings(),
            edtLoginURL->text(),
            chkForceRedirect->isChecked(),
            chkAnalyzeAutomatically->isChecked(),
            frWebFieldsEditView->GetUserNameElement(),
            frWebFieldsEditView->GetPasswordElement(),
            seWebFormIndex->value()};
}

bool TfrTokenAutoLogin::GetUseManualSettings() const
{
    return rbUseManualSettings->isChecked();
}

std::shared_ptr<IAutoLoginInfo> TfrTokenAutoLogin::CreateAutoLoginInfo() const
{
    const auto factory = GetLockwyn()->GetObjectFactory();
    if (!GetUseManualSettings())
        return factory->CreateWebSitesDBAutoLoginInfo();
    const TAutoLoginValues values = GetValues();
    return factory->CreateManualAutoLoginInfo(values.LoginURL, values.ForceRedirect,
                                              values.AnalyzeAutomatically, values.UserNameElement,
                                              values.PasswordElement, values.WebFormIndex);
}
