// The expiration frame: enabling, the dates the "When" menu offers (calendar
// months for the month items) and date and time read from their two pickers.

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include "Frames.ExpirationSettings.h"

class TestExpirationSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void whenDates_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("date");
        const QTime time(13, 14, 15);
        const QDateTime jan31(QDate(2023, 1, 31), time);
        QTest::newRow("now") << 0 << jan31 << jan31;
        QTest::newRow("1 week") << 1 << jan31 << QDateTime(QDate(2023, 2, 7), time);
        QTest::newRow("2 weeks") << 2 << jan31 << QDateTime(QDate(2023, 2, 14), time);
        QTest::newRow("1 month from 31 January")
            << 4 << jan31 << QDateTime(QDate(2023, 2, 28), time);
        QTest::newRow("1 month in a leap year")
            << 4 << QDateTime(QDate(2024, 1, 31), time) << QDateTime(QDate(2024, 2, 29), time);
        QTest::newRow("3 months from 30 November")
            << 12 << QDateTime(QDate(2023, 11, 30), time) << QDateTime(QDate(2024, 2, 29), time);
        QTest::newRow("unknown tag") << 3 << jan31 << QDateTime();
    }

    void whenDates()
    {
        QFETCH(int, tag);
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, date);
        QCOMPARE(TfrExpirationSettings::DateForTag(tag, now), date);
    }

    void enablingFollowsTheCheckBox()
    {
        TfrExpirationSettings frame;
        auto* date = frame.findChild<QDateEdit*>("dtpDate");
        auto* time = frame.findChild<QTimeEdit*>("dtpTime");
        auto* when = frame.findChild<QPushButton*>("btnWhen");
        QVERIFY(!date->isEnabled() && !time->isEnabled() && !when->isEnabled());
        frame.findChild<QCheckBox*>("chkExpires")->click();
        QVERIFY(frame.GetExpires());
        QVERIFY(date->isEnabled() && time->isEnabled() && when->isEnabled());
        frame.SetExpires(false);
        QVERIFY(!date->isEnabled() && !time->isEnabled() && !when->isEnabled());
    }

    // A "When" item sets the date and leaves the check box alone.
    void whenItemKeepsTheCheckBox()
    {
        TfrExpirationSettings frame;
        frame.SetExpirationDate(QDateTime(QDate(2001, 1, 1), QTime(1, 1)));
        frame.findChild<QAction*>("miTwoWeeks")->trigger();
        QVERIFY(!frame.GetExpires());
        const QDateTime expected = QDateTime::currentDateTime().addDays(14);
        QVERIFY(qAbs(frame.GetExpirationDate().secsTo(expected)) < 5);
    }

    void dateAndTimeComeFromTheirPickers()
    {
        TfrExpirationSettings frame;
        const QDateTime exact(QDate(2030, 7, 8), QTime(9, 10, 11, 123));
        frame.SetExpirationDate(exact);
        QCOMPARE(frame.GetExpirationDate(), exact);
        frame.findChild<QDateEdit*>("dtpDate")->setDate(QDate(2031, 1, 2));
        frame.findChild<QTimeEdit*>("dtpTime")->setTime(QTime(23, 0));
        QCOMPARE(frame.GetExpirationDate(), QDateTime(QDate(2031, 1, 2), QTime(23, 0)));
    }

    void noDateShowsToday_data()
    {
        QTest::addColumn<QDateTime>("date");
        QTest::newRow("invalid") << QDateTime();
        QTest::newRow("start of the epoch") << QDateTime::fromMSecsSinceEpoch(0);
    }

    void noDateShowsToday()
    {
        QFETCH(QDateTime, date);
        TfrExpirationSettings frame;
        frame.SetExpirationDate(date);
        QVERIFY(qAbs(frame.GetExpirationDate().secsTo(QDateTime::currentDateTime())) < 5);
    }

    void lastDayOfYear9999IsKept()
    {
        TfrExpirationSettings frame;
        const QDateTime last(QDate(9999, 12, 31), QTime(23, 59, 59));
        frame.SetExpirationDate(last);
        QCOMPARE(frame.GetExpirationDate(), last);
    }
};

QTEST_MAIN(TestExpirationSettings)
#include "tst_ExpirationSettings.moc"
