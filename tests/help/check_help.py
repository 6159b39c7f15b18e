"""The built help.chm, read back with chmls: it holds every page of help/ and nothing stale,
everything its contents and index name, and every link of its pages leads into it.

    check_help.py <help.chm> <help source folder>
"""
import pathlib
import re
import subprocess
import sys
import tempfile

chm, source = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
problems = []


def chmls(*args):
    return subprocess.run(["chmls", *args], capture_output=True, check=True).stdout


# The pages, contents and index are in the code page of the help's language (0x804).
CODEPAGE = "gb2312"

listing = chmls("-n", "list", str(chm)).decode("ascii", "replace")
stored = {line.strip()[1:] for line in listing.splitlines() if line.startswith("/") and line.strip() != "/"}
pages = {name for name in stored if name.endswith(".html")}
if not pages:
    sys.exit(f"chmls lists no pages in {chm}:\n{listing}")

# chmcmd writes a binary index from GB2312 keywords as if they were UTF-8 (garbled in xchm).
if any(name.startswith("$WWKeywordLinks/") for name in stored):
    problems.append(f"{chm.name} has a binary index; its Chinese keywords would be garbled")

sources = {page.name for page in source.glob("*.html")}
for name in sorted(sources - pages):
    problems.append(f"help/{name} is not in {chm.name}")
for name in sorted(pages - sources):
    problems.append(f"{chm.name} holds {name}, which help/ no longer has")

with tempfile.TemporaryDirectory() as tmp:
    chmls("extractall", str(chm), tmp)
    out = pathlib.Path(tmp)

    def text_of(name):
        try:
            return (out / name).read_bytes().decode(CODEPAGE)
        except UnicodeDecodeError as e:
            problems.append(f"{name} is not {CODEPAGE} text: {e}")
            return (out / name).read_bytes().decode(CODEPAGE, "replace")

    anchors = {}
    for name in pages:
        anchors[name] = set(re.findall(r'<a\s+name="([^"]+)"', text_of(name)))

    def check_target(where, target):
        path, _, fragment = target.partition("#")
        path = path or where  # "#name" within the same page
        if re.match(r"^[a-z]+:", path):
            problems.append(f"{where} leads out of the help: {target}")
        elif path not in stored:
            problems.append(f"{where} names {path}, which {chm.name} does not hold")
        elif fragment and fragment not in anchors.get(path, set()):
            problems.append(f"{where} names #{fragment}, which {path} does not mark")

    for name in sorted(pages):
        text = text_of(name)
        if f"charset={CODEPAGE}" not in text:
            problems.append(f"{name} does not declare charset={CODEPAGE}")
        if not re.search(r"<title>[^<]*[\u4e00-\u9fff]", text):
            problems.append(f"{name} has no Chinese title")
        for target in re.findall(r'(?:href|src)="([^"]+)"', text):
            check_target(name, target)
        # The window's own captions and messages reach the page exactly as written.
        marked = r'class="(?:msg|ui)">([^<]*)<'
        written = re.findall(marked, (source / name).read_text(encoding="utf-8")) if name in sources else []
        if re.findall(marked, text) != written:
            problems.append(f"{name} does not hold its marked captions and messages exactly as help/{name}")

    for table in ("help.hhc", "help.hhk"):
        if table not in stored:
            problems.append(f"{chm.name} holds no {table}")
            continue
        named = re.findall(r'name="Local" value="([^"]+)"', text_of(table))
        if not named:
            problems.append(f"{table} names no page")
        for target in named:
            check_target(table, target)
        if table == "help.hhc":
            for name in sorted(pages - {t.partition("#")[0] for t in named}):
                problems.append(f"the contents do not list {name}")

for p in problems:
    print(p)
print(f"{len(pages)} pages, {len(stored)} entries in {chm.name}, {len(problems)} problems")
sys.exit(1 if problems else 0)
