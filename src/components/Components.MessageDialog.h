#pragma once
// Modal questions and error messages with the application's name as caption.

#include <QString>
#include <QStringList>

// The kind of message; decides the icon.
enum class TMsgDlgType
{
    mtWarning,
    mtError,
    mtInformation,
    mtConfirmation,
    mtCustom,
};

class TMessageDialog
{
public:
    enum class TDialogButtons
    {
        dbOk,
        dbOkCancel,
        dbAbortRetryIgnore,
        dbYesNoCancel,
        dbYesNo,
        dbRetryCancel,
    };

    // Answer codes of the fixed button sets.
    static constexpr int idOk = 1;
    static constexpr int idCancel = 2;
    static constexpr int idAbort = 3;
    static constexpr int idRetry = 4;
    static constexpr int idIgnore = 5;
    static constexpr int idYes = 6;
    static constexpr int idNo = 7;

    // A fixed button set. ADefaultButtonIndex 1..3 makes the second to fourth
    // button the default, anything else (or a button the set lacks) the first.
    // Returns the answer code of the pressed button; closing the box answers
    // as Escape does.
    static int Show(const QString& AMessage, TMsgDlgType ADialogType, TDialogButtons AButtons,
                    int ADefaultButtonIndex);

    // One to four buttons with the given captions, left to right. Returns the
    // index of the pressed button; closing the dialog counts as the last one.
    // Throws std::invalid_argument for fewer than one or more than four.
    static int Show(const QString& AMessage, TMsgDlgType ADialogType,
                    const QStringList& AButtonCaptions, int ADefaultButtonIndex);
};
