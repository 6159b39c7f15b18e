"""help.chm holds every page and picture of help/, and every link of a page leads into it."""
import pathlib
import re
import subprocess
import sys

chm, source = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
listing = subprocess.run(["chmls", "list", str(chm)], capture_output=True, text=True, check=True).stdout
stored = {line.split()[-1].lstrip("/") for line in listing.splitlines() if re.match(r"^\s*\d+\s+\d+\s+\d+\s+/", line)}
problems = []

project = (source / "help.hhp").read_text(encoding="utf-8")
listed = project.split("[FILES]", 1)[1].split()
for name in listed + ["help.hhc", "help.hhk"]:
    if name not in stored:
        problems.append(f"{name} is not in {chm.name}")
for page in source.glob("*.html"):
    if page.name not in listed:
        problems.append(f"{page.name} is not in the project's [FILES]")
    text = page.read_text(encoding="utf-8")
    for target in re.findall(r'(?:href|src)="([^"#]+)', text):
        if target not in stored:
            problems.append(f"{page.name} links to {target}, which the help does not hold")
contents = (source / "help.hhc").read_text(encoding="utf-8")
for target in re.findall(r'name="Local" value="([^"]+)"', contents):
    if target not in stored:
        problems.append(f"the contents name {target}, which the help does not hold")

for p in problems:
    print(p)
print(f"{len(stored)} entries in {chm.name}, {len(problems)} problems")
sys.exit(1 if problems else 0)
