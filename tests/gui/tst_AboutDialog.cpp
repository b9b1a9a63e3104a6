// The about box: product, version and page, the licence of every library
// shipped, the logo from the program's resources and the version info copied
// for a support request.

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "Forms.AboutDialog.h"
#include "Frames.DialogHeader.h"
#include "Lockwyn.LocalizedStrings.h"
#include "OvToast.h"
#include "SessionTestSupport.h"

namespace {

template <typename T> T* Child(const QWidget& parent, const char* name)
{
    auto* child = parent.findChild<T*>(QLatin1String(name));
    if (!child)
        qFatal("no child %s", name);
    return child;
}

} // namespace

class TestAboutDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationVersion(QStringLiteral("2.3.4")); }

    void cleanup() { TOvToast::Cancel(); }

    void showsProductVersionEncryptionAndPage()
    {
        TAboutDialog dialog;
        QCOMPARE(dialog.findChild<TfrDialogHeader*>()->GetCaption(),
                 QStringLiteral("About Lockwyn"));
        QCOMPARE(Child<QLabel>(dialog, "lblProductName")->text(), QStringLiteral("Lockwyn"));
        QCOMPARE(Child<QLabel>(dialog, "lblVersion")->text(), QStringLiteral("Version 2.3.4"));
        const QString encryption = Child<QLabel>(dialog, "lblEncryption")->text();
        QVERIFY(encryption.contains(QStringLiteral("XChaCha20-Poly1305")));
        QVERIFY(encryption.contains(QStringLiteral("Argon2id")));
        auto* page = Child<QLabel>(dialog, "lblProductPage");
        QVERIFY(page->openExternalLinks());
        QVERIFY(page->text().contains(QStringLiteral("href=\"https://lockwyn.example/\"")));
    }

    void everyLibraryShowsItsLicence_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("licence");
        QTest::newRow("Qt") << QStringLiteral("Qt %1").arg(qVersion())
                            << "GNU LESSER GENERAL PUBLIC LICENSE";
        QTest::newRow("libsodium") << "libsodium"
                                   << "License: ISC";
        QTest::newRow("zxcvbn-c") << "zxcvbn-c"
                                  << "Upstream-Name: zxcvbn-c";
        QTest::newRow("libdeflate") << "libdeflate"
                                    << "Upstream-Name: libdeflate";
    }

    void everyLibraryShowsItsLicence()
    {
        QFETCH(QString, library);
        QFETCH(QString, licence);
        TAboutDialog dialog;
        auto* libraries = Child<QComboBox>(dialog, "cbLibraries");
        const int index = libraries->findText(library);
        QVERIFY(index >= 0);
        libraries->setCurrentIndex(index);
        QVERIFY(Child<QPlainTextEdit>(dialog, "memLicence")->toPlainText().contains(licence));
    }

    void theLogoShowsOnceThePictureIsSet()
    {
        TAboutDialog dialog;
        auto* logo = Child<QLabel>(dialog, "imgLogo");
        QVERIFY(dialog.GetPicture().isNull());
        QVERIFY(logo->isHidden());
        const QPixmap picture(QStringLiteral(":/LOCKWYN_LOGO"));
        QVERIFY(!picture.isNull());
        dialog.SetPicture(picture);
        QVERIFY(!logo->isHidden());
        QCOMPARE(logo->pixmap().deviceIndependentSize(), QSizeF(logo->size()));
    }

    void copyVersionInfoPutsItOnTheClipboard()
    {
        TAboutDialog dialog;
        dialog.show();
        QGuiApplication::clipboard()->clear();
        Child<QPushButton>(dialog, "btnCopyVersionInfo")->click();
        const QString info = QGuiApplication::clipboard()->text();
        QCOMPARE(info, TAboutDialog::VersionInfo());
        QVERIFY(info.startsWith(QStringLiteral("Lockwyn 2.3.4\nQt %1").arg(qVersion())));
        QVERIFY(info.contains(QSysInfo::prettyProductName()));
        QCOMPARE(SessionTest::ToastText(), LocalizedStrings().FToastVersionInfoCopied);
    }
};

QTEST_MAIN(TestAboutDialog)
#include "tst_AboutDialog.moc"
