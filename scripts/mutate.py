#!/usr/bin/env python3
"""Plants one small fault at a time in the natively built product code and runs the native tests.

A planted fault (a mutant) that makes a test fail, crash or hang is caught; one that every test
passes survived. Each mutant is named by the text of its source line, not by its line number or
file, so that a saved list finds the same mutants again after code moves between files.

  scripts/mutate.py --count 180 --out docs/mutation/before.json     # pick from a fixed seed, run
  scripts/mutate.py --mutants docs/mutation/before.json --out docs/mutation/after.json
  scripts/mutate.py --mutants docs/mutation/before.json --only ID... # rerun a few

It builds in build/mutate, without sanitizers and lightly optimised, and runs only the test
programs that link the mutated code, each stopping at its first failure and killed after a short
timeout (a planted endless loop counts as caught). A mutant whose object code equals the
original's is reported as "unchanged" and a mutant that does not compile as "no-build"; neither
counts in the score. The file is restored after every mutant, also on Ctrl-C.
"""

import argparse
import hashlib
import json
import os
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build" / "mutate"
PENDING = BUILD / "mutant-in-place.json"  # what to restore if a run was killed hard
SOURCE_SUFFIXES = {".cpp", ".cc", ".c", ".h", ".hpp", ".inc"}
OPERATORS = ["negate-comparison", "comparison-boundary", "swap-logic", "constant-by-one",
             "return-success", "loop-bound"]

# ---------------------------------------------------------------------------------------------
# Finding mutation sites on one line


def blank_literals(code):
    """The line with string and character literal contents and any // comment blanked out."""
    out, i, quote = [], 0, None
    while i < len(code):
        c = code[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            out.append(c if c == quote else " ")
            if c == quote:
                quote = None
        elif c in "\"'":
            # A digit separator (1'000) is not a quote.
            if c == "'" and i > 0 and code[i - 1].isalnum() and i + 1 < len(code) and code[i + 1].isalnum():
                out.append(" ")
            else:
                quote = c
                out.append(c)
        elif code.startswith("//", i):
            out.append(" " * (len(code) - i))
            break
        elif code.startswith("/*", i):
            end = code.find("*/", i + 2)
            end = len(code) if end < 0 else end + 2
            out.append(" " * (end - i))
            i = end
            continue
        else:
            out.append(c)
        i += 1
    return "".join(out)[: len(code)]


NEGATED = {"==": "!=", "!=": "==", "<": ">=", ">": "<=", "<=": ">", ">=": "<"}
BOUNDARY = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
# Comparisons written with a space on each side, so that templates, shifts and arrows stay out.
COMPARISON = re.compile(r"(?<= )(==|!=|<=|>=|<|>)(?= )")
LOGIC = re.compile(r"&&|\|\|")
INTEGER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")
RETURN_CODE = re.compile(r"\breturn (RC_(?!OK\b)[A-Z_]+|rc|result);")
LOOP = re.compile(r"\b(for|while) \(")


def loop_condition(code, start):
    """(begin, end) of a for or while loop's condition that starts at the '(' at start."""
    depth, parts, begin = 0, [], start + 1
    for i in range(start, len(code)):
        c = code[i]
        if c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
            if depth == 0:
                parts.append((begin, i))
                break
        elif c == ";" and depth == 1:
            parts.append((begin, i))
            begin = i + 1
    else:
        return None
    return parts[1] if len(parts) == 3 else parts[0] if len(parts) == 1 else None


def sites(line):
    """Every mutation the line offers: (operator, column, original text, replacement)."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("#", "//", "/*", "*", "static_assert")):
        return []
    code = blank_literals(line)
    found = []
    for m in COMPARISON.finditer(code):
        op = m.group(1)
        found.append(("negate-comparison", m.start(), op, NEGATED[op]))
        if op in BOUNDARY:
            found.append(("comparison-boundary", m.start(), op, BOUNDARY[op]))
    for m in LOGIC.finditer(code):
        found.append(("swap-logic", m.start(), m.group(0), "||" if m.group(0) == "&&" else "&&"))
    pure_virtual = re.search(r"\)( const)?( override)? = 0;", code)
    for m in INTEGER.finditer(code):
        if pure_virtual and m.start() == pure_virtual.end() - 2:
            continue
        digits, suffix = m.group(1), m.group(2)
        value = int(digits, 0) if not digits.startswith("0") or digits == "0" or digits[1] in "xX" else int(digits, 8)
        # Up by one, or down where that stays a plain literal; the choice is fixed by the value.
        moved = value - 1 if value > 0 and value % 2 == 1 else value + 1
        text = (hex(moved) if digits[:2].lower() == "0x" else str(moved)) + suffix
        found.append(("constant-by-one", m.start(), m.group(0), text))
    for m in RETURN_CODE.finditer(code):
        start = m.start(1)
        found.append(("return-success", start, m.group(1), "RC_OK"))
    for m in LOOP.finditer(code):
        span = loop_condition(code, m.end() - 1)
        if not span:
            continue
        condition = code[span[0]:span[1]]
        first = COMPARISON.search(condition)
        if not first:
            continue
        rest = LOGIC.search(condition, first.end())
        end = span[0] + (rest.start() if rest else len(condition.rstrip()))
        while end > span[0] and code[end - 1] == " ":
            end -= 1
        found.append(("loop-bound", end, "", " - 1"))
    return found


def numbered_sites(line):
    """sites() with each site's index among the sites of its operator on the line."""
    count, out = {}, []
    for op, col, old, new in sorted(sites(line), key=lambda s: (s[1], s[0])):
        out.append((op, count.get(op, 0), col, old, new))
        count[op] = count.get(op, 0) + 1
    return out


def apply_site(line, col, old, new):
    assert line[col:col + len(old)] == old, (line, col, old)
    return line[:col] + new + line[col + len(old):]


# ---------------------------------------------------------------------------------------------
# The build


def run(cmd, **kw):
    return subprocess.run(cmd, cwd=kw.pop("cwd", ROOT), text=True, **kw)


def configure():
    flags = "-O1 -g0"
    result = run(["cmake", "-S", str(ROOT), "-B", str(BUILD), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=",
                  f"-DCMAKE_C_FLAGS={flags}", f"-DCMAKE_CXX_FLAGS={flags}",
                  "-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld", "-DZV_WERROR=OFF", "-DZV_SANITIZE=OFF",
                  "-DZV_BUILD_TESTS=ON", "-DZV_FUZZ=OFF", "-DZV_BUILD_BENCH=OFF"],
                 capture_output=True)
    if result.returncode:
        sys.exit("configure failed:\n" + result.stdout + result.stderr)


def build():
    return run(["ninja", "-C", str(BUILD)], capture_output=True).returncode == 0


def is_product(rel):
    parts = rel.parts
    return parts[0] in ("app", "lib") and not any("subst" in p.lower() for p in parts)


def native_product_files():
    """Product sources and headers the native build compiles, from the compiler's own records."""
    out = run(["ninja", "-C", str(BUILD), "-t", "deps"], capture_output=True, check=True).stdout
    files = set()
    for line in out.splitlines():
        if not line.startswith("    "):
            continue
        path = (BUILD / line.strip()).resolve()
        try:
            rel = path.relative_to(ROOT)
        except ValueError:
            continue
        if path.suffix in SOURCE_SUFFIXES and is_product(rel):
            files.add(rel)
    return sorted(files)


def all_product_files():
    return sorted(p.relative_to(ROOT) for d in ("app", "lib") for p in (ROOT / d).rglob("*")
                  if p.suffix in SOURCE_SUFFIXES and is_product(p.relative_to(ROOT)))


def test_programs():
    """{path: (working directory, command)} of the native test programs ctest knows. A
    GoogleTest program runs all its cases at once, stopping at the first failure; any other
    test runs as ctest would run it."""
    out = run(["ctest", "--show-only=json-v1"], cwd=BUILD, capture_output=True, check=True).stdout
    programs = {}
    for test in json.loads(out)["tests"]:
        if "command" not in test:
            continue
        props = {p["name"]: p["value"] for p in test.get("properties", [])}
        command = test["command"]
        if any(arg.startswith("--gtest_filter") for arg in command):
            command = [command[0], "--gtest_fail_fast", "--gtest_brief=1"]
        programs[command[0]] = (props.get("WORKING_DIRECTORY", str(BUILD)), command)
    return programs


def dependents(rel, programs):
    """The test programs that would be relinked after rel changes (a dry run of ninja)."""
    path = ROOT / rel
    before = path.stat()
    try:
        os.utime(path, ns=(before.st_atime_ns, time.time_ns() + 10**9))
        out = run(["ninja", "-C", str(BUILD), "-n"], capture_output=True).stdout
    finally:
        os.utime(path, ns=(before.st_atime_ns, before.st_mtime_ns))
    linked = set(re.findall(r"Linking CXX executable (\S+)", out))
    return [p for p in programs if os.path.relpath(p, BUILD) in linked]


def object_hashes():
    return {str(p): hashlib.sha1(p.read_bytes()).hexdigest() for p in BUILD.rglob("*.o")}


# ---------------------------------------------------------------------------------------------
# Mutants


def context(lines, index, step):
    i = index + step
    while 0 <= i < len(lines):
        if lines[i].strip():
            return lines[i].strip()
        i += step
    return ""


def mutant_id(m):
    key = f"{m['line']}\0{m['occurrence']}\0{m['operator']}\0{m['site']}\0{m['file']}"
    return hashlib.sha1(key.encode()).hexdigest()[:10]


def candidates(files):
    found = []
    for rel in files:
        lines = (ROOT / rel).read_text(encoding="utf-8").splitlines()
        seen = {}
        for index, line in enumerate(lines):
            text = line.strip()
            occurrence = seen.get(text, 0)
            seen[text] = occurrence + 1
            for op, site, _col, old, new in numbered_sites(line):
                m = {"file": str(rel), "line": text, "occurrence": occurrence, "operator": op,
                     "site": site, "original": old, "replacement": new,
                     "before": context(lines, index, -1), "after": context(lines, index, 1),
                     "lineno": index + 1}
                m["id"] = mutant_id(m)
                found.append(m)
    return found


def choose(found, count, seed):
    """count mutants, the operators taking turns, each operator's sites in a seeded order."""
    rng = random.Random(seed)
    by_op = {op: [m for m in found if m["operator"] == op] for op in OPERATORS}
    for group in by_op.values():
        rng.shuffle(group)
    chosen = []
    while len(chosen) < count and any(by_op.values()):
        for op in OPERATORS:
            if by_op[op] and len(chosen) < count:
                chosen.append(by_op[op].pop())
    return chosen


def locate(m, native, everywhere):
    """(file, line index) of the mutant's line in today's tree, or None when the line is gone.

    The same text in the file it came from wins; else wherever it moved. Identical lines are told
    apart by the lines around them, then by their order."""
    matches = []
    for rel in everywhere:
        lines = (ROOT / rel).read_text(encoding="utf-8").splitlines()
        k = 0
        for i, line in enumerate(lines):
            if line.strip() == m["line"]:
                score = (str(rel) == m["file"], (context(lines, i, -1) == m["before"]) +
                         (context(lines, i, 1) == m["after"]), k == m["occurrence"])
                matches.append((score, rel, i))
                k += 1
    if not matches:
        return None, "gone"
    matches.sort(key=lambda s: s[0], reverse=True)
    _, rel, index = matches[0]
    if rel not in native:
        return None, "gone (not built natively)"
    return (rel, index), None


# ---------------------------------------------------------------------------------------------
# Running


class Restore:
    """Puts a mutated file back, whatever ends the run."""

    def __init__(self, path, original):
        self.path, self.original = path, original

    def __enter__(self):
        PENDING.write_text(json.dumps({"path": str(self.path), "text": self.original}))
        return self

    def __exit__(self, *exc):
        self.path.write_text(self.original, encoding="utf-8")
        PENDING.unlink(missing_ok=True)
        return False


def restore_pending():
    if PENDING.exists():
        pending = json.loads(PENDING.read_text())
        Path(pending["path"]).write_text(pending["text"], encoding="utf-8")
        PENDING.unlink()
        print(f"restored {pending['path']} from an interrupted run")


def run_test(program, timeout):
    workdir, command = program
    started = time.time()
    try:
        proc = subprocess.Popen(command, cwd=workdir,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                start_new_session=True)
        code = proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        return "timeout", time.time() - started
    if code == 0:
        return None, time.time() - started
    return ("crash" if code < 0 else "failed"), time.time() - started


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--mutants", help="reuse the mutants of an earlier result file")
    parser.add_argument("--count", type=int, default=180)
    parser.add_argument("--seed", type=int, default=14)
    parser.add_argument("--out", required=True)
    parser.add_argument("--only", nargs="*", help="run only these mutant ids")
    parser.add_argument("--list", action="store_true", help="print the mutants and stop")
    parser.add_argument("--compare", help="compare the result file --out with this earlier one")
    args = parser.parse_args()
    if args.compare:
        return compare(json.loads(Path(args.compare).read_text()), json.loads(Path(args.out).read_text()))

    signal.signal(signal.SIGTERM, interrupted)
    BUILD.mkdir(parents=True, exist_ok=True)
    restore_pending()
    configure()
    if not build():
        sys.exit("the unmutated tree does not build")
    native = native_product_files()
    everywhere = all_product_files()
    if args.mutants:
        mutants = json.loads(Path(args.mutants).read_text())["mutants"]
    else:
        mutants = choose(candidates(native), args.count, args.seed)
    if args.only:
        mutants = [m for m in mutants if m["id"] in args.only]
    if args.list:
        for m in mutants:
            print(f"{m['id']} {m['operator']:20} {m['file']}:{m['lineno']}  {m['line']}")
        return

    programs = test_programs()
    baseline = {}
    for program, test in programs.items():
        failure, seconds = run_test(test, 600)
        if failure:
            sys.exit(f"{program} fails without any mutant ({failure})")
        baseline[program] = seconds
    print(f"{len(programs)} test programs, {sum(baseline.values()):.1f} s unmutated")
    originals = object_hashes()

    placed = []
    for m in mutants:
        where, gone = locate(m, set(native), everywhere)
        placed.append((m, where, gone))
    # One file after another, so that each file is recompiled once per mutant; sources before
    # headers, which many objects include, so that a run cut short has done the most.
    placed.sort(key=lambda p: (p[1][0].suffix in (".h", ".hpp") if p[1] else False,
                               str(p[1][0]) if p[1] else "", p[1][1] if p[1] else 0))

    results, kills = {}, {}
    out = Path(args.out)
    out.parent.mkdir(parents=True, exist_ok=True)
    depends = {}
    started = time.time()

    def save():
        summary = score(results)
        out.write_text(json.dumps({"seed": args.seed, "summary": summary, "mutants": mutants,
                                   "results": results}, indent=1, ensure_ascii=False) + "\n")

    try:
        for n, (m, where, gone) in enumerate(placed, 1):
            t0 = time.time()
            if gone:
                results[m["id"]] = {"status": gone}
                continue
            rel, index = where
            path = ROOT / rel
            original = path.read_text(encoding="utf-8")
            lines = original.split("\n")
            site = [s for s in numbered_sites(lines[index])
                    if s[0] == m["operator"] and s[1] == m["site"] and s[3] == m["original"]]
            if not site:
                results[m["id"]] = {"status": "gone"}
                continue
            _op, _k, col, old, new = site[0]
            lines[index] = apply_site(lines[index], col, old, new)
            result = {"file": str(rel), "lineno": index + 1}
            with Restore(path, original):
                path.write_text("\n".join(lines), encoding="utf-8")
                if not build():
                    result["status"] = "no-build"
                elif all(originals.get(str(p)) == hashlib.sha1(p.read_bytes()).hexdigest()
                         for p in BUILD.rglob("*.o") if p.stat().st_mtime >= t0):
                    result["status"] = "unchanged"
                else:
                    if rel not in depends:
                        depends[rel] = dependents(rel, programs)
                    order = sorted(depends[rel], key=lambda p: (-kills.get((rel, p), 0), baseline[p]))
                    result["status"] = "survived"
                    for program in order:
                        failure, _ = run_test(programs[program],
                                              max(10.0, 6 * baseline[program] + 5))
                        if failure:
                            result.update(status="killed", by=os.path.basename(program), how=failure)
                            kills[(rel, program)] = kills.get((rel, program), 0) + 1
                            break
            result["seconds"] = round(time.time() - t0, 1)
            results[m["id"]] = result
            print(f"[{n}/{len(placed)} {time.time() - started:6.0f}s] {result['status']:9} "
                  f"{result.get('by', '')[:22]:22} {m['operator']:19} {rel}:{index + 1}  "
                  f"{lines[index].strip()[:70]}", flush=True)
            save()
    except KeyboardInterrupt:
        print("interrupted; the mutated file is restored")
        save()
        build()
        sys.exit(130)
    save()
    build()
    s = score(results)
    print(f"killed {s['killed']} of {s['scored']} ({s['percent']}%), survived {s['survived']}, "
          f"gone {s['gone']}, unchanged {s['unchanged']}, no-build {s['no-build']}; "
          f"{time.time() - started:.0f} s")


def compare(before, after):
    """Scores of both runs on the mutants both ran, and every mutant whose outcome changed."""
    mutants = {m["id"]: m for m in before["mutants"]}
    common = [i for i in mutants if i in before["results"] and i in after["results"]]
    for name, run in (("before", before), ("after", after)):
        s = score({i: run["results"][i] for i in common if not after["results"][i]["status"].startswith("gone")})
        print(f"{name}: killed {s['killed']} of {s['scored']} ({s['percent']}%), "
              f"unchanged {s['unchanged']}, no-build {s['no-build']}")
    print(f"gone after: {sum(after['results'][i]['status'].startswith('gone') for i in common)}, "
          f"not run: {len(mutants) - len(common)}")
    for i in common:
        b, a = before["results"][i], after["results"][i]
        if b["status"] != a["status"]:
            m = mutants[i]
            print(f"{i} {b['status']:>9} -> {a['status']:9} {m['operator']:19} {m['file']}:{m['lineno']}  {m['line']}")


def interrupted(*_):
    raise KeyboardInterrupt


def score(results):
    statuses = [r["status"] for r in results.values()]
    killed = statuses.count("killed")
    survived = statuses.count("survived")
    scored = killed + survived
    return {"scored": scored, "killed": killed, "survived": survived,
            "percent": round(100 * killed / scored, 1) if scored else 0,
            "gone": sum(s.startswith("gone") for s in statuses),
            "unchanged": statuses.count("unchanged"), "no-build": statuses.count("no-build")}


if __name__ == "__main__":
    main()
