#pragma once

#include "hostapp/db/Database.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A new, empty database of its own for one test, on the backend the test run
// asks for: anything but TALVEX_TEST_BACKEND=postgresql gives an SQLite file in
// a temporary folder. On PostgreSQL each test program makes a database of its
// own on the cluster whose maintenance database TALVEX_TEST_PG names
// (scripts/test.sh starts one and sets both), so that test programs run side by
// side, and drops it when it ends; each TestDatabase in it is a schema of its
// own, the connection's search path, since making a database takes the server
// most of a second. Without TALVEX_TEST_PG a PostgreSQL run fails at once
// rather than test nothing.
//
// On PostgreSQL the test's own connection is the cluster's superuser, whom no
// policy holds back, unless an owner role is named: then that role, made for the
// purpose without special rights, owns the schema and the connection is his. The
// operators reach it as login roles of their codes (connectAs); the cluster
// signs every role in without a password.
class TestDatabase
{
public:
    explicit TestDatabase(const QString &ownerRole = {});
    ~TestDatabase();

    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    static DbBackend backend();

    // Where the database is, for a second connection or another process.
    const QString &location() const { return m_location; }
    // A connection opened with the test database.
    Database &db() { return *m_db; }
    // Another connection to the same database.
    std::unique_ptr<Database> connect() const { return openDatabase(m_location); }
    // Where a login role finds it (PostgreSQL); the file itself for SQLite.
    QString locationAs(const QString &role) const;
    std::unique_ptr<Database> connectAs(const QString &role) const
    {
        return openDatabase(locationAs(role));
    }

private:
    QTemporaryDir m_dir;
    QString m_schema; // PostgreSQL only
    QString m_location;
    std::unique_ptr<Database> m_superuser; // PostgreSQL with an owner role only
    std::unique_ptr<Database> m_db;
};
