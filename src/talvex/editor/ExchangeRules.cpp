#include "ExchangeRules.h"

#include "schedule/PeriodRules.h"

using namespace Qt::StringLiterals;

namespace ExchangeRules {

QString periodRefusal(const Periods &p)
{
    // The boxes hold "HH:MM" texts, which order as the clock minutes do.
    const auto fault = Schedule::periodFault(
        Schedule::periodsFromTexts(p.period1Beg, p.period1End, p.period2Beg, p.period2End));
    if (!fault)
        return {};
    switch (*fault) {
    case Schedule::PeriodFault::Period1Reversed:
        return u" 时段一开始时间不能大于结束时间，请核实!"_s;
    case Schedule::PeriodFault::Period2BeginsInPeriod1:
        return u"时间重叠， 时段一结束时间不能大于时段二开始时间，请核实!"_s;
    case Schedule::PeriodFault::Period2EndsInPeriod1:
        return u"时间重叠， 时段一结束时间不能大于时段二结束时间，请核实!"_s;
    case Schedule::PeriodFault::Period2Reversed:
        return u"时段二开始时间不能大于结束时间，请核实!"_s;
    }
    return {};
}

} // namespace ExchangeRules
