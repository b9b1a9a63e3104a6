#include "Components.Animation.h"

#include <cmath>

TUIAnimationRule::TUIAnimationRule(const QString& AName, int AStartVal, int AFinishVal)
    : TUIAnimationRuleBase<int>(AName, AStartVal, AFinishVal)
{
    ValuesChanged();
}

TUIAnimationRule::TUIAnimationRule(int ATag, int AStartVal, int AFinishVal)
    : TUIAnimationRuleBase<int>(ATag, AStartVal, AFinishVal)
{
    ValuesChanged();
}

void TUIAnimationRule::ValuesChanged()
{
    FChangeInVal = std::int64_t(FFinishVal) - std::int64_t(FStartVal);
}

int TUIAnimationRuleLine::Step(std::uint32_t CurrentTime, std::uint32_t Duration)
{
    if (Duration == 0) // a run of no length is already at its end
        return FFinishVal;
    const std::int64_t product = FChangeInVal * std::int64_t(CurrentTime);
    // std::nearbyint rounds in the default mode: to nearest, ties to even.
    return int(std::nearbyint(double(product) / double(Duration) + double(FStartVal)));
}
