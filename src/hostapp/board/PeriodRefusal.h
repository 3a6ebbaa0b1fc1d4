#pragma once

#include "schedule/PeriodRules.h"

#include <QString>

// What the operator reads when periods break a rule: the exchange editor's own
// words, so that a batch exchange or a swap refuses as the editor does.
namespace PeriodRefusal {

QString text(Schedule::PeriodFault fault);
// The text of the first rule periods break; empty when they keep every rule.
QString of(const Schedule::Periods &periods);

} // namespace PeriodRefusal
