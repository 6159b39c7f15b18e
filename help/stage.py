"""Stages the files of help.chm into one folder for chmcmd (run by help/CMakeLists.txt).

    stage.py STAGE SOURCE FIGURES --texts NAME... --copies NAME... --figures NAME...
             [--table-program KELVORA_TABLE] [--pages PAGES]

A page's line "<!-- @READABLE_NAMES@ -->" becomes the table of readable input names that
`KELVORA_TABLE --inputs` lists, so the help reads the program's one table.

Texts (pages, contents, index, project file) are kept in UTF-8 here and written in GB2312,
the code page of the help's language (0x804): CHM viewers read the contents, the index and
the page titles in that code page, so the pages use it too and declare it. Copies are
copied as they are; figures are copied from FIGURES (the window's reference pictures).

The project file asks for no binary index: chmcmd would write the GB2312 keywords into it
as if they were UTF-8, and viewers that read it (xchm) would show them garbled; the index
is read from help.hhk instead, in the same code page as the contents.

With --pages, the same pages, contents, copies and figures also go to the folder PAGES in
UTF-8 as written here, for the window's own help browser (Qt reads UTF-8 whatever it finds
installed, and breaks Chinese lines by itself).
"""
import argparse
import html
import subprocess
import pathlib
import re
import shutil
import sys

CODEPAGE = "gb2312"

# wxHTML, which xchm renders with, breaks lines only at blanks, so a Chinese paragraph would
# run off the page as one word. A blank after the clause punctuation gives it places to
# break. The system's own texts (messages, captions: marked with class="msg" or "ui", or
# quoted “…”) and tags are left exactly as they are.
CLAUSE_END = "，。；：！？"
KEEP = re.compile(r"<(title|span|b|td)\b[^>]*class=\"(?:msg|ui)\"[^>]*>.*?</\1>|<title>.*?</title>|<[^>]*>|“[^”]*”",
                  re.S)


def with_breaks(html):
    out, at = [], 0
    for kept in KEEP.finditer(html):
        out.append(re.sub(f"([{CLAUSE_END}])(?=[^\\s])", r"\1 ", html[at:kept.start()]))
        out.append(kept.group(0))
        at = kept.end()
    out.append(re.sub(f"([{CLAUSE_END}])(?=[^\\s])", r"\1 ", html[at:]))
    return "".join(out)


def names_table(program):
    lines = subprocess.run([program, "--inputs"], capture_output=True, text=True, check=True).stdout.splitlines()
    rows = ["<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">",
            "<tr><th>名称</th><th>控件</th><th>说明</th><th>单位</th><th>取值</th></tr>"]
    for line in lines[1:]:
        cells = [html.escape(c) for c in line.split("\t")]
        rows.append("<tr>" + "".join(f"<td>{c}</td>" for c in cells) + "</tr>")
    return "\n".join(rows + ["</table>"])


def page_text(source, name, names=None):
    text = (source / name).read_text(encoding="utf-8")
    if names is not None:
        text = text.replace("<!-- @READABLE_NAMES@ -->", names)
    return text


def stage_text(source, stage, name, names=None):
    text = page_text(source, name, names)
    if name.endswith((".html", ".hhc", ".hhk")):
        if "charset=utf-8" not in text:
            sys.exit(f"help.chm: {name} does not declare charset=utf-8")
        text = text.replace("charset=utf-8", f"charset={CODEPAGE}")
    if name.endswith(".html"):
        text = with_breaks(text)
    try:
        data = text.encode(CODEPAGE)
    except UnicodeEncodeError as e:
        line = text.count("\n", 0, e.start) + 1
        sys.exit(f"help.chm: {name}:{line}: {text[e.start:e.end]!r} cannot be written in {CODEPAGE}")
    (stage / name).write_bytes(data)


def main():
    args = argparse.ArgumentParser()
    args.add_argument("stage", type=pathlib.Path)
    args.add_argument("source", type=pathlib.Path)
    args.add_argument("figure_dir", type=pathlib.Path)
    args.add_argument("--texts", nargs="*", default=[])
    args.add_argument("--copies", nargs="*", default=[])
    args.add_argument("--figures", nargs="*", default=[])
    args.add_argument("--table-program")
    args.add_argument("--pages", type=pathlib.Path)
    a = args.parse_args()
    names = names_table(a.table_program) if a.table_program else None

    missing = [name for name in a.figures if not (a.figure_dir / name).is_file()]
    if missing:
        sys.exit(f"help.chm: reference figures missing from {a.figure_dir}: {' '.join(missing)} "
                 "(tools/draw-figures draws them)")

    shutil.rmtree(a.stage, ignore_errors=True)
    a.stage.mkdir(parents=True)
    for name in a.texts:
        stage_text(a.source, a.stage, name, names)
    for name in a.copies:
        shutil.copyfile(a.source / name, a.stage / name)
    for name in a.figures:
        shutil.copyfile(a.figure_dir / name, a.stage / name)

    if a.pages:
        shutil.rmtree(a.pages, ignore_errors=True)
        a.pages.mkdir(parents=True)
        for name in a.texts:
            if name.endswith((".html", ".hhc")):
                (a.pages / name).write_text(page_text(a.source, name, names), encoding="utf-8")
        for name in a.copies:
            shutil.copyfile(a.source / name, a.pages / name)
        for name in a.figures:
            shutil.copyfile(a.figure_dir / name, a.pages / name)


if __name__ == "__main__":
    main()
