#pragma once

#include <QDate>
#include <QString>
#include <vector>

class Database;

// What every benchmark needs: output, medians, processor time and a large demo
// database.
namespace Bench {

void print(const QString &line);
double median(std::vector<double> values);
// Processor time of this thread: on a machine that others share it varies far less
// than the elapsed time.
double cpuMs();

// Builds the demo data of that scale into an empty database, or brings one of an
// older layout up to date (reports how long it took); a current one is reused.
void prepareDemoDatabase(Database &db, double scale);
// The last day with exchanges: the "today" the demo data was built for.
QDate dataDay(Database &db);

} // namespace Bench
