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

    // The URI of the database whose connections work in that schema.
    QString uri(const QString &schema) const
    {
        QUrl url(clusterUri());
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

} // namespace

TestDatabase::TestDatabase()
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
    m_db->execute(u"CREATE SCHEMA "_s + m_schema);
}

TestDatabase::~TestDatabase()
{
    if (m_schema.isEmpty())
        return;
    try {
        m_db->execute(u"DROP SCHEMA %1 CASCADE"_s.arg(m_schema));
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
