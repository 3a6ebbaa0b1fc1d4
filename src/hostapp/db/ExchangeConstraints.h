#pragma once

#include "DbFailure.h"

#include <QString>
#include <QStringList>

#include <optional>

// The constraints of the shift exchanges that operators break in their normal
// work: two desks, or one desk twice, entering the same employee and day (the
// table's key), and a save before anyone is chosen (EmployeeCode is required).
// Each engine says in its own way which constraint a statement broke; both
// recognise these here, so that they read alike whichever engine refused.
namespace ExchangeConstraints {

struct Broken
{
    enum Kind { Unique, NotNull } kind;
    QString table;
    QStringList columns; // the constrained columns, in the constraint's order
};

struct Recognised
{
    QString detail; // for the log, ending with the engine's own message
    DbFailure failure;
};

// The failure a broken constraint means; nothing for the others.
std::optional<Recognised> recognise(const Broken &broken, const QString &engineMessage);

} // namespace ExchangeConstraints
