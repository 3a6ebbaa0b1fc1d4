"""Writes a workbook with xlwt: Chinese texts, numbers, dates, formulas, bold
and wrapped cells, widths and two sheets, for our reader to read."""
import datetime
import sys

import xlwt

book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("考勤")
bold = xlwt.easyxf("font: bold on")
wrap = xlwt.easyxf("alignment: wrap on")
date = xlwt.easyxf(num_format_str="yyyy-mm-dd")
sheet.write(0, 0, "姓名", bold)
sheet.write(0, 1, "工时", bold)
sheet.write(0, 2, "日期", bold)
for r in range(1, 6):
    sheet.write(r, 0, "员工%d 号" % r, wrap)
    sheet.write(r, 1, r * 60 + 0.5)
    sheet.write(r, 2, datetime.date(2026, 12, r), date)
sheet.write(6, 1, xlwt.Formula("SUM(B2:B6)"))
sheet.write(6, 0, xlwt.Formula('IF(B7>100,"多","少")'))
sheet.col(0).width = 256 * 20
other = book.add_sheet("Second")
other.write(0, 0, xlwt.Formula("'考勤'!B2*2"))
other.write(1, 0, "x" * 9000)
book.save(sys.argv[1])
