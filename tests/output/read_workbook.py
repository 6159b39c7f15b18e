"""Reads a workbook with a reader we did not write and prints what it finds.

    read_workbook.py xls FILE       xlrd, with the formatting records parsed too
    read_workbook.py xlsx FILE      openpyxl
    read_workbook.py stream FILE    the compound file's "Workbook" stream, via xlrd's
                                    own compound-file reader, written to stdout raw
    read_workbook.py sheets FILE    every sheet's name, then its cells as openpyxl reads
                                    them, each with the text its <v> or <t> holds in the file
    read_workbook.py tank FILE      the sheet names, then the second sheet's cells, with
                                    xlrd for .xls and openpyxl for .xlsx
    read_workbook.py views FILE     each sheet's name and whether it is selected (openpyxl)

Cells come out as "row<TAB>column<TAB>n|s<TAB>value", 1-based, after a first line
"sheets<TAB>count<TAB>first sheet's name". Numbers are printed with repr().
"""
import sys


def escape(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def emit(row, column, value):
    if isinstance(value, str):
        print(f"{row}\t{column}\ts\t{escape(value)}")
    else:
        print(f"{row}\t{column}\tn\t{float(value)!r}")


def read_xls(path):
    import xlrd
    book = xlrd.open_workbook(path, formatting_info=True, logfile=sys.stderr)
    print(f"sheets\t{book.nsheets}\t{book.sheet_names()[0]}")
    sheet = book.sheet_by_index(0)
    for r in range(sheet.nrows):
        for c, cell in enumerate(sheet.row(r)):
            if cell.ctype == xlrd.XL_CELL_TEXT:
                emit(r + 1, c + 1, cell.value)
            elif cell.ctype == xlrd.XL_CELL_NUMBER:
                emit(r + 1, c + 1, float(cell.value))
            elif cell.ctype != xlrd.XL_CELL_EMPTY:
                print(f"{r + 1}\t{c + 1}\t?\t{cell.ctype}")


def read_xlsx(path):
    import openpyxl
    book = openpyxl.load_workbook(path)
    print(f"sheets\t{len(book.worksheets)}\t{book.sheetnames[0]}")
    for row in book.worksheets[0].iter_rows():
        for cell in row:
            if cell.value is not None:
                emit(cell.row, cell.column, cell.value)


def read_stream(path):
    from xlrd import compdoc
    with open(path, "rb") as f:
        doc = compdoc.CompDoc(f.read(), logfile=sys.stderr)
    stream = doc.get_named_stream("Workbook")
    if stream is None:
        sys.exit("no Workbook stream")
    sys.stdout.buffer.write(stream)


def read_sheets(path):
    import html
    import openpyxl
    import re
    import zipfile
    book = openpyxl.load_workbook(path)
    with zipfile.ZipFile(path) as z:
        for index, sheet in enumerate(book.worksheets, 1):
            print(f"sheet\t{sheet.title}")
            xml = z.read(f"xl/worksheets/sheet{index}.xml").decode()
            stored = {m[0]: html.unescape(m[1] or m[2])
                      for m in re.findall(r'<c r="([A-Z]+[0-9]+)"[^>]*>(?:<v>([^<]*)</v>|<is><t[^>]*>([^<]*)</t>)', xml)}
            for row in sheet.iter_rows():
                for cell in row:
                    if cell.value is not None:
                        kind = "s" if isinstance(cell.value, str) else "n"
                        value = escape(cell.value) if kind == "s" else repr(float(cell.value))
                        print(f"{cell.coordinate}\t{kind}\t{value}\t{escape(stored[cell.coordinate])}")


def read_tank(path):
    if path.lower().endswith(".xlsx"):
        import openpyxl
        book = openpyxl.load_workbook(path)
        print("sheets\t" + "\t".join(book.sheetnames))
        for row in book.worksheets[1].iter_rows():
            for cell in row:
                if cell.value is not None:
                    emit(cell.row, cell.column, cell.value)
    else:
        import xlrd
        book = xlrd.open_workbook(path, formatting_info=True, logfile=sys.stderr)
        print("sheets\t" + "\t".join(book.sheet_names()))
        sheet = book.sheet_by_index(1)
        for r in range(sheet.nrows):
            for c, cell in enumerate(sheet.row(r)):
                if cell.ctype != xlrd.XL_CELL_EMPTY:
                    emit(r + 1, c + 1, cell.value)


def read_views(path):
    import openpyxl
    book = openpyxl.load_workbook(path)
    for sheet in book.worksheets:
        selected = any(view.tabSelected for view in sheet.views.sheetView)
        print(f"{sheet.title}\t{'selected' if selected else '-'}")


{"views": read_views, "tank": read_tank, "xls": read_xls, "xlsx": read_xlsx, "stream": read_stream, "sheets": read_sheets}[sys.argv[1]](sys.argv[2])
