#pragma once

// The module's own statements, so that the host is tested on exactly what it
// receives; the module's tests pin their texts.

#include "talvex/editor/EditorStatements.h"
#include "talvex/model/SqlText.h"
#include "talvex/picker/EmployeeSearch.h"
#include "talvex/work/ExchangeQueries.h"

// An exchange as the editor saves it; without times and minutes, a rest day.
inline EditorStatements::Entry exchange(const QString &employee, const QString &day,
                                        const QString &operatorCode = QStringLiteral("admin"))
{
    const QString unset = QStringLiteral("00:00");
    return {employee, day, unset, unset, unset, unset, QStringLiteral("0"), {}, {}, operatorCode};
}
