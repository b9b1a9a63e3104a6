// The history grid of a token edited several times: its blocks and rows,
// masked passwords shown only while selected, "(empty)", links, notes cut to
// five lines with the whole text as a hint, and copying a cell.

#include <QApplication>
#include <QClipboard>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

#include "Components.ClipboardAutoCleaner.h"
#include "DialogTestSupport.h"
#include "Frames.TokenHistoryDisplay.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;
using namespace DialogTest;
using Mark = TfrTokenHistoryDisplay::TCellMark;

namespace {

const QString SevenLines = QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix\nseven");

void Update(const std::shared_ptr<IToken>& token, const std::function<void(IToken&)>& edit)
{
    const auto copy = token->GetCloner()->Clone();
    edit(*copy);
    GetLockwyn()->GetOperationHistory()->Execute(token->CreateUpdateOperation(copy));
}

// The shown texts of every row: caption, first value, arrow, second value;
// "#" stands for the date of an entry's header row.
QStringList Rows(const TfrTokenHistoryDisplay& display)
{
    auto* grid = display.findChild<QTableWidget*>("sgHistory");
    QStringList rows;
    for (int row = 0; row < grid->rowCount(); ++row) {
        QStringList cells;
        for (int column : {0, 2, 3, 4})
            cells << (column < grid->columnCount() ? display.CellDisplayText(column, row)
                                                   : QString());
        if (display.CellMarks(0, row) & Mark::cmEntryHeader)
            cells[0] = u'#';
        rows << cells.join(u'|');
    }
    return rows;
}

struct TFixture
{
    TDialogSession Session;
    std::shared_ptr<IToken> Token;
    QWidget Window;
    TfrTokenHistoryDisplay* Display = new TfrTokenHistoryDisplay(&Window);
    QTableWidget* Grid = Display->findChild<QTableWidget*>("sgHistory");

    TFixture()
    {
        Token = Session.AddToken(Session.Root(), "Mail", "first");
        Update(Token, [](IToken& t) { t.SetPassword("second"); });
        Update(Token, [](IToken& t) {
            t.SetURL("https://new.example/");
            t.SetNotes(SevenLines);
            t.SetUserName("");
        });
        Update(Token, [](IToken& t) { t.GetCustomProperties()->Add("PIN", "1234"); });
        Window.resize(700, 600);
        Display->resize(700, 600);
        Window.show();
        Display->SetTokenHistory(Token->GetHistory()->GetCloner()->Clone());
    }

    int RowOf(const QString& caption) const
    {
        for (int row = 0; row < Grid->rowCount(); ++row) {
            if (Display->CellDisplayText(0, row) == caption)
                return row;
        }
        return -1;
    }
    QPoint Centre(int column, int row) const
    {
        return Grid->visualRect(Grid->model()->index(row, column)).center();
    }
};

} // namespace

class TestTokenHistoryDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        GUISettings().SetAutoCleanClipboard(true);
        GUISettings().SetAutoCleanClipboardSeconds(15);
        QApplication::clipboard()->clear();
    }

    void cleanup() { ClipboardAutoCleaner().CancelAutoClean(); }

    void cleanupTestCase()
    {
        ReleaseClipboardAutoCleaner();
        ReleaseLockwynApp();
        ReleaseLibraryConnections();
    }

    void newTokenStateIsOneRow()
    {
        QWidget window;
        auto* display = new TfrTokenHistoryDisplay(&window);
        display->SetInitialState();
        display->SetTokenHistory(nullptr);
        QCOMPARE(Rows(*display), QStringList{"#|" + LocalizedStrings().FAddTokenDlgCaption + "||"});
        QVERIFY(display->CellMarks(0, 0) & Mark::cmEntryHeader);
    }

    void blocksOfATokenEditedSeveralTimes()
    {
        TFixture f;
        const TLocalizedStrings& s = LocalizedStrings();
        const QString mask = s.FHistoryFieldPasswordHideMask;
        const QString arrow(QChar(0x2192));
        const QString empty = s.FHistoryFieldEmpty;
        // Newest first; each entry a header row and a row per recorded field,
        // one empty row between entries and one at the end.
        const QStringList expected{
            "#|||",
            "PIN:|" + empty + "|" + arrow + "|1234",
            "|||",
            "#|||",
            "User Name:|alice|" + arrow + "|" + empty,
            "URL:|https://mail.example/|" + arrow + "|https://new.example/",
            "Notes:|first notes|" + arrow + "|" + f.Display->CellDisplayText(4, 6),
            "|||",
            "#|||",
            "Password:|" + mask + "|" + arrow + "|" + mask,
            "|||",
            "#|" + s.FHistoryFieldTokenCreated + "||",
            "Title:|Mail||",
            "User Name:|alice||",
            "Password:|" + mask + "||",
            "URL:|https://mail.example/||",
            "Notes:|first notes||",
            "|||",
        };
        QCOMPARE(Rows(*f.Display), expected);
        QVERIFY(f.Display->CellMarks(2, 1) & Mark::cmEmptyValue);
        QVERIFY(f.Display->CellMarks(4, 4) & Mark::cmEmptyValue);
        QVERIFY(f.Display->CellMarks(4, 5) & Mark::cmLink);
        QVERIFY(f.Display->CellMarks(2, 5) & Mark::cmLink);
        QVERIFY(!(f.Display->CellMarks(2, 4) & Mark::cmLink));
    }

    void longNotesAreCutToFiveLines()
    {
        TFixture f;
        const int row = f.RowOf("Notes:");
        QVERIFY(f.Display->CellMarks(4, row) & Mark::cmMultiLine);
        const QString cut = f.Display->CellDisplayText(4, row);
        QVERIFY2(cut.startsWith("one\ntwo\nthree\nfour\nfive"), qPrintable(cut));
        QVERIFY(cut.endsWith(QChar(0x2026)));
        QVERIFY(!cut.contains("six"));
        const int line = f.Grid->fontMetrics().lineSpacing();
        QVERIFY(f.Grid->rowHeight(row) >= 5 * line);
        QVERIFY(f.Grid->rowHeight(row) < 6 * line);

        // Resting the mouse on the cut cell shows the whole text.
        QTest::mouseMove(f.Grid->viewport(), f.Centre(4, row));
        QTest::mouseMove(f.Grid->viewport(), f.Centre(4, row) + QPoint(1, 1));
        QTRY_COMPARE(QToolTip::text(), SevenLines);
        QTest::mouseMove(f.Grid->viewport(), f.Centre(2, row - 1));
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void passwordShowsOnlyWhileSelected()
    {
        TFixture f;
        const QString mask = LocalizedStrings().FHistoryFieldPasswordHideMask;
        const int row = f.RowOf("Password:");
        // The first selection of a grid never lands on a password.
        QVERIFY(f.Grid->selectedItems().isEmpty() ||
                !(f.Display->CellMarks(f.Grid->currentColumn(), f.Grid->currentRow()) &
                  Mark::cmPassword));
        QCOMPARE(f.Display->CellDisplayText(2, row), mask);
        QTest::mouseClick(f.Grid->viewport(), Qt::LeftButton, {}, f.Centre(2, row));
        QCOMPARE(f.Display->CellDisplayText(2, row), QStringLiteral("first"));
        QCOMPARE(f.Display->CellDisplayText(4, row), mask);
        // Neither the view nor a screen reader sees the password.
        const QModelIndex index = f.Grid->model()->index(row, 2);
        QCOMPARE(index.data(Qt::DisplayRole).toString(), mask);

        // Cells without a value cannot be selected: the password stays shown.
        QTest::mouseClick(f.Grid->viewport(), Qt::LeftButton, {}, f.Centre(0, row));
        QTest::mouseClick(f.Grid->viewport(), Qt::LeftButton, {}, f.Centre(3, row));
        QCOMPARE(f.Display->CellDisplayText(2, row), QStringLiteral("first"));
    }

    void copyingACell_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("cleaned");
        QTest::newRow("password") << "Password:" << int(Qt::ControlModifier) << "first" << true;
        QTest::newRow("url") << "URL:" << int(Qt::ControlModifier) << "https://mail.example/"
                             << false;
        QTest::newRow("ctrl+shift+c")
            << "Password:" << int(Qt::ControlModifier | Qt::ShiftModifier) << "" << false;
    }

    void copyingACell()
    {
        QFETCH(QString, caption);
        QFETCH(int, modifiers);
        QFETCH(QString, clipboard);
        QFETCH(bool, cleaned);
        TFixture f;
        const int row = f.RowOf(caption);
        QTest::mouseClick(f.Grid->viewport(), Qt::LeftButton, {}, f.Centre(2, row));
        QTest::keyClick(f.Grid, Qt::Key_C, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(ClipboardAutoCleaner().IsCleanPending(), cleaned);
    }

    void clearingLeavesOneEntry()
    {
        TFixture f;
        f.Display->ClearHistory();
        QCOMPARE(f.Display->GetTokenHistory()->GetCount(), 1);
        QCOMPARE(Rows(*f.Display).first(),
                 "#|" + LocalizedStrings().FHistoryFieldHistoryCleared + "||");
        QCOMPARE(f.Token->GetHistory()->GetCount(), 4);
    }
};

QTEST_MAIN(TestTokenHistoryDisplay)
#include "tst_TokenHistoryDisplay.moc"
