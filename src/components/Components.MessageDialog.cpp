#include "Components.MessageDialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

#include <stdexcept>

namespace {

using TDialogButtons = TMessageDialog::TDialogButtons;

// Comes to the front as soon as it is shown.
class TForegroundMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        raise();
        activateWindow();
    }
};

// Freed when it goes out of scope unless its parent window took it along.
class TBoxHolder
{
public:
    TBoxHolder(const QString& AMessage, TMsgDlgType ADialogType);
    ~TBoxHolder() { delete FBox.data(); }
    TBoxHolder(const TBoxHolder&) = delete;
    TBoxHolder& operator=(const TBoxHolder&) = delete;

    QMessageBox* operator->() const { return FBox.data(); }
    // Runs the box; the pressed button, or null when the box went away.
    QAbstractButton* Run();

private:
    QPointer<QMessageBox> FBox;
};

void ApplyIcon(QMessageBox& box, TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        box.setIcon(QMessageBox::Warning);
        return;
    case TMsgDlgType::mtError:
        box.setIcon(QMessageBox::Critical);
        return;
    case TMsgDlgType::mtInformation:
        box.setIcon(QMessageBox::Information);
        return;
    case TMsgDlgType::mtConfirmation:
        box.setIcon(QMessageBox::Question);
        return;
    case TMsgDlgType::mtCustom: {
        const QIcon icon = QApplication::windowIcon();
        if (icon.isNull())
            box.setIcon(QMessageBox::NoIcon);
        else
            box.setIconPixmap(icon.pixmap(box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize)));
        return;
    }
    }
}

TBoxHolder::TBoxHolder(const QString& AMessage, TMsgDlgType ADialogType)
    : FBox(new TForegroundMessageBox(QApplication::activeWindow()))
{
    FBox->setWindowTitle(QGuiApplication::applicationDisplayName());
    // Messages quote user data such as titles: never read them as markup.
    FBox->setTextFormat(Qt::PlainText);
    FBox->setText(AMessage);
    FBox->setWindowModality(Qt::ApplicationModal);
    ApplyIcon(*FBox, ADialogType);
}

QAbstractButton* TBoxHolder::Run()
{
    FBox->exec();
    return FBox ? FBox->clickedButton() : nullptr;
}

// A fixed set: its buttons in order and the one Escape and the close box press.
struct TButtonSet
{
    QList<QMessageBox::StandardButton> Buttons;
    QMessageBox::StandardButton Escape;
};

TButtonSet ButtonSetOf(TDialogButtons buttons)
{
    switch (buttons) {
    case TDialogButtons::dbOk:
        return {{QMessageBox::Ok}, QMessageBox::Ok};
    case TDialogButtons::dbOkCancel:
        return {{QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Cancel};
    case TDialogButtons::dbAbortRetryIgnore:
        return {{QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}, QMessageBox::Abort};
    case TDialogButtons::dbYesNoCancel:
        return {{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, QMessageBox::Cancel};
    case TDialogButtons::dbYesNo:
        return {{QMessageBox::Yes, QMessageBox::No}, QMessageBox::No};
    case TDialogButtons::dbRetryCancel:
        return {{QMessageBox::Retry, QMessageBox::Cancel}, QMessageBox::Cancel};
    }
    return {{QMessageBox::Ok}, QMessageBox::Ok};
}

int AnswerCodeOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return TMessageDialog::idOk;
    case QMessageBox::Cancel:
        return TMessageDialog::idCancel;
    case QMessageBox::Abort:
        return TMessageDialog::idAbort;
    case QMessageBox::Retry:
        return TMessageDialog::idRetry;
    case QMessageBox::Ignore:
        return TMessageDialog::idIgnore;
    case QMessageBox::Yes:
        return TMessageDialog::idYes;
    case QMessageBox::No:
        return TMessageDialog::idNo;
    default:
        return TMessageDialog::idCancel;
    }
}

// The index into a list of button count entries that a default index names:
// itself when in range, otherwise the fallback.
qsizetype ChooseIndex(int index, qsizetype count, qsizetype fallback)
{
    return index >= 0 && index < count ? index : fallback;
}

} // namespace

int TMessageDialog::Show(const QString& AMessage, TMsgDlgType ADialogType, TDialogButtons AButtons,
                         int ADefaultButtonIndex)
{
    TBoxHolder box(AMessage, ADialogType);
    const TButtonSet set = ButtonSetOf(AButtons);
    for (QMessageBox::StandardButton button : set.Buttons)
        box->addButton(button);
    box->setDefaultButton(set.Buttons.at(ChooseIndex(ADefaultButtonIndex, set.Buttons.size(), 0)));
    box->setEscapeButton(box->button(set.Escape));

    // No pressed button: the box went away with its parent, as if closed.
    QAbstractButton* pressed = box.Run();
    return AnswerCodeOf(pressed ? box->standardButton(pressed) : set.Escape);
}

int TMessageDialog::Show(const QString& AMessage, TMsgDlgType ADialogType,
                         const QStringList& AButtonCaptions, int ADefaultButtonIndex)
{
    if (AButtonCaptions.isEmpty() || AButtonCaptions.size() > 4)
        throw std::invalid_argument(
            QCoreApplication::translate("TMessageDialog",
                                        "Button count can be in the range of 1..4")
                .toStdString());

    TBoxHolder box(AMessage, ADialogType);
    // One role for all keeps the buttons in caption order on every platform.
    QList<QPushButton*> buttons;
    for (const QString& caption : AButtonCaptions)
        buttons.append(box->addButton(caption, QMessageBox::ActionRole));
    const qsizetype last = buttons.size() - 1;
    box->setDefaultButton(buttons.at(ChooseIndex(ADefaultButtonIndex, buttons.size(), last)));
    box->setEscapeButton(buttons.at(last));

    const qsizetype pressed = buttons.indexOf(qobject_cast<QPushButton*>(box.Run()));
    return int(pressed < 0 ? last : pressed);
}
