#include "Frames.PasswordEditor.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Lockwyn.Colors.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Orvanta.Vcl.ColorProgressBar.h"
#include "Platform.Keyboard.h"

namespace {

constexpr int PartSpacing = 8;
constexpr int LabelSpacing = 3;
constexpr int RowSpacing = 5;
constexpr int StrengthBarHeight = 6;
constexpr int HintOffset = 2;

// Every masked character shows as "*".
const char* const MaskStyleSheet = "QLineEdit { lineedit-password-character: 42; }";

std::function<bool()>& CapsLockStateReader()
{
    static std::function<bool()> reader;
    return reader;
}

bool IsCapsLockOn()
{
    const auto& reader = CapsLockStateReader();
    return reader ? reader() : Platform::IsCapsLockOn();
}

QWidget* LabelledPart(const char* name, QLabel* label, QLineEdit* edit, QWidget* parent)
{
    auto* part = new QWidget(parent);
    part->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ScaleByDpi(parent, LabelSpacing));
    layout->addWidget(label);
    layout->addWidget(edit);
    // Long captions must not widen their half of the frame.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setBuddy(edit);
    return part;
}

} // namespace

TfrPasswordEditor::TfrPasswordEditor(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frPasswordEditor"));
    CreateControls();
    LocalizerUpdate();
    ApplyMode();
    EditChanged();
}

// No password stays in the fields of a frame that is going away.
TfrPasswordEditor::~TfrPasswordEditor()
{
    WatchWindow(nullptr);
    Clear();
}

void TfrPasswordEditor::CreateControls()
{
    lblPassword = new QLabel(this);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    lblConfirmation = new QLabel(this);
    lblConfirmation->setObjectName(QStringLiteral("lblConfirmation"));
    edtConfirmation = new QLineEdit(this);
    edtConfirmation->setObjectName(QStringLiteral("edtConfirmation"));
    for (QLineEdit* edit : {edtPassword, edtConfirmation}) {
        edit->setStyleSheet(QLatin1String(MaskStyleSheet));
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, &TfrPasswordEditor::EditChanged);
    }
    edtConfirmation->setEchoMode(QLineEdit::Password);

    pnlPassword = new QWidget(this);
    pnlPassword->setObjectName(QStringLiteral("pnlPassword"));
    pnlPasswordPart = LabelledPart("pnlPasswordPart", lblPassword, edtPassword, pnlPassword);
    pnlConfirmationPart =
        LabelledPart("pnlConfirmationPart", lblConfirmation, edtConfirmation, pnlPassword);
    auto* partsLayout = new QHBoxLayout(pnlPassword);
    partsLayout->setContentsMargins(0, 0, 0, 0);
    partsLayout->setSpacing(ScaleByDpi(this, PartSpacing));
    partsLayout->addWidget(pnlPasswordPart, 1);
    partsLayout->addWidget(pnlConfirmationPart, 1);

    pbStrength = new TOvColorProgressBar(this);
    pbStrength->setObjectName(QStringLiteral("pbStrength"));
    pbStrength->setRange(0, 100);
    pbStrength->setFixedHeight(ScaleByDpi(this, StrengthBarHeight));
    pbStrength->SetColors(QColor::fromRgb(Lockwyn::clStrengthBarStart),
                          QColor::fromRgb(Lockwyn::clStrengthBarMiddle),
                          QColor::fromRgb(Lockwyn::clStrengthBarFinish));

    chkShowPasswordChars = new QCheckBox(this);
    chkShowPasswordChars->setObjectName(QStringLiteral("chkShowPasswordChars"));
    connect(chkShowPasswordChars, &QCheckBox::clicked, this,
            &TfrPasswordEditor::ApplyShowCharacters);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ScaleByDpi(this, RowSpacing));
    ReorderControls();
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    // A pop-up below the focused field, like a tool tip that stays while
    // the state lasts. It never takes the focus.
    auto* hint = new QFrame(this, Qt::ToolTip | Qt::FramelessWindowHint);
    hint->setObjectName(QStringLiteral("pnlCapsLockHint"));
    hint->setAttribute(Qt::WA_ShowWithoutActivating);
    hint->setPalette(QToolTip::palette());
    hint->setAutoFillBackground(true);
    hint->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* icon = new QLabel(hint);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(iconSize));
    lblCapsLockHint = new QLabel(hint);
    lblCapsLockHint->setObjectName(QStringLiteral("lblCapsLockHint"));
    QFont bold = lblCapsLockHint->font();
    bold.setBold(true);
    lblCapsLockHint->setFont(bold);
    auto* hintLayout = new QHBoxLayout(hint);
    const int margin = ScaleByDpi(this, 6);
    hintLayout->setContentsMargins(margin, margin, margin + margin, margin);
    hintLayout->setSpacing(margin);
    hintLayout->addWidget(icon);
    hintLayout->addWidget(lblCapsLockHint);
}

void TfrPasswordEditor::LocalizerUpdate()
{
    lblConfirmation->setText(tr("Confirmation:"));
    chkShowPasswordChars->setText(tr("Show Password Characters"));
    lblCapsLockHint->setText(tr("Caps Lock is on"));
    if (!FCaptionSet)
        lblPassword->setText(LocalizedStrings().FPassword);
}

void TfrPasswordEditor::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

QString TfrPasswordEditor::GetPassword() const
{
    return edtPassword->text();
}

bool TfrPasswordEditor::GetPasswordAndConfirmationIdentical() const
{
    return GetShowCharacters() || edtPassword->text() == edtConfirmation->text();
}

QString TfrPasswordEditor::GetCaption() const
{
    return lblPassword->text();
}

bool TfrPasswordEditor::GetShowCharacters() const
{
    return chkShowPasswordChars->isChecked();
}

bool TfrPasswordEditor::GetEmpty() const
{
    return edtPassword->text().trimmed().isEmpty() && edtConfirmation->text().trimmed().isEmpty();
}

void TfrPasswordEditor::SetMode(TPasswordEditorMode mode)
{
    if (mode == FMode)
        return;
    FMode = mode;
    ApplyMode();
}

void TfrPasswordEditor::ApplyMode()
{
    pbStrength->setVisible(FMode != TPasswordEditorMode::pemVerify);
    lblPassword->setVisible(FMode != TPasswordEditorMode::pemGenerate);
    chkShowPasswordChars->setVisible(FMode != TPasswordEditorMode::pemGenerate);
    if (FMode == TPasswordEditorMode::pemGenerate)
        SetShowCharacters(true);
    else
        ApplyShowCharacters();
    ReorderControls();
}

void TfrPasswordEditor::SetPassword(const QString& password)
{
    edtPassword->setText(password);
    edtConfirmation->setText(password);
}

void TfrPasswordEditor::SetCaption(const QString& caption)
{
    FCaptionSet = true;
    lblPassword->setText(caption);
}

void TfrPasswordEditor::SetShowCharacters(bool show)
{
    chkShowPasswordChars->setChecked(show);
    ApplyShowCharacters();
}

void TfrPasswordEditor::ApplyShowCharacters()
{
    const bool show = GetShowCharacters();
    edtPassword->setEchoMode(show ? QLineEdit::Normal : QLineEdit::Password);
    const bool confirmationVisible = !show && FMode == TPasswordEditorMode::pemManualCreate;
    if (pnlConfirmationPart->isHidden() == confirmationVisible) {
        pnlConfirmationPart->setVisible(confirmationVisible);
        // A password seen in clear must be confirmed again once hidden.
        if (edtConfirmation->text() != edtPassword->text())
            edtConfirmation->clear();
    }
    UpdateConfirmationColor();
    UpdateCapsLockHint();
    Q_EMIT OnShowCharactersUpdate();
}

void TfrPasswordEditor::ForceCapsLockIsOnBalloon()
{
    UpdateCapsLockHint();
}

void TfrPasswordEditor::Clear()
{
    edtPassword->clear();
    edtConfirmation->clear();
}

void TfrPasswordEditor::Focus()
{
    if (isVisible() && parentWidget() && parentWidget()->isVisible() && edtPassword->isVisible())
        edtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrPasswordEditor::ReorderControls()
{
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    for (QWidget* control : {pnlPassword, static_cast<QWidget*>(pbStrength),
                             static_cast<QWidget*>(chkShowPasswordChars)}) {
        layout->removeWidget(control);
        layout->addWidget(control);
    }
    for (QWidget* part : {pnlPasswordPart, pnlConfirmationPart}) {
        auto* partLayout = static_cast<QVBoxLayout*>(part->layout());
        QWidget* label = partLayout->itemAt(0)->widget();
        if (qobject_cast<QLabel*>(label))
            continue;
        // The edit came first: put it back below its label.
        partLayout->removeWidget(label);
        partLayout->addWidget(label);
    }
}

void TfrPasswordEditor::EditChanged()
{
    UpdateConfirmationColor();
    UpdateStrength();
}

void TfrPasswordEditor::UpdateConfirmationColor()
{
    QPalette palette = edtConfirmation->palette();
    palette.setColor(QPalette::Base, GetPasswordAndConfirmationIdentical()
                                         ? edtPassword->palette().color(QPalette::Base)
                                         : QColor::fromRgb(Lockwyn::clMismatchBackground));
    edtConfirmation->setPalette(palette);
}

void TfrPasswordEditor::UpdateStrength()
{
    const QString password = GetPassword();
    const auto meter = password.isEmpty() ? nullptr : GetLockwyn()->GetPasswordQualityMeter();
    pbStrength->setValue(meter ? qBound(0, meter->GetQuality(password), 100) : 0);
}

void TfrPasswordEditor::SetCapsLockStateReader(std::function<bool()> reader)
{
    CapsLockStateReader() = std::move(reader);
}

QLineEdit* TfrPasswordEditor::FocusedEdit() const
{
    for (QLineEdit* edit : {edtPassword, edtConfirmation}) {
        if (edit->hasFocus() && edit->isVisible())
            return edit;
    }
    return nullptr;
}

void TfrPasswordEditor::UpdateCapsLockHint()
{
    auto* hint = lblCapsLockHint->parentWidget();
    QLineEdit* edit = FocusedEdit();
    if (!edit || !IsCapsLockOn()) {
        hint->hide();
        return;
    }
    WatchWindow(window());
    hint->adjustSize();
    hint->move(edit->mapToGlobal(QPoint(0, edit->height() + ScaleByDpi(this, HintOffset))));
    hint->show();
}

// The hint follows the window and goes when the window does.
void TfrPasswordEditor::WatchWindow(QWidget* window)
{
    if (window == FWatchedWindow)
        return;
    if (FWatchedWindow)
        FWatchedWindow->removeEventFilter(this);
    FWatchedWindow = window;
    if (FWatchedWindow)
        FWatchedWindow->installEventFilter(this);
}

bool TfrPasswordEditor::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowDeactivate:
        if (watched == edtPassword || watched == edtConfirmation || watched == FWatchedWindow)
            UpdateCapsLockHint();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrPasswordEditor::hideEvent(QHideEvent* event)
{
    lblCapsLockHint->parentWidget()->hide();
    QWidget::hideEvent(event);
}
