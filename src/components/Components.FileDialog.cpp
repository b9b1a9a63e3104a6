#include "Components.FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

TFileDialog::THook& Hook()
{
    static TFileDialog::THook hook;
    return hook;
}

} // namespace

QString TFileDialog::Execute(QWidget* parent, const TFileDialogRequest& request)
{
    if (const THook& hook = Hook())
        return hook(request);

    const bool save = request.Kind == TFileDialogRequest::TKind::fdkSave;
    QFileDialog dialog(parent ? parent->window() : nullptr, request.Title);
    dialog.setObjectName(request.ObjectName);
    dialog.setNameFilter(request.NameFilter);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    const QFileInfo initial(request.InitialFileName);
    dialog.setDirectory(initial.absolutePath());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save || initial.isFile())
        dialog.selectFile(initial.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void TFileDialog::SetHook(THook hook)
{
    Hook() = std::move(hook);
}
