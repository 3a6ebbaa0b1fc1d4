#pragma once

#include "schedule/EffectiveSchedule.h"
#include "schedule/WorkingTimeRules.h"

#include <QDate>
#include <QString>

#include <vector>

// What the working-time warnings of an exchange need besides its typed periods:
// the employee's rules and surrounding days, and each department at or above his
// with a minimum at work, with its members' day. Read in bulk, one statement per
// kind of row, through the host's database service when the employee, the day or
// the record changes; the periods are worked in afterwards, in memory.
//
// Schedule row 0 is the employee; the departments' other members follow.
struct ExchangeSurroundings
{
    // A department at or above the employee's that asks for a minimum at work.
    struct Department
    {
        QString name;
        Schedule::Profile profile; // its own, which may differ from the employee's
        Schedule::CoverageRequirement requirement;
    };

    QDate day;
    Schedule::Profile profile; // the employee's
    // The days whose breaches may concern the day, and the days the rules need
    // read for them.
    Schedule::DateRange asked;
    Schedule::DateRange window;
    int memberCount = 1;
    // The employee's days of the window and his last planned day before it; each
    // other member's last planned day up to the day.
    std::vector<Schedule::PlanDay> plan;
    // The employee's exchanges of the window and the members' of the day, the
    // record being changed left out.
    std::vector<Schedule::Exchange> exchanges;
    std::vector<Schedule::CycleDay> cycles;
    std::vector<Department> departments;

    // recordId: the exchange being changed (a number), empty for a new one.
    // Raises what the host's database service raises.
    static ExchangeSurroundings read(const QString &employeeCode, const QDate &day,
                                     const QString &recordId);
};

// The days whose breaches may concern an exchange on day: its month, the weeks
// averaged with its own, and the runs without rest through it, up to four times
// the rule's limit long.
Schedule::DateRange concernedDays(const Schedule::Profile &profile, const QDate &day);
