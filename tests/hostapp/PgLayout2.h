#pragma once

#include "hostapp/db/Database.h"

// Turns a database of this layout back into one of layout 2 as the server had
// it: no rule tables, a history that took its operator from the session's
// setting and refused changes row by row, no row-level security, no
// privileges for anyone but the owner.
inline void makeLayout2(Database &db)
{
    using namespace Qt::StringLiterals;
    db.execute(uR"sql(
DROP TABLE Kq_RuleProfile, Kq_RuleLimit, Kq_DeptRuleProfile, Kq_CoverageMinimum,
    Kq_CoverageOverride;
DROP FUNCTION Kq_ExchangeClass_RecordChange(), Kq_ExchangeClassHistory_Refuse(),
    Talvex_RequireChangeLevel(), Talvex_RightLevel(), Talvex_ScopeEmployees() CASCADE;
DROP POLICY History_Record ON Kq_ExchangeClassHistory;
ALTER TABLE Kq_ExchangeClass NO FORCE ROW LEVEL SECURITY, DISABLE ROW LEVEL SECURITY;
ALTER TABLE Kq_ExchangeClassHistory NO FORCE ROW LEVEL SECURITY, DISABLE ROW LEVEL SECURITY;
DO $revoke$ BEGIN
    EXECUTE format('REVOKE ALL ON ALL TABLES IN SCHEMA %I FROM PUBLIC', current_schema());
END $revoke$;
REVOKE ALL ON SEQUENCE SEQ_OCID FROM PUBLIC;
CREATE FUNCTION Kq_ExchangeClass_RecordChange() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO Kq_ExchangeClassHistory (ChangedAt, ChangeKind, OperatorCode)
    VALUES (LOCALTIMESTAMP, TG_OP, nullif(current_setting('talvex.operator', true), ''));
    RETURN NULL;
END $$;
CREATE TRIGGER TR_ExchangeClass_Record AFTER INSERT OR UPDATE OR DELETE ON Kq_ExchangeClass
    FOR EACH ROW EXECUTE FUNCTION Kq_ExchangeClass_RecordChange();
CREATE FUNCTION Kq_ExchangeClassHistory_Refuse() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    RAISE EXCEPTION 'The change history of the shift exchanges cannot be changed';
END $$;
CREATE TRIGGER TR_ExchangeHistory_Keep BEFORE UPDATE OR DELETE ON Kq_ExchangeClassHistory
    FOR EACH ROW EXECUTE FUNCTION Kq_ExchangeClassHistory_Refuse();
CREATE TRIGGER TR_ExchangeHistory_KeepAll BEFORE TRUNCATE ON Kq_ExchangeClassHistory
    FOR EACH STATEMENT EXECUTE FUNCTION Kq_ExchangeClassHistory_Refuse();
UPDATE Sys_SchemaVersion SET Version = 2)sql"_s);
}
