#pragma once
// A small timer-driven animation engine: every time slot it asks each enabled
// rule for its value at the current time and hands the value to OnStep. A run
// goes forward from 0 to the animation time or backward from it down to 0.

#include <QString>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

template <typename TValue> class IUIAnimationRule
{
public:
    virtual ~IUIAnimationRule() = default;
    virtual bool GetEnabled() const = 0;
    virtual void SetEnabled(bool AEnabled) = 0;
    virtual TValue Step(std::uint32_t CurrentTime, std::uint32_t Duration) = 0;
};

template <typename TValue> class TUIAnimationRuleBase : public IUIAnimationRule<TValue>
{
public:
    TUIAnimationRuleBase(const QString& AName, TValue AStartVal, TValue AFinishVal)
        : FName(AName), FStartVal(AStartVal), FFinishVal(AFinishVal)
    {
    }
    TUIAnimationRuleBase(int ATag, TValue AStartVal, TValue AFinishVal)
        : FStartVal(AStartVal), FFinishVal(AFinishVal), FTag(ATag)
    {
    }

    bool GetEnabled() const override { return FEnabled; }
    void SetEnabled(bool AEnabled) override { FEnabled = AEnabled; }

    const QString& GetName() const { return FName; }
    int GetTag() const { return FTag; }
    void SetTag(int ATag) { FTag = ATag; }

    TValue GetStartVal() const { return FStartVal; }
    void SetStartVal(TValue AValue)
    {
        FStartVal = AValue;
        ValuesChanged();
    }
    TValue GetFinishVal() const { return FFinishVal; }
    void SetFinishVal(TValue AValue)
    {
        FFinishVal = AValue;
        ValuesChanged();
    }

protected:
    // Runs whenever the start or finish value changes.
    virtual void ValuesChanged() {}

    bool FEnabled = true;
    QString FName;
    TValue FStartVal;
    TValue FFinishVal;
    int FTag = 0;
};

// Integer rules. The change is kept in 64 bits so that any two integers can
// be the start and finish values.
class TUIAnimationRule : public TUIAnimationRuleBase<int>
{
public:
    TUIAnimationRule(const QString& AName, int AStartVal, int AFinishVal);
    TUIAnimationRule(int ATag, int AStartVal, int AFinishVal);

    std::int64_t GetChangeInVal() const { return FChangeInVal; }

protected:
    void ValuesChanged() override;

    std::int64_t FChangeInVal = 0;
};

// Moves linearly from the start value at time 0 to the finish value at the
// full duration, rounding to the nearest integer with ties to even.
class TUIAnimationRuleLine : public TUIAnimationRule
{
public:
    using TUIAnimationRule::TUIAnimationRule;

    int Step(std::uint32_t CurrentTime, std::uint32_t Duration) override;
};

template <typename TValue, typename TRule> class TUIAnimationEngineBase
{
public:
    using TStepEvent = std::function<void(TUIAnimationEngineBase&, TRule&, TValue)>;
    using TNotifyEvent = std::function<void(TUIAnimationEngineBase&)>;

    TUIAnimationEngineBase() : FTimer(std::make_unique<QTimer>())
    {
        FTimer->setInterval(20);
        QObject::connect(FTimer.get(), &QTimer::timeout, FTimer.get(), [this] { TimerTick(); });
    }
    TUIAnimationEngineBase(const TUIAnimationEngineBase&) = delete;
    TUIAnimationEngineBase& operator=(const TUIAnimationEngineBase&) = delete;

    void AddRule(std::unique_ptr<TRule> ARule) { FRules.push_back(std::move(ARule)); }
    void Clear() { FRules.clear(); }

    void Start()
    {
        if (GetInProgress())
            return;
        FCurrentTime = FVector < 0 ? FAnimationTime : 0;
        FTimer->start();
        if (FOnStart)
            FOnStart(*this);
    }

    void Stop()
    {
        if (!GetInProgress())
            return;
        FTimer->stop();
        if (FOnStop)
            FOnStop(*this);
    }

    bool GetInProgress() const { return FTimer->isActive(); }

    int GetTimeSlot() const { return FTimer->interval(); }
    // A slot of 0 ms would never advance the time; 1 ms is the shortest.
    void SetTimeSlot(int AMilliseconds) { FTimer->setInterval(std::max(1, AMilliseconds)); }

    int GetVector() const { return FVector; }
    void SetVector(int AVector) { FVector = AVector < 0 ? -1 : 1; }

    int GetAnimationTime() const { return FAnimationTime; }
    void SetAnimationTime(int AMilliseconds) { FAnimationTime = std::max(0, AMilliseconds); }

    int GetTag() const { return FTag; }
    void SetTag(int ATag) { FTag = ATag; }

    void SetOnStep(TStepEvent AEvent) { FOnStep = std::move(AEvent); }
    void SetOnStart(TNotifyEvent AEvent) { FOnStart = std::move(AEvent); }
    void SetOnStop(TNotifyEvent AEvent) { FOnStop = std::move(AEvent); }

private:
    void TimerTick()
    {
        // Indexed, because OnStep may clear the rules.
        for (std::size_t i = 0; i < FRules.size(); ++i) {
            TRule& rule = *FRules[i];
            if (rule.GetEnabled() && FOnStep)
                FOnStep(*this, rule,
                        rule.Step(std::uint32_t(FCurrentTime), std::uint32_t(FAnimationTime)));
        }
        if (!GetInProgress()) // OnStep stopped the run
            return;
        FCurrentTime += GetTimeSlot() * FVector;
        if ((FVector >= 0 && FCurrentTime > FAnimationTime) || (FVector < 0 && FCurrentTime < 0))
            Stop();
    }

    std::unique_ptr<QTimer> FTimer;
    std::vector<std::unique_ptr<TRule>> FRules;
    int FAnimationTime = 900;
    int FCurrentTime = 0;
    int FVector = 1;
    int FTag = 0;
    TStepEvent FOnStep;
    TNotifyEvent FOnStart;
    TNotifyEvent FOnStop;
};

using TUIAnimationEngine = TUIAnimationEngineBase<int, TUIAnimationRule>;
