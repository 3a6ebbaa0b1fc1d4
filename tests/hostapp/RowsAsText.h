#pragma once

#include "hostapp/db/Database.h"
#include "runtime/dataset.h"

// The result of a query as text: a line of its fields with their types, then a
// line a row. NULL reads <null>, so that it differs from an empty text.
inline QStringList rowsAsText(Database &db, const QString &sql)
{
    const std::unique_ptr<TDataSet> rows = db.select(sql);
    QStringList fields;
    for (int f = 0; f < rows->fieldCount(); ++f)
        fields.append(rows->fieldName(f) + u':' + QString::number(int(rows->fieldType(f))));
    QStringList lines{fields.join(u'|')};
    for (int r = 0; r < rows->recordCount(); ++r) {
        QStringList values;
        for (int f = 0; f < rows->fieldCount(); ++f)
            values.append(rows->isNull(r, f) ? QStringLiteral("<null>") : rows->asString(r, f));
        lines.append(values.join(u'|'));
    }
    return lines;
}
