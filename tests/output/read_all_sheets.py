"""Prints every sheet of a workbook as a reader we did not write sees it: xlrd for .xls,
openpyxl for .xlsx.

    read_all_sheets.py all FILE

"sheet<TAB>name", then the sheet's cells "row<TAB>column<TAB>n|s<TAB>value", 1-based;
numbers printed with repr().
"""
import sys


def emit(row, column, value):
    if isinstance(value, str):
        print(f"{row}\t{column}\ts\t{value}")
    else:
        print(f"{row}\t{column}\tn\t{float(value)!r}")


def read_all(path):
    if path.lower().endswith(".xlsx"):
        import openpyxl
        book = openpyxl.load_workbook(path)
        for sheet in book.worksheets:
            print(f"sheet\t{sheet.title}")
            for row in sheet.iter_rows():
                for cell in row:
                    if cell.value is not None:
                        emit(cell.row, cell.column, cell.value)
    else:
        import xlrd
        book = xlrd.open_workbook(path, logfile=sys.stderr)
        for sheet in book.sheets():
            print(f"sheet\t{sheet.name}")
            for r in range(sheet.nrows):
                for c, cell in enumerate(sheet.row(r)):
                    if cell.ctype != xlrd.XL_CELL_EMPTY:
                        emit(r + 1, c + 1, cell.value)


read_all(sys.argv[2])
