#include "ExchangeConstraints.h"

#include "SchemaTables.h"

using namespace Qt::StringLiterals;

namespace ExchangeConstraints {

namespace {

bool sameNames(const QStringList &names, std::span<const QStringView> expected)
{
    if (names.size() != qsizetype(expected.size()))
        return false;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(expected[size_t(i)], Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

} // namespace

std::optional<Recognised> recognise(const Broken &broken, const QString &engineMessage)
{
    const Schema::Table &exchange = Schema::exchangeTable();
    if (broken.table.compare(exchange.name, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    if (broken.kind == Broken::Unique && sameNames(broken.columns, exchange.primaryKey)) {
        return Recognised{
            u"This employee already has a shift exchange on that day (%1)"_s.arg(engineMessage),
            DbFailure::UniqueDayTaken};
    }
    constexpr QStringView employee[] = {u"EmployeeCode"};
    if (broken.kind == Broken::NotNull && sameNames(broken.columns, employee)) {
        return Recognised{u"No employee is chosen for the shift exchange (%1)"_s.arg(engineMessage),
                          DbFailure::Statement};
    }
    return std::nullopt;
}

} // namespace ExchangeConstraints
