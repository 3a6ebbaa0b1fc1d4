#pragma once

#include <QString>

// The rules of an exchange day that need no database.
namespace ExchangeRules {

// The working periods after the exchange, "HH:MM" each; "00:00" in a bound of
// period 2 means that bound is not set.
struct Periods
{
    QString period1Beg;
    QString period1End;
    QString period2Beg;
    QString period2End;
};

// The first rule the periods break, as the text the user is shown; empty when
// they keep every rule: a period cannot cross midnight, and period 2 may not
// begin or end before period 1 ends. The rules are the schedule library's
// (schedule/PeriodRules.h), which the host's batch exchanges check too.
QString periodRefusal(const Periods &periods);

} // namespace ExchangeRules
