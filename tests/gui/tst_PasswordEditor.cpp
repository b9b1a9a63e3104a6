#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "Frames.PasswordEditor.h"
#include "Lockwyn.Colors.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Localizer.h"

Q_DECLARE_METATYPE(TPasswordEditorMode)

namespace {

const QColor Mismatch = QColor::fromRgb(Lockwyn::clMismatchBackground);

// A shown window holding the frame, so that visibility and focus are real.
struct TFixture
{
    QWidget window;
    TfrPasswordEditor* editor;
    QLineEdit* password;
    QLineEdit* confirmation;
    QWidget* confirmationPart;
    QLabel* caption;
    QProgressBar* strength;
    QCheckBox* showChars;

    explicit TFixture(TPasswordEditorMode mode = TPasswordEditorMode::pemManualCreate)
    {
        editor = new TfrPasswordEditor(&window);
        editor->SetMode(mode);
        editor->setGeometry(10, 10, 460, editor->sizeHint().height());
        password = editor->findChild<QLineEdit*>("edtPassword");
        confirmation = editor->findChild<QLineEdit*>("edtConfirmation");
        confirmationPart = editor->findChild<QWidget*>("pnlConfirmationPart");
        caption = editor->findChild<QLabel*>("lblPassword");
        strength = editor->findChild<QProgressBar*>("pbStrength");
        showChars = editor->findChild<QCheckBox*>("chkShowPasswordChars");
        window.resize(480, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    QColor ConfirmationColor() const { return confirmation->palette().color(QPalette::Base); }
};

} // namespace

class TestPasswordEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void modes_data();
    void modes();
    void heightFollowsMode();
    void confirmationHalfOfWidth();
    void confirmationColour_data();
    void confirmationColour();
    void showCharactersHidesConfirmation();
    void hidingCharactersAgain_data();
    void hidingCharactersAgain();
    void showCharactersUpdateEvent();
    void maskCharacter();
    void empty_data();
    void empty();
    void setPasswordFillsBoth();
    void fieldsAreEmptiedBeforeTheFrameGoes();
    void caption();
    void defaultCaptionFollowsTheLanguage();
    void strengthFromMeter_data();
    void strengthFromMeter();
    void focus();
    void capsLockHint_data();
    void capsLockHint();
    void capsLockHintFollowsFocusAndState();
};

void TestPasswordEditor::initTestCase()
{
    // The strength bar needs the storage library beside the test.
    QVERIFY(GetLockwyn() != nullptr);
}

void TestPasswordEditor::cleanup()
{
    TfrPasswordEditor::SetCapsLockStateReader({});
}

void TestPasswordEditor::modes_data()
{
    QTest::addColumn<TPasswordEditorMode>("mode");
    QTest::addColumn<bool>("label");
    QTest::addColumn<bool>("confirmation");
    QTest::addColumn<bool>("strengthBar");
    QTest::addColumn<bool>("checkBox");
    QTest::addColumn<bool>("shownInClear");

    QTest::newRow("manual create")
        << TPasswordEditorMode::pemManualCreate << true << true << true << true << false;
    QTest::newRow("generate") << TPasswordEditorMode::pemGenerate << false << false << true << false
                              << true;
    QTest::newRow("verify") << TPasswordEditorMode::pemVerify << true << false << false << true
                            << false;
}

void TestPasswordEditor::modes()
{
    QFETCH(TPasswordEditorMode, mode);
    QFETCH(bool, label);
    QFETCH(bool, confirmation);
    QFETCH(bool, strengthBar);
    QFETCH(bool, checkBox);
    QFETCH(bool, shownInClear);

    // Reached from another mode, so that every switch is applied.
    TFixture f(mode == TPasswordEditorMode::pemVerify ? TPasswordEditorMode::pemGenerate
                                                      : TPasswordEditorMode::pemVerify);
    f.editor->SetShowCharacters(false);
    f.editor->SetMode(mode);

    QCOMPARE(f.editor->GetMode(), mode);
    QCOMPARE(f.caption->isVisible(), label);
    QCOMPARE(f.confirmationPart->isVisible(), confirmation);
    QCOMPARE(f.strength->isVisible(), strengthBar);
    QCOMPARE(f.showChars->isVisible(), checkBox);
    QCOMPARE(f.editor->GetShowCharacters(), shownInClear);
    QCOMPARE(f.password->echoMode(), shownInClear ? QLineEdit::Normal : QLineEdit::Password);
}

void TestPasswordEditor::heightFollowsMode()
{
    TFixture f(TPasswordEditorMode::pemGenerate);
    const int generate = f.editor->sizeHint().height();
    QVERIFY(generate >= f.password->height() + f.strength->height());
    QVERIFY(generate < f.password->height() + f.strength->height() + 20);

    f.editor->SetMode(TPasswordEditorMode::pemVerify);
    f.editor->resize(f.editor->width(), f.editor->sizeHint().height());
    QTRY_COMPARE(f.showChars->geometry().bottom() + 1, f.editor->height());
}

void TestPasswordEditor::confirmationHalfOfWidth()
{
    TFixture f;
    for (int width : {300, 460, 700}) {
        f.editor->resize(width, f.editor->height());
        QTRY_COMPARE(f.confirmationPart->width(),
                     f.editor->findChild<QWidget*>("pnlPasswordPart")->width());
        QVERIFY(qAbs(f.confirmationPart->width() * 2 - width) <= 10);
    }
}

void TestPasswordEditor::confirmationColour_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<bool>("identical");

    QTest::newRow("both empty") << ""
                                << "" << true;
    QTest::newRow("same") << "Secret 1"
                          << "Secret 1" << true;
    QTest::newRow("different") << "Secret 1"
                               << "Secret 2" << false;
    QTest::newRow("letter case counts") << "secret"
                                        << "Secret" << false;
    QTest::newRow("confirmation not yet typed") << "secret"
                                                << "" << false;
}

void TestPasswordEditor::confirmationColour()
{
    QFETCH(QString, password);
    QFETCH(QString, confirmation);
    QFETCH(bool, identical);

    TFixture f;
    QTest::keyClicks(f.password, password);
    QTest::keyClicks(f.confirmation, confirmation);

    QCOMPARE(f.editor->GetPasswordAndConfirmationIdentical(), identical);
    QCOMPARE(f.ConfirmationColor() == Mismatch, !identical);
    QCOMPARE(f.ConfirmationColor() == f.password->palette().color(QPalette::Base), identical);
}

void TestPasswordEditor::showCharactersHidesConfirmation()
{
    TFixture f;
    QTest::keyClicks(f.password, "one");
    QTest::keyClicks(f.confirmation, "two");
    QCOMPARE(f.ConfirmationColor(), Mismatch);

    QTest::mouseClick(f.showChars, Qt::LeftButton, {}, QPoint(5, f.showChars->height() / 2));

    QVERIFY(f.editor->GetShowCharacters());
    QVERIFY(!f.confirmationPart->isVisible());
    QCOMPARE(f.password->echoMode(), QLineEdit::Normal);
    QVERIFY(f.editor->GetPasswordAndConfirmationIdentical());
}

void TestPasswordEditor::hidingCharactersAgain_data()
{
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("kept");

    QTest::newRow("differing confirmation is emptied") << "other"
                                                       << "";
    QTest::newRow("matching confirmation stays") << "secret"
                                                 << "secret";
}

void TestPasswordEditor::hidingCharactersAgain()
{
    QFETCH(QString, confirmation);
    QFETCH(QString, kept);

    TFixture f;
    QTest::keyClicks(f.password, "secret");
    QTest::keyClicks(f.confirmation, confirmation);
    f.editor->SetShowCharacters(true);

    f.editor->SetShowCharacters(false);

    QVERIFY(f.confirmationPart->isVisible());
    QCOMPARE(f.confirmation->text(), kept);
    QCOMPARE(f.password->echoMode(), QLineEdit::Password);
    QCOMPARE(f.editor->GetPasswordAndConfirmationIdentical(), !kept.isEmpty());
}

void TestPasswordEditor::showCharactersUpdateEvent()
{
    TFixture f;
    QSignalSpy updates(f.editor, &TfrPasswordEditor::OnShowCharactersUpdate);

    f.editor->SetShowCharacters(true);
    QTest::mouseClick(f.showChars, Qt::LeftButton, {}, QPoint(5, f.showChars->height() / 2));
    f.editor->SetMode(TPasswordEditorMode::pemGenerate);

    QCOMPARE(updates.count(), 3);
    QVERIFY(f.editor->GetShowCharacters());
}

void TestPasswordEditor::maskCharacter()
{
    TFixture f;
    QTest::keyClicks(f.password, "abc");
    QCOMPARE(f.password->displayText(), QString("***"));
    f.editor->SetShowCharacters(true);
    QCOMPARE(f.password->displayText(), QString("abc"));
}

void TestPasswordEditor::empty_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<bool>("empty");

    QTest::newRow("nothing typed") << ""
                                   << "" << true;
    QTest::newRow("spaces only") << "   "
                                 << "" << true;
    QTest::newRow("spaces in both") << "  "
                                    << " " << true;
    QTest::newRow("a password") << " a "
                                << "" << false;
    QTest::newRow("only a confirmation") << ""
                                         << "x" << false;
}

void TestPasswordEditor::empty()
{
    QFETCH(QString, password);
    QFETCH(QString, confirmation);
    QFETCH(bool, empty);

    TFixture f;
    f.password->setText(password);
    f.confirmation->setText(confirmation);

    QCOMPARE(f.editor->GetEmpty(), empty);
}

void TestPasswordEditor::setPasswordFillsBoth()
{
    TFixture f;
    f.editor->SetPassword("p4ss");
    QCOMPARE(f.editor->GetPassword(), QString("p4ss"));
    QCOMPARE(f.confirmation->text(), QString("p4ss"));
    QVERIFY(f.editor->GetPasswordAndConfirmationIdentical());

    f.editor->Clear();
    QVERIFY(f.password->text().isEmpty());
    QVERIFY(f.confirmation->text().isEmpty());
    QVERIFY(f.editor->GetEmpty());
}

// No password is left in the fields of a frame that is being destroyed.
void TestPasswordEditor::fieldsAreEmptiedBeforeTheFrameGoes()
{
    TFixture f;
    f.editor->SetPassword("p4ss");
    QStringList last;
    for (QLineEdit* edit : {f.password, f.confirmation})
        QObject::connect(edit, &QLineEdit::textChanged, [&last, edit](const QString& text) {
            last << edit->objectName() + '=' + text;
        });
    delete f.editor;
    QCOMPARE(last, (QStringList{"edtPassword=", "edtConfirmation="}));
}

void TestPasswordEditor::caption()
{
    TFixture f;
    QCOMPARE(f.editor->GetCaption(), QString("Password:"));
    f.editor->SetCaption("Master Password:");
    QCOMPARE(f.caption->text(), QString("Master Password:"));
    QCOMPARE(f.editor->GetCaption(), QString("Master Password:"));
}

void TestPasswordEditor::defaultCaptionFollowsTheLanguage()
{
    TFixture f;
    TFixture custom;
    custom.editor->SetCaption("Master Password:");

    Localizer().SetLanguage("de");
    QTRY_COMPARE(f.editor->GetCaption(), QString("Passwort:"));
    QCOMPARE(custom.editor->GetCaption(), QString("Master Password:"));
    QCOMPARE(f.showChars->text(), QString("Passwortzeichen anzeigen"));
    QCOMPARE(f.editor->findChild<QLabel*>("lblConfirmation")->text(), QString("Bestätigung:"));

    Localizer().SetLanguage(TLocalizer::DefaultLanguage);
    QTRY_COMPARE(f.editor->GetCaption(), QString("Password:"));
    QCOMPARE(f.showChars->text(), QString("Show Password Characters"));
}

void TestPasswordEditor::strengthFromMeter_data()
{
    QTest::addColumn<TPasswordEditorMode>("mode");
    QTest::newRow("manual create") << TPasswordEditorMode::pemManualCreate;
    QTest::newRow("verify, bar hidden but kept up to date") << TPasswordEditorMode::pemVerify;
}

void TestPasswordEditor::strengthFromMeter()
{
    QFETCH(TPasswordEditorMode, mode);

    TFixture f(mode);
    const auto meter = GetLockwyn()->GetPasswordQualityMeter();
    QCOMPARE(f.strength->value(), 0);

    QTest::keyClicks(f.password, "abc");
    const int weak = f.strength->value();
    QCOMPARE(weak, meter->GetQuality("abc"));

    const QString strong = "correct-Horse7battery!staple";
    f.password->setText(strong);
    QCOMPARE(f.strength->value(), meter->GetQuality(strong));
    QVERIFY(f.strength->value() > weak);

    f.editor->Clear();
    QCOMPARE(f.strength->value(), 0);
}

void TestPasswordEditor::focus()
{
    TFixture f;
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.editor->Focus();
    QVERIFY(f.password->hasFocus());

    auto* other = new QLineEdit(&f.window);
    other->setGeometry(10, 150, 100, 24);
    other->show();
    f.editor->hide();
    other->setFocus();
    f.editor->Focus(); // hidden: does nothing and does not fail
    QVERIFY(other->hasFocus());
}

void TestPasswordEditor::capsLockHint_data()
{
    QTest::addColumn<bool>("capsLock");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("shown");

    QTest::newRow("on, password field") << true << "edtPassword" << true;
    QTest::newRow("on, confirmation field") << true << "edtConfirmation" << true;
    QTest::newRow("on, focus elsewhere") << true << "other" << false;
    QTest::newRow("off") << false << "edtPassword" << false;
}

void TestPasswordEditor::capsLockHint()
{
    QFETCH(bool, capsLock);
    QFETCH(QString, field);
    QFETCH(bool, shown);

    TfrPasswordEditor::SetCapsLockStateReader([capsLock] { return capsLock; });
    TFixture f;
    auto* other = new QLineEdit(&f.window);
    other->setObjectName("other");
    other->setGeometry(10, 150, 100, 24);
    other->show();
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));

    f.window.findChild<QLineEdit*>(field)->setFocus();

    auto* hint = f.editor->findChild<QWidget*>("pnlCapsLockHint");
    QTRY_COMPARE(hint->isVisible(), shown);
    if (shown) {
        QCOMPARE(f.editor->findChild<QLabel*>("lblCapsLockHint")->text(),
                 QString("Caps Lock is on"));
        auto* edit = f.window.findChild<QLineEdit*>(field);
        const QPoint below = edit->mapToGlobal(QPoint(0, edit->height()));
        QVERIFY(hint->geometry().top() >= below.y());
        QCOMPARE(hint->geometry().left(), below.x());
    }
}

void TestPasswordEditor::capsLockHintFollowsFocusAndState()
{
    bool capsLock = true;
    TfrPasswordEditor::SetCapsLockStateReader([&capsLock] { return capsLock; });
    TFixture f;
    auto* hint = f.editor->findChild<QWidget*>("pnlCapsLockHint");
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));

    f.password->setFocus();
    QTRY_VERIFY(hint->isVisible());

    capsLock = false; // the key is pressed in the field
    QTest::keyClick(f.password, Qt::Key_CapsLock);
    QVERIFY(!hint->isVisible());

    capsLock = true;
    QTest::keyClick(f.password, Qt::Key_CapsLock);
    QVERIFY(hint->isVisible());

    f.showChars->setFocus();
    QTRY_VERIFY(!hint->isVisible());

    f.password->setFocus();
    QTRY_VERIFY(hint->isVisible());
    f.editor->SetShowCharacters(true);
    f.window.hide();
    QVERIFY(!hint->isVisible());
}

QTEST_MAIN(TestPasswordEditor)
#include "tst_PasswordEditor.moc"
