#pragma once
// The setting every editing-dialog test starts from: a database file of its
// own opened as the program's database, a main window of test views whose
// tree and list hold a selection, and an answerer for message boxes.

#include <QDialog>
#include <QPushButton>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include "Lockwyn.Interfaces.h"
#include "LockwynLib.Interfaces.h"
#include "SessionTestSupport.h"

namespace DialogTest {

inline const QString Password = QStringLiteral("correct horse");

// An editing dialog made by the controller, loaded for a mode and released
// when the test ends.
template <typename TForm> class TEditDialog
{
public:
    TEditDialog(IEditObjectModalView* view, TEditObjectModalViewMode mode)
        : View(dynamic_cast<TForm*>(view))
    {
        View->SetMode(mode);
    }
    ~TEditDialog() { View->ReleaseView(); }
    TEditDialog(const TEditDialog&) = delete;
    TEditDialog& operator=(const TEditDialog&) = delete;

    TForm* operator->() const { return View; }
    TForm& operator*() const { return *View; }
    template <typename T> T* Get(const char* name) const
    {
        return SessionTest::Child<T>(*View, name);
    }
    // Presses OK; true when the dialog closed with it.
    bool PressOK() const
    {
        Get<QPushButton>("btnOK")->click();
        return View->result() == QDialog::Accepted;
    }

    TForm* View;
};

// Runs the step as the program releases its dialogs: inside an event loop,
// where a deletion the step asks for waits until the step is done.
void RunInEventLoop(const std::function<void()>& step);

// Whether the window holds the text anywhere: in a line edit or in any role
// of any cell of an item view.
bool HoldsText(const QWidget& window, const QString& text);

class TDialogSession
{
public:
    // Top-level groups of the new database.
    explicit TDialogSession(const QStringList& groups = {});
    ~TDialogSession();

    QString FileName() const { return FFileName; }
    std::shared_ptr<Lockwyn::ITokenGroup> Root() const;
    // A top-level group by title.
    std::shared_ptr<Lockwyn::ITokenGroup> Group(const QString& title) const;
    // Adds a token (and saves) without an undo entry.
    std::shared_ptr<Lockwyn::IToken>
    AddToken(const std::shared_ptr<Lockwyn::ITokenGroup>& group, const QString& title,
             const QString& password = QStringLiteral("old secret"),
             const QList<Lockwyn::TTokenCustomProperty>& values = {});
    // Adds a group (and saves) without an undo entry.
    std::shared_ptr<Lockwyn::ITokenGroup>
    AddGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& parent, const QString& title,
             const QStringList& templateNames = {});
    QStringList TokensOnDisk() const;
    QStringList GroupsOnDisk() const;
    int UndoCount() const;

    SessionTest::TTestMainView Main;
    SessionTest::TMessageBoxAnswerer Answers;

private:
    void Saved(const std::shared_ptr<Lockwyn::IOperation>& operation);

    QTemporaryDir FDir;
    QString FFileName;
};

} // namespace DialogTest
