#!/usr/bin/env python3
"""Turns the benchmark's timings into a Markdown table: per case, format and tool the
median wall time and median peak memory over the timed runs, and Nikra's time and memory
divided by the tool's (below 1: Nikra is faster or smaller).

Input: a tab separated file with the header
  case  tool  format  run  seconds  elapsed  maxrss_kib
(seconds: wall time measured around the process; elapsed: /usr/bin/time's %e; maxrss_kib:
its %M). Rows keep the order in which cases and formats first appear; Nikra comes first.

Usage: stats.py TIMES.tsv           the table
       stats.py --verdicts TIMES.tsv  one line per case and format: Nikra ahead of or
                                      behind the fastest peer, by median wall time
"""
import csv
import statistics
import sys


def read_groups(path):
    groups = {}  # (case, format) -> tool -> {"seconds": [...], "mib": [...]}
    with open(path, newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            tools = groups.setdefault((row["case"], row["format"]), {})
            runs = tools.setdefault(row["tool"], {"seconds": [], "mib": []})
            runs["seconds"].append(float(row["seconds"]))
            runs["mib"].append(int(row["maxrss_kib"]) / 1024)
    return groups


def print_verdicts(groups):
    for (case, fmt), tools in groups.items():
        times = {tool: statistics.median(r["seconds"]) for tool, r in tools.items()}
        nikra = times.get("nikra")
        peers = {tool: t for tool, t in times.items() if tool != "nikra"}
        if nikra is None or not peers:
            print(f"{case} {fmt}: no peer to compare with")
            continue
        fastest = min(peers, key=peers.get)
        word = "ahead of" if nikra <= peers[fastest] else "behind"
        print(f"{case} {fmt}: {word} the fastest peer, Nikra {nikra:.3f} s, "
              f"{fastest} {peers[fastest]:.3f} s ({nikra / peers[fastest]:.2f}x)")


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--verdicts":
        print_verdicts(read_groups(sys.argv[2]))
        return
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    groups = read_groups(sys.argv[1])

    print("| case | tool | format | runs | median s | median peak MiB | Nikra ÷ tool, time | Nikra ÷ tool, memory |")
    print("|---|---|---|---:|---:|---:|---:|---:|")
    for (case, fmt), tools in groups.items():
        medians = {tool: (statistics.median(r["seconds"]), statistics.median(r["mib"]))
                   for tool, r in tools.items()}
        nikra = medians.get("nikra")
        for tool in sorted(medians, key=lambda t: (t != "nikra", t)):
            seconds, mib = medians[tool]
            if tool == "nikra" or nikra is None:
                time_ratio = memory_ratio = "—"
            else:
                time_ratio = f"{nikra[0] / seconds:.2f}" if seconds > 0 else "—"
                memory_ratio = f"{nikra[1] / mib:.2f}" if mib > 0 else "—"
            runs = len(tools[tool]["seconds"])
            print(f"| {case} | {tool} | {fmt} | {runs} | {seconds:.3f} | {mib:.1f} | {time_ratio} | {memory_ratio} |")


if __name__ == "__main__":
    main()
