"""Lists the cells of an .xls file as xlrd reads them, as JSON: per sheet its
name and cells [row, column, kind, value, bold, wrap, indent, format], dates as
ISO texts, plus the column widths."""
import json
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
out = []
for sheet in book.sheets():
    cells = []
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_EMPTY:
                continue
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            fmt = book.format_map[xf.format_key].format_str
            kind, value = "text", cell.value
            if cell.ctype == xlrd.XL_CELL_NUMBER:
                kind = "number"
            elif cell.ctype == xlrd.XL_CELL_DATE:
                kind = "date"
                y, mo, d, h, mi, s = xlrd.xldate_as_tuple(cell.value, book.datemode)
                value = "%04d-%02d-%02d" % (y, mo, d)
                if (h, mi, s) != (0, 0, 0):
                    value += " %02d:%02d:%02d" % (h, mi, s)
            elif cell.ctype == xlrd.XL_CELL_BOOLEAN:
                kind = "boolean"
            elif cell.ctype == xlrd.XL_CELL_ERROR:
                kind = "error"
            elif cell.ctype == xlrd.XL_CELL_BLANK:
                kind = "blank"
            cells.append([r, c, kind, value, bool(font.bold), bool(xf.alignment.text_wrapped),
                          xf.alignment.indent_level, fmt])
    widths = {c: info.width for c, info in sheet.colinfo_map.items()}
    out.append({"name": sheet.name, "cells": cells, "widths": widths})
json.dump(out, sys.stdout, ensure_ascii=False)
