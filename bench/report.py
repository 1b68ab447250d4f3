#!/usr/bin/env python3
"""Turns the JSON output of draw_bench into the tables and the chart of docs/performance.md.

    report.py <bench.json> <performance.md> <chart.svg> [<kept.json>]
    report.py --merge <bench.json> <process.json>...

Rewrites the part of performance.md between the markers "<!-- results begin -->" and
"<!-- results end -->" and writes the bar chart. Medians are used when the run had repetitions.
With a fourth argument, also keeps the run's context and medians there, from which the page
can be made again; the run kept there before is the one the page compares with, if it was
made on a machine with the same processor, caches and features.

--merge writes one run made of several benchmark processes: each rate the median of the
processes' rates. Surfaces near the size of the second-level cache run faster or slower by up to a
quarter from process to process (where their pages land in the cache), however often one
process repeats a measurement.
"""
import json
import math
import os
import re
import statistics
import sys

SIZES = ["400x300", "800x600", "3840x2160"]
COPIES = ["Blt", "BltKeyed", "BltDissolveRange"]
FILLS = ["FillRect", "ClearRect", "BltClear"]
PER_PIXEL = ["MaskOrColor", "ScreenColor", "MultiplyColor", "GrayAverage", "GrayWeighted",
             "BltKeyedMesh", "BltKeyedBlend", "BltMesh", "BltMaskOr", "BltMultiply",
             "BltBlendLevel", "BltBlendColor", "BltBlendHalf", "BltMaskBlend",
             "BltMaskMultiply", "BltMaskKey"]
ORDER = ["FillRect", "FrameRect", "MaskOrColor", "ClearRect", "ScreenColor", "MultiplyColor",
         "GrayAverage", "GrayWeighted", "Mosaic", "BlurFrom", "Blt", "BltKeyed", "BltKeyedMesh",
         "BltKeyedBlend", "BltMesh", "BltDissolveRange", "BltDissolve", "BltMaskOr", "BltClear",
         "BltMultiply", "BltBlendLevel", "BltBlendColor", "BltBlendHalf", "BltMaskBlend",
         "BltMaskMultiply", "BltMaskKey"]
PATHS = ["scalar", "SSE2", "AVX2", "AVX-512"]
TARGET_PATH = "AVX2"  # the path every machine of the kind has: the targets hold there


def load_rates(path):
    with open(path) as f:
        data = json.load(f)
    return data["context"], rates_of(data)


def rates_of(data):
    rates, medians = {}, {}
    for b in data["benchmarks"]:
        if "items_per_second" not in b or b.get("error_occurred"):
            continue
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                medians[b["run_name"]] = b["items_per_second"]
        else:
            rates.setdefault(b["run_name"], b["items_per_second"])
    rates.update(medians)
    return rates


def merge_processes(target, sources):
    runs = []
    for source in sources:
        with open(source) as f:
            runs.append(json.load(f))
    samples = {}
    for data in runs:
        for name, rate in rates_of(data).items():
            samples.setdefault(name, []).append(rate)
    context = dict(runs[0]["context"], processes=len(runs))
    benchmarks = [{"name": f"{name}_median", "run_name": name, "run_type": "aggregate",
                   "aggregate_name": "median", "items_per_second": statistics.median(rates)}
                  for name, rates in samples.items()]
    with open(target, "w") as f:
        json.dump({"context": context, "benchmarks": benchmarks}, f, indent=1)
        f.write("\n")


def giga(rate):
    return f"{rate / 1e9:.2f}" if rate >= 1e8 else f"{rate / 1e9:.4f}"


def ratio_of(op, path, size, rates):
    """(ratio, what it is measured against, floor) of one operation on one path, or None."""
    at = "/" + size
    own = rates.get(f"{op}/{path}{at}")
    if own is None:
        return None
    if op in COPIES:
        return own / rates[f"memcpy{at}"], "memcpy", 0.8
    if op in FILLS:
        return own / rates[f"memset{at}"], "memset", 0.8
    if op in PER_PIXEL:
        return own / rates[f"memcpy{at}"], "memcpy", 0.5
    if op == "Mosaic":
        return own / rates[f"memcpy{at}"], "memcpy", 0.5
    if op == "BlurFrom" and f"BlurFrom_direct{at}" in rates:
        return own / rates[f"BlurFrom_direct{at}"], "direct method", 150.0
    return None


def machine_of(context):
    return (context.get("cpu"), cache_sizes(context), context.get("cpu_features"))


def comparison(paths, rates, previous, previous_context, context):
    """Each path's rate over the previous run's, and the cells that lost more than 10 %."""
    if machine_of(previous_context) != machine_of(context):
        # Another processor or cache: the ratios would measure the machines, not the code.
        cpu, caches, features = machine_of(previous_context)
        return ["", "### Against the previous run", "",
                f"The previous run, of {previous_context.get('date', '?')}, was made on another "
                f"machine ({cpu}, caches {caches}, features {features}); its rates are not "
                f"compared with these. Compare two builds on one machine instead."]
    lines = ["", "### Against the previous run",
             "", f"Each cell is the rate over the same operation's in the run of "
             f"{previous_context.get('date', '?')} (rates per CPU second, so a busier machine "
             f"moves them less than it moves their ratios to the baselines, whose own rates "
             f"change from run to run): above 1 is faster than then.", ""]
    slower = []
    for size in ["400x300", "800x600", "3840x2160"]:
        lines.append(f"| {size.replace('x', ' × ')} | " + " | ".join(paths) + " |")
        lines.append("|---|" + "---:|" * len(paths))
        for op in ORDER:
            cells = []
            for p in paths:
                now, then = rates.get(f"{op}/{p}/{size}"), previous.get(f"{op}/{p}/{size}")
                if now is None or then is None:
                    cells.append("")
                    continue
                cells.append(f"{now / then:.2f}")
                if now / then < 0.9:
                    slower.append(f"`{op}` {p} at {size.replace('x', ' × ')} ({now / then:.2f})")
            if any(cells):
                lines.append(f"| `{op}` | " + " | ".join(cells) + " |")
        lines.append("")
    lines.append("Slower than then by more than 10 %: " + ("; ".join(slower) if slower else "none") + ".")
    return lines


def kernel_table(paths, target, rates):
    """The row kernels alone, in L1, beside the operations' ratios: which unit bounds each miss."""
    ops = [op for op in ORDER if any(f"kernel_{op}/{p}/L1" in rates for p in paths)]
    if not ops:
        return []
    lines = ["", "### The row kernels alone",
             "", f"Each operation's row kernel on rows of 2,048 pixels that stay in the first-level "
             f"cache, in Gpixels per second: what its arithmetic costs without the memory. "
             f"\"Kernel ÷ memcpy\" is the {target} kernel's rate over memcpy at 400 × 300, the "
             f"most its operation could reach there. Where an operation misses its floor, the "
             f"vector units bound it if its kernel alone stays below the floor too, and the "
             f"memory (the caches below the first) otherwise.", ""]
    lines.append("| Operation | " + " | ".join(paths) + " | kernel ÷ memcpy | "
                 "400 × 300 | 800 × 600 | a miss is bound by |")
    lines.append("|---|" + "---:|" * (len(paths) + 3) + "---|")
    for op in ops:
        cells = [rates.get(f"kernel_{op}/{p}/L1") for p in paths]
        kernel = rates.get(f"kernel_{op}/{target}/L1")
        baseline = "memset" if op in FILLS else "memcpy"
        ceiling = kernel / rates[f"{baseline}/400x300"] if kernel else None
        found = [ratio_of(op, target, size, rates) for size in ["400x300", "800x600"]]
        floor = found[0][2] if found[0] else None
        missed = [f for f in found if f and f[0] < f[2]]
        bound = "" if not missed else ("vector units" if ceiling < floor else "memory")
        lines.append(f"| `{op}` | " + " | ".join("" if c is None else giga(c) for c in cells) +
                     f" | {ceiling:.2f} | " +
                     " | ".join("" if f is None else f"{f[0]:.2f}" for f in found) + f" | {bound} |")
    return lines


def cache_sizes(context):
    """The benchmark's own CPUID reading, or Google Benchmark's list from the system."""
    if "cache_sizes" in context:
        return context["cache_sizes"]
    caches = [c for c in context.get("caches", []) if c.get("type") != "Instruction"]
    return ", ".join(f"L{c['level']}{'d' if c['type'] == 'Data' else ''} {c['size'] // 1024} KiB"
                     for c in caches) or "?"


def tables(context, rates, previous=None, previous_context=None):
    paths = [p for p in PATHS if any(f"Blt/{p}/{s}" in rates for s in SIZES)]
    target = TARGET_PATH if TARGET_PATH in paths else paths[-1]
    lines = []
    load = context.get("load_avg", [])
    lines.append(f"Run of {context.get('date', '?')} on `{context.get('host_name', '?')}`: "
                 f"{context.get('cpu', '?')}, {context.get('num_cpus', '?')} CPUs at "
                 f"{context.get('mhz_per_cpu', '?')} MHz, caches {cache_sizes(context)}, "
                 f"features {context.get('cpu_features', '?')}; "
                 f"kernel paths {', '.join(paths)} (best {context.get('best_kernel_path', '?')}); "
                 f"pixman {context.get('pixman', '?')}; "
                 f"load average at the start {', '.join(f'{x:.2f}' for x in load)}"
                 + (f"; each rate the median of {context['processes']} benchmark processes."
                    if "processes" in context else "."))
    for size in ["400x300", "800x600"]:
        lines.append("")
        lines.append(f"### Ratios at {size.replace('x', ' × ')}, every path")
        lines.append("")
        lines.append(f"Each path's rate over the baseline's in the same run; the floors hold on the "
                     f"{target} path, and a ratio below its floor there is a missed target.")
        lines.append("")
        lines.append("| Operation | against | " + " | ".join(paths) + f" | floor | met on {target} |")
        lines.append("|---|---|" + "---:|" * (len(paths) + 1) + ":---:|")
        for op in ORDER:
            found = ratio_of(op, target, size, rates)
            if found is None:
                continue
            _, what, floor = found
            cells = []
            for p in paths:
                r = ratio_of(op, p, size, rates)
                cells.append("" if r is None else (f"{r[0]:.0f}" if floor >= 10 else f"{r[0]:.2f}"))
            met = "yes" if found[0] >= floor else "**no**"
            lines.append(f"| `{op}` | {what} | " + " | ".join(cells) + f" | {floor:g} | {met} |")
    for size in SIZES:
        at = "/" + size
        lines.append("")
        lines.append(f"### {size.replace('x', ' × ')}: Gpixels per second")
        lines.append("")
        header = "| Operation | " + " | ".join(paths) + f" | {paths[-1]} ÷ scalar |"
        lines.append(header)
        lines.append("|---|" + "---:|" * (len(paths) + 1))
        for op in ORDER:
            cells = [rates.get(f"{op}/{p}{at}") for p in paths]
            if cells[0] is None:
                continue
            speedup = cells[-1] / cells[0]
            row = " | ".join(giga(c) for c in cells)
            lines.append(f"| `{op}` | {row} | {speedup:.1f} |")
        lines.append("")
        lines.append("| Baseline | Gpixels/s |")
        lines.append("|---|---:|")
        for name in ["memcpy", "memset", "pixman_SRC", "pixman_fill", "pixman_OVER_constant_mask",
                     "pixman_MULTIPLY", "pixman_ADD", "BlurFrom_direct"]:
            if f"{name}{at}" in rates:
                lines.append(f"| {name.replace('_', ' ')} | {giga(rates[name + at])} |")
    lines += kernel_table(paths, target, rates)
    if previous:
        lines += comparison(paths, rates, previous, previous_context, context)
    return "\n".join(lines)


def chart(rates, size="800x600"):
    """Horizontal bars on a log scale: each operation's scalar and best paths, with the
    baselines as vertical lines."""
    at = "/" + size
    paths = [p for p in PATHS if f"Blt/{p}{at}" in rates]
    best = paths[-1]
    ops = [op for op in ORDER if f"{op}/{best}{at}" in rates]
    low, high = 1e6, 1e11
    left, width, row, top = 150, 560, 18, 40
    height = top + row * len(ops) + 50
    def x_of(rate):
        return left + width * (math.log10(max(rate, low)) - math.log10(low)) / (
            math.log10(high) - math.log10(low))
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{left + width + 20}" height="{height}" '
           'font-family="sans-serif" font-size="11">',
           f'<rect width="100%" height="100%" fill="white"/>',
           f'<text x="10" y="16" font-size="13">Pixels per second at {size.replace("x", " × ")} '
           f'(log scale): {best} dark, scalar light</text>']
    for decade in range(6, 12):
        x = x_of(10 ** decade)
        out.append(f'<line x1="{x:.1f}" y1="{top - 6}" x2="{x:.1f}" y2="{top + row * len(ops)}" '
                   'stroke="#ddd"/>')
        out.append(f'<text x="{x:.1f}" y="{top + row * len(ops) + 14}" text-anchor="middle">'
                   f'1e{decade}</text>')
    for i, op in enumerate(ops):
        y = top + i * row
        out.append(f'<text x="{left - 6}" y="{y + 12}" text-anchor="end">{op}</text>')
        scalar = rates.get(f"{op}/scalar{at}", low)
        out.append(f'<rect x="{left}" y="{y + 2}" width="{x_of(scalar) - left:.1f}" height="6" '
                   'fill="#9ecae1"/>')
        fast = rates[f"{op}/{best}{at}"]
        out.append(f'<rect x="{left}" y="{y + 8}" width="{x_of(fast) - left:.1f}" height="8" '
                   'fill="#08519c"/>')
    for name, colour in [("memcpy", "#d62728"), ("memset", "#ff7f0e"),
                         ("pixman_OVER_constant_mask", "#2ca02c"), ("BlurFrom_direct", "#7f7f7f")]:
        if f"{name}{at}" not in rates:
            continue
        x = x_of(rates[f"{name}{at}"])
        out.append(f'<line x1="{x:.1f}" y1="{top - 6}" x2="{x:.1f}" y2="{top + row * len(ops)}" '
                   f'stroke="{colour}" stroke-dasharray="4 3"/>')
    legend_y = top + row * len(ops) + 34
    lx = left
    for name, colour in [("memcpy", "#d62728"), ("memset", "#ff7f0e"),
                         ("pixman OVER, constant mask", "#2ca02c"), ("BlurFrom direct", "#7f7f7f")]:
        out.append(f'<line x1="{lx}" y1="{legend_y - 4}" x2="{lx + 18}" y2="{legend_y - 4}" '
                   f'stroke="{colour}" stroke-dasharray="4 3"/>')
        out.append(f'<text x="{lx + 22}" y="{legend_y}">{name}</text>')
        lx += 30 + 7 * len(name)
    out.append("</svg>")
    return "\n".join(out) + "\n"


def keep_medians(source, target):
    with open(source) as f:
        data = json.load(f)
    data["benchmarks"] = [b for b in data["benchmarks"]
                          if b.get("run_type") != "aggregate" or b.get("aggregate_name") == "median"]
    with open(target, "w") as f:
        json.dump(data, f, indent=1)
        f.write("\n")


def main():
    if len(sys.argv) >= 4 and sys.argv[1] == "--merge":
        merge_processes(sys.argv[2], sys.argv[3:])
        return
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    context, rates = load_rates(sys.argv[1])
    previous_context, previous = {}, None
    if len(sys.argv) == 5 and os.path.exists(sys.argv[4]):
        previous_context, previous = load_rates(sys.argv[4])
    with open(sys.argv[2]) as f:
        page = f.read()
    begin, end = "<!-- results begin -->", "<!-- results end -->"
    if begin not in page or end not in page:
        sys.exit(f"{sys.argv[2]} has no {begin} ... {end} markers")
    page = re.sub(re.escape(begin) + ".*?" + re.escape(end),
                  lambda _: begin + "\n" + tables(context, rates, previous, previous_context) + "\n" + end, page, flags=re.S)
    with open(sys.argv[2], "w") as f:
        f.write(page)
    with open(sys.argv[3], "w") as f:
        f.write(chart(rates))
    if len(sys.argv) == 5:
        keep_medians(sys.argv[1], sys.argv[4])


if __name__ == "__main__":
    main()
