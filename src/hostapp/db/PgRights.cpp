// What each operator may see and change on PostgreSQL, enforced by the server
// for every client, psql as much as the register. An operator is a login role of
// the same name as his code in Sys_Operator; the schema's owner, who created it,
// is no operator.
//
// - Every role may read the reference tables and may ask to change the shift
//   exchanges: the policies below decide what it gets.
// - One set of row-level security policies reads the scope from the tables: the
//   exchanges of the employees in the operator's departments (Sys_OperatorDept),
//   read with level 1 on the register's right code and changed with level 2.
//   A new operator or department needs no new policy.
// - A change by a role below level 2 is refused outright rather than finding no
//   row, so that a viewer hears why nothing happened: of the exchanges and of
//   the rules alike.
// - The working-time rules and coverage minima are read by every role and
//   changed with level 2, as the rules command asks; their owner, who seeds
//   them, is not held to the policies.
// - The exchange tables force their policies on the owner too: he reads no exchange and
//   no history, and only the history's trigger, running with his rights,
//   writes the history: no role holds the privilege to write it, and the owner's
//   own statements outside a trigger find no policy that lets them.

#include "Database.h"
#include "DemoData.h"
#include "EngineSchemas.h"

using namespace Qt::StringLiterals;

namespace PgSchema {

QString functionSearchPath(Database &db)
{
    return db.nativeValue(u"SELECT quote_ident(current_schema())"_s) + u", pg_temp"_s;
}

QString operatorRights(const QString &searchPath)
{
    const QString exchange = Schema::exchangeTable().name.toString();
    const QString history = Schema::exchangeHistoryTable().name.toString();
    // Evaluated once per statement, not once per row: the sub-selects make the
    // planner run them before the scan.
    const QString readable = u"(SELECT Talvex_RightLevel()) >= 1"_s;
    const QString changeable = u"(SELECT Talvex_RightLevel()) >= 2"_s;
    const QString inScope = u"(SELECT Talvex_ScopeEmployees())"_s;
    // A row without an employee passes, so that the column's NOT NULL tells the
    // operator what is missing.
    const QString rowInScope = u"(EmployeeCode IS NULL OR EmployeeCode IN %1)"_s.arg(inScope);
    QStringList readOnly;
    QString ruleStatements;
    for (const Schema::Table &table : Schema::tables()) {
        if (table.name == Schema::exchangeTable().name)
            continue;
        if (!table.rulesData) {
            readOnly.append(table.name.toString());
            continue;
        }
        ruleStatements += uR"sql(;
ALTER TABLE %1 ENABLE ROW LEVEL SECURITY;
CREATE POLICY Rules_Read ON %1 FOR SELECT USING (true);
CREATE POLICY Rules_Change ON %1 FOR ALL USING (%2) WITH CHECK (%2);
CREATE TRIGGER TR_%1_RequireRight BEFORE INSERT OR UPDATE OR DELETE ON %1
    FOR EACH STATEMENT EXECUTE FUNCTION Talvex_RequireChangeLevel();
GRANT SELECT, INSERT, UPDATE, DELETE ON %1 TO PUBLIC)sql"_s.arg(table.name.toString(), changeable);
    }
    readOnly.append(u"Sys_SchemaVersion"_s);

    return uR"sql(
CREATE FUNCTION Talvex_RightLevel() RETURNS integer LANGUAGE sql STABLE
    SECURITY DEFINER SET search_path = %1 AS $$
    SELECT coalesce(max(r.RightLevel), 0) FROM Sys_OperatorRight r
    JOIN Sys_Operator o ON o.ID = r.OperatorID
    WHERE o.OperatorCode = session_user AND r.RightCode = '%2'
$$;
CREATE FUNCTION Talvex_ScopeEmployees() RETURNS SETOF text LANGUAGE sql STABLE
    SECURITY DEFINER SET search_path = %1 AS $$
    SELECT e.EmployeeCode FROM HR_Employee e
    JOIN Sys_OperatorDept d ON d.DeptCode = e.DeptCode
    JOIN Sys_Operator o ON o.ID = d.OperatorID
    WHERE o.OperatorCode = session_user
$$;
CREATE FUNCTION Talvex_RequireChangeLevel() RETURNS trigger LANGUAGE plpgsql
    SECURITY DEFINER SET search_path = %1 AS $$
BEGIN
    -- Whom the table's policies do not hold (superusers, BYPASSRLS, the owner
    -- of a table that does not force them) is not held back here either.
    IF Talvex_RightLevel() < 2 AND NOT (
        SELECT r.rolsuper OR r.rolbypassrls OR (c.relowner = r.oid AND NOT c.relforcerowsecurity)
        FROM pg_catalog.pg_roles r, pg_catalog.pg_class c
        WHERE r.rolname = session_user AND c.oid = TG_RELID) THEN
        RAISE EXCEPTION 'permission denied: % may not change %', session_user, TG_TABLE_NAME
            USING ERRCODE = 'insufficient_privilege';
    END IF;
    RETURN NULL;
END $$;
CREATE TRIGGER TR_ExchangeClass_RequireRight BEFORE INSERT OR UPDATE OR DELETE ON %3
    FOR EACH STATEMENT EXECUTE FUNCTION Talvex_RequireChangeLevel();

ALTER TABLE %3 ENABLE ROW LEVEL SECURITY;
ALTER TABLE %3 FORCE ROW LEVEL SECURITY;
CREATE POLICY Exchange_Read ON %3 FOR SELECT USING (%5 AND EmployeeCode IN %7);
CREATE POLICY Exchange_Add ON %3 FOR INSERT WITH CHECK (%6 AND %8);
CREATE POLICY Exchange_Change ON %3 FOR UPDATE USING (%6 AND %8) WITH CHECK (%6 AND %8);
CREATE POLICY Exchange_Remove ON %3 FOR DELETE USING (%6 AND %8);

ALTER TABLE %4 ENABLE ROW LEVEL SECURITY;
ALTER TABLE %4 FORCE ROW LEVEL SECURITY;
CREATE POLICY History_Read ON %4 FOR SELECT
    USING (%5 AND (Old_EmployeeCode IN %7 OR New_EmployeeCode IN %7));
CREATE POLICY History_Record ON %4 FOR INSERT TO CURRENT_USER
    WITH CHECK (pg_trigger_depth() > 0);

GRANT SELECT, INSERT, UPDATE, DELETE ON %3 TO PUBLIC;
GRANT SELECT ON %9 TO PUBLIC;
GRANT USAGE ON SEQUENCE SEQ_OCID TO PUBLIC)sql"_s.arg(searchPath, DemoData::rightCode, exchange,
                                                      history, readable, changeable, inScope,
                                                      rowInScope, readOnly.join(u", "_s))
           + ruleStatements;
}

} // namespace PgSchema
