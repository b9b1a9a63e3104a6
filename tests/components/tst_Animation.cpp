#include <QtTest>

#include <climits>
#include <memory>

#include "Components.Animation.h"

using namespace Qt::StringLiterals;

namespace {

// Answers each step with the time it was asked for.
class TTimeRule : public TUIAnimationRule
{
public:
    explicit TTimeRule(bool* ADestroyed = nullptr)
        : TUIAnimationRule(0, 0, 0), FDestroyed(ADestroyed)
    {
    }
    ~TTimeRule() override
    {
        if (FDestroyed)
            *FDestroyed = true;
    }
    int Step(std::uint32_t CurrentTime, std::uint32_t) override { return int(CurrentTime); }

private:
    bool* FDestroyed;
};

// Counts the engine's events and keeps the values it delivers.
struct TRecorder
{
    explicit TRecorder(TUIAnimationEngine& AEngine)
    {
        AEngine.SetOnStart([this](TUIAnimationEngine&) { ++Starts; });
        AEngine.SetOnStop([this](TUIAnimationEngine&) { ++Stops; });
        AEngine.SetOnStep([this](TUIAnimationEngine&, TUIAnimationRule& rule, int value) {
            Rules << &rule;
            Values << value;
        });
    }
    int Starts = 0;
    int Stops = 0;
    QList<TUIAnimationRule*> Rules;
    QList<int> Values;
};

QList<int> Range(int from, int to, int step)
{
    QList<int> values;
    for (int v = from; step > 0 ? v <= to : v >= to; v += step)
        values << v;
    return values;
}

} // namespace

class TestAnimation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineStep_data();
    void lineStep();
    void changingValuesRecomputesLine();

    void run_data();
    void run();
    void fadeFrom180To0();
    void startWhileRunningChangesNothing();
    void stopEndsRunOnce();
    void rulesStepInOrderWhenEnabled();
    void engineOwnsRules();
};

void TestAnimation::lineStep_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("finish");
    QTest::addColumn<qint64>("time");
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<int>("value");

    QTest::newRow("time 0 is the start") << 180 << 0 << 0LL << 200LL << 180;
    QTest::newRow("full time is the finish") << 180 << 0 << 200LL << 200LL << 0;
    QTest::newRow("fade at 20") << 180 << 0 << 20LL << 200LL << 162;
    QTest::newRow("fade at 100") << 180 << 0 << 100LL << 200LL << 90;
    QTest::newRow("rising") << -10 << 30 << 50LL << 200LL << 0;
    QTest::newRow("0.5 rounds to 0") << 0 << 5 << 20LL << 200LL << 0;
    QTest::newRow("1.5 rounds to 2") << 0 << 5 << 60LL << 200LL << 2;
    QTest::newRow("2.5 rounds to 2") << 0 << 5 << 100LL << 200LL << 2;
    QTest::newRow("10.5 rounds to 10") << 10 << 11 << 1LL << 2LL << 10;
    QTest::newRow("11.5 rounds to 12") << 11 << 12 << 1LL << 2LL << 12;
    QTest::newRow("-0.5 rounds to 0") << 0 << -5 << 20LL << 200LL << 0;
    QTest::newRow("-1.5 rounds to -2") << 0 << -5 << 60LL << 200LL << -2;
    QTest::newRow("0.4 rounds down") << 0 << 2 << 1LL << 5LL << 0;
    QTest::newRow("0.6 rounds up") << 0 << 3 << 1LL << 5LL << 1;
    QTest::newRow("product beyond 32 bits")
        << 0 << INT_MAX << 3000000000LL << 4000000000LL << 1610612735;
    QTest::newRow("change beyond 32 bits") << INT_MIN << INT_MAX << 1LL << 2LL << 0;
    QTest::newRow("no duration is the finish") << 5 << 9 << 0LL << 0LL << 9;
}

void TestAnimation::lineStep()
{
    QFETCH(int, start);
    QFETCH(int, finish);
    QFETCH(qint64, time);
    QFETCH(qint64, duration);
    QFETCH(int, value);

    TUIAnimationRuleLine rule(u"line"_s, start, finish);
    QCOMPARE(rule.Step(std::uint32_t(time), std::uint32_t(duration)), value);
}

void TestAnimation::changingValuesRecomputesLine()
{
    TUIAnimationRuleLine rule(7, 0, 10);
    QCOMPARE(rule.GetTag(), 7);
    rule.SetFinishVal(20);
    QCOMPARE(rule.Step(50, 100), 10);
    rule.SetStartVal(10);
    QCOMPARE(rule.Step(50, 100), 15);
    QCOMPARE(rule.GetChangeInVal(), 10);
}

void TestAnimation::run_data()
{
    QTest::addColumn<int>("vector");
    QTest::addColumn<int>("animationTime");
    QTest::addColumn<int>("timeSlot");
    QTest::addColumn<QList<int>>("times");

    QTest::newRow("forward 200/20: 11 steps") << 1 << 200 << 20 << Range(0, 200, 20);
    QTest::newRow("backward 200/20") << -1 << 200 << 20 << Range(200, 0, -20);
    QTest::newRow("any negative vector runs backward") << -7 << 100 << 20 << Range(100, 0, -20);
    QTest::newRow("vector 0 runs forward") << 0 << 100 << 20 << Range(0, 100, 20);
    QTest::newRow("forward, slot does not divide") << 1 << 50 << 20 << QList<int>{0, 20, 40};
    QTest::newRow("backward, slot does not divide") << -1 << 50 << 20 << QList<int>{50, 30, 10};
}

void TestAnimation::run()
{
    QFETCH(int, vector);
    QFETCH(int, animationTime);
    QFETCH(int, timeSlot);
    QFETCH(QList<int>, times);

    TUIAnimationEngine engine;
    engine.SetVector(vector);
    engine.SetAnimationTime(animationTime);
    engine.SetTimeSlot(timeSlot);
    engine.AddRule(std::make_unique<TTimeRule>());
    TRecorder recorder(engine);

    engine.Start();
    QVERIFY(engine.GetInProgress());
    QCOMPARE(recorder.Starts, 1);
    QVERIFY(recorder.Values.isEmpty()); // the first step comes one slot later
    QTRY_VERIFY(!engine.GetInProgress());
    QCOMPARE(recorder.Values, times);
    QCOMPARE(recorder.Stops, 1);
}

void TestAnimation::fadeFrom180To0()
{
    TUIAnimationEngine engine;
    engine.SetAnimationTime(200);
    engine.SetTimeSlot(20);
    engine.AddRule(std::make_unique<TUIAnimationRuleLine>(u"fade"_s, 180, 0));
    TRecorder recorder(engine);

    engine.Start();
    QTRY_VERIFY(!engine.GetInProgress());
    QCOMPARE(recorder.Values, Range(180, 0, -18));
}

void TestAnimation::startWhileRunningChangesNothing()
{
    TUIAnimationEngine engine;
    engine.SetAnimationTime(200);
    engine.AddRule(std::make_unique<TTimeRule>());
    TRecorder recorder(engine);

    engine.Start();
    QTRY_VERIFY(recorder.Values.size() >= 3);
    engine.Start();
    QTRY_VERIFY(!engine.GetInProgress());
    QCOMPARE(recorder.Starts, 1);
    QCOMPARE(recorder.Values, Range(0, 200, 20)); // no restart from 0
    QCOMPARE(recorder.Stops, 1);
}

void TestAnimation::stopEndsRunOnce()
{
    TUIAnimationEngine engine;
    engine.SetAnimationTime(10000);
    engine.AddRule(std::make_unique<TTimeRule>());
    TRecorder recorder(engine);

    engine.Stop();
    QCOMPARE(recorder.Stops, 0); // nothing to stop
    engine.Start();
    QTRY_VERIFY(!recorder.Values.isEmpty());
    engine.Stop();
    engine.Stop();
    QCOMPARE(recorder.Stops, 1);
    const qsizetype steps = recorder.Values.size();
    QTest::qWait(3 * engine.GetTimeSlot());
    QCOMPARE(recorder.Values.size(), steps);
}

void TestAnimation::rulesStepInOrderWhenEnabled()
{
    TUIAnimationEngine engine;
    engine.SetAnimationTime(0);
    auto first = std::make_unique<TUIAnimationRuleLine>(u"first"_s, 0, 1);
    auto second = std::make_unique<TUIAnimationRuleLine>(u"second"_s, 0, 2);
    auto third = std::make_unique<TUIAnimationRuleLine>(u"third"_s, 0, 3);
    second->SetEnabled(false);
    QList<TUIAnimationRule*> expected{first.get(), third.get()};
    engine.AddRule(std::move(first));
    engine.AddRule(std::move(second));
    engine.AddRule(std::move(third));
    TRecorder recorder(engine);

    engine.Start();
    QTRY_VERIFY(!engine.GetInProgress());
    QCOMPARE(recorder.Rules, expected);
    QCOMPARE(recorder.Values, (QList<int>{1, 3}));
}

void TestAnimation::engineOwnsRules()
{
    bool clearedRuleDestroyed = false;
    bool keptRuleDestroyed = false;
    {
        TUIAnimationEngine engine;
        engine.AddRule(std::make_unique<TTimeRule>(&clearedRuleDestroyed));
        engine.Clear();
        QVERIFY(clearedRuleDestroyed);
        engine.AddRule(std::make_unique<TTimeRule>(&keptRuleDestroyed));
        engine.Start();
        QVERIFY(!keptRuleDestroyed);
    }
    QVERIFY(keptRuleDestroyed);
}

QTEST_MAIN(TestAnimation)
#include "tst_Animation.moc"
