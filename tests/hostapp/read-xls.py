# Prints every cell of every sheet of an .xls file as xlrd reads it, one row a
# line, cells separated by tabs: texts as they are, whole numbers without a
# fraction, dates as yyyy-mm-dd (with the time of day when there is one).
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1])
for sheet in book.sheets():
    for r in range(sheet.nrows):
        cells = []
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_DATE:
                moment = xlrd.xldate.xldate_as_datetime(cell.value, book.datemode)
                text = moment.strftime("%Y-%m-%d" if moment.time().isoformat() == "00:00:00"
                                       else "%Y-%m-%d %H:%M:%S")
            elif cell.ctype == xlrd.XL_CELL_NUMBER:
                text = "%d" % cell.value if cell.value == int(cell.value) else repr(cell.value)
            else:
                text = str(cell.value)
            cells.append(text)
        print("\t".join(cells))
