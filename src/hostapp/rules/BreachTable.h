#pragma once

#include "RuleCheck.h"

#include <QStringList>

#include <span>

// The breaches as a table for payroll and audits: one row a breach under the
// header 规则,员工编号,员工姓名,部门,日期,值,限度, as CSV (UTF-8) or as an .xls sheet.
namespace BreachTable {

QStringList header();
// One breach's cells as text, in the header's order.
QStringList cells(const BreachRow &breach);
// Cells as one CSV line, without the line break; a cell with a comma, a quote
// or a line break is quoted.
QString csvLine(const QStringList &cells);

// Write the file whole; raise Rt::Exception when it cannot be written.
void writeCsv(const QString &fileName, std::span<const BreachRow> breaches);
void writeXls(const QString &fileName, std::span<const BreachRow> breaches);

} // namespace BreachTable
