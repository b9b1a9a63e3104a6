#include "DialogTestSupport.h"

#include <QAbstractItemView>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"
#include "OvToast.h"

using namespace Lockwyn;

namespace DialogTest {

void RunInEventLoop(const std::function<void()>& step)
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        step();
        loop.quit();
    });
    loop.exec();
}

bool HoldsText(const QWidget& window, const QString& text)
{
    for (const QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        if (edit->text().contains(text))
            return true;
    }
    for (const QAbstractItemView* view : window.findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                for (const QVariant& value : model->itemData(model->index(row, column))) {
                    if (value.toString().contains(text))
                        return true;
                }
            }
        }
    }
    return false;
}

TDialogSession::TDialogSession(const QStringList& groups) : Main(&LockwynApp())
{
    GUISettings().SetFileName(FDir.filePath(QStringLiteral("lockwyn.settings.xml")));
    FFileName = FDir.filePath(QStringLiteral("vault.lwdb"));
    SessionTest::OpenDatabase(FFileName, Password, groups);
    LockwynApp().ClearHistory();
    Main.Tree.Selected = Root();
}

TDialogSession::~TDialogSession()
{
    TOvToast::Cancel();
    LockwynApp().ClearHistory();
    SessionTest::ResetDatabase();
}

std::shared_ptr<ITokenGroup> TDialogSession::Root() const
{
    return LockwynApp().GetRootGroup();
}

std::shared_ptr<ITokenGroup> TDialogSession::Group(const QString& title) const
{
    for (const auto& group : Root()->GetAllGroups()) {
        if (group->GetTitle() == title)
            return group;
    }
    return nullptr;
}

void TDialogSession::Saved(const std::shared_ptr<IOperation>& operation)
{
    const auto history = GetLockwyn()->GetOperationHistory();
    history->Execute(operation);
    history->Clear();
    QCOMPARE(GetLockwyn()->GetDatabaseFile()->Save(), DatabaseFileCode::Ok);
}

std::shared_ptr<IToken> TDialogSession::AddToken(const std::shared_ptr<ITokenGroup>& group,
                                                 const QString& title, const QString& password,
                                                 const QList<TTokenCustomProperty>& values)
{
    const auto factory = GetLockwyn()->GetObjectFactory();
    const auto properties = factory->CreateCustomProperties();
    for (const auto& value : values)
        properties->Add(value.GetName(), value.GetValue());
    const auto operation = group->CreateAddTokenOperation(
        title, QStringLiteral("alice"), password, QStringLiteral("https://mail.example/"),
        QStringLiteral("first notes"), false, QDateTime::currentDateTime(), false, properties,
        nullptr);
    Saved(operation);
    return operation->GetResult();
}

std::shared_ptr<ITokenGroup> TDialogSession::AddGroup(const std::shared_ptr<ITokenGroup>& parent,
                                                      const QString& title,
                                                      const QStringList& templateNames)
{
    const auto templ = GetLockwyn()->GetObjectFactory()->CreateCustomPropertiesTemplate();
    for (const QString& name : templateNames)
        templ->Add(name);
    const auto operation = parent->CreateAddGroupOperation(title, false, QDateTime(), templ);
    Saved(operation);
    return operation->GetResult();
}

QStringList TDialogSession::TokensOnDisk() const
{
    return SessionTest::TokensOnDisk(FFileName, Password);
}

QStringList TDialogSession::GroupsOnDisk() const
{
    return SessionTest::GroupsOnDisk(FFileName, Password);
}

int TDialogSession::UndoCount() const
{
    return GetLockwyn()->GetOperationHistory()->GetCount();
}

} // namespace DialogTest
