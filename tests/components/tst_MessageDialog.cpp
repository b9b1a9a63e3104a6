#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>

#include "Components.MessageDialog.h"

using namespace Qt::StringLiterals;

using TDialogButtons = TMessageDialog::TDialogButtons;
using TAction = std::function<void(QMessageBox*)>;

Q_DECLARE_METATYPE(TDialogButtons)
Q_DECLARE_METATYPE(TMsgDlgType)

namespace {

// Runs AAction on the message box as soon as it is shown modally.
void OnMessageBox(TAction AAction)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, AAction] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        AAction(box);
    });
    poll->start();
}

// The box's push buttons from left to right.
QList<QAbstractButton*> ButtonsLeftToRight(QMessageBox* box)
{
    QList<QAbstractButton*> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    return buttons;
}

QStringList Texts(const QList<QAbstractButton*>& buttons)
{
    QStringList texts;
    for (QAbstractButton* button : buttons)
        texts << button->text();
    return texts;
}

void PressEnter(QMessageBox* box)
{
    QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
}

// "click:<n>" clicks the n-th button from the left (fixed sets: the
// standard button with that value), "enter", "escape", "close".
TAction ActionFor(const QString& action)
{
    if (action == u"enter")
        return PressEnter;
    if (action == u"escape")
        return [](QMessageBox* box) {
            QTest::keyClick(box, Qt::Key_Escape);
        };
    if (action == u"close")
        return [](QMessageBox* box) {
            box->close();
        };
    const int n = action.section(u':', 1).toInt();
    return [n](QMessageBox* box) {
        QAbstractButton* button = box->button(QMessageBox::StandardButton(n));
        (button ? button : ButtonsLeftToRight(box).at(n))->click();
    };
}

QString Click(QMessageBox::StandardButton button)
{
    return u"click:"_s + QString::number(int(button));
}

} // namespace

class TestMessageDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void fixedSetAnswers_data();
    void fixedSetAnswers();
    void fixedSetDefaultButton_data();
    void fixedSetDefaultButton();
    void fixedSetClosing_data();
    void fixedSetClosing();
    void icons_data();
    void icons();
    void customTypeShowsApplicationIcon();
    void boxProperties();

    void captions_data();
    void captions();
    void captionCountOutOfRange_data();
    void captionCountOutOfRange();

    void parentGoesAwayWhileShown_data();
    void parentGoesAwayWhileShown();
};

void TestMessageDialog::initTestCase()
{
    QGuiApplication::setApplicationDisplayName(u"Lockwyn Test"_s);
}

void TestMessageDialog::cleanup()
{
    QApplication::setWindowIcon(QIcon());
}

void TestMessageDialog::fixedSetAnswers_data()
{
    QTest::addColumn<TDialogButtons>("set");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");

    using B = QMessageBox;
    const int ok = B::Ok, okCancel = B::Ok | B::Cancel;
    const int ari = B::Abort | B::Retry | B::Ignore, ync = B::Yes | B::No | B::Cancel;
    const int yn = B::Yes | B::No, rc = B::Retry | B::Cancel;
    QTest::newRow("Ok: OK") << TDialogButtons::dbOk << ok << Click(B::Ok) << 1;
    QTest::newRow("OkCancel: OK") << TDialogButtons::dbOkCancel << okCancel << Click(B::Ok) << 1;
    QTest::newRow("OkCancel: Cancel")
        << TDialogButtons::dbOkCancel << okCancel << Click(B::Cancel) << 2;
    QTest::newRow("AbortRetryIgnore: Abort")
        << TDialogButtons::dbAbortRetryIgnore << ari << Click(B::Abort) << 3;
    QTest::newRow("AbortRetryIgnore: Retry")
        << TDialogButtons::dbAbortRetryIgnore << ari << Click(B::Retry) << 4;
    QTest::newRow("AbortRetryIgnore: Ignore")
        << TDialogButtons::dbAbortRetryIgnore << ari << Click(B::Ignore) << 5;
    QTest::newRow("YesNoCancel: Yes") << TDialogButtons::dbYesNoCancel << ync << Click(B::Yes) << 6;
    QTest::newRow("YesNoCancel: No") << TDialogButtons::dbYesNoCancel << ync << Click(B::No) << 7;
    QTest::newRow("YesNoCancel: Cancel")
        << TDialogButtons::dbYesNoCancel << ync << Click(B::Cancel) << 2;
    QTest::newRow("YesNo: Yes") << TDialogButtons::dbYesNo << yn << Click(B::Yes) << 6;
    QTest::newRow("YesNo: No") << TDialogButtons::dbYesNo << yn << Click(B::No) << 7;
    QTest::newRow("RetryCancel: Retry")
        << TDialogButtons::dbRetryCancel << rc << Click(B::Retry) << 4;
    QTest::newRow("RetryCancel: Cancel")
        << TDialogButtons::dbRetryCancel << rc << Click(B::Cancel) << 2;
}

void TestMessageDialog::fixedSetAnswers()
{
    QFETCH(TDialogButtons, set);
    QFETCH(int, buttons);
    QFETCH(QString, action);
    QFETCH(int, answer);

    int shown = 0;
    OnMessageBox([&](QMessageBox* box) {
        shown = int(box->standardButtons());
        ActionFor(action)(box);
    });
    QCOMPARE(TMessageDialog::Show(u"Question?"_s, TMsgDlgType::mtConfirmation, set, 0), answer);
    QCOMPARE(shown, buttons);
}

void TestMessageDialog::fixedSetDefaultButton_data()
{
    QTest::addColumn<TDialogButtons>("set");
    QTest::addColumn<int>("defaultIndex");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("answer");

    QTest::newRow("YesNo, 1: No") << TDialogButtons::dbYesNo << 1 << int(QMessageBox::No) << 7;
    QTest::newRow("YesNo, 0: Yes") << TDialogButtons::dbYesNo << 0 << int(QMessageBox::Yes) << 6;
    QTest::newRow("YesNo, -1: first")
        << TDialogButtons::dbYesNo << -1 << int(QMessageBox::Yes) << 6;
    QTest::newRow("YesNo, 2: no third button, first")
        << TDialogButtons::dbYesNo << 2 << int(QMessageBox::Yes) << 6;
    QTest::newRow("YesNoCancel, 2: Cancel")
        << TDialogButtons::dbYesNoCancel << 2 << int(QMessageBox::Cancel) << 2;
    QTest::newRow("AbortRetryIgnore, 1: Retry")
        << TDialogButtons::dbAbortRetryIgnore << 1 << int(QMessageBox::Retry) << 4;
    QTest::newRow("AbortRetryIgnore, 2: Ignore")
        << TDialogButtons::dbAbortRetryIgnore << 2 << int(QMessageBox::Ignore) << 5;
    QTest::newRow("AbortRetryIgnore, 3: first")
        << TDialogButtons::dbAbortRetryIgnore << 3 << int(QMessageBox::Abort) << 3;
    QTest::newRow("RetryCancel, 1: Cancel")
        << TDialogButtons::dbRetryCancel << 1 << int(QMessageBox::Cancel) << 2;
    QTest::newRow("Ok, 1: OK") << TDialogButtons::dbOk << 1 << int(QMessageBox::Ok) << 1;
}

void TestMessageDialog::fixedSetDefaultButton()
{
    QFETCH(TDialogButtons, set);
    QFETCH(int, defaultIndex);
    QFETCH(int, defaultButton);
    QFETCH(int, answer);

    int shownDefault = -1;
    OnMessageBox([&](QMessageBox* box) {
        shownDefault = int(box->standardButton(box->defaultButton()));
        PressEnter(box);
    });
    QCOMPARE(TMessageDialog::Show(u"Question?"_s, TMsgDlgType::mtConfirmation, set, defaultIndex),
             answer);
    QCOMPARE(shownDefault, defaultButton);
}

void TestMessageDialog::fixedSetClosing_data()
{
    QTest::addColumn<TDialogButtons>("set");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");

    for (const QString& action : {u"close"_s, u"escape"_s}) {
        const QByteArray how = action.toLatin1();
        QTest::addRow("Ok %s", how.constData()) << TDialogButtons::dbOk << action << 1;
        QTest::addRow("OkCancel %s", how.constData()) << TDialogButtons::dbOkCancel << action << 2;
        QTest::addRow("AbortRetryIgnore %s", how.constData())
            << TDialogButtons::dbAbortRetryIgnore << action << 3;
        QTest::addRow("YesNoCancel %s", how.constData())
            << TDialogButtons::dbYesNoCancel << action << 2;
        QTest::addRow("YesNo %s", how.constData()) << TDialogButtons::dbYesNo << action << 7;
        QTest::addRow("RetryCancel %s", how.constData())
            << TDialogButtons::dbRetryCancel << action << 2;
    }
}

void TestMessageDialog::fixedSetClosing()
{
    QFETCH(TDialogButtons, set);
    QFETCH(QString, action);
    QFETCH(int, answer);

    OnMessageBox(ActionFor(action));
    // The first button is the default, so the answer shows it was not taken.
    QCOMPARE(TMessageDialog::Show(u"Question?"_s, TMsgDlgType::mtWarning, set, 0), answer);
}

void TestMessageDialog::icons_data()
{
    QTest::addColumn<TMsgDlgType>("type");
    QTest::addColumn<int>("icon");

    QTest::newRow("warning") << TMsgDlgType::mtWarning << int(QMessageBox::Warning);
    QTest::newRow("error") << TMsgDlgType::mtError << int(QMessageBox::Critical);
    QTest::newRow("information") << TMsgDlgType::mtInformation << int(QMessageBox::Information);
    QTest::newRow("confirmation") << TMsgDlgType::mtConfirmation << int(QMessageBox::Question);
    QTest::newRow("custom without program icon")
        << TMsgDlgType::mtCustom << int(QMessageBox::NoIcon);
}

void TestMessageDialog::icons()
{
    QFETCH(TMsgDlgType, type);
    QFETCH(int, icon);

    int fixedIcon = -1;
    int captionsIcon = -1;
    OnMessageBox([&](QMessageBox* box) {
        fixedIcon = int(box->icon());
        box->close();
    });
    TMessageDialog::Show(u"Text"_s, type, TDialogButtons::dbOk, 0);
    OnMessageBox([&](QMessageBox* box) {
        captionsIcon = int(box->icon());
        box->close();
    });
    TMessageDialog::Show(u"Text"_s, type, QStringList{u"Close"_s}, 0);
    QCOMPARE(fixedIcon, icon);
    QCOMPARE(captionsIcon, icon);
}

void TestMessageDialog::customTypeShowsApplicationIcon()
{
    QPixmap programIcon(64, 64);
    programIcon.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(programIcon));

    QImage shown;
    OnMessageBox([&](QMessageBox* box) {
        shown = box->iconPixmap().toImage();
        box->close();
    });
    TMessageDialog::Show(u"Text"_s, TMsgDlgType::mtCustom, TDialogButtons::dbOk, 0);
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.pixelColor(shown.rect().center()), QColor(Qt::red));
}

void TestMessageDialog::boxProperties()
{
    QString title;
    Qt::WindowModality modality = Qt::NonModal;
    QString labelText;
    Qt::TextFormat labelFormat = Qt::AutoText;
    OnMessageBox([&](QMessageBox* box) {
        title = box->windowTitle();
        modality = box->windowModality();
        auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
        labelText = label->text();
        labelFormat = label->textFormat();
        box->close();
    });
    // Titles of tokens are user data and may look like markup.
    const QString message = u"Delete token \"<b>Bank</b>\"?\r\nThis cannot be undone."_s;
    TMessageDialog::Show(message, TMsgDlgType::mtConfirmation, TDialogButtons::dbYesNo, 1);
    QCOMPARE(title, u"Lockwyn Test"_s);
    QCOMPARE(modality, Qt::ApplicationModal);
    QCOMPARE(labelText, message);
    QCOMPARE(labelFormat, Qt::PlainText);
}

void TestMessageDialog::captions_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("defaultIndex");
    QTest::addColumn<int>("shownDefault");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");

    const QStringList one{u"Close"_s};
    const QStringList two{u"Overwrite"_s, u"Save as..."_s};
    const QStringList three{u"Save"_s, u"Discard"_s, u"Back"_s};
    const QStringList four{u"First"_s, u"Second"_s, u"Third"_s, u"Fourth"_s};

    QTest::newRow("1: pressed") << one << 0 << 0 << u"click:0"_s << 0;
    QTest::newRow("1: closed") << one << 0 << 0 << u"close"_s << 0;
    QTest::newRow("1: default 3") << one << 3 << 0 << u"enter"_s << 0;
    QTest::newRow("2: closed") << two << 0 << 0 << u"close"_s << 1;
    QTest::newRow("2: escape") << two << 0 << 0 << u"escape"_s << 1;
    QTest::newRow("2: first pressed") << two << 1 << 1 << u"click:0"_s << 0;
    QTest::newRow("2: default 0") << two << 0 << 0 << u"enter"_s << 0;
    QTest::newRow("2: default 1") << two << 1 << 1 << u"enter"_s << 1;
    QTest::newRow("2: default 7") << two << 7 << 1 << u"enter"_s << 1;
    QTest::newRow("2: default -1") << two << -1 << 1 << u"enter"_s << 1;
    QTest::newRow("3: default 1") << three << 1 << 1 << u"enter"_s << 1;
    QTest::newRow("3: default 5") << three << 5 << 2 << u"enter"_s << 2;
    QTest::newRow("3: second pressed") << three << 0 << 0 << u"click:1"_s << 1;
    QTest::newRow("3: closed") << three << 0 << 0 << u"close"_s << 2;
    QTest::newRow("4: default 2") << four << 2 << 2 << u"enter"_s << 2;
    QTest::newRow("4: default 9") << four << 9 << 3 << u"enter"_s << 3;
    QTest::newRow("4: second pressed") << four << 0 << 0 << u"click:1"_s << 1;
    QTest::newRow("4: third pressed") << four << 0 << 0 << u"click:2"_s << 2;
    QTest::newRow("4: closed") << four << 0 << 0 << u"close"_s << 3;
}

void TestMessageDialog::captions()
{
    QFETCH(QStringList, captions);
    QFETCH(int, defaultIndex);
    QFETCH(int, shownDefault);
    QFETCH(QString, action);
    QFETCH(int, answer);

    QStringList shownCaptions;
    int shownDefaultIndex = -1;
    QString title;
    OnMessageBox([&](QMessageBox* box) {
        const QList<QAbstractButton*> buttons = ButtonsLeftToRight(box);
        shownCaptions = Texts(buttons);
        shownDefaultIndex = int(buttons.indexOf(box->defaultButton()));
        title = box->windowTitle();
        ActionFor(action)(box);
    });
    QCOMPARE(TMessageDialog::Show(u"Choose"_s, TMsgDlgType::mtWarning, captions, defaultIndex),
             answer);
    QCOMPARE(shownCaptions, captions);
    QCOMPARE(shownDefaultIndex, shownDefault);
    QCOMPARE(title, u"Lockwyn Test"_s);
}

void TestMessageDialog::captionCountOutOfRange_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("none") << QStringList();
    QTest::newRow("five") << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
}

void TestMessageDialog::captionCountOutOfRange()
{
    QFETCH(QStringList, captions);

    QString message;
    try {
        TMessageDialog::Show(u"Choose"_s, TMsgDlgType::mtWarning, captions, 0);
    } catch (const std::invalid_argument& error) {
        message = QString::fromUtf8(error.what());
    }
    QCOMPARE(message, u"Button count can be in the range of 1..4"_s);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.begin(), windows.end(),
                         [](QWidget* w) { return qobject_cast<QMessageBox*>(w); }));
}

void TestMessageDialog::parentGoesAwayWhileShown_data()
{
    QTest::addColumn<bool>("fixedSet");
    QTest::addColumn<int>("answer");
    QTest::newRow("YesNo answers No") << true << 7;
    QTest::newRow("three captions answer the last") << false << 2;
}

// A window closed by the program (e.g. on locking) may take the box with it.
void TestMessageDialog::parentGoesAwayWhileShown()
{
    QFETCH(bool, fixedSet);
    QFETCH(int, answer);

    auto* window = new QWidget;
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));

    QWidget* parent = nullptr;
    OnMessageBox([&](QMessageBox* box) {
        parent = box->parentWidget();
        delete window;
    });
    const int result = fixedSet ? TMessageDialog::Show(u"Sure?"_s, TMsgDlgType::mtConfirmation,
                                                       TDialogButtons::dbYesNo, 0)
                                : TMessageDialog::Show(u"Sure?"_s, TMsgDlgType::mtConfirmation,
                                                       QStringList{u"A"_s, u"B"_s, u"C"_s}, 0);
    QCOMPARE(parent, window);
    QCOMPARE(result, answer);
}

QTEST_MAIN(TestMessageDialog)
#include "tst_MessageDialog.moc"
