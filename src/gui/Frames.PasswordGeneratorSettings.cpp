#include "Frames.PasswordGeneratorSettings.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Frames.PasswordEditor.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;

namespace {

constexpr int Spacing = 8;
constexpr int OptionSpacing = 4;

constexpr const char* OptionBoxNames[] = {
    "chkUseUpperCase", "chkUseLowerCase",         "chkUseDigits",   "chkUseMinus",
    "chkUseUnderline", "chkUseSpecialCharacters", "chkUseBrackets",
};

} // namespace

TfrPasswordGeneratorSettings::TfrPasswordGeneratorSettings(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frPasswordGeneratorSettings"));
    CreateControls();
    frPasswordEditor->SetMode(TPasswordEditorMode::pemGenerate);
    LocalizerUpdate();
}

void TfrPasswordGeneratorSettings::CreateControls()
{
    const int spacing = ScaleByDpi(this, Spacing);
    lblPasswordLength = new QLabel(this);
    lblPasswordLength->setObjectName(QStringLiteral("lblPasswordLength"));
    sePasswordLength = new QSpinBox(this);
    sePasswordLength->setObjectName(QStringLiteral("sePasswordLength"));
    sePasswordLength->setRange(TLockwynGUISettings::MinPasswordGeneratorLength,
                               TLockwynGUISettings::MaxPasswordGeneratorLength);
    lblPasswordLength->setBuddy(sePasswordLength);
    connect(sePasswordLength, &QSpinBox::valueChanged, this,
            &TfrPasswordGeneratorSettings::GeneratePassword);
    auto* lengthRow = new QHBoxLayout;
    lengthRow->setSpacing(spacing);
    lengthRow->addWidget(lblPasswordLength);
    lengthRow->addWidget(sePasswordLength);
    lengthRow->addStretch(1);

    auto* options = new QVBoxLayout;
    options->setSpacing(ScaleByDpi(this, OptionSpacing));
    for (const char* name : OptionBoxNames) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QLatin1String(name));
        connect(box, &QCheckBox::clicked, this, &TfrPasswordGeneratorSettings::GeneratePassword);
        options->addWidget(box);
        FOptionBoxes.append(box);
    }

    frPasswordEditor = new TfrPasswordEditor(this);
    btnGenerate = new QPushButton(this);
    btnGenerate->setObjectName(QStringLiteral("btnGenerate"));
    btnGenerate->setAutoDefault(false);
    connect(btnGenerate, &QPushButton::clicked, this,
            &TfrPasswordGeneratorSettings::GeneratePassword);
    auto* passwordRow = new QHBoxLayout;
    passwordRow->setSpacing(spacing);
    passwordRow->addWidget(frPasswordEditor, 1, Qt::AlignTop);
    passwordRow->addWidget(btnGenerate, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing + spacing / 2);
    layout->addLayout(lengthRow);
    layout->addLayout(options);
    layout->addLayout(passwordRow);
}

void TfrPasswordGeneratorSettings::LocalizerUpdate()
{
    lblPasswordLength->setText(tr("Password length:"));
    const QString captions[] = {
        tr("Use upper case letters (A, B, C, ...)"),
        tr("Use lower case letters (a, b, c, ...)"),
        tr("Use digits (1, 2, 3, ...)"),
        tr("Use minus ( - )"),
        tr("Use underline ( _ )"),
        tr("Use special characters (@, #, $, ...)"),
        tr("Use brackets ( { } [ ] < > )"),
    };
    for (int i = 0; i < FOptionBoxes.size(); ++i)
        FOptionBoxes[i]->setText(captions[i]);
    btnGenerate->setText(tr("Generate"));
}

void TfrPasswordGeneratorSettings::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

IPasswordEditor* TfrPasswordGeneratorSettings::GetPasswordEditor()
{
    return frPasswordEditor;
}

TPasswordGeneratorSettings TfrPasswordGeneratorSettings::GetPasswordGeneratorSettings() const
{
    TPasswordGeneratorSettings settings;
    settings.Length = sePasswordLength->value();
    for (int i = 0; i < FOptionBoxes.size(); ++i) {
        if (FOptionBoxes[i]->isChecked())
            settings.Options.Include(TPasswordGeneratorCharOption(i));
    }
    return settings;
}

// Showing settings is not a change: the password stays as it is.
void TfrPasswordGeneratorSettings::SetPasswordGeneratorSettings(
    const TPasswordGeneratorSettings& settings)
{
    const QSignalBlocker blocker(sePasswordLength);
    sePasswordLength->setValue(settings.Length);
    for (int i = 0; i < FOptionBoxes.size(); ++i)
        FOptionBoxes[i]->setChecked(settings.Options.Contains(TPasswordGeneratorCharOption(i)));
}

void TfrPasswordGeneratorSettings::GeneratePassword()
{
    frPasswordEditor->SetPassword(
        GetLockwyn()->GetPasswordGenerator()->GeneratePassword(GetPasswordGeneratorSettings()));
}

void TfrPasswordGeneratorSettings::LoadUIState()
{
    SetPasswordGeneratorSettings(GUISettings().PasswordGeneratorSettings());
}

void TfrPasswordGeneratorSettings::SaveUIState()
{
    GUISettings().SetPasswordGeneratorSettings(GetPasswordGeneratorSettings());
}
