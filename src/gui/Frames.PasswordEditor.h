#pragma once
// The frame in which the user types a password: the password field, an
// optional confirmation field, a strength bar rated by the storage library
// and a "Show Password Characters" check box. While Caps Lock is on and one
// of the fields has the focus, a hint below that field says so.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include "Lockwyn.Interfaces.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class TOvColorProgressBar;

class TfrPasswordEditor : public QWidget, public IPasswordEditor, public IUIReorderableControl
{
    Q_OBJECT
public:
    explicit TfrPasswordEditor(QWidget* parent = nullptr);
    ~TfrPasswordEditor() override;

    // IPasswordEditor
    TPasswordEditorMode GetMode() const override { return FMode; }
    QString GetPassword() const override;
    bool GetPasswordAndConfirmationIdentical() const override;
    QString GetCaption() const override;
    bool GetShowCharacters() const override;
    bool GetEmpty() const override;
    void SetMode(TPasswordEditorMode mode) override;
    void SetPassword(const QString& password) override;
    void SetCaption(const QString& caption) override;
    void SetShowCharacters(bool show) override;
    void ForceCapsLockIsOnBalloon() override;
    void Clear() override;
    void Focus() override;

    // IUIReorderableControl
    void ReorderControls() override;

    // Replaces the reading of the Caps Lock state (tests); an empty function
    // restores the platform's.
    static void SetCapsLockStateReader(std::function<bool()> reader);

Q_SIGNALS:
    // The shown/hidden state of the characters has been applied.
    void OnShowCharactersUpdate();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void ApplyMode();
    void ApplyShowCharacters();
    void EditChanged();
    void UpdateConfirmationColor();
    void UpdateStrength();
    void UpdateCapsLockHint();
    QLineEdit* FocusedEdit() const;
    void WatchWindow(QWidget* window);

    TPasswordEditorMode FMode = TPasswordEditorMode::pemManualCreate;
    bool FCaptionSet = false;

    QWidget* pnlPassword = nullptr;
    QWidget* pnlPasswordPart = nullptr;
    QWidget* pnlConfirmationPart = nullptr;
    QLabel* lblPassword = nullptr;
    QLineEdit* edtPassword = nullptr;
    QLabel* lblConfirmation = nullptr;
    QLineEdit* edtConfirmation = nullptr;
    TOvColorProgressBar* pbStrength = nullptr;
    QCheckBox* chkShowPasswordChars = nullptr;
    QLabel* lblCapsLockHint = nullptr;
    QPointer<QWidget> FWatchedWindow;
};
