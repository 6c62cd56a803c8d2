#!/usr/bin/env python3
"""Runs the benchmarks that bench/headline.txt names and prints one table of
their headline figures: a column for Linux and one for Windows (under Wine).

    bench-table.py [--logs] PLATFORM... (linux, windows)

With --logs nothing runs: the table is made again from the kept logs.

Each distinct command runs once; its output (Google Benchmark's console
form, the cross build's stand-in, or a self-timing driver: a name, then a
time and its unit, then name=value counters) is kept under build/bench-logs/.
A figure whose benchmark did not run or printed no such value shows n/a."""
import os
import re
import shlex
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILDS = {"linux": "build/release", "windows": "build/windows-release"}
TITLES = {"linux": "Linux", "windows": "Windows (Wine)"}
SUFFIX = {"k": 1e3, "M": 1e6, "G": 1e9, "m": 1e-3, "u": 1e-6, "n": 1e-9}
# 12.3, 1.5k, 6.29M/s, 158.8ns (an inverted rate), 3.2e-07
NUMBER = re.compile(r"^(-?[0-9.]+(?:e[-+]?[0-9]+)?)([kMGmun]?)(?:/s|s)?$")


def read_rows(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            fields = [p.strip() for p in line.split(" | ")]
            if len(fields) != 5:
                sys.exit(f"bench/headline.txt: not five fields: {line}")
            rows.append(dict(zip(("figure", "platform", "command", "benchmark", "value"), fields)))
    return rows


def number(text):
    match = NUMBER.match(text)
    if not match:
        return None
    return float(match.group(1)) * SUFFIX.get(match.group(2), 1)


def parse(output):
    """name -> {"time": "12.3 ms", counter: float}"""
    results = {}
    for line in output.splitlines():
        tokens = line.split()
        if len(tokens) < 3 or number(tokens[1]) is None:
            continue
        values = {"time": (number(tokens[1]), tokens[2])}
        for token in tokens[3:]:
            if "=" in token:
                key, _, text = token.partition("=")
                value = number(text)
                if value is not None:
                    values[key] = value
        results.setdefault(tokens[0], values)
    return results


def shown(value):
    if isinstance(value, tuple):
        return f"{shown(value[0])} {value[1]}"
    if value >= 100:
        return f"{value:,.0f}"
    return f"{value:.3g}"


def expand(command, platform, env):
    return command.replace("$BUILD", BUILDS[platform]).replace("$WINE", env["ZELVO_WINE"])


def kept(log):
    """command -> output, from a log that run() wrote."""
    outputs, command = {}, None
    if os.path.exists(log):
        with open(log, encoding="utf-8") as f:
            for line in f:
                if line.startswith("$ "):
                    command = line[2:].rstrip("\n")
                    outputs[command] = ""
                elif command is not None:
                    outputs[command] += line
    return outputs


def run(command, platform, env, log):
    expanded = expand(command, platform, env)
    print(f"== {platform}: {expanded}", file=sys.stderr, flush=True)
    # Leading NAME=value words set the environment, as in a shell.
    words = shlex.split(expanded)
    extra = {}
    while words and re.match(r"^[A-Z_]+=", words[0]):
        key, _, value = words.pop(0).partition("=")
        extra[key] = value
    if not os.path.exists(os.path.join(ROOT, words[0])) and "/" in words[0]:
        print(f"   not built: {words[0]}", file=sys.stderr)
        return {}
    result = subprocess.run(words, cwd=ROOT, env={**env, **extra}, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True, errors="replace")
    with open(log, "a", encoding="utf-8") as f:
        f.write(f"$ {expanded}\n{result.stdout}\n")
    if result.returncode != 0:
        print(f"   exit code {result.returncode} (see {log})", file=sys.stderr)
    return parse(result.stdout)


def main(platforms, from_logs):
    rows = read_rows(os.path.join(ROOT, "bench", "headline.txt"))
    logs = os.path.join(ROOT, "build", "bench-logs")
    os.makedirs(logs, exist_ok=True)
    env = dict(os.environ)
    env.setdefault("ZELVO_WINE", "/usr/lib/wine/wine64")
    outputs = {}
    for row in rows:
        key = (row["platform"], row["command"])
        if row["platform"] in platforms and key not in outputs:
            log = os.path.join(logs, f"{row['platform']}.log")
            if from_logs:
                text = kept(log).get(expand(row["command"], row["platform"], env), "")
                outputs[key] = parse(text)
            else:
                outputs[key] = run(row["command"], row["platform"], env, log)

    figures = {}
    for row in rows:
        cells = figures.setdefault(row["figure"], {})
        if row["platform"] not in platforms:
            continue
        results = outputs[(row["platform"], row["command"])]
        key, _, factor = row["value"].partition("*")
        value = next((v.get(key) for name, v in results.items()
                      if name.startswith(row["benchmark"])), None)
        if value is not None and factor:
            value *= float(factor)
        cells[row["platform"]] = "n/a" if value is None else shown(value)

    columns = ["linux", "windows"]
    header = ["figure"] + [TITLES[c] for c in columns]
    table = [header] + [[f] + [cells.get(c, "n/a" if c in platforms else "-") for c in columns]
                        for f, cells in figures.items()]
    # East Asian characters take two columns of a terminal.
    def width(text):
        return sum(2 if ord(ch) > 0x2E80 else 1 for ch in text)
    widths = [max(width(r[i]) for r in table) for i in range(len(header))]
    for n, r in enumerate(table):
        print("  ".join(r[i] + " " * (widths[i] - width(r[i])) if i == 0
                        else " " * (widths[i] - width(r[i])) + r[i] for i in range(len(r))))
        if n == 0:
            print("  ".join("-" * w for w in widths))


if __name__ == "__main__":
    arguments = sys.argv[1:]
    from_logs = "--logs" in arguments
    platforms = [a for a in arguments if a != "--logs"]
    main(platforms or ["linux"], from_logs)
