#include "TestDatabase.h"

#include <QCoreApplication>
#include <QUrl>
#include <QUrlQuery>
#include <atomic>

using namespace Qt::StringLiterals;

namespace {

QString clusterUri()
{
    const QString uri = qEnvironmentVariable("TALVEX_TEST_PG");
    if (uri.isEmpty()) {
        throw DbError(u"TALVEX_TEST_PG is not set: PostgreSQL tests run through scripts/test.sh,"
                      u" which starts a PostgreSQL cluster for them"_s,
                      DbFailure::ConnectionLost);
    }
    return uri;
}

// The database of this test program, made on first use and dropped at its end.
class ProgramDatabase
{
public:
    ProgramDatabase()
        : m_name(u"talvex_test_%1"_s.arg(QCoreApplication::applicationPid()))
    {
        openDatabase(clusterUri())->execute(u"CREATE DATABASE "_s + m_name);
    }

    ~ProgramDatabase()
    {
        try {
            openDatabase(clusterUri())->execute(u"DROP DATABASE %1 WITH (FORCE)"_s.arg(m_name));
        } catch (const DbError &e) {
            qWarning("Cannot drop the test database %s: %s", qPrintable(m_name),
                     qPrintable(e.message()));
        }
    }

    // The URI of the database whose connections work in that schema, as that
    // role (empty: the cluster's superuser).
    QString uri(const QString &schema, const QString &role = {}) const
    {
        QUrl url(clusterUri());
        if (!role.isEmpty())
            url.setUserName(role);
        url.setPath(u'/' + m_name);
        QUrlQuery query(url);
        query.addQueryItem(u"options"_s, u"-csearch_path="_s + schema);
        url.setQuery(query);
        return url.toString(QUrl::FullyEncoded);
    }

private:
    QString m_name;
};

ProgramDatabase &programDatabase()
{
    static ProgramDatabase database;
    return database;
}

// A login role of that name, no superuser but allowed to make roles; test programs running side
// by side may make it at the same moment.
void createRole(Database &superuser, const QString &role)
{
    superuser.execute(u"DO $role$ BEGIN CREATE ROLE %1 LOGIN CREATEROLE;"
                      u" EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL;"
                      u" END $role$"_s.arg(role));
}

} // namespace

TestDatabase::TestDatabase(const QString &ownerRole)
{
    if (backend() == DbBackend::Sqlite) {
        m_location = m_dir.filePath(u"talvex.db"_s);
        m_db = openDatabase(m_location);
        return;
    }
    static std::atomic<int> counter{0};
    m_schema = u"test_%1"_s.arg(++counter);
    m_location = programDatabase().uri(m_schema);
    m_db = openDatabase(m_location);
    // Operators reach their tables in it as in the schema public.
    QString create = u"CREATE SCHEMA "_s + m_schema;
    if (!ownerRole.isEmpty()) {
        createRole(*m_db, ownerRole);
        create += u" AUTHORIZATION "_s + ownerRole;
    }
    m_db->execute(create + u"; GRANT USAGE ON SCHEMA %1 TO PUBLIC"_s.arg(m_schema));
    if (!ownerRole.isEmpty()) {
        m_superuser = std::move(m_db);
        m_location = programDatabase().uri(m_schema, ownerRole);
        m_db = openDatabase(m_location);
    }
}

QString TestDatabase::locationAs(const QString &role) const
{
    return m_schema.isEmpty() ? m_location : programDatabase().uri(m_schema, role);
}

TestDatabase::~TestDatabase()
{
    if (m_schema.isEmpty())
        return;
    try {
        (m_superuser ? m_superuser : m_db)->execute(u"DROP SCHEMA %1 CASCADE"_s.arg(m_schema));
    } catch (const DbError &e) {
        qWarning("Cannot drop the test schema %s: %s", qPrintable(m_schema),
                 qPrintable(e.message()));
    }
}

DbBackend TestDatabase::backend()
{
    return qEnvironmentVariable("TALVEX_TEST_BACKEND") == u"postgresql"_s ? DbBackend::PostgreSql
                                                                          : DbBackend::Sqlite;
}
