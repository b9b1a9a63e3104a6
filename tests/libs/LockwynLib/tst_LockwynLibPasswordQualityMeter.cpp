#include "LockwynLib.PasswordGenerator.h"
#include "LockwynLib.PasswordQualityMeter.h"

#include <QTest>

using namespace Lockwyn;
using Option = TPasswordGeneratorCharOption;

Q_DECLARE_METATYPE(Lockwyn::TPasswordGeneratorCharOptions)

class TestPasswordQualityMeter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyIsZero() { QCOMPARE(TPasswordQualityMeter().GetQuality(QString()), 0); }

    void weakPasswordsRateLow_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("dictionary word") << "password";
        QTest::newRow("keyboard walk") << "qwertyuiop";
        QTest::newRow("repeats") << "aaaaaaaaaaaa";
        QTest::newRow("sequence") << "123456789";
        QTest::newRow("leet word and year") << "P@ssw0rd1999";
    }

    void weakPasswordsRateLow()
    {
        QFETCH(QString, password);
        const int quality = TPasswordQualityMeter().GetQuality(password);
        QVERIFY2(quality < 40, qPrintable(QString::number(quality)));
    }

    void randomTwentyOfFourClassesRatesFull_data()
    {
        QTest::addColumn<TPasswordGeneratorCharOptions>("options");
        QTest::newRow("with minus")
            << TPasswordGeneratorCharOptions({Option::pgcoUseUpperCase, Option::pgcoUseLowerCase,
                                              Option::pgcoUseDigits, Option::pgcoUseMinus});
        QTest::newRow("with specials") << TPasswordGeneratorCharOptions(
            {Option::pgcoUseUpperCase, Option::pgcoUseLowerCase, Option::pgcoUseDigits,
             Option::pgcoUseSpecialCharacters});
        QTest::newRow("defaults") << TPasswordGenerator().GetDefaultSettings().Options;
    }

    void randomTwentyOfFourClassesRatesFull()
    {
        QFETCH(TPasswordGeneratorCharOptions, options);
        TPasswordGenerator generator;
        TPasswordQualityMeter meter;
        const TPasswordGeneratorSettings settings{20, options};
        for (int i = 0; i < 300; ++i) {
            const QString password = generator.GeneratePassword(settings);
            QVERIFY2(meter.GetQuality(password) == 100, qPrintable(password));
        }
    }

    void longerRandomRatesHigher()
    {
        TPasswordQualityMeter meter;
        QVERIFY(meter.GetQuality("x7Kq") < meter.GetQuality("x7Kq-9vTz"));
        QVERIFY(meter.GetQuality("x7Kq-9vTz") < meter.GetQuality("x7Kq-9vTz_w3Rb"));
    }

    void rangeHoldsForOddInput_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("non-Latin") << QString::fromUtf8("пароль-密码-كلمة");
        QTest::newRow("embedded NUL") << QString::fromUtf8("ab\0cd", 5);
        QTest::newRow("very long") << QString(5000, u'z') + QString::number(123456789);
        QTest::newRow("spaces") << "      ";
    }

    void rangeHoldsForOddInput()
    {
        QFETCH(QString, password);
        const int quality = TPasswordQualityMeter().GetQuality(password);
        QVERIFY(quality >= 0 && quality <= 100);
    }
};

QTEST_GUILESS_MAIN(TestPasswordQualityMeter)
#include "tst_LockwynLibPasswordQualityMeter.moc"
