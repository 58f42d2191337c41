#!/usr/bin/env python3
"""Fills the campaign table of RELIABILITY.md from the logs of a long run.

usage: fuzz_table.py BUILD_FUZZ_DIR RELIABILITY.md SECONDS [JOBS]

Reads BUILD_FUZZ_DIR/TARGET/long.log, corpus/ and findings/ for every target
of fuzz/targets.txt and rewrites the text between the table's two markers.
"""
import datetime
import os
import re
import sys

BEGIN = "<!-- campaign table: begin -->"
END = "<!-- campaign table: end -->"


def targets(root):
    with open(os.path.join(root, "fuzz", "targets.txt")) as f:
        for line in f:
            fields = line.split()
            if fields and not fields[0].startswith("#"):
                yield fields[0]


def last_int(pattern, text):
    found = re.findall(pattern, text)
    return int(found[-1]) if found else None


def findings(folder, log):
    names = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
    summary = re.findall(r"^SUMMARY: (.*)$", log, re.M)
    if not names:
        return "none"
    text = ", ".join(names)
    return text + (f" ({summary[-1]})" if summary else "")


def row(out, name):
    folder = os.path.join(out, name)
    try:
        with open(os.path.join(folder, "long.log"), errors="replace") as f:
            log = f.read()
    except OSError:
        return f"| {name} | not run | | | | | | | |"
    seconds = last_int(r"Done \d+ runs in (\d+) second", log)
    runs = last_int(r"stat::number_of_executed_units: (\d+)", log)
    rate = last_int(r"stat::average_exec_per_sec:\s+(\d+)", log)
    edges = last_int(r"cov: (\d+)", log)
    cpu = re.findall(r"^cpu_seconds: ([\d.]+) ([\d.]+)", log, re.M)
    cpu_rate = round(runs / (float(cpu[-1][0]) + float(cpu[-1][1]))) if cpu and runs else None
    load = re.findall(r"^load_average: ([\d.]+)", log, re.M)
    corpus = os.path.join(folder, "corpus")
    files = os.listdir(corpus) if os.path.isdir(corpus) else []
    size = sum(os.path.getsize(os.path.join(corpus, f)) for f in files)
    show = lambda v: "?" if v is None else f"{v:,}"
    return (f"| {name} | {show(seconds)} | {show(runs)} | {show(rate)} | {show(cpu_rate)} | "
            f"{load[-1] if load else '?'} | {show(edges)} | "
            f"{len(files):,} ({size // 1024:,} KiB) | {findings(os.path.join(folder, 'findings'), log)} |")


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    out, path, seconds = sys.argv[1:4]
    jobs = int(sys.argv[4]) if len(sys.argv) == 5 else 1
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    lines = [BEGIN,
             f"Campaign of {seconds} s a target, {datetime.date.today().isoformat()}, "
             f"{os.cpu_count()} cores, {jobs} target{'s' if jobs > 1 else ''} at a time "
             f"(`make fuzz-long FUZZ_SECONDS={seconds}`).",
             "",
             "exec/s counts wall seconds; exec/CPU s the target's own processor time "
             "(the machine is shared: load is its load average at the end of the run).",
             "",
             "| target | seconds | executions | exec/s | exec/CPU s | load | edges | corpus | findings |",
             "|---|---:|---:|---:|---:|---:|---:|---:|---|"]
    lines += [row(out, name) for name in targets(root)]
    try:
        with open(os.path.join(out, "fuzz_video", "paths.txt")) as f:
            lines += ["", "Decoder paths of fuzz_video's corpus (`video_corpus_paths`): " + f.read().strip()]
    except OSError:
        pass
    lines.append(END)
    with open(path) as f:
        text = f.read()
    if BEGIN not in text or END not in text:
        sys.exit(f"{path}: no campaign table markers")
    before, rest = text.split(BEGIN, 1)
    after = rest.split(END, 1)[1]
    with open(path, "w") as f:
        f.write(before + "\n".join(lines) + after)


if __name__ == "__main__":
    main()
