#pragma once

#include <memory>

class SqliteStatement;
class TDataSet;

// Reads every row of a prepared SQLite query into a new data set.
//
// Field names are the query's column names. A column of a table takes its type
// from the declared type: INTEGER, INT and NUMBER give an integer field, REAL,
// FLOAT and DOUBLE a float field, DATE, DATETIME and TIMESTAMP a date-time field
// (their "yyyy-mm-dd" texts become date-times without time of day), anything else
// a text field. An expression takes the type of its first non-null value, text
// when it has none. Equal texts of a column share one string (ColumnCaches.h).
// Room for expectedRows is made at once; more rows are taken all the same.
std::unique_ptr<TDataSet> loadDataSet(SqliteStatement &query, int expectedRows = 0);
