#!/usr/bin/env python3
"""Counts how the core's code reaches the shared state, for before/after figures.

  session-functions  function definitions (in .cpp files and inline in headers)
                     whose parameter list takes the whole `Session&` or
                     `const Session&`; lambdas and std::function types are not
                     counted
  part-functions     the same for the parts of the state (settings, registers,
                     open configuration, link, texts, page)
  linkstatus-writes  assignments to LinkStatus
  done-checks        comparisons of LinkStatus with 255 / status::kDone
  lasterror-uses     mentions of LastErrorNumber
  quiet-hand-sets    assignments to QuietErrors outside its scope object

Usage: scripts/state-figures.py [SRC_DIR]   (default: src)
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
files = sorted(p for p in root.rglob("*") if p.suffix in (".cpp", ".h"))

# A definition: a line at column 0 that is not a preprocessor line, comment or
# closing brace, up to the first '{' or ';' (a ';' first means a declaration).
def definitions(text):
    lines = text.split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        if line and (line[0].isalpha() or line[0] == "_") and not line.startswith(
                ("namespace", "using", "struct", "class", "enum", "template", "typedef", "static_assert")) \
                or re.match(r"^    [A-Za-z_][\w:<>,\s&*]*\s[\w:~]+\(", line):
            sig = line
            j = i
            while "{" not in sig and ";" not in sig and j + 1 < len(lines) and j - i < 8:
                j += 1
                sig += " " + lines[j].strip()
            brace, semi = sig.find("{"), sig.find(";")
            if brace >= 0 and (semi < 0 or brace < semi) and "(" in sig[:brace]:
                head = sig[:brace]
                if "[" not in head.split("(")[0] and "=" not in head.split("(")[0]:
                    yield head
            i = j + 1
        else:
            i += 1

PART_TYPES = ["Settings", "MainRegisters", "ConfigState", "LinkState", "ScreenState", "Texts", "Page"]
session_re = re.compile(r"\bSession\s*&")
counts = dict.fromkeys(["session-functions", "part-functions", "linkstatus-writes",
                        "done-checks", "lasterror-uses", "quiet-hand-sets"], 0)
for p in files:
    text = p.read_text(errors="replace")
    code = re.sub(r"//[^\n]*", "", text)
    for head in definitions(code):
        params = head[head.find("("):]
        if session_re.search(params):
            counts["session-functions"] += 1
        elif any(re.search(r"\b%s\s*&" % t, params) for t in PART_TYPES):
            counts["part-functions"] += 1
    counts["linkstatus-writes"] += len(re.findall(r"\bLinkStatus\s*=(?!=)", code))
    counts["done-checks"] += len(re.findall(
        r"\bLinkStatus\s*[!=]=\s*(?:255|(?:status::)?kDone)\b|(?:status::)?kDone\s*[!=]=\s*[\w.>-]*LinkStatus", code))
    counts["lasterror-uses"] += len(re.findall(r"\bLastErrorNumber\b", code))
    if not p.name.startswith("ErrorHandler"):
        counts["quiet-hand-sets"] += len(re.findall(r"\bQuietErrors\s*=(?!=)", code))
for k, v in counts.items():
    print(f"{k:20} {v}")
