#!/usr/bin/env python3
"""Differential fuzzing of our INI reader and writer against the Windows profile
functions.

Generates INI files (mutated from seed files, or built from odd lines) and
random ReadIni / WriteIni operations, runs them all through the native ini-ops
(our own reader and writer) and through the Windows build of ini-ops under Wine
(the system's GetPrivateProfileStringA / WritePrivateProfileStringA, here Wine's),
one process each, and compares the results operation by operation.

Every difference must be accounted for by a rule of known-differences.txt: Wine
behaving unlike Windows, or a deliberate difference of ours. A difference that
no rule explains is printed with its case, written to --keep, and fails the run.

  ini-differential.py --native build/native/tools/ini-ops \\
      --windows build/windows/tools/ini-ops.exe --seed 13 --cases 2000 \\
      --known tests/profile/ini-differential/known-differences.txt \\
      --seeds tests/profile/fixtures tests/profile/ini-oracle/cases

with WINEPREFIX and WINEDEBUG=-all set as for the windows test preset. A longer
run takes another seed and more cases (one Wine process; 20000 cases take a few
minutes):
  ... --seed $RANDOM --cases 20000 --keep /tmp/ini-differences
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

# --- Escaping, in the ini-oracle text forms ----------------------------------


def escape_field(data: bytes) -> str:
    """A script field: every byte survives, TAB and line breaks included."""
    out = []
    for b in data:
        c = chr(b)
        if c == "\\":
            out.append("\\\\")
        elif 0x21 <= b < 0x7F:
            out.append(c)
        else:
            out.append("\\x%02x" % b)
    return "".join(out)


def unquote_result(text: str) -> bytes:
    """The bytes of a quoted result field ("..." with \\\\ \\" \\t \\r \\n \\xHH)."""
    assert text.startswith('"') and text.endswith('"'), text
    body = text[1:-1]
    out = bytearray()
    i = 0
    simple = {"\\": 0x5C, '"': 0x22, "t": 0x09, "r": 0x0D, "n": 0x0A}
    while i < len(body):
        c = body[i]
        if c != "\\":
            out.append(ord(c))
            i += 1
        elif body[i + 1] == "x":
            out.append(int(body[i + 2 : i + 4], 16))
            i += 4
        else:
            out.append(simple[body[i + 1]])
            i += 2
    return bytes(out)


# --- Windows' reading rules, for comparing what two files mean ---------------

BLANKS = b" \t\x0b\x0c\x1a"


def split_lines(data: bytes):
    return re.split(rb"\r\n|\r|\n", data)


def fold(name: bytes) -> bytes:
    return name.lower()  # ASCII letters only, as Windows' A functions match


def clean_value(raw: bytes) -> bytes:
    v = raw.split(b"\0")[0].strip(BLANKS)
    if len(v) >= 2 and v[:1] in (b'"', b"'") and v[-1:] == v[:1]:
        v = v[1:-1]
    return v


def meaning(data: bytes):
    """Every (section, key) a lookup can find, with the bytes it finds."""
    sections = {}
    current = None
    seen = set()
    for line in split_lines(data):
        body = line.lstrip(BLANKS)
        if body.startswith(b"["):
            name = fold(body[1:].split(b"]")[0].split(b"\0")[0].strip(BLANKS))
            current = None if name in seen else sections.setdefault(name, {})
            seen.add(name)
        elif current is not None and not body.startswith(b";") and b"=" in body:
            key, value = body.split(b"=", 1)
            key = fold(key.split(b"\0")[0].strip(BLANKS))
            if key not in current:
                current[key] = clean_value(value)[:254]
    return {
        (s, k): v for s, keys in sections.items() for k, v in keys.items() if v
    }


def header_lines(data: bytes):
    return [
        line.lstrip(BLANKS)
        for line in split_lines(data)
        if line.lstrip(BLANKS).startswith(b"[")
    ]


# --- Cases -------------------------------------------------------------------

NAMES = [b"s", b"MAIN", b"RV 2.0", b"1 items", b"combo names", b"GENERAL", b"k",
         b"key", b"Key One", b"LOGO", b"userName", b"a", b"x y", b"COM 1 FREQ"]
ODD_NAMES = [b"[x", b"x]", b";c", b"#h", b'q"', b"'", b"a=b", b"", b"  ", b"\t",
             b"s\t", b"\ts", b"\xc4rger", b"na\x00me"]
VALUES = [b"v", b"new value", b"  padded  ", b'"quoted"', b"'q'", b'"x\'', b'"',
          b'""', b"a=b", b";x", b"[x]", b"C:\\Apps\\rv.exe", b"", b"\t", b" v ",
          b'"  kept  "', b"x\x1a", b"\x0cff\x0c"]
LONG = [250, 252, 253, 254, 255, 256, 257, 300]
ENDS = [b"\r\n", b"\n", b"\r"]


def pick_name(rng, names):
    name = rng.choice(names) if names and rng.random() < 0.7 else rng.choice(NAMES)
    if rng.random() < 0.15:
        name = rng.choice(ODD_NAMES)
    r = rng.random()
    if r < 0.15:
        name = name.upper()
    elif r < 0.25:
        name = name.lower()
    return name


def long_value(rng):
    n = rng.choice(LONG)
    body = bytes(rng.choice(b"abcxyz") for _ in range(n))
    r = rng.random()
    if r < 0.3:
        body = b'"' + body[:-2] + b'"'
    elif r < 0.4:
        body = b"'" + body[:-2] + b"'"
    elif r < 0.5:
        body = b"  " + body + b"  "
    elif r < 0.6:
        body = body[:252] + b"\xc3\xa9" + body[254:]  # a UTF-8 letter across the cut
    return body


def file_value(rng):
    r = rng.random()
    if r < 0.15:
        return long_value(rng)
    if r < 0.25:
        return bytes(rng.choice(b"a \t\"'=;[]\x00\x1a\x0b\x0c\xa0\xe9\x81\xff")
                     for _ in range(rng.randint(0, 8)))
    return rng.choice(VALUES)


def blanks(rng):
    return rng.choice([b"", b"", b"", b" ", b"  ", b"\t", b" \t ", b"\x0b", b"\x1a"])


def random_line(rng, names):
    r = rng.random()
    name = pick_name(rng, names)
    if r < 0.2:
        close = rng.choice([b"]", b"]", b"]", b"", b"]x]", b"] junk", b"]=v"])
        return blanks(rng) + b"[" + blanks(rng) + name + blanks(rng) + close + blanks(rng)
    if r < 0.7:
        return (blanks(rng) + name + blanks(rng) + b"=" + blanks(rng) + file_value(rng)
                + blanks(rng))
    return rng.choice([b"", b"   ", b"; comment", b"  ;k=v", b";" + name + b"=hidden",
                       b"#" + name + b"=1", b"no equals here", name, b"\x00", b"\xa0k=v",
                       b"\xc4rger=1", b"k=\xe9t\xe9"])


def join_lines(rng, lines):
    mode = rng.randrange(4)
    out = bytearray()
    for line in lines:
        out += line + (rng.choice(ENDS) if mode == 3 else ENDS[mode] if mode < 3 else b"")
    if lines and rng.random() < 0.25:
        out = out.rstrip(b"\r\n")  # no final line break
    return bytes(out)


def names_in(data: bytes):
    names = set()
    for line in split_lines(data):
        body = line.strip(BLANKS)
        if body.startswith(b"["):
            names.add(body[1:].split(b"]")[0].strip(BLANKS))
        elif b"=" in body:
            names.add(body.split(b"=", 1)[0].strip(BLANKS))
    return sorted(n for n in names if len(n) < 40)


def mutate(rng, data: bytes):
    lines = split_lines(data)
    for _ in range(rng.randint(1, 4)):
        r = rng.random()
        at = rng.randrange(len(lines) + 1)
        if r < 0.4:
            lines.insert(at, random_line(rng, names_in(data)))
        elif r < 0.55 and lines:
            del lines[min(at, len(lines) - 1)]
        elif r < 0.7 and lines:
            lines.insert(at, lines[rng.randrange(len(lines))])  # a duplicate
        elif lines:
            i = min(at, len(lines) - 1)
            line = bytearray(lines[i])
            pos = rng.randrange(len(line) + 1)
            line[pos:pos] = bytes([rng.choice(b" \t=[];\"'\x00\x1a\xa0\xe9\x81")])
            lines[i] = bytes(line)
    return join_lines(rng, lines)


def make_file(rng, seeds):
    r = rng.random()
    if r < 0.1:
        return None  # no file
    if r < 0.45 and seeds:
        data = mutate(rng, rng.choice(seeds))
    else:
        lines = []
        if rng.random() > 0.2:
            lines.append(b"[" + pick_name(rng, []) + b"]")
        lines += [random_line(rng, []) for _ in range(rng.randint(0, 12))]
        data = join_lines(rng, lines)
    if rng.random() < 0.04:
        data = rng.choice([b"\xef\xbb\xbf", b"\xfe\xff", b"\xff\xfe"]) + data
    return data


def argument(rng, names):
    name = pick_name(rng, names)
    name = name.split(b"\0")[0]
    if rng.random() < 0.1:
        name = rng.choice([b" ", b"  ", b"\t"]) + name + rng.choice([b"", b" ", b"\t"])
    return bytes(b for b in name if b < 0x80)  # our API takes UTF-8; keep to ASCII


def make_ops(rng, data):
    names = names_in(data or b"")
    ops = []
    for _ in range(rng.randint(1, 7)):
        s, k = argument(rng, names), argument(rng, names)
        if rng.random() < 0.3:
            v = long_value(rng) if rng.random() < 0.2 else rng.choice(VALUES)
            v = bytes(b for b in v if 0 < b < 0x80)
            ops.append((b"W", s, k, v))
        ops.append((b"R", s, k))
    if any(op[0] == b"W" for op in ops):
        ops.append((b"X",))
    return ops


def load_seeds(folders):
    seeds = []
    for folder in folders:
        for path in sorted(Path(folder).glob("*.ini")):
            data = path.read_bytes()
            if len(data) <= 16 * 1024:
                seeds.append(data)
    return seeds


def write_batch(path, cases):
    with open(path, "w", encoding="ascii", newline="\n") as out:
        for name, data, ops in cases:
            out.write("@case %s\n" % name)
            if data is not None:
                out.write("@ini %s\n" % escape_field(data))
            for op in ops:
                out.write("\t".join(escape_field(f) if i else f.decode()
                                    for i, f in enumerate(op)) + "\n")


def parse_results(text):
    results = {}
    current = None
    for line in text.splitlines():
        if line.startswith("@case "):
            current = results.setdefault(line[6:], [])
        elif line and not line.startswith("#"):
            current.append(line)
    return results


# --- Known differences -------------------------------------------------------


def cp1252_to_utf8(data: bytes) -> bytes:
    # Wine maps the five holes of code page 1252 to the C1 controls.
    return "".join(
        chr(b) if b in (0x81, 0x8D, 0x8F, 0x90, 0x9D) else bytes([b]).decode("cp1252")
        for b in data
    ).encode("utf-8")


def result_value(line):
    parts = line.split("\t")
    return unquote_result(parts[2]) if parts[0] == "R" and len(parts) == 3 else None


def file_bytes(line):
    parts = line.split("\t")
    return unquote_result(parts[2]) if parts[0] == "X" and len(parts) == 3 else None


def wine_trim(name: bytes) -> bytes:
    return name.strip(b" \t\n\x0b\x0c\r\x1a")


class Rules:
    """Each rule: does it account for the difference at operation `i`?"""

    def __init__(self, data, ops):
        self.data = data or b""
        self.ops = ops

    def args_before(self, i):
        return [op for op in self.ops[: i + 1] if op[0] in (b"R", b"W")]

    def written_lines(self, i):
        """The lines the writes up to operation i may add, as Windows writes them."""
        lines = []
        for op in self.args_before(i):
            if op[0] == b"W":
                lines += [b"[" + op[1].strip(b" ") + b"]", op[2].strip(b" ") + b"=" + op[3]]
        return lines

    def wine_header_brackets(self, i, ours, wine):
        headers = header_lines(self.data + b"\n" + b"\n".join(self.written_lines(i)))
        return any(h.count(b"]") != 1 for h in headers)

    def wine_argument_blanks(self, i, ours, wine):
        return any(n.strip(b" ") != wine_trim(n)
                   for op in self.args_before(i) for n in op[1:3])

    def wine_comment_keys(self, i, ours, wine):
        return any(wine_trim(op[2]).startswith(b";") for op in self.args_before(i))

    def wine_keys_before_first_header(self, i, ours, wine):
        # Wine also writes a "[]" section of the file back without its header.
        empty_header = any(h[1:].split(b"]")[0].strip(BLANKS) == b""
                           for h in header_lines(self.data))
        return any(wine_trim(op[1]) == b"" for op in self.args_before(i)) or (
            empty_header and file_bytes(ours) is not None)

    def wine_write_blanks(self, i, ours, wine):
        return any(op[1] != op[1].rstrip(b" ") or op[2] != op[2].rstrip(b" ")
                   or op[3][:1] != wine_trim(op[3])[:1]
                   for op in self.args_before(i) if op[0] == b"W")

    def wine_name_only_line_hides_key(self, i, ours, wine):
        keys = {fold(wine_trim(op[2])) for op in self.args_before(i)}
        return any(fold(line.strip(BLANKS)) in keys for line in split_lines(self.data)
                   if b"=" not in line and not line.strip(BLANKS).startswith(b"["))

    def wine_utf8_bom(self, i, ours, wine):
        # Wine finds the BOM behind leading blanks too.
        return self.data.lstrip(BLANKS + b"\r\n").startswith(b"\xef\xbb\xbf")

    def wine_utf16be_bom(self, i, ours, wine):
        return self.data.startswith(b"\xfe\xff")

    def wine_rewrites_whole_file(self, i, ours, wine):
        a, b = file_bytes(ours), file_bytes(wine)
        return a is not None and b is not None and meaning(a) == meaning(b)

    def wine_rewrite_loses_nameless_keys(self, i, ours, wine):
        a, b = file_bytes(ours), file_bytes(wine)
        if a is None or b is None:
            return False
        def named(m):
            return {sk: v for sk, v in m.items() if sk[1]}
        return named(meaning(a)) == named(meaning(b))

    def wine_rewrite_loses_bytes_after_nul(self, i, ours, wine):
        return file_bytes(ours) is not None and b"\0" in self.data

    def wine_guesses_utf16(self, i, ours, wine):
        return self.data[:2] != b"\xff\xfe" and self.data.count(b"\0") * 8 >= len(self.data) > 0

    def ours_nul_ends_names(self, i, ours, wine):
        return re.search(rb"[ \t\x0b\x0c\x1a]\x00", self.data) is not None

    def ours_utf16le_out_of_scope(self, i, ours, wine):
        return self.data.startswith(b"\xff\xfe")

    def ours_quotes_before_cut(self, i, ours, wine):
        a, b = result_value(ours), result_value(wine)
        return a is not None and b is not None and len(a) == 254 and (
            cp1252_to_utf8(a[:253]) == b or a[:253] == b)

    def pending_code_page(self, i, ours, wine):
        a, b = result_value(ours), result_value(wine)
        return a is not None and b is not None and cp1252_to_utf8(a) == b

    def ours_cut_keeps_utf8_whole(self, i, ours, wine):
        a, b = result_value(ours), result_value(wine)
        if a is None or b is None or not 251 <= len(a) < 254:
            return False
        return cp1252_to_utf8(a) == b[: len(cp1252_to_utf8(a))] or b.startswith(a)


def load_known(path):
    known = {}
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            name, _, reason = line.partition(":")
            known[name.strip()] = reason.strip()
    return known


def rule_names():
    return [n for n in vars(Rules) if n.startswith(("wine_", "ours_", "pending_"))]


def explain(rules, i, ours, wine):
    for name in rule_names():
        if getattr(rules, name)(i, ours, wine):
            return name
    return None


# --- Running -----------------------------------------------------------------


def run(command, batch, folder, env=None):
    done = subprocess.run(command + ["--batch", batch, folder], capture_output=True,
                          env=env, timeout=900)
    if done.returncode != 0:
        sys.exit("ini-differential: %s failed (%d): %s" % (
            command[-1], done.returncode, done.stderr.decode(errors="replace")))
    return parse_results(done.stdout.decode("ascii"))


def wine_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--native", required=True, help="native ini-ops")
    parser.add_argument("--windows", required=True, help="ini-ops.exe")
    parser.add_argument("--wine", default=os.environ.get("WINE", "/usr/lib/wine/wine64"))
    parser.add_argument("--known", required=True, help="known-differences.txt")
    parser.add_argument("--seeds", nargs="*", default=[], help="folders of seed .ini files")
    parser.add_argument("--seed", type=int, default=13)
    parser.add_argument("--cases", type=int, default=2000)
    parser.add_argument("--keep", help="write each unexplained case here as .ops/.ini")
    args = parser.parse_args()

    if "WINEPREFIX" not in os.environ:
        # Without it Wine would set up and leave a prefix in the home folder.
        sys.exit("ini-differential: set WINEPREFIX (the windows test preset does)")
    known = load_known(args.known)
    missing = set(rule_names()) ^ set(known)
    if missing:
        sys.exit("ini-differential: rules and %s disagree on: %s" % (
            args.known, ", ".join(sorted(missing))))

    rng = random.Random(args.seed)
    seeds = load_seeds(args.seeds)
    cases = []
    for n in range(args.cases):
        data = make_file(rng, seeds)
        cases.append((str(n), data, make_ops(rng, data)))

    work = tempfile.mkdtemp(prefix="ini-differential-")
    try:
        batch = os.path.join(work, "batch.txt")
        write_batch(batch, cases)
        for side in ("native", "windows"):
            os.mkdir(os.path.join(work, side))
        ours = run([args.native], batch, os.path.join(work, "native"))
        env = dict(os.environ, LC_ALL="C", WINEDEBUG="-all")
        wine = run([args.wine, args.windows], wine_path(batch),
                   wine_path(os.path.join(work, "windows")), env)
        litter = os.listdir(os.path.join(work, "native"))
    finally:
        shutil.rmtree(work, ignore_errors=True)

    counts = {name: 0 for name in known}
    unexplained = []
    operations = 0
    for name, data, ops in cases:
        a, b = ours.get(name, []), wine.get(name, [])
        if len(a) != len(ops) or len(b) != len(ops):
            unexplained.append((name, data, ops, -1, a, b))
            continue
        operations += len(ops)
        rules = Rules(data, ops)
        for i, (x, y) in enumerate(zip(a, b)):
            if x == y:
                continue
            rule = explain(rules, i, x, y)
            if rule is None:
                unexplained.append((name, data, ops, i, x, y))
                break
            counts[rule] += 1

    print("ini-differential: seed %d, %d cases, %d operations, %d seed files" % (
        args.seed, len(cases), operations, len(seeds)))
    for rule, count in counts.items():
        print("  %6d  %s" % (count, rule))
    if litter:
        print("left in the native folder: %s" % ", ".join(litter))
    for name, data, ops, i, x, y in unexplained[:10]:
        print("\nunexplained difference in case %s, operation %d" % (name, i + 1))
        print("  file: %s" % ("(none)" if data is None else escape_field(data)))
        for op in ops:
            print("  op:   %s" % "\t".join(escape_field(f) for f in op))
        print("  ours: %s\n  wine: %s" % (x, y))
    if args.keep:
        os.makedirs(args.keep, exist_ok=True)
        for name, data, ops, _, _, _ in unexplained:
            with open(os.path.join(args.keep, "case-%s.ops" % name), "w") as out:
                for op in ops:
                    out.write("\t".join(escape_field(f) if j else f.decode()
                                        for j, f in enumerate(op)) + "\n")
            if data is not None:
                Path(args.keep, "case-%s.ini" % name).write_bytes(data)
    print("\n%d unexplained" % len(unexplained))
    return 1 if unexplained or litter else 0


if __name__ == "__main__":
    sys.exit(main())
