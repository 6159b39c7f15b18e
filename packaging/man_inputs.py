"""Writes OUTPUT from the manual page SOURCE with the line `.\\" @READABLE_NAMES@` replaced by
the readable input names as `KELVORA_TABLE --inputs` lists them: the manual reads the
program's one table instead of keeping a copy.

    man_inputs.py KELVORA_TABLE SOURCE OUTPUT
"""
import subprocess
import sys


def roff(text):
    return text.replace("\\", "\\e").replace("-", "\\-")


def main(program, source, output):
    lines = subprocess.run([program, "--inputs"], capture_output=True, text=True, check=True).stdout.splitlines()
    entries = []
    for line in lines[1:]:
        name, components, caption, unit, values = line.split("\t")
        text = caption + (f" ({unit})" if unit else "") + (f": {values}" if values else "")
        entries.append(f".TP\n.B {roff(name)}\n{roff(text)}; component {roff(components)}\n")
    with open(source, encoding="utf-8") as f:
        page = f.read()
    marker = '.\\" @READABLE_NAMES@\n'
    if marker not in page:
        sys.exit(f"{source}: no line {marker.strip()}")
    with open(output, "w", encoding="utf-8") as f:
        f.write(page.replace(marker, "".join(entries)))


if __name__ == "__main__":
    main(*sys.argv[1:])
