#include "Frames.StartCommandButtons.h"

#include <QCommandLinkButton>
#include <QEvent>

#include "Components.DpiScale.h"

namespace {

constexpr int ButtonHeight = 60;
constexpr int SideMargin = 16;
constexpr int ButtonCount = 3;

} // namespace

TfrStartCommandButtons::TfrStartCommandButtons(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frStartCommandButtons"));
    const auto makeButton = [this](const char* name, void (TfrStartCommandButtons::*signal)()) {
        auto* button = new QCommandLinkButton(this);
        button->setObjectName(QLatin1String(name));
        connect(button, &QAbstractButton::clicked, this, signal);
        return button;
    };
    btnCommandCreateNewDatabase =
        makeButton("btnCommandCreateNewDatabase", &TfrStartCommandButtons::OnCreateNewDatabase);
    btnCommandOpenDatabase =
        makeButton("btnCommandOpenDatabase", &TfrStartCommandButtons::OnOpenDatabase);
    btnCommandExit = makeButton("btnCommandExit", &TfrStartCommandButtons::OnCloseApplication);
    LocalizerUpdate();
    setMinimumHeight(ScaleByDpi(this, ButtonHeight) * ButtonCount);
}

void TfrStartCommandButtons::LocalizerUpdate()
{
    btnCommandCreateNewDatabase->setText(tr("Create New Password Database"));
    btnCommandCreateNewDatabase->setDescription(
        tr("First step before you can store your passwords"));
    btnCommandOpenDatabase->setText(tr("Open Existing Database"));
    btnCommandOpenDatabase->setDescription(tr("If you already have one"));
    btnCommandExit->setText(tr("Close Application"));
    btnCommandExit->setDescription(QString());
}

void TfrStartCommandButtons::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

void TfrStartCommandButtons::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    SpreadButtons();
}

// A quarter of the height the buttons leave is the top padding and the gap
// below each of the first two buttons.
void TfrStartCommandButtons::SpreadButtons()
{
    const int buttonHeight = ScaleByDpi(this, ButtonHeight);
    const int margin = ScaleByDpi(this, SideMargin);
    const int gap = std::max(0, (height() - ButtonCount * buttonHeight) / 4);
    int top = gap;
    for (QCommandLinkButton* button :
         {btnCommandCreateNewDatabase, btnCommandOpenDatabase, btnCommandExit}) {
        button->setGeometry(margin, top, width() - 2 * margin, buttonHeight);
        top += buttonHeight + gap;
    }
}
