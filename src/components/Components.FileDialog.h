#pragma once
// The program's file open and save dialogs, with one hook through which tests
// stand in for every one of them.

#include <QString>

#include <functional>

class QWidget;

struct TFileDialogRequest
{
    enum class TKind
    {
        fdkOpen, // an existing file
        fdkSave, // a new or existing file to write
    };

    TKind Kind = TKind::fdkOpen;
    QString ObjectName;
    QString Title;
    // One filter as the dialog shows it: "Lockwyn XML (*.xml)".
    QString NameFilter;
    // Appended when a saved name has no extension; without the dot.
    QString DefaultSuffix;
    // The file the dialog starts with; its folder when it names no file.
    QString InitialFileName;
    // Save dialogs: the dialog asks before an existing file is chosen. Off
    // where the caller asks in its own words.
    bool ConfirmOverwrite = true;
};

class TFileDialog
{
public:
    // Gets the request, returns the chosen name or an empty string for a
    // cancelled dialog.
    using THook = std::function<QString(const TFileDialogRequest& request)>;

    // Runs the dialog modally over the parent's window; the chosen file's
    // full name, or an empty string when the user cancelled.
    static QString Execute(QWidget* parent, const TFileDialogRequest& request);
    // Replaces every file dialog (tests); an empty hook restores them.
    static void SetHook(THook hook);
};
