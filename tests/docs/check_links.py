#!/usr/bin/env python3
"""Fails when a relative link in README.md or docs/*.md leads nowhere.

    check_links.py SOURCE_DIR

Every [text](target) and ![alt](target) outside code is checked: the file must exist, and an anchor
(`#part`, alone or after a Markdown file) must name a heading of that file as the project's host
derives it: the heading's text in lower case, markup dropped, every character but letters, digits,
marks, '-', '_' and spaces dropped, spaces turned into '-', and '-1', '-2' … added to repeats.
Japanese characters are letters and stay. Links with a scheme (https:, mailto:) are left alone.
"""
import os
import re
import sys
import unicodedata

FENCE = re.compile(r"^\s*(```|~~~)")
HEADING = re.compile(r"^ {0,3}(#{1,6})\s+(.*?)\s*#*\s*$")
INLINE_CODE = re.compile(r"(`+)(.+?)\1")
# [text](target) or ![alt](target); the text may hold one level of brackets or a code span.
LINK = re.compile(r"!?\[((?:[^\[\]]|\[[^\]]*\])*)\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
HTML_ANCHOR = re.compile(r"<a\s+(?:name|id)=\"([^\"]+)\"", re.IGNORECASE)
SCHEME = re.compile(r"^[a-zA-Z][a-zA-Z0-9+.-]*:")


def heading_text(raw):
    """The heading as it reads once rendered: links give their text, code spans their content."""
    text = re.sub(r"!?\[((?:[^\[\]]|\[[^\]]*\])*)\]\([^)]*\)", r"\1", raw)
    text = INLINE_CODE.sub(lambda m: m.group(2), text)
    text = re.sub(r"<[^>]+>", "", text)
    return text


def slug(text):
    kept = []
    for ch in text.lower():
        if ch in "-_ " or unicodedata.category(ch)[0] in "LMN" or unicodedata.category(ch) == "Pc":
            kept.append(ch)
    return "".join(kept).replace(" ", "-")


def prose_lines(path):
    """The file's lines with fenced code blocks left out, numbered from 1."""
    in_fence = None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            fence = FENCE.match(line)
            if fence:
                if in_fence is None:
                    in_fence = fence.group(1)
                elif fence.group(1) == in_fence:
                    in_fence = None
                continue
            if in_fence is None:
                yield number, line.rstrip("\n")


def anchors(path, cache={}):
    if path not in cache:
        found, seen = set(), {}
        for _, line in prose_lines(path):
            for name in HTML_ANCHOR.findall(line):
                found.add(name)
            m = HEADING.match(line)
            if not m:
                continue
            base = slug(heading_text(m.group(2)))
            count = seen.get(base, 0)
            seen[base] = count + 1
            found.add(base if count == 0 else f"{base}-{count}")
        cache[path] = found
    return cache[path]


def check(root):
    files = [os.path.join(root, "README.md")]
    docs = os.path.join(root, "docs")
    files += sorted(os.path.join(docs, n) for n in os.listdir(docs) if n.endswith(".md"))
    faults = []
    checked = 0
    for path in files:
        if not os.path.isfile(path):
            faults.append(f"{os.path.relpath(path, root)}: missing")
            continue
        for number, line in prose_lines(path):
            line = INLINE_CODE.sub(lambda m: " " * len(m.group(0)), line)
            for m in LINK.finditer(line):
                target = m.group(2)
                if not target or SCHEME.match(target):
                    continue
                checked += 1
                where = f"{os.path.relpath(path, root)}:{number}: ({target})"
                file_part, _, anchor = target.partition("#")
                linked = path if not file_part else os.path.normpath(
                    os.path.join(os.path.dirname(path), file_part))
                if not os.path.exists(linked):
                    faults.append(f"{where}: no such file")
                    continue
                if not anchor:
                    continue
                if not linked.endswith(".md"):
                    faults.append(f"{where}: an anchor into a file that is not Markdown")
                elif anchor not in anchors(linked):
                    faults.append(f"{where}: no heading gives #{anchor}")
    return checked, faults


def self_check():
    """The slug rules on headings like the project's own, so that a slip here cannot pass every link."""
    cases = {
        "Why COM moved": "why-com-moved",
        "Playing in a terminal: `mirutoa-cli`": "playing-in-a-terminal-mirutoa-cli",
        "Playing 創作将棋 ミルトア": "playing-創作将棋-ミルトア",
        "The engine's notes (Lv1 … Lv5)": "the-engines-notes-lv1--lv5",
        "[Game records](records.md)": "game-records",
        "snake_case and 「括弧」、句読点。": "snake_case-and-括弧句読点",
    }
    return [f"slug({raw!r}) = {slug(heading_text(raw))!r}, expected {want!r}"
            for raw, want in cases.items() if slug(heading_text(raw)) != want]


def main():
    if len(sys.argv) != 2:
        print("usage: check_links.py SOURCE_DIR", file=sys.stderr)
        return 2
    faults = self_check()
    checked, link_faults = check(sys.argv[1])
    faults += link_faults
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} broken of {checked} links")
        return 1
    print(f"{checked} links lead somewhere")
    return 0


if __name__ == "__main__":
    sys.exit(main())
