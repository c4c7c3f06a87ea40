#!/usr/bin/env python3
"""Puts a benchmark run's results (bench/out/results.md) into bench/README.md, between the
lines "<!-- results -->" and "<!-- /results -->", which are added at the end the first
time. The results' own title becomes a section heading of the README.

Usage: update_readme.py README.md RESULTS.md
"""
import os
import sys

BEGIN = "<!-- results -->"
END = "<!-- /results -->"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    readme_path, results_path = sys.argv[1], sys.argv[2]
    with open(readme_path, encoding="utf-8") as f:
        readme = f.read()
    with open(results_path, encoding="utf-8") as f:
        results = f.read().strip("\n")
    results = results.replace("# Nikra benchmark", "## The last full run", 1)
    block = f"{BEGIN}\n{results}\n{END}"
    if BEGIN in readme and END in readme:
        before = readme[: readme.index(BEGIN)]
        after = readme[readme.index(END) + len(END):]
        readme = before + block + after
    else:
        readme = readme.rstrip("\n") + "\n\n" + block + "\n"
    temporary = readme_path + ".tmp"
    with open(temporary, "w", encoding="utf-8") as f:
        f.write(readme)
    os.replace(temporary, readme_path)


if __name__ == "__main__":
    main()
