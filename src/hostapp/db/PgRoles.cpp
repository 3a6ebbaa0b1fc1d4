#include "PgRoles.h"

#include "Database.h"

#include "runtime/dataset.h"
#include "talvex/model/SqlText.h"

using namespace Qt::StringLiterals;

namespace PgRoles {

Session session(Database &db)
{
    const std::unique_ptr<TDataSet> row = db.select(
        u"SELECT session_user, coalesce((SELECT c.relowner = r.oid FROM pg_catalog.pg_class c"
        u" WHERE c.oid = to_regclass('sys_schemaversion')), false)"
        u" FROM pg_catalog.pg_roles r WHERE r.rolname = session_user"_s);
    return {row->asString(0, 0), row->asInteger(0, 1) == 1};
}

QStringList createOperatorRoles(Database &db)
{
    const std::unique_ptr<TDataSet> missing =
        db.select(u"SELECT OperatorCode FROM Sys_Operator o WHERE NOT EXISTS"
                  u" (SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = o.OperatorCode)"
                  u" ORDER BY ID"_s);
    QStringList created;
    for (int r = 0; r < missing->recordCount(); ++r) {
        const QString code = missing->asString(r, 0);
        // Another database of the server may create the same role at this moment.
        db.execute(
            u"DO $role$ BEGIN EXECUTE format('CREATE ROLE %I LOGIN', %1);"
            u" EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $role$"_s.arg(
                SqlText::quoted(code)));
        created.append(code);
    }
    return created;
}

} // namespace PgRoles
