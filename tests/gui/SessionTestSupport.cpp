#include "SessionTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "Forms.StartDialog.h"
#include "Lockwyn.LibraryConnections.h"
#include "OvToast.h"

using namespace Lockwyn;

namespace SessionTest {

namespace {

const char* const AnsweredProperty = "SessionTestAnswered";

class TTestPasswordEditor : public IPasswordEditor
{
public:
    TPasswordEditorMode GetMode() const override { return FMode; }
    QString GetPassword() const override { return Password; }
    bool GetPasswordAndConfirmationIdentical() const override { return true; }
    QString GetCaption() const override { return {}; }
    bool GetShowCharacters() const override { return false; }
    bool GetEmpty() const override { return Password.trimmed().isEmpty(); }
    void SetMode(TPasswordEditorMode mode) override { FMode = mode; }
    void SetPassword(const QString& password) override { Password = password; }
    void SetCaption(const QString&) override {}
    void SetShowCharacters(bool) override {}
    void ForceCapsLockIsOnBalloon() override {}
    void Clear() override { Password.clear(); }
    void Focus() override {}

    QString Password;

private:
    TPasswordEditorMode FMode = TPasswordEditorMode::pemManualCreate;
};

class TTestFileNameEditor : public IDatabaseFileNameEditor
{
public:
    explicit TTestFileNameEditor(std::shared_ptr<TScript> script) : FScript(std::move(script)) {}

    TDatabaseOpenMode GetMode() const override { return FMode; }
    const TOvRecentItems& GetRecentItems() const override { return FRecent; }
    QString GetFileName() const override { return FileName; }
    bool GetEmpty() const override { return FileName.trimmed().isEmpty(); }
    void SetMode(TDatabaseOpenMode mode) override { FMode = mode; }
    void SetRecentItems(const TOvRecentItems* items) override
    {
        if (items)
            FRecent.Assign(*items);
        else
            FRecent.Clear();
    }
    void SetFileName(const QString& fileName) override { FileName = fileName; }
    void Clear() override { FileName.clear(); }
    void Focus() override {}
    bool SelectFile() override { return SelectFileInMode(FMode); }
    bool SelectFileInMode(TDatabaseOpenMode) override
    {
        FScript->SelectFileStartNames.append(FileName);
        if (FScript->ChosenFiles.isEmpty()) {
            FScript->Failures.append(QStringLiteral("file dialog without a chosen file"));
            return false;
        }
        const QString chosen = FScript->ChosenFiles.dequeue();
        if (chosen.isEmpty())
            return false;
        FileName = chosen;
        return true;
    }

    QString FileName;

private:
    std::shared_ptr<TScript> FScript;
    TDatabaseOpenMode FMode = TDatabaseOpenMode::domCreateNewDatabase;
    TOvRecentItems FRecent;
};

class TTestNameAndPassword : public IDatabaseNameAndPassword
{
public:
    explicit TTestNameAndPassword(std::shared_ptr<TScript> script) : FileEditor(std::move(script))
    {
    }

    TDatabaseOpenMode GetMode() const override { return FMode; }
    IPasswordEditor* GetPasswordEditor() override { return &PasswordEditor; }
    IDatabaseFileNameEditor* GetDatabaseFileNameEditor() override { return &FileEditor; }
    bool GetReadOnly() const override { return ReadOnly; }
    void SetMode(TDatabaseOpenMode mode) override
    {
        FMode = mode;
        FileEditor.SetMode(mode);
    }
    void SetReadOnly(bool readOnly) override { ReadOnly = readOnly; }
    void Clear() override
    {
        PasswordEditor.Clear();
        FileEditor.Clear();
    }

    TTestPasswordEditor PasswordEditor;
    TTestFileNameEditor FileEditor;
    bool ReadOnly = false;

private:
    TDatabaseOpenMode FMode = TDatabaseOpenMode::domCreateNewDatabase;
};

} // namespace

class TTestStartDialogView : public IStartDialogView
{
public:
    explicit TTestStartDialogView(std::shared_ptr<TScript> script)
        : FScript(std::move(script)), FInput(FScript)
    {
        ++FScript->Created;
    }

    int ShowModal() override
    {
        ++FScript->ShowCount;
        if (FScript->Rounds.isEmpty()) {
            FScript->Failures.append(QStringLiteral("start dialog shown without a round"));
            FResult = TStartDialogResult::sdrCloseApplication;
            return mrCancel;
        }
        const TDialogRound round = FScript->Rounds.dequeue();
        if (round.WhileShown)
            round.WhileShown();
        FResult = round.Result;
        if (!round.FileName.isEmpty())
            FInput.FileEditor.FileName = round.FileName;
        FInput.PasswordEditor.Password = round.Password;
        FInput.ReadOnly = round.ReadOnly;
        return round.Result == TStartDialogResult::sdrCloseApplication ? mrClose : mrOk;
    }
    void ReleaseView() override
    {
        ++FScript->Released;
        delete this;
    }
    TStartDialogViewMode GetMode() const override { return FMode; }
    bool GetInitiallyHidden() const override { return FHidden; }
    TStartDialogResult GetDialogResult() const override { return FResult; }
    IDatabaseNameAndPassword* GetDatabaseNameAndPassword() override { return &FInput; }
    void SetMode(TStartDialogViewMode mode) override
    {
        FMode = mode;
        FScript->Modes.append(mode);
        FInput.SetMode(mode == TStartDialogViewMode::sdvmCreateNewDatabase
                           ? TDatabaseOpenMode::domCreateNewDatabase
                           : TDatabaseOpenMode::domOpenDatabase);
    }
    void SetInitiallyHidden(bool hidden) override
    {
        FHidden = hidden;
        FScript->InitiallyHidden.append(hidden);
    }

private:
    std::shared_ptr<TScript> FScript;
    TTestNameAndPassword FInput;
    TStartDialogViewMode FMode = TStartDialogViewMode::sdvmStartingApplication;
    TStartDialogResult FResult = TStartDialogResult::sdrCloseApplication;
    bool FHidden = false;
};

namespace {

class TTestNewMasterPasswordView : public INewMasterPasswordView
{
public:
    explicit TTestNewMasterPasswordView(std::shared_ptr<TScript> script)
        : FScript(std::move(script))
    {
        ++FScript->MasterPasswordDialogs;
        FEditor.Password = FScript->NewMasterPassword;
    }
    int ShowModal() override { return FScript->MasterPasswordResult; }
    void ReleaseView() override { delete this; }
    IPasswordEditor* GetPasswordEditor() override { return &FEditor; }

private:
    std::shared_ptr<TScript> FScript;
    TTestPasswordEditor FEditor;
};

} // namespace

IStartDialogView* TTestApp::CreateStartDialogView()
{
    return new TTestStartDialogView(FScript);
}

INewMasterPasswordView* TTestApp::CreateNewMasterPasswordView()
{
    return new TTestNewMasterPasswordView(FScript);
}

// ---------------------------------------------------------------------------

void ResetDatabase()
{
    const auto file = GetLockwyn()->GetDatabaseFile();
    file->SetOnFileChanged(nullptr);
    file->SetOnFileChanged2(nullptr);
    file->Close();
    file->GetTokenStorage()->Clear();
    file->SetKeyDerivationSettings(CheapKdf);
    GetLockwyn()->GetOperationHistory()->Clear();
}

// Operations run through the library's one history, which is emptied again:
// a helper's changes are not the program's.
static void AddGroupsTo(ITokenStorage& storage, const QStringList& groups)
{
    const auto history = GetLockwyn()->GetOperationHistory();
    for (const QString& group : groups)
        history->Execute(
            storage.GetRootGroup()->CreateAddGroupOperation(group, false, {}, nullptr));
    history->Clear();
}

void CreateDatabaseFile(const QString& fileName, const QString& password, const QStringList& groups)
{
    const auto scratch = GetLockwyn()->GetDatabaseFile()->CreateScratchFile();
    scratch->SetKeyDerivationSettings(CheapKdf);
    const auto storage = scratch->GetTokenStorage();
    storage->SetMasterPassword(password);
    AddGroupsTo(*storage, groups);
    QCOMPARE(scratch->CreateFile(fileName), DatabaseFileCode::Ok);
    scratch->Close();
    storage->Clear();
}

QStringList GroupTitlesOf(const QString& fileName, const QString& password)
{
    const auto scratch = GetLockwyn()->GetDatabaseFile()->CreateScratchFile();
    QStringList titles;
    if (scratch->Open(fileName, password) != DatabaseFileCode::Ok)
        return titles;
    for (const auto& group : scratch->GetTokenStorage()->GetRootGroup()->GetGroups())
        titles.append(group->GetTitle());
    scratch->Close();
    scratch->GetTokenStorage()->Clear();
    return titles;
}

void AddGroupElsewhere(const QString& fileName, const QString& password, const QString& group)
{
    const auto scratch = GetLockwyn()->GetDatabaseFile()->CreateScratchFile();
    QCOMPARE(scratch->Open(fileName, password), DatabaseFileCode::Ok);
    AddGroupsTo(*scratch->GetTokenStorage(), {group});
    QCOMPARE(scratch->Save(), DatabaseFileCode::Ok);
    scratch->Close();
    scratch->GetTokenStorage()->Clear();
}

void OpenDatabase(const QString& fileName, const QString& password, const QStringList& groups)
{
    ResetDatabase();
    CreateDatabaseFile(fileName, password, groups);
    const auto file = GetLockwyn()->GetDatabaseFile();
    QCOMPARE(file->Open(fileName, password), DatabaseFileCode::Ok);
    file->GetTokenStorage()->GetRootGroup()->SetTitle(QFileInfo(fileName).completeBaseName());
    GetLockwyn()->GetOperationHistory()->Clear();
}

namespace {

QString TokenLine(IToken& token)
{
    QStringList values;
    const auto properties = token.GetCustomProperties();
    for (int i = 0; i < properties->GetCount(); ++i)
        values << properties->GetItem(i).GetName() + u'=' + properties->GetItem(i).GetValue();
    const QString expiry =
        token.GetExpires() ? token.GetExpirationDate().toString(Qt::ISODate) : QStringLiteral("-");
    return QStringList{token.GetGroup()->GetPath(),
                       token.GetTitle(),
                       token.GetUserName(),
                       token.GetPassword(),
                       token.GetURL(),
                       token.GetNotes(),
                       expiry,
                       values.join(u',')}
        .join(u'|');
}

// Runs `read` on the root group of the file opened in a storage of its own.
template <typename T>
T ReadFile(const QString& fileName, const QString& password,
           const std::function<T(ITokenGroup&)>& read)
{
    const auto scratch = GetLockwyn()->GetDatabaseFile()->CreateScratchFile();
    T result{};
    if (scratch->Open(fileName, password) == DatabaseFileCode::Ok)
        result = read(*scratch->GetTokenStorage()->GetRootGroup());
    scratch->Close();
    scratch->GetTokenStorage()->Clear();
    return result;
}

} // namespace

QStringList TokensOnDisk(const QString& fileName, const QString& password)
{
    return ReadFile<QStringList>(fileName, password, [](ITokenGroup& root) {
        QStringList lines;
        for (const auto& token : root.GetAllTokens())
            lines << TokenLine(*token);
        return lines;
    });
}

QStringList GroupsOnDisk(const QString& fileName, const QString& password)
{
    return ReadFile<QStringList>(fileName, password, [](ITokenGroup& root) {
        QStringList lines;
        for (const auto& group : root.GetAllGroups())
            lines << group->GetPath() + QStringLiteral(" [") +
                         group->GetCustomPropertiesTemplate()->GetNames().join(u',') + u']';
        return lines;
    });
}

void AddGroup(const QString& title)
{
    const auto root = GetLockwyn()->GetDatabaseFile()->GetTokenStorage()->GetRootGroup();
    GetLockwyn()->GetOperationHistory()->Execute(
        root->CreateAddGroupOperation(title, false, {}, nullptr));
}

QStringList OpenGroupTitles()
{
    QStringList titles;
    const auto root = GetLockwyn()->GetDatabaseFile()->GetTokenStorage()->GetRootGroup();
    for (const auto& group : root->GetGroups())
        titles.append(group->GetTitle());
    return titles;
}

QByteArray ReadAll(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& fileName, const QByteArray& content)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QString ToastText()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* toast = qobject_cast<TOvToast*>(window))
            return toast->accessibleName();
    }
    return {};
}

void AnswerStartDialogWithPassword(const QString& password)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, password] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TfStartDialog*>(window);
            if (!dialog || !dialog->isVisible())
                continue;
            poll->deleteLater();
            poll->stop();
            dialog->GetDatabaseNameAndPassword()->GetPasswordEditor()->SetPassword(password);
            dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
            return;
        }
    });
    poll->start(5);
}

QString FocusName(const QWidget& window)
{
    QWidget* focus = window.focusWidget();
    return focus ? focus->objectName() : QString();
}

// ---------------------------------------------------------------------------

TMessageBoxAnswerer::TMessageBoxAnswerer()
{
    connect(&FTimer, &QTimer::timeout, this, &TMessageBoxAnswerer::Poll);
    FTimer.start(5);
}

TMessageBoxAnswerer::~TMessageBoxAnswerer() = default;

void TMessageBoxAnswerer::Poll()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (!box || !box->isVisible() || box->property(AnsweredProperty).toBool())
            continue;
        box->setProperty(AnsweredProperty, true);
        FMessages.append(box->text());
        if (OnMessage)
            OnMessage();
        if (!FAnswers.isEmpty() && FAnswers.head() == EscapeAnswer) {
            FAnswers.dequeue();
            QTest::keyClick(box, Qt::Key_Escape);
            continue;
        }
        QAbstractButton* chosen = nullptr;
        if (!FAnswers.isEmpty()) {
            const QString caption = FAnswers.dequeue();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text().remove(u'&').compare(caption, Qt::CaseInsensitive) == 0)
                    chosen = button;
            }
        }
        if (chosen) {
            chosen->click();
        } else {
            FUnexpected.append(box->text());
            QTest::keyClick(box, Qt::Key_Escape);
        }
    }
}

// ---------------------------------------------------------------------------

TTestMainView::TTestMainView(ILockwynApp* app) : FApp(app)
{
    qApp->installEventFilter(this);
}

TTestMainView::~TTestMainView()
{
    qApp->removeEventFilter(this);
}

bool TTestMainView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == qApp && event->type() == FileModificationSignalEvent) {
        FApp->ProcessFileModificationSignal();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace SessionTest
