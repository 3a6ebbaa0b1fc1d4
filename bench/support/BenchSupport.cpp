#include "BenchSupport.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/Schema.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace Qt::StringLiterals;

namespace Bench {

void print(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void prepareDemoDatabase(Database &db, double scale)
{
    const Schema::State state = Schema::check(db);
    if (state == Schema::State::Current) {
        print(u"Reusing %1"_s.arg(db.location()));
        return;
    }
    QElapsedTimer timer;
    timer.start();
    if (state == Schema::State::Older) {
        print(u"Upgrading the layout of %1 ..."_s.arg(db.location()));
        Schema::upgrade(db);
        print(u"upgrade: %1 s"_s.arg(timer.elapsed() / 1000.0, 0, 'f', 1));
        return;
    }
    print(u"Building %1 with demo scale %2 ..."_s.arg(db.location()).arg(scale));
    DemoData::create(db, QDate::currentDate(), DemoProfile::scaled(scale));
    print(u"build: %1 s"_s.arg(timer.elapsed() / 1000.0, 0, 'f', 1));
}

QDate dataDay(Database &db)
{
    return QDate::fromString(db.queryValue(u"select Max(ExchgDate) from Kq_ExchangeClass"_s),
                             u"yyyy-MM-dd"_s);
}

} // namespace Bench
