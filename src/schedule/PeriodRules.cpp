#include "PeriodRules.h"

namespace Schedule {

std::optional<PeriodFault> periodFault(const Periods &p)
{
    if (p.period1End < p.period1Beg)
        return PeriodFault::Period1Reversed;
    if (p.period2Beg != 0 && p.period2Beg < p.period1End)
        return PeriodFault::Period2BeginsInPeriod1;
    // A set end also holds an unset begin against period 1.
    if (p.period2End != 0) {
        if (p.period2Beg < p.period1End)
            return PeriodFault::Period2BeginsInPeriod1;
        if (p.period2End < p.period1End)
            return PeriodFault::Period2EndsInPeriod1;
    }
    if (p.period2End < p.period2Beg)
        return PeriodFault::Period2Reversed;
    return std::nullopt;
}

} // namespace Schedule
