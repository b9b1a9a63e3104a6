#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "Components.SectionBarPanelSwitcher.h"

namespace {

// Three sections with their panels in a shown window; a fourth section that
// is never added.
struct TFixture
{
    QWidget window;
    QList<QToolButton*> sections;
    QList<QWidget*> panels;
    QToolButton* stray;
    TSectionBarPanelSwitcher switcher;
    QList<TPageSection*> activated;

    TFixture()
    {
        auto* layout = new QVBoxLayout(&window);
        for (int i = 0; i < 3; ++i) {
            auto* section = new QToolButton(&window);
            section->setCheckable(true);
            section->setAutoExclusive(true);
            auto* panel = new QWidget(&window);
            layout->addWidget(section);
            layout->addWidget(panel);
            sections.append(section);
            panels.append(panel);
            switcher.AddSectionPanel(section, panel);
        }
        stray = new QToolButton(&window);
        layout->addWidget(stray);
        switcher.SetOnPageSectionActivate(
            [this](ISectionBarPanelSwitcher* sender, TPageSection* section) {
                QCOMPARE(sender, &switcher);
                activated.append(section);
            });
        window.show();
    }

    QList<bool> Visible() const
    {
        QList<bool> visible;
        for (QWidget* panel : panels)
            visible.append(panel->isVisible());
        return visible;
    }
};

} // namespace

class TestSectionBarPanelSwitcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void activate_data();
    void activate();
    void clickActivates();
    void straySectionHidesAll();
    void nullDoesNothing();
    void clearUnbindsSections();
};

void TestSectionBarPanelSwitcher::activate_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<QList<bool>>("visible");

    QTest::newRow("first") << 0 << QList<bool>{true, false, false};
    QTest::newRow("second") << 1 << QList<bool>{false, true, false};
    QTest::newRow("third") << 2 << QList<bool>{false, false, true};
}

void TestSectionBarPanelSwitcher::activate()
{
    QFETCH(int, section);
    QFETCH(QList<bool>, visible);

    TFixture f;
    f.switcher.ActivateSection(f.sections[section]);

    QCOMPARE(f.Visible(), visible);
    QCOMPARE(f.activated, QList<TPageSection*>{f.sections[section]});
    QVERIFY(f.sections[section]->isChecked());
}

void TestSectionBarPanelSwitcher::clickActivates()
{
    TFixture f;
    f.switcher.ActivateSection(f.sections[0]);

    QTest::mouseClick(f.sections[2], Qt::LeftButton);

    QCOMPARE(f.Visible(), (QList<bool>{false, false, true}));
    QCOMPARE(f.activated.last(), f.sections[2]);
}

void TestSectionBarPanelSwitcher::straySectionHidesAll()
{
    TFixture f;
    f.switcher.ActivateSection(f.sections[1]);

    f.switcher.ActivateSection(f.stray);

    QCOMPARE(f.Visible(), (QList<bool>{false, false, false}));
    QCOMPARE(f.activated.last(), f.stray);
}

void TestSectionBarPanelSwitcher::nullDoesNothing()
{
    TFixture f;
    f.switcher.ActivateSection(f.sections[1]);

    f.switcher.ActivateSection(nullptr);

    QCOMPARE(f.Visible(), (QList<bool>{false, true, false}));
    QCOMPARE(f.activated.size(), 1);
}

void TestSectionBarPanelSwitcher::clearUnbindsSections()
{
    TFixture f;
    f.switcher.ActivateSection(f.sections[0]);
    f.switcher.Clear();

    QTest::mouseClick(f.sections[1], Qt::LeftButton);
    f.switcher.ActivateSection(f.sections[1]);

    QCOMPARE(f.Visible(), (QList<bool>{true, false, false}));
    QCOMPARE(f.activated.size(), 2); // the click raised nothing; the call still does
}

QTEST_MAIN(TestSectionBarPanelSwitcher)
#include "tst_SectionBarPanelSwitcher.moc"
