#pragma once
// Length and character classes of a generated password, with the password
// itself, generated again by the storage library on every change.

#include <QList>
#include <QWidget>

#include "Lockwyn.Interfaces.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TfrPasswordEditor;

class TfrPasswordGeneratorSettings : public QWidget,
                                     public IPasswordGeneratorSettings,
                                     public IUIStatePersistent
{
    Q_OBJECT
public:
    explicit TfrPasswordGeneratorSettings(QWidget* parent = nullptr);

    // IPasswordGeneratorSettings
    IPasswordEditor* GetPasswordEditor() override;
    Lockwyn::TPasswordGeneratorSettings GetPasswordGeneratorSettings() const override;
    void SetPasswordGeneratorSettings(const Lockwyn::TPasswordGeneratorSettings& settings) override;
    void GeneratePassword() override;

    // IUIStatePersistent: the predefined settings of the GUI settings.
    void LoadUIState() override;
    void SaveUIState() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();

    QLabel* lblPasswordLength = nullptr;
    QSpinBox* sePasswordLength = nullptr;
    // In the order of TPasswordGeneratorCharOption.
    QList<QCheckBox*> FOptionBoxes;
    TfrPasswordEditor* frPasswordEditor = nullptr;
    QPushButton* btnGenerate = nullptr;
};
