// The database file field: the name to create and the name to open, the file
// dialogs of both modes and the recent list.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "Components.FileDialog.h"
#include "Frames.DatabaseFileNameEditor.h"

namespace {

void Touch(const QString& fileName, const QDateTime& modified)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

} // namespace

class TestDatabaseFileNameEditor : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QList<QPair<TFileDialogRequest::TKind, QString>> FCalls;
    QString FChoice;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        TFileDialog::SetHook([this](const TFileDialogRequest& request) {
            FCalls.append({request.Kind, request.InitialFileName});
            return FChoice;
        });
    }

    void cleanupTestCase() { TFileDialog::SetHook({}); }

    void init()
    {
        FCalls.clear();
        FChoice.clear();
    }

    void newDatabaseIsOfferedInTheDocumentsFolder()
    {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString expected = documents.isEmpty() ? QStringLiteral("Passwords.lwdb")
                                                     : QDir(documents).filePath("Passwords.lwdb");
        QCOMPARE(TfrDatabaseFileNameEditor::DefaultNewDatabaseName(), expected);
        TfrDatabaseFileNameEditor editor;
        QCOMPARE(editor.GetMode(), TDatabaseOpenMode::domCreateNewDatabase);
        QCOMPARE(editor.GetFileName(), expected);
    }

    void typingChangesTheNameToCreate()
    {
        TfrDatabaseFileNameEditor editor;
        auto* edit = editor.findChild<QLineEdit*>("edtFileName");
        edit->clear();
        QTest::keyClicks(edit, "  ");
        QVERIFY(editor.GetEmpty());
        QTest::keyClicks(edit, "x.lwdb");
        QCOMPARE(editor.GetFileName(), QStringLiteral("  x.lwdb"));
        QVERIFY(!editor.GetEmpty());
        editor.Clear();
        QVERIFY(editor.GetEmpty());
        QVERIFY(edit->text().isEmpty());
    }

    void saveDialogStartsAtTheNameToCreate_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::newRow("chosen") << FDir.filePath("chosen.lwdb");
        QTest::newRow("cancelled") << QString();
    }

    void saveDialogStartsAtTheNameToCreate()
    {
        QFETCH(QString, choice);
        TfrDatabaseFileNameEditor editor;
        editor.SetFileName(FDir.filePath("first.lwdb"));
        FChoice = choice;
        QCOMPARE(editor.SelectFile(), !choice.isEmpty());
        QCOMPARE(FCalls.size(), 1);
        QCOMPARE(FCalls.first().first, TFileDialogRequest::TKind::fdkSave);
        QCOMPARE(FCalls.first().second, FDir.filePath("first.lwdb"));
        const QString expected = choice.isEmpty() ? FDir.filePath("first.lwdb") : choice;
        QCOMPARE(QDir::fromNativeSeparators(editor.GetFileName()), expected);
        QCOMPARE(QDir::fromNativeSeparators(editor.findChild<QLineEdit*>("edtFileName")->text()),
                 expected);
    }

    void openDialogSelectsTheChosenFile()
    {
        const QString chosen = FDir.filePath("chosen.lwdb");
        Touch(chosen, QDateTime::currentDateTime());
        TfrDatabaseFileNameEditor editor;
        editor.SetMode(TDatabaseOpenMode::domOpenDatabase);
        QVERIFY(editor.GetEmpty());
        FChoice = chosen;
        QVERIFY(editor.SelectFile());
        // Without a name to open the dialog starts in the documents folder.
        const QString documents =
            QFileInfo(TfrDatabaseFileNameEditor::DefaultNewDatabaseName()).absolutePath() + u'/';
        QCOMPARE(FCalls.first().second, documents);
        QCOMPARE(QDir::fromNativeSeparators(editor.GetFileName()), chosen);
        QCOMPARE(editor.GetRecentItems().IndexOf(chosen), 0);
        auto* combo = editor.findChild<TOvRecentFilesComboBox*>("cbRecentFiles");
        QCOMPARE(combo->currentIndex(), 0);

        FChoice.clear();
        QVERIFY(!editor.SelectFile());
        QCOMPARE(FCalls.last().second, editor.GetFileName());
        QCOMPARE(QDir::fromNativeSeparators(editor.GetFileName()), chosen);
    }

    void nameToOpenIsAddedAtItsDatePosition()
    {
        const QDateTime now = QDateTime::currentDateTime();
        const QString newest = FDir.filePath("newest.lwdb");
        const QString middle = FDir.filePath("middle.lwdb");
        const QString oldest = FDir.filePath("oldest.lwdb");
        Touch(newest, now);
        Touch(middle, now.addDays(-5));
        Touch(oldest, now.addDays(-10));
        TOvRecentItems items;
        items.Add(newest);
        items.Add(oldest);
        TfrDatabaseFileNameEditor editor;
        editor.SetMode(TDatabaseOpenMode::domOpenDatabase);
        editor.SetRecentItems(&items);
        editor.SetFileName(middle);
        QStringList names;
        editor.GetRecentItems().GetFileNames(names);
        QCOMPARE(names, (QStringList{newest, middle, oldest}));
        QCOMPARE(editor.GetFileName(), middle);

        // A file that does not exist is not offered.
        editor.SetFileName(FDir.filePath("deleted.lwdb"));
        QVERIFY(editor.GetEmpty());
        QCOMPARE(editor.GetRecentItems().Count(), 3);

        auto* combo = editor.findChild<TOvRecentFilesComboBox*>("cbRecentFiles");
        combo->setCurrentIndex(2);
        Q_EMIT combo->activated(2);
        QCOMPARE(editor.GetFileName(), oldest);

        editor.SetRecentItems(nullptr);
        QCOMPARE(editor.GetRecentItems().Count(), 0);
    }

    void modesShowTheirControl()
    {
        TfrDatabaseFileNameEditor editor;
        editor.show();
        auto* edit = editor.findChild<QWidget*>("edtFileName");
        auto* combo = editor.findChild<QWidget*>("cbRecentFiles");
        QVERIFY(edit->isVisible() && !combo->isVisible());
        editor.SetMode(TDatabaseOpenMode::domOpenDatabase);
        QVERIFY(!edit->isVisible() && combo->isVisible());
        editor.Focus();
        QCOMPARE(editor.focusWidget(), combo);
    }
};

QTEST_MAIN(TestDatabaseFileNameEditor)
#include "tst_DatabaseFileNameEditor.moc"
