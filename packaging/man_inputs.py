"""Writes OUTPUT from the manual page SOURCE with the line `.\\" @READABLE_NAMES@` replaced by
the readable input names as `KELVORA_TABLE --inputs` lists them: the manual reads the
program's one table instead of keeping a copy. The page is Chinese, which has no blanks
between words: a break point (\\:) after every Chinese character and full-width mark
lets groff break its lines there, as Chinese text is broken.

    man_inputs.py KELVORA_TABLE SOURCE OUTPUT
"""
import subprocess
import sys


def roff(text):
    return text.replace("\\", "\\e").replace("-", "\\-")


def chinese(c):
    return "\u3000" <= c <= "\u9fff" or "\uff00" <= c <= "\uffef"


CLOSING = "，。、；：）！？”’》」"
OPENING = "（“‘《「"


def breakable(line):
    if line.startswith(('.\\"', ".TH")):
        return line
    out = []
    for i, c in enumerate(line):
        out.append(c)
        after = line[i + 1] if i + 1 < len(line) else ""
        if chinese(c) and after and c not in OPENING and after not in CLOSING:
            out.append("\\:")
    return "".join(out)


def joined(lines):
    """A text line ending in Chinese runs on into a text line starting in Chinese, with no blank between."""
    out = []
    for i, line in enumerate(lines):
        following = lines[i + 1] if i + 1 < len(lines) else ""
        text = line and not line.startswith(".")
        if text and chinese(line[-1]) and following and not following.startswith(".") and chinese(following[0]):
            line += "\\c"
        out.append(line)
    return out


def main(program, source, output):
    lines = subprocess.run([program, "--inputs"], capture_output=True, text=True, check=True).stdout.splitlines()
    entries = []
    for line in lines[1:]:
        name, components, caption, unit, values = line.split("\t")
        text = caption + (f"（{unit}）" if unit else "") + (f"：{values}" if values else "")
        entries.append(f".TP\n.B {roff(name)}\n{roff(text)}；组件 {roff(components)}\n")
    with open(source, encoding="utf-8") as f:
        page = f.read()
    marker = '.\\" @READABLE_NAMES@\n'
    if marker not in page:
        sys.exit(f"{source}: no line {marker.strip()}")
    with open(output, "w", encoding="utf-8") as f:
        page = page.replace(marker, "".join(entries))
        f.write("\n".join(breakable(line) for line in joined(page.split("\n"))))


if __name__ == "__main__":
    main(*sys.argv[1:])
