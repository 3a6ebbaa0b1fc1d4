// Lists the cells of an .xls file as libfreexl reads them, one per line:
// sheet, row, column, kind and value, tab-separated. Exits non-zero when freexl
// refuses the file.
#include <freexl.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: freexl_dump FILE.xls\n");
        return 2;
    }
    const void *handle = nullptr;
    // freexl may report success with no handle for a damaged workbook.
    if (freexl_open(argv[1], &handle) != FREEXL_OK || !handle) {
        std::fprintf(stderr, "freexl cannot open %s\n", argv[1]);
        freexl_close(handle);
        return 1;
    }
    unsigned int sheets = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
    for (unsigned short s = 0; s < sheets; ++s) {
        const char *name = nullptr;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_get_worksheet_name(handle, s, &name) != FREEXL_OK
            || freexl_select_active_worksheet(handle, s) != FREEXL_OK
            || freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
            std::fprintf(stderr, "freexl cannot read sheet %u\n", unsigned(s));
            freexl_close(handle);
            return 1;
        }
        std::printf("sheet\t%u\t%s\t%u\t%u\n", unsigned(s), name, rows, unsigned(columns));
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(handle, r, c, &v) != FREEXL_OK)
                    continue;
                switch (v.type) {
                case FREEXL_CELL_INT:
                    std::printf("%u\t%u\t%u\tnumber\t%d\n", unsigned(s), r, unsigned(c),
                                v.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    std::printf("%u\t%u\t%u\tnumber\t%.17g\n", unsigned(s), r, unsigned(c),
                                v.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                    std::printf("%u\t%u\t%u\ttext\t%s\n", unsigned(s), r, unsigned(c),
                                v.value.text_value);
                    break;
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    std::printf("%u\t%u\t%u\tdate\t%s\n", unsigned(s), r, unsigned(c),
                                v.value.text_value);
                    break;
                default:
                    break;
                }
            }
        }
    }
    freexl_close(handle);
    return 0;
}
