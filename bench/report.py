#!/usr/bin/env python3
"""Turns the benchmark's timings into the table of bench/RESULTS.md."""
import datetime
import json
import os
import platform
import statistics
import subprocess
import sys


def medians(path):
    with open(path) as f:
        res = json.load(f)["results"]
    return {r["command"]: r for r in res}


def cpu():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor()


def main():
    bdir, pkg, big, command = sys.argv[1:5]
    pkg_mib = os.path.getsize(pkg) / 2**20
    big_mib = os.path.getsize(big) / 2**20
    out = []
    out.append("# Benchmark results\n")
    out.append("Machine: %s, %d cores, %s; Wine %s. Date: %s. Command: `%s`.\n" % (
        cpu(), os.cpu_count(), platform.platform(),
        subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip(),
        datetime.date.today().isoformat(), command))
    out.append("Medians of hyperfine runs (one warm-up each); ratios are against the peer in the same run.\n")

    ex = medians(os.path.join(bdir, "extract.json"))
    base = ex["unzip_package"]["median"]
    out.append("## Extraction of the reference package (%.0f MiB compressed)\n" % pkg_mib)
    out.append("| extractor | median s | min s | max s | package MB/s | time vs ours |")
    out.append("|---|---|---|---|---|---|")
    for name, label in (("unzip_package", "UnzipPackage (Wine)"), ("miniunz", "minizip miniunz (Wine)"),
                        ("info_zip", "Info-ZIP unzip (native)")):
        r = ex[name]
        out.append("| %s | %.2f | %.2f | %.2f | %.0f | %.2f× |" % (
            label, r["median"], r["min"], r["max"], pkg_mib * 1.048576 / r["median"], r["median"] / base))
    out.append("")
    out.append("miniunz / ours: **%.1f×**; ours / Info-ZIP: **%.2f×** (targets: ≥ 4× and ≤ 2.0×).\n" % (
        ex["miniunz"]["median"] / base, base / ex["info_zip"]["median"]))

    dl = medians(os.path.join(bdir, "download.json"))
    out.append("## Download of %.0f MiB from loopback\n" % big_mib)
    out.append("| client | median s | MB/s |")
    out.append("|---|---|---|")
    for name, label in (("http_get_to_file", "HttpGetToFile (Wine, to file)"), ("curl", "curl (native, to file)"),
                        ("server_rate", "curl -o /dev/null (server's rate)")):
        r = dl[name]
        out.append("| %s | %.2f | %.0f |" % (label, r["median"], big_mib * 1.048576 / r["median"]))
    out.append("")
    out.append("Throughput ours / curl: **%.2f×** (target ≥ 0.8×).\n" % (
        dl["curl"]["median"] / dl["http_get_to_file"]["median"]))

    out.append("## Peak working set of vandle_launch.exe during a whole update\n")
    peaks = []
    with open(os.path.join(bdir, "memory.txt")) as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2 and parts[0] == "peak_working_set_bytes":
                peaks.append(int(parts[1]))
    if peaks:
        out.append("Median of %d runs: **%.1f MiB** (min %.1f, max %.1f; target < 40 MiB).\n" % (
            len(peaks), statistics.median(peaks) / 2**20, min(peaks) / 2**20, max(peaks) / 2**20))
    else:
        out.append("Not measured (the launcher's update did not run).\n")
    print("\n".join(out))


if __name__ == "__main__":
    main()
