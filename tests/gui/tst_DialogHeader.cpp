#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "Frames.DialogHeader.h"
#include "Lockwyn.Localizer.h"
#include "Orvanta.Vcl.LinkMenu.h"

Q_DECLARE_METATYPE(TAppSettingViewPage)

namespace {

struct TFixture
{
    QWidget window;
    TfrDialogHeader* header;
    QMenu helpMenu;

    TFixture()
    {
        header = new TfrDialogHeader(&window);
        header->setGeometry(0, 0, 494, header->sizeHint().height());
        helpMenu.addAction("About");
        window.resize(494, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    QList<TOvLinkButton*> Links() const
    {
        return header->findChild<TOvLinkMenu*>("lmHeaderMenu")->Links();
    }

    QStringList LinkTexts() const
    {
        QStringList texts;
        for (auto* link : Links())
            texts.append(link->text());
        return texts;
    }

    TOvLinkButton* Link(const QString& text) const
    {
        for (auto* link : Links()) {
            if (link->text() == text)
                return link;
        }
        return nullptr;
    }

    QAbstractButton* BackButton() const { return header->findChild<QAbstractButton*>("btnBack"); }
};

} // namespace

class TestDialogHeader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults();
    void links_data();
    void links();
    void settingsLinkComesBackBeforeHelp();
    void sameValueKeepsLinks();
    void settingsLinkRequestsPage_data();
    void settingsLinkRequestsPage();
    void helpLinkOpensMenu();
    void backButton();
    void captionBesideBackButton();
    void linksFollowTheLanguage();
};

void TestDialogHeader::defaults()
{
    TFixture f;
    QCOMPARE(f.header->height(), 40);
    QCOMPARE(f.header->GetCaption(), QString());
    QVERIFY(!f.header->GetBackButtonVisible());
    QVERIFY(!f.BackButton()->isVisible());
    QCOMPARE(f.BackButton()->focusPolicy(), Qt::NoFocus);
    QVERIFY(f.header->GetSettingsMenuVisible());
    QCOMPARE(f.header->GetSettingsPageToShow(), TAppSettingViewPage::asvpGeneral);
    QCOMPARE(f.header->GetHelpMenu(), nullptr);
    QCOMPARE(f.LinkTexts(), QStringList{"Settings"});

    f.header->SetCaption("Select action");
    QCOMPARE(f.header->findChild<QLabel*>("lblCaption")->text(), QString("Select action"));
    QCOMPARE(f.header->GetCaption(), QString("Select action"));
}

void TestDialogHeader::links_data()
{
    QTest::addColumn<bool>("settings");
    QTest::addColumn<bool>("helpMenu");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("both") << true << true << QStringList{"Settings", "Help"};
    QTest::newRow("help only") << false << true << QStringList{"Help"};
    QTest::newRow("no help menu") << true << false << QStringList{"Settings"};
    QTest::newRow("none") << false << false << QStringList{};
}

void TestDialogHeader::links()
{
    QFETCH(bool, settings);
    QFETCH(bool, helpMenu);
    QFETCH(QStringList, expected);

    TFixture f;
    f.header->SetSettingsMenuVisible(settings);
    f.header->SetHelpMenu(helpMenu ? &f.helpMenu : nullptr);

    QCOMPARE(f.LinkTexts(), expected);
    QCOMPARE(f.header->findChild<QWidget*>("pnlMenuLayout")->isVisible(), !expected.isEmpty());
    for (auto* link : f.Links())
        QVERIFY(link->isVisible());
}

void TestDialogHeader::settingsLinkComesBackBeforeHelp()
{
    TFixture f;
    f.header->SetHelpMenu(&f.helpMenu);
    f.header->SetSettingsMenuVisible(false);
    QCOMPARE(f.LinkTexts(), QStringList{"Help"});

    f.header->SetSettingsMenuVisible(true);

    QCOMPARE(f.LinkTexts(), (QStringList{"Settings", "Help"}));
    QTRY_VERIFY(f.Link("Settings")->geometry().right() < f.Link("Help")->geometry().left());
}

void TestDialogHeader::sameValueKeepsLinks()
{
    TFixture f;
    f.header->SetHelpMenu(&f.helpMenu);
    const auto before = f.Links();

    f.header->SetHelpMenu(&f.helpMenu);
    f.header->SetSettingsMenuVisible(true);

    QCOMPARE(f.Links(), before);
}

void TestDialogHeader::settingsLinkRequestsPage_data()
{
    QTest::addColumn<TAppSettingViewPage>("page");
    QTest::newRow("general") << TAppSettingViewPage::asvpGeneral;
    QTest::newRow("password generator") << TAppSettingViewPage::asvpPasswordGenerator;
}

void TestDialogHeader::settingsLinkRequestsPage()
{
    QFETCH(TAppSettingViewPage, page);

    TFixture f;
    f.header->SetSettingsPageToShow(page);
    QSignalSpy requests(f.header, &TfrDialogHeader::OnSettingsLinkClick);

    QTest::mouseClick(f.Link("Settings"), Qt::LeftButton);

    QCOMPARE(requests.count(), 1);
    QCOMPARE(requests.at(0).at(0).value<TAppSettingViewPage>(), page);
}

void TestDialogHeader::helpLinkOpensMenu()
{
    TFixture f;
    f.header->SetHelpMenu(&f.helpMenu);
    QSignalSpy requests(f.header, &TfrDialogHeader::OnSettingsLinkClick);

    QTest::mouseClick(f.Link("Help"), Qt::LeftButton);

    QTRY_VERIFY(f.helpMenu.isVisible());
    const QPoint linkBottom = f.Link("Help")->mapToGlobal(QPoint(0, f.Link("Help")->height()));
    QCOMPARE(f.helpMenu.pos(), linkBottom);
    QCOMPARE(requests.count(), 0);
    f.helpMenu.hide();
}

void TestDialogHeader::backButton()
{
    TFixture f;
    QSignalSpy clicks(f.header, &TfrDialogHeader::OnBackButtonClick);
    f.header->SetBackButtonVisible(true);
    QVERIFY(f.BackButton()->isVisible());
    QVERIFY(f.header->GetBackButtonVisible());

    QTest::mouseClick(f.BackButton(), Qt::LeftButton);

    QCOMPARE(clicks.count(), 1);
    f.header->SetBackButtonVisible(false);
    QVERIFY(!f.BackButton()->isVisible());
}

void TestDialogHeader::captionBesideBackButton()
{
    TFixture f;
    f.header->SetCaption("Open existing database");
    auto* caption = f.header->findChild<QLabel*>("lblCaption");
    QTRY_COMPARE(caption->geometry().left() + caption->contentsMargins().left(), 16);

    f.header->SetBackButtonVisible(true);

    QTRY_COMPARE(f.BackButton()->geometry().left(), 16);
    QCOMPARE(caption->geometry().left() + caption->contentsMargins().left(),
             f.BackButton()->geometry().right() + 1 + 16);
    const QRect back = f.BackButton()->geometry();
    QVERIFY(qAbs(back.center().y() - f.header->height() / 2) <= 2);
}

void TestDialogHeader::linksFollowTheLanguage()
{
    TFixture f;
    f.header->SetHelpMenu(&f.helpMenu);

    Localizer().SetLanguage("de");
    QTRY_COMPARE(f.LinkTexts(), (QStringList{"Einstellungen", "Hilfe"}));

    Localizer().SetLanguage(TLocalizer::DefaultLanguage);
    QTRY_COMPARE(f.LinkTexts(), (QStringList{"Settings", "Help"}));
}

QTEST_MAIN(TestDialogHeader)
#include "tst_DialogHeader.moc"
