#include "LockwynLib.PasswordGenerator.h"

#include <QSet>
#include <QTest>

using namespace Lockwyn;
using Option = TPasswordGeneratorCharOption;

Q_DECLARE_METATYPE(Lockwyn::TPasswordGeneratorCharOptions)

namespace {

constexpr std::array AllOptions{
    Option::pgcoUseUpperCase, Option::pgcoUseLowerCase, Option::pgcoUseDigits,
    Option::pgcoUseMinus,     Option::pgcoUseUnderline, Option::pgcoUseSpecialCharacters,
    Option::pgcoUseBrackets,
};

QString Alphabet(TPasswordGeneratorCharOptions options)
{
    QString all;
    for (Option option : AllOptions) {
        if (options.Contains(option))
            all += TPasswordGenerator::CharacterClass(option);
    }
    return all;
}

int ClassesPresent(const QString& password, TPasswordGeneratorCharOptions options)
{
    int present = 0;
    for (Option option : AllOptions) {
        if (!options.Contains(option))
            continue;
        const QString chars = TPasswordGenerator::CharacterClass(option);
        if (std::any_of(password.begin(), password.end(),
                        [&](QChar c) { return chars.contains(c); }))
            ++present;
    }
    return present;
}

int ClassCount(TPasswordGeneratorCharOptions options)
{
    return int(std::count_if(AllOptions.begin(), AllOptions.end(),
                             [&](Option option) { return options.Contains(option); }));
}

} // namespace

class TestPasswordGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultSettings()
    {
        TPasswordGenerator generator;
        const TPasswordGeneratorSettings settings = generator.GetDefaultSettings();
        QCOMPARE(settings.Length, 20);
        QCOMPARE(settings.Options,
                 TPasswordGeneratorCharOptions({Option::pgcoUseUpperCase, Option::pgcoUseLowerCase,
                                                Option::pgcoUseDigits, Option::pgcoUseMinus,
                                                Option::pgcoUseUnderline}));
    }

    void classesAreDisjoint()
    {
        QSet<QChar> seen;
        for (Option option : AllOptions) {
            const QString chars = TPasswordGenerator::CharacterClass(option);
            QVERIFY(!chars.isEmpty());
            for (QChar c : chars) {
                QVERIFY2(!seen.contains(c), qPrintable(QString(c)));
                QVERIFY(c.unicode() > 0x20 && c.unicode() < 0x7F);
                seen.insert(c);
            }
        }
    }

    void generate_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<TPasswordGeneratorCharOptions>("options");
        QTest::newRow("defaults") << 20 << TPasswordGenerator().GetDefaultSettings().Options;
        QTest::newRow("all seven classes, minimum length")
            << 7 << TPasswordGeneratorCharOptions(0x7F);
        QTest::newRow("all seven classes, long") << 200 << TPasswordGeneratorCharOptions(0x7F);
        QTest::newRow("digits only")
            << 12 << TPasswordGeneratorCharOptions({Option::pgcoUseDigits});
        QTest::newRow("minus and brackets")
            << 3 << TPasswordGeneratorCharOptions({Option::pgcoUseMinus, Option::pgcoUseBrackets});
        QTest::newRow("specials and underline")
            << 30
            << TPasswordGeneratorCharOptions(
                   {Option::pgcoUseSpecialCharacters, Option::pgcoUseUnderline});
    }

    // Length, alphabet and "every chosen class at least once", over many draws.
    void generate()
    {
        QFETCH(int, length);
        QFETCH(TPasswordGeneratorCharOptions, options);
        TPasswordGenerator generator;
        const QString alphabet = Alphabet(options);
        for (int i = 0; i < 500; ++i) {
            const QString password = generator.GeneratePassword({length, options});
            QCOMPARE(password.size(), length);
            for (QChar c : password)
                QVERIFY2(alphabet.contains(c), qPrintable(password));
            QCOMPARE(ClassesPresent(password, options), ClassCount(options));
        }
    }

    void noClassMeansLowerCase()
    {
        TPasswordGenerator generator;
        const QString password = generator.GeneratePassword({40, {}});
        QCOMPARE(password.size(), 40);
        for (QChar c : password)
            QVERIFY(c >= u'a' && c <= u'z');
    }

    // Shorter than the number of classes: every character from a different class.
    void lengthBelowClassCount()
    {
        TPasswordGenerator generator;
        const TPasswordGeneratorCharOptions all(0x7F);
        for (int i = 0; i < 200; ++i)
            QCOMPARE(ClassesPresent(generator.GeneratePassword({4, all}), all), 4);
    }

    void degenerateLengths_data()
    {
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("expected");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("negative") << -5 << 0;
        QTest::newRow("huge") << std::numeric_limits<int>::max() << TPasswordGenerator::MaxLength;
    }

    void degenerateLengths()
    {
        QFETCH(int, requested);
        QFETCH(int, expected);
        QCOMPARE(TPasswordGenerator()
                     .GeneratePassword({requested, TPasswordGeneratorCharOptions(0x7F)})
                     .size(),
                 expected);
    }

    // Every character of the alphabet turns up, and every position varies:
    // catches a broken shuffle or a class always placed first.
    void distribution()
    {
        TPasswordGenerator generator;
        const TPasswordGeneratorCharOptions options({Option::pgcoUseDigits, Option::pgcoUseMinus});
        QSet<QChar> seen;
        QList<QSet<QChar>> perPosition(8);
        for (int i = 0; i < 2000; ++i) {
            const QString password = generator.GeneratePassword({8, options});
            for (int p = 0; p < password.size(); ++p) {
                seen.insert(password[p]);
                perPosition[p].insert(password[p]);
            }
        }
        QCOMPARE(seen.size(), 11);
        for (const QSet<QChar>& position : perPosition)
            QCOMPARE(position.size(), 11);
    }

    void passwordsDiffer()
    {
        TPasswordGenerator generator;
        QSet<QString> passwords;
        for (int i = 0; i < 1000; ++i)
            passwords.insert(generator.GeneratePassword(generator.GetDefaultSettings()));
        QCOMPARE(passwords.size(), 1000);
    }
};

QTEST_GUILESS_MAIN(TestPasswordGenerator)
#include "tst_LockwynLibPasswordGenerator.moc"
