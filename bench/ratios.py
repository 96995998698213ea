#!/usr/bin/env python3
"""Prints the ratio table of zkdb_bench runs written with --benchmark_format=json.

Usage: ratios.py MAIN.json [--tmpfs TMPFS.json] [--memstatus-off THREADS.json]

MAIN.json is the full run, its database on the local disk. TMPFS.json is a
run of the write cases with the database on a tmpfs, which shows how much of
a write is the file system's sync. THREADS.json is a run of the thread cases
with SQLite's memory statistics turned off (ZKDB_BENCH_SQLITE_MEMSTATUS=0).
Figures are the medians of the repetitions; ratios are library / yardstick,
from wall-clock time ("wall") and from the process's CPU time ("cpu", which
leaves out waiting for the disk and for other processes).
"""

import argparse
import json
import re
import sys


def medians(path):
    """run name -> median entry (the entry itself without repetitions)."""
    with open(path) as f:
        data = json.load(f)
    plain, median = {}, {}
    for b in data["benchmarks"]:
        name = b.get("run_name", b["name"])
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                median[name] = b
        elif "error_occurred" in b and b["error_occurred"]:
            plain[name] = b
        else:
            plain.setdefault(name, b)
    plain.update(median)
    return plain, data.get("context", {})


SCALE = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def seconds(entry, key):
    return entry[key] * SCALE[entry.get("time_unit", "ns")]


def show(value):
    """A time in seconds, in a readable unit."""
    for unit, factor in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if value >= factor:
            return "%.3g %s" % (value / factor, unit)
    return "%.3g ns" % (value / 1e-9)


def rate(value):
    """Operations per second, readable."""
    for unit, factor in (("M", 1e6), ("k", 1e3)):
        if value >= factor:
            return "%.3g%s/s" % (value / factor, unit)
    return "%.3g/s" % value


def split(name):
    """'group/case/variant[/real_time][/threads:N]' -> (group, case, variant, threads)."""
    parts = [p for p in name.split("/") if p != "real_time"]
    threads = 1
    if parts and parts[-1].startswith("threads:"):
        threads = int(parts.pop()[len("threads:"):])
    if len(parts) != 3:
        return None
    return parts[0], parts[1], parts[2], threads


def index(runs):
    table = {}
    for name, entry in runs.items():
        key = split(name)
        if key:
            table[key] = entry
    return table


class Table:
    def __init__(self):
        self.rows = []

    def add(self, *cells):
        self.rows.append([str(c) for c in cells])

    def print(self, header):
        widths = [max(len(r[i]) for r in self.rows + [header]) for i in range(len(header))]
        line = lambda r: "| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |"
        print(line(header))
        print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
        for r in self.rows:
            print(line(r))
        print()


def verdict(value, limit, above=False):
    if value is None:
        return "n/a"
    ok = value >= limit if above else value <= limit
    return "met" if ok else "MISSED"


def error_of(entry):
    return entry.get("error_message") if entry.get("error_occurred") else None


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("main")
    parser.add_argument("--tmpfs")
    parser.add_argument("--memstatus-off")
    args = parser.parse_args(argv[1:])
    runs, context = medians(args.main)
    table = index(runs)
    tmpfs = index(medians(args.tmpfs)[0]) if args.tmpfs else {}
    quiet = index(medians(args.memstatus_off)[0]) if args.memstatus_off else {}

    errors = [(n, error_of(e)) for n, e in runs.items() if error_of(e)]
    for name, message in errors:
        print("ERROR %s: %s" % (name, message))

    def pair(group, case, variant, yardstick, limit, source=table, label=None):
        lib = source.get((group, case, variant, 1))
        ref = source.get((group, case, yardstick, 1))
        if not lib or not ref or error_of(lib) or error_of(ref):
            return
        wall = seconds(lib, "real_time") / seconds(ref, "real_time")
        cpu = seconds(lib, "cpu_time") / seconds(ref, "cpu_time")
        t.add(label or case, show(seconds(lib, "real_time")), yardstick,
              show(seconds(ref, "real_time")), "%.3f" % wall, "%.3f" % cpu,
              "<= %.2f" % limit if limit else "-", verdict(wall, limit) if limit else "-")

    header = ["case", "library", "yardstick", "yardstick time", "ratio wall", "ratio cpu",
              "target", "wall"]
    def cases(group):
        return sorted({k[1] for k in table if k[0] == group})

    print("## Point operations: library / floor (open+close, open+exec+close by hand)\n")
    t = Table()
    for case in cases("point"):
        pair("point", case, "library", "floor", 1.10)
    for case in sorted({k[1] for k in tmpfs if k[0] == "point"}):
        pair("point", case, "library", "floor", 1.10, tmpfs, case + " [tmpfs]")
    t.print(header)

    if tmpfs:
        print("## Writes: share of the file system's sync (disk vs tmpfs, library wall time)\n")
        s = Table()
        for key in sorted(k for k in tmpfs if k[2] == "library"):
            disk = table.get(key)
            if not disk:
                continue
            d = seconds(disk, "real_time")
            m = seconds(tmpfs[key], "real_time")
            s.add(key[0] + "/" + key[1], show(d), show(m), "%.0f%%" % (100.0 * (d - m) / d))
        s.print(["case", "disk", "tmpfs", "sync share of the disk figure"])

    print("## List queries: library (records made and destroyed) / floor (ResultRows)\n")
    t = Table()
    for case in cases("list"):
        pair("list", case, "library", "floor", 1.30 if "10000rows" in case else None)
    t.print(header)

    print("## Persistent connection: SQLiteHelper from SQLitePool / sqlite3_exec, / prepared\n")
    t = Table()
    for case in cases("persistent"):
        pair("persistent", case, "library", "exec", 1.10)
        pair("persistent", case, "library", "prepared", None, label=case + " (vs prepared)")
    t.print(header)

    def scaling(source, title):
        print(title)
        s = Table()
        for case in sorted({k[1] for k in source if k[0] == "threads"}):
            for variant in ("library", "floor", "reference"):
                one = source.get(("threads", case, variant, 1))
                two = source.get(("threads", case, variant, 2))
                if not one or not two or error_of(one) or error_of(two):
                    continue
                a, b = one["items_per_second"], two["items_per_second"]
                target = case.startswith("SqliteDataBase") and variant == "library"
                s.add(case, variant, rate(a), rate(b), "%.2f" % (b / a),
                      ">= 1.60" if target else "-",
                      verdict(b / a, 1.6, above=True) if target else "-")
        s.print(["case", "variant", "1 thread", "2 threads", "scaling", "target", "met"])

    scaling(table, "## Threads: throughput of 2 threads / 1 thread\n")
    if quiet:
        scaling(quiet, "## Threads, SQLite's memory statistics off (a host's sqlite3_config)\n")

    print("## Pool: getConnect + returnConnect pair\n")
    s = Table()
    for name in ("BM_PoolBorrowReturn", "BM_PoolBorrowReturnContended/maximum:2/threads:2",
                 "BM_PoolBorrowReturnContended/maximum:1/threads:2"):
        entry = runs.get(name)
        if not entry or error_of(entry):
            continue
        wall = seconds(entry, "real_time")
        uncontended = name == "BM_PoolBorrowReturn"
        s.add(name, show(wall), show(seconds(entry, "cpu_time")),
              "< 1 us" if uncontended else "-", verdict(wall, 1e-6) if uncontended else "-")
    s.print(["benchmark", "wall per pair", "cpu per pair", "target", "met"])

    if context:
        print("Run: %s, %s CPUs at %s MHz, load average %s" % (
            context.get("date", "?"), context.get("num_cpus", "?"), context.get("mhz_per_cpu", "?"),
            ", ".join("%.2f" % x for x in context.get("load_avg", []))))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
