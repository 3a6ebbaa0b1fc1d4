#pragma once

#include "OperatorRights.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <functional>

class Database;

// How much a demo database holds.
struct DemoProfile
{
    int employees = 300;
    int planDays = 60;   // work plans cover the days before today
    int recentDays = 30; // most exchanges fall on the last days up to today
    int recentExchanges = 200;
    int olderExchanges = 10; // before the recent days, within the plan days

    // The largest scale: 100 is 2,000,000 employees and 100,000,000 exchanges,
    // some 75 GB, far beyond what a benchmark on one desk needs.
    static constexpr int maxScale = 100;

    // The demo that a new host file starts with.
    static DemoProfile standard() { return {}; }
    // A large database for benchmarks: scale 1 gives 20,000 employees, 1,000,000
    // exchanges over the year up to today and a year of work plans. Raises
    // Rt::Exception for a scale not above 0 or above maxScale.
    static DemoProfile scaled(double scale);
};

// Demo content for a new host database, drawn from a fixed seed: the same day
// and profile always give the same rows.
//
// - A department tree whose codes nest by prefix (01, 0101, 010101), IDs ordered
//   parents first, ParentID -1 at the top; one department has the one-character
//   code "9", and one ("0409") a parent that does not exist.
// - Employees with Chinese names and pinyin initials, some names with an inner
//   blank, some job numbers with letters, all five work states, some deleted rows,
//   some unknown birthdays.
// - Three rotating shifts (2-, 3- and 4-day cycles, the last with two periods a
//   day) and an irregular schedule (ClassType 3); work plans that end on
//   different days for different employees, so that later days need the shift
//   projected; a few employees without any plan.
// - Exchanges of both types: rest days (all periods 00:00, WorkTime 0) and
//   changed times (WorkTime the minutes of the periods).
// - Coverage minima for three workshop teams near what their shifts put at work,
//   so that a few days are short, and one date override.
// - Three operators with the register's right code: an administrator (level 2,
//   every department, and operator administration), a clerk (level 2, the branch
//   "02") and a viewer (level 1, every department). Their first passwords are
//   their codes, given at the first sign-in (auth/OperatorPasswords.h).
namespace DemoData {

constexpr QStringView rightCode = OperatorRights::registerRight; // of the plug-in window
constexpr int administratorId = 1;
constexpr int clerkId = 2;
constexpr int viewerId = 3;
constexpr QStringView clerkBranch = u"02";

// Told as each step of a build begins: its name, its number from 1, and how
// many steps there are.
using Progress = std::function<void(const QString &step, int number, int steps)>;

// Creates the schema and fills it; the database must be empty (Schema::check).
// One transaction; the indexes are built after the rows.
void create(Database &db, const QDate &today, const DemoProfile &profile = DemoProfile::standard(),
            const Progress &progress = {});

} // namespace DemoData
