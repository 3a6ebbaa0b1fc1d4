#!/usr/bin/env python3
"""The export an office would script for itself: the register's rows of a date
range read with sqlite3 and written with xlwt, the columns the register shows,
65,535 rows a sheet, the count and the total of the working minutes at the end.

    export_xlwt.py DATABASE FROM TO OUT.xls
"""
import datetime
import sqlite3
import sys

import xlwt

ROWS_PER_SHEET = 65535
HEADER = ["员工编号", "员工姓名", "调班日期", "上班时长(分钟)", "上班标志", "调班类型",
          "上班时间一", "下班时间一", "上班时间二", "下班时间二", "调班理由", "备注"]
WORK_FLAG = {0: "休息", 1: "上班"}
EXCHANGE_TYPE = {0: "调休", 1: "调班"}


def main(database, first, last, out):
    rows = sqlite3.connect(database).execute(
        "SELECT a.EmployeeCode, e.PersonName, a.ExchgDate, a.WorkTime, a.WorkFlag,"
        " a.ExchgType, a.period1Beg, a.period1End, a.period2Beg, a.period2End,"
        " a.ExchgeReason, a.Remark"
        " FROM Kq_ExchangeClass a JOIN HR_Employee e ON a.EmployeeCode = e.EmployeeCode"
        " WHERE a.ExchgDate BETWEEN ? AND ? ORDER BY a.EmployeeCode, a.ExchgDate",
        (first, last))
    book = xlwt.Workbook(encoding="utf-8")
    date_style = xlwt.easyxf(num_format_str="yyyy-mm-dd")
    sheet, sheets, row_in_sheet, count, minutes = None, 0, ROWS_PER_SHEET, 0, 0
    for row in rows:
        if row_in_sheet == ROWS_PER_SHEET:
            sheets += 1
            sheet = book.add_sheet("Sheet%d" % sheets)
            for column, caption in enumerate(HEADER):
                sheet.write(0, column, caption)
            row_in_sheet = 1
        code, name, day, work_time, flag, kind = row[:6]
        sheet.write(row_in_sheet, 0, code)
        sheet.write(row_in_sheet, 1, name)
        sheet.write(row_in_sheet, 2, datetime.datetime.strptime(day, "%Y-%m-%d"), date_style)
        sheet.write(row_in_sheet, 3, work_time)
        sheet.write(row_in_sheet, 4, WORK_FLAG.get(flag, ""))
        sheet.write(row_in_sheet, 5, EXCHANGE_TYPE.get(kind, ""))
        for column, value in enumerate(row[6:], start=6):
            sheet.write(row_in_sheet, column, value or "")
        row_in_sheet += 1
        count += 1
        minutes += work_time or 0
    if sheet is None:
        sheet = book.add_sheet("Sheet1")
        row_in_sheet = 0
    sheet.write(row_in_sheet, 2, count)
    sheet.write(row_in_sheet, 3, minutes)
    book.save(out)


if __name__ == "__main__":
    main(*sys.argv[1:5])
