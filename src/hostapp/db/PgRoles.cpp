#include "PgRoles.h"

#include "PgDatabase.h"

#include "runtime/dataset.h"
#include "talvex/model/SqlText.h"

using namespace Qt::StringLiterals;

namespace PgRoles {

namespace {

PgConnection &connectionOf(Database &db)
{
    return static_cast<PgDatabase &>(db).connection();
}

// Another database of the server may create the same role at this moment.
void createRole(Database &db, const QString &name)
{
    db.execute(u"DO $role$ BEGIN EXECUTE format('CREATE ROLE %I LOGIN', %1);"
               u" EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $role$"_s.arg(
                   SqlText::quoted(name)));
}

void alterRole(Database &db, const QString &name, const QString &change)
{
    db.execute(u"ALTER ROLE %1 %2"_s.arg(connectionOf(db).quotedIdentifier(name), change));
}

} // namespace

Session session(Database &db)
{
    const std::unique_ptr<TDataSet> row = db.select(
        u"SELECT session_user, coalesce((SELECT c.relowner = r.oid FROM pg_catalog.pg_class c"
        u" WHERE c.oid = to_regclass('sys_schemaversion')), false)"
        u" FROM pg_catalog.pg_roles r WHERE r.rolname = session_user"_s);
    return {row->asString(0, 0), row->asInteger(0, 1) == 1};
}

Role role(Database &db, const QString &name)
{
    const std::unique_ptr<TDataSet> row = db.select(
        u"SELECT rolsuper OR rolbypassrls FROM pg_catalog.pg_roles WHERE rolname = $1"_s, {name});
    if (row->recordCount() == 0)
        return {};
    return {true, row->asInteger(0, 0) == 1};
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
        createRole(db, code);
        created.append(code);
    }
    return created;
}

bool allowLogin(Database &db, const QString &name)
{
    if (role(db, name).exists) {
        alterRole(db, name, u"LOGIN"_s);
        return false;
    }
    createRole(db, name);
    return true;
}

void setPassword(Database &db, const QString &name, const QString &password)
{
    PgConnection &connection = connectionOf(db);
    alterRole(db, name,
              u"PASSWORD "_s
                  + connection.quotedLiteral(connection.passwordVerifier(name, password)));
}

void refuseLogin(Database &db, const QString &name)
{
    alterRole(db, name, u"NOLOGIN PASSWORD NULL"_s);
}

} // namespace PgRoles
