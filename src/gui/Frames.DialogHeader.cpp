#include "Frames.DialogHeader.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

#include "Components.DpiScale.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Orvanta.Vcl.BackButton.h"
#include "Orvanta.Vcl.LinkMenu.h"

namespace {

constexpr int HeaderHeight = 40;
constexpr int SideMargin = 16;
constexpr int CaptionPixelHeight = 16;
constexpr int BackButtonTopMargin = 1;
constexpr int BackButtonBottomMargin = 2;

QPalette HeaderPalette(QPalette palette)
{
    palette.setColor(QPalette::Window, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(role, Qt::white);
    return palette;
}

} // namespace

TfrDialogHeader::TfrDialogHeader(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frDialogHeader"));
    FSettingAction = new QAction(this);
    FSettingAction->setObjectName(QStringLiteral("actSettings"));
    connect(FSettingAction, &QAction::triggered, this,
            [this] { Q_EMIT OnSettingsLinkClick(FSettingsPageToShow); });
    FHelpAction = new QAction(this);
    FHelpAction->setObjectName(QStringLiteral("actHelp"));
    CreateControls();
    LocalizerUpdate();
    RebuildLinks();
}

void TfrDialogHeader::CreateControls()
{
    setFixedHeight(ScaleByDpi(this, HeaderHeight));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* frameLayout = new QHBoxLayout(this);
    frameLayout->setContentsMargins(0, 0, 0, 0);

    hbBack = new QFrame(this);
    hbBack->setObjectName(QStringLiteral("hbBack"));
    hbBack->setPalette(HeaderPalette(hbBack->palette()));
    hbBack->setAutoFillBackground(true);
    frameLayout->addWidget(hbBack);

    btnBack = new TOvBackButton(hbBack);
    btnBack->setObjectName(QStringLiteral("btnBack"));
    btnBack->setFocusPolicy(Qt::NoFocus);
    btnBack->hide();
    connect(btnBack, &QAbstractButton::clicked, this, &TfrDialogHeader::OnBackButtonClick);

    lblCaption = new QLabel(hbBack);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont captionFont = lblCaption->font();
    captionFont.setBold(true);
    captionFont.setPixelSize(ScaleByDpi(this, CaptionPixelHeight));
    lblCaption->setFont(captionFont);
    lblCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long caption is cut at the links rather than pushing them away.
    lblCaption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    pnlMenuLayout = new QWidget(hbBack);
    pnlMenuLayout->setObjectName(QStringLiteral("pnlMenuLayout"));
    auto* menuLayout = new QHBoxLayout(pnlMenuLayout);
    menuLayout->setContentsMargins(0, 0, 0, 0);
    lmHeaderMenu = new TOvLinkMenu(pnlMenuLayout);
    lmHeaderMenu->setObjectName(QStringLiteral("lmHeaderMenu"));
    menuLayout->addWidget(lmHeaderMenu, 0, Qt::AlignRight | Qt::AlignVCenter);

    FBarLayout = new QHBoxLayout(hbBack);
    FBarLayout->setSpacing(0);
    FBarLayout->addWidget(btnBack, 0, Qt::AlignVCenter);
    FBarLayout->addWidget(lblCaption, 1);
    FBarLayout->addWidget(pnlMenuLayout, 0, Qt::AlignRight | Qt::AlignVCenter);
    UpdateCaptionIndent();
}

void TfrDialogHeader::LocalizerUpdate()
{
    FSettingAction->setText(LocalizedStrings().FSettingsMenuItemCaption);
    FHelpAction->setText(LocalizedStrings().FHelpMenuItemCaption);
}

void TfrDialogHeader::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

QString TfrDialogHeader::GetCaption() const
{
    return lblCaption->text();
}

void TfrDialogHeader::SetCaption(const QString& caption)
{
    lblCaption->setText(caption);
}

bool TfrDialogHeader::GetBackButtonVisible() const
{
    return !btnBack->isHidden();
}

void TfrDialogHeader::SetBackButtonVisible(bool visible)
{
    btnBack->setVisible(visible);
    UpdateCaptionIndent();
}

// The caption keeps 16 px to the back button, or to the left edge without it.
void TfrDialogHeader::UpdateCaptionIndent()
{
    const int margin = ScaleByDpi(this, SideMargin);
    const bool back = GetBackButtonVisible();
    FBarLayout->setContentsMargins(back ? margin : 0,
                                   back ? ScaleByDpi(this, BackButtonTopMargin) : 0, margin,
                                   back ? ScaleByDpi(this, BackButtonBottomMargin) : 0);
    lblCaption->setContentsMargins(margin, 0, 0, 0);
}

void TfrDialogHeader::SetSettingsMenuVisible(bool visible)
{
    if (visible == FSettingsMenuItemVisible)
        return;
    FSettingsMenuItemVisible = visible;
    RebuildLinks();
}

void TfrDialogHeader::SetHelpMenu(QMenu* menu)
{
    if (menu == FHelpMenu)
        return;
    FHelpMenu = menu;
    RebuildLinks();
}

// "Settings" when wanted, then "Help" with its menu. Without a help menu the
// help link would do nothing, so it is left out; without any link the link
// panel is hidden.
void TfrDialogHeader::RebuildLinks()
{
    lmHeaderMenu->Clear();
    if (FSettingsMenuItemVisible)
        lmHeaderMenu->AddLink(FSettingAction);
    if (FHelpMenu)
        lmHeaderMenu->AddLink(FHelpAction, FHelpMenu);
    pnlMenuLayout->setVisible(FSettingsMenuItemVisible || FHelpMenu);
}
