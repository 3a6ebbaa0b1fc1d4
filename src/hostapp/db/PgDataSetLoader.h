#pragma once

#include <QString>
#include <functional>
#include <memory>

class PgResult;
class TDataSet;

// Reads a PostgreSQL result into a new data set with the types and text forms an
// SQLite query of the same statement gives:
// - integers (and booleans, as 0 and 1) give integer fields; numeric ones
//   integer fields when every value is whole, float fields otherwise, as SQLite
//   keeps whole sums as integers; other numbers float fields;
// - dates and timestamps of a table's columns give date-time fields; computed
//   ones, such as Max(WorkDate), text fields with the value's ISO text, as
//   SQLite's expressions over dates stored as text;
// - everything else text fields; equal texts of a column share one string.
// Field names are what fieldName gives for each column.
std::unique_ptr<TDataSet> loadDataSet(const PgResult &result,
                                      const std::function<QString(int column)> &fieldName);
