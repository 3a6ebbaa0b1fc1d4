#include "ExchangeRules.h"

using namespace Qt::StringLiterals;

namespace ExchangeRules {

QString periodRefusal(const Periods &p)
{
    const QString unset = u"00:00"_s;
    const QString overlapsBegin = u"时间重叠， 时段一结束时间不能大于时段二开始时间，请核实!"_s;
    if (p.period1End < p.period1Beg)
        return u" 时段一开始时间不能大于结束时间，请核实!"_s;
    if (p.period2Beg != unset && p.period2Beg < p.period1End)
        return overlapsBegin;
    // A set end also holds an unset begin against period 1.
    if (p.period2End != unset) {
        if (p.period2Beg < p.period1End)
            return overlapsBegin;
        if (p.period2End < p.period1End)
            return u"时间重叠， 时段一结束时间不能大于时段二结束时间，请核实!"_s;
    }
    if (p.period2End < p.period2Beg)
        return u"时段二开始时间不能大于结束时间，请核实!"_s;
    return {};
}

} // namespace ExchangeRules
