#include "Forms.WebSessionWait.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Components.FormPlacementSaver.h"
#include "Components.ReleaseView.h"
#include "Lockwyn.Dialogs.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Orvanta.Vcl.RingProgress.h"

namespace {

constexpr int ContentMargin = 16;
constexpr int RingSpacing = 14;
constexpr int RowSpacing = 14;
constexpr int MessageWidth = 260;
constexpr int ButtonWidth = 88;

} // namespace

TfWebSessionWait::TfWebSessionWait(const std::shared_ptr<Lockwyn::IWebAutoLogin>& webAutoLogin,
                                   QWidget* parent)
    : QDialog(parent), FWebAutoLogin(webAutoLogin)
{
    setObjectName(QStringLiteral("fWebSessionWait"));
    // A title without buttons: only completion or Cancel ends the wait.
    setWindowFlags((parent ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);
    CreateControls();
    LocalizerUpdate();
    FWebAutoLogin->SetOnSessionProgress(
        [this](Lockwyn::IWebAutoLogin*,
               const std::shared_ptr<Lockwyn::IWebAutoLoginSession>& session,
               double progress) { SessionProgress(session, progress); });
    FWebAutoLogin->SetOnSessionComplete(
        [this](Lockwyn::IWebAutoLogin*,
               const std::shared_ptr<Lockwyn::IWebAutoLoginSession>& session) {
            SessionComplete(session);
        });
}

TfWebSessionWait::~TfWebSessionWait()
{
    FWebAutoLogin->SetOnSessionProgress({});
    FWebAutoLogin->SetOnSessionComplete({});
}

void TfWebSessionWait::CreateControls()
{
    rpProgress = new TOvRingProgress(this);
    rpProgress->setObjectName(QStringLiteral("rpProgress"));
    rpProgress->setRange(0, 100);
    rpProgress->setValue(0);
    lblWaitMessage = new QLabel(this);
    lblWaitMessage->setObjectName(QStringLiteral("lblWaitMessage"));
    lblWaitMessage->setWordWrap(true);
    lblWaitMessage->setFixedWidth(ScaleByDpi(this, MessageWidth));
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setMinimumWidth(ScaleByDpi(this, ButtonWidth));
    btnCancel->setDefault(true);
    connect(btnCancel, &QPushButton::clicked, this, &TfWebSessionWait::reject);

    auto* message = new QHBoxLayout;
    message->setSpacing(ScaleByDpi(this, RingSpacing));
    message->addWidget(rpProgress, 0, Qt::AlignVCenter);
    message->addWidget(lblWaitMessage, 1, Qt::AlignVCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    const int margin = ScaleByDpi(this, ContentMargin);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(ScaleByDpi(this, RowSpacing));
    layout->addLayout(message);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfWebSessionWait::LocalizerUpdate()
{
    setWindowTitle(LocalizedStrings().FAppName);
    lblWaitMessage->setText(tr("Performing request to browser extension..."));
    btnCancel->setText(tr("Cancel"));
}

void TfWebSessionWait::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QDialog::changeEvent(event);
}

// A session that ended before the dialog came up would otherwise be waited
// for in vain.
void TfWebSessionWait::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    TFormPlacementSaver::CenterFormInMainScreen(this);
    raise();
    activateWindow();
    if (FCurrentSession && FCurrentSession->GetState() == Lockwyn::TWebSessionState::wssDone)
        QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

int TfWebSessionWait::ShowModal()
{
    return ShowDialogModal(this);
}

void TfWebSessionWait::ReleaseView()
{
    ReleaseDialogView(this);
}

std::shared_ptr<Lockwyn::IWebAutoLoginSession> TfWebSessionWait::GetCurrentSession()
{
    return FCurrentSession;
}

bool TfWebSessionWait::GetCancelled()
{
    return FCancelled;
}

void TfWebSessionWait::SetCurrentSession(
    const std::shared_ptr<Lockwyn::IWebAutoLoginSession>& session)
{
    FCurrentSession = session;
}

void TfWebSessionWait::reject()
{
    FCancelled = true;
    QDialog::reject();
}

void TfWebSessionWait::SessionProgress(
    const std::shared_ptr<Lockwyn::IWebAutoLoginSession>& session, double progress)
{
    if (session == FCurrentSession)
        rpProgress->setValue(qRound(progress * 100));
}

void TfWebSessionWait::SessionComplete(
    const std::shared_ptr<Lockwyn::IWebAutoLoginSession>& session)
{
    if (session == FCurrentSession)
        accept();
}
