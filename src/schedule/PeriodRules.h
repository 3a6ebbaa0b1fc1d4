#pragma once

#include "Periods.h"

#include <optional>

// The rules the periods of a shift exchange keep before it is saved: a period
// cannot cross midnight, and period 2 lies after period 1. The exchange editor and
// the host's batch exchanges and swaps check the same rules and word the faults
// alike.
namespace Schedule {

// The faults in the order they are checked; the first one found is reported.
enum class PeriodFault : quint8 {
    Period1Reversed,        // period 1 ends before it begins
    Period2BeginsInPeriod1, // period 2 begins before period 1 ends
    Period2EndsInPeriod1,   // period 2 ends before period 1 ends
    Period2Reversed,        // period 2 ends before it begins
};

// The first rule periods break; nothing when they keep every rule. A bound of
// period 2 at 0 ("00:00") is not set and is held against period 1 only when the
// other bound is set; it still counts for period 2's own order.
std::optional<PeriodFault> periodFault(const Periods &periods);

} // namespace Schedule
