#!/usr/bin/env python3
"""Runs the command-line host under the conditions that used to lose or cut results, and
checks that none does.

Usage: tools/robustness_campaign.py HOST [--work DIR] [--limits N] [--pipes N] [--signals N]

HOST is the command-line host (build/release/torva). Three parts, each on its own runs in
fresh folders below DIR (a temporary folder by default):

  limits   the examples named in EXAMPLES, under file-size limits (`ulimit -f`) from 1 KiB up
           to the largest file of the example, N limits spaced evenly on a log scale plus the
           size of each file and one byte below it, in a folder that holds an earlier run's
           files. Each run must end as an undisturbed run does with every file equal to that
           run's, or with 42 naming a file that reached the limit and every file that the
           limit cut (it holds the limit's bytes and the undisturbed run's is larger); never
           by a signal.
  pipes    a 400-row group and all_options_us, N runs each whose standard output and error
           go to a pipe that its reader closes at a random instant of the run. Each must end
           with the exit code of an undisturbed run and the same files.
  signals  N runs of a 100-row group, each sent SIGTERM at a random instant within its first
           30 ms. Each must end 4 (stopped on request): with nothing written when the stop
           came before the run started, otherwise with a run log that says the run was
           stopped; or 0 when the analysis had completed before the stop came. A signal that
           comes while the system still loads the program (before its first instruction)
           ends it by its default action: such runs are counted apart, with the instants
           they were sent.

Prints a line per part with its counts and every run that broke its rule; the exit status
is 1 when any did. Not a test of the build: it takes some minutes of one core.
"""
import argparse
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXAMPLES = ["all_options_us.dat", "group2x2_plate_us.dat", "group3x2_clay_sand_si.dat"]
VARIABLE = re.compile(r"Time:|Execution Time|Serial processing|Paral\. processing|"
                      r"Print\. processing|Number Processors|proc\.\)")


def masked(path):
    """A file's lines without those that hold the time of day or the run's timing."""
    with open(path, "rb") as f:
        return [l for l in f.read().split(b"\n") if not VARIABLE.search(l.decode("latin-1"))]


def prepare(folder, dat, text=None):
    """A fresh folder holding the input (and its plate model file, when there is one)."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    if text is None:
        shutil.copy(dat, os.path.join(folder, "job.dat"))
        fem = os.path.splitext(dat)[0] + ".fem"
        if os.path.exists(fem):
            shutil.copy(fem, os.path.join(folder, "job.fem"))
    else:
        with open(os.path.join(folder, "job.dat"), "w") as f:
            f.write(text)


def files_of(folder):
    skip = {"job.dat", "job.fem", "Names.dat", "job.prg", "job.stp", "job.mph"}
    return sorted(n for n in os.listdir(folder) if n not in skip)


def run(host, folder, limit=None, stdout=subprocess.PIPE):
    """The host run in `folder` with a file-size limit, as a shell starts it."""
    def child():
        for sig in (signal.SIGPIPE, signal.SIGXFSZ, signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(sig, signal.SIG_DFL)
        if limit is not None:
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, resource.RLIM_INFINITY))
    return subprocess.Popen([host, "job.dat"], cwd=folder, stdout=stdout,
                            stderr=subprocess.STDOUT, preexec_fn=child)


def reference(host, work, name, dat, text=None):
    folder = os.path.join(work, name + ".ref")
    prepare(folder, dat, text)
    p = run(host, folder)
    out = p.communicate()[0].decode()
    return folder, p.returncode, out


def limits_part(host, work, count):
    broken, runs, codes = [], 0, {}
    for ex in EXAMPLES:
        dat = os.path.join(ROOT, "examples", ex)
        ref, code0, _ = reference(host, work, ex, dat)
        sizes = {n: os.path.getsize(os.path.join(ref, n)) for n in files_of(ref)}
        largest = max(sizes.values())
        limits = {int(round(1024 * (largest / 1024) ** (k / (count - 1)))) for k in range(count)}
        for s in sizes.values():
            limits.update({s, s - 1} if s > 1024 else set())
        limits.add(largest + 1)
        for limit in sorted(limits):
            folder = os.path.join(work, ex + ".limit")
            prepare(folder, dat)
            for n in sizes:  # an earlier run's files
                with open(os.path.join(folder, n), "w") as f:
                    f.write("earlier run\n")
            p = run(host, folder, limit)
            out = p.communicate()[0].decode()
            runs += 1
            codes[p.returncode] = codes.get(p.returncode, 0) + 1
            why = None
            differ = [n for n in files_of(folder)
                      if n not in sizes or masked(os.path.join(folder, n)) != masked(os.path.join(ref, n))]
            if p.returncode == code0:
                if differ:
                    why = "ended %d with files unlike the undisturbed run's: %s" % (code0, differ)
            elif p.returncode == 42:
                named = re.findall(r"CANNOT BE WRITTEN: (\S+): FILE TOO LARGE", out)
                for group in re.findall(r"NOT WRITTEN IN FULL \(FILE TOO LARGE\): (.*)", out):
                    named += [os.path.join(folder, n) for n in group.split(", ")]
                if not named:
                    why = "ended 42 without naming a file too large"
                elif not any(os.path.getsize(n) == limit for n in named if os.path.exists(n)):
                    why = "named no file that reached the limit: %s" % named
                else:
                    # A file the limit cut: it holds the limit's bytes and would have grown.
                    silent = [n for n in differ if os.path.join(folder, n) not in named
                              and os.path.getsize(os.path.join(folder, n)) >= limit
                              and sizes.get(n, 0) > limit]
                    if silent:
                        why = "files cut without a word: %s" % silent
            else:
                why = "ended %d" % p.returncode
            if why:
                broken.append("%s, limit %d: %s\n%s" % (ex, limit, why, out[-600:]))
    print("limits: %d runs on %d examples, exit codes %s, %d broken" %
          (runs, len(EXAMPLES), dict(sorted(codes.items())), len(broken)))
    return broken


def group(rows):
    """The 2 x 2 sand group spread to a square of rows x rows under a load beyond its
    capacity: a run of some seconds."""
    with open(os.path.join(ROOT, "examples", "group2x2_sand_us.dat")) as f:
        s = f.read()
    head, rest = s.split("PILE GROUP ROWS\n", 1)
    rest = rest[rest.index("PILE PROPERTIES\n"):]
    g = "PILE GROUP ROWS\n%d\n" % (rows * rows)
    for i in range(rows):
        for j in range(rows):
            g += "2 2 1 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 %g %g 0.0 90.0 0.0 0.0\n" % (
                (i - (rows - 1) / 2) * 4.5, (j - (rows - 1) / 2) * 4.5)
    return (head + g + rest).replace("\n400000.0 40000.0 0.0", "\n1.0E7 1.0E9 0.0", 1)


def pipes_part(host, work, count):
    broken, runs = [], 0
    cases = [("group400", None, group(20)),
             ("all_options_us", os.path.join(ROOT, "examples", "all_options_us.dat"), None)]
    for name, dat, text in cases:
        t0 = time.monotonic()
        ref, code0, _ = reference(host, work, name, dat, text)
        length = time.monotonic() - t0
        reports = files_of(ref)
        for k in range(count):
            folder = os.path.join(work, name + ".pipe")
            prepare(folder, dat, text)
            r, w = os.pipe()
            p = run(host, folder, stdout=w)
            os.close(w)
            time.sleep(random.uniform(0.0, length))
            os.close(r)  # the reader goes away
            code = p.wait()
            runs += 1
            differ = [n for n in reports
                      if masked(os.path.join(folder, n)) != masked(os.path.join(ref, n))]
            if code != code0 or differ:
                broken.append("%s: exit %d (undisturbed %d), files unlike: %s" % (name, code, code0, differ))
    print("pipes: %d runs, reader closed at random instants, %d broken" % (runs, len(broken)))
    return broken


def signals_part(host, work, count):
    broken, before, during, completed, loading = [], 0, 0, 0, []
    text = group(10)  # a run of about a second
    for k in range(count):
        folder = os.path.join(work, "signal")
        prepare(folder, None, text)
        with open(os.path.join(folder, "job.out"), "w") as f:
            f.write("earlier run\n")
        p = run(host, folder)
        delay = random.uniform(0.0, 0.03)
        t0 = time.monotonic()
        while time.monotonic() - t0 < delay:
            pass
        p.send_signal(signal.SIGTERM)
        out = p.communicate()[0].decode()
        if p.returncode == -signal.SIGTERM and not out:
            # Ended by the signal's default action before the host's first instruction ran,
            # while the system loaded it: nothing of the host can take a signal then.
            loading.append(delay)
        elif p.returncode == 0 and "status 0: analysis completed" in out:
            completed += 1  # the stop came after the analysis had ended
        elif p.returncode != 4:
            broken.append("exit %d after %.1f ms: %s" % (p.returncode, 1000 * delay, out[-300:]))
        elif "before the run started" in out:
            before += 1
            with open(os.path.join(folder, "job.out")) as f:
                if f.read() != "earlier run\n":
                    broken.append("stopped before the run started, but job.out was changed")
        else:
            during += 1
            with open(os.path.join(folder, "job.log")) as f:
                if "ANALYSIS STOPPED BY USER" not in f.read():
                    broken.append("exit 4 without the stop in the run log")
    print("signals: %d runs sent SIGTERM at random within 30 ms of the start: %d stopped before "
          "the run started, %d during it, %d after it had completed, %d while the system loaded "
          "the host%s, %d broken" %
          (count, before, during, completed, len(loading),
           " (sent %.1f to %.1f ms after the start)" % (1000 * min(loading), 1000 * max(loading))
           if loading else "", len(broken)))
    return broken


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("host")
    ap.add_argument("--work")
    ap.add_argument("--limits", type=int, default=40)
    ap.add_argument("--pipes", type=int, default=20)
    ap.add_argument("--signals", type=int, default=50)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    random.seed(a.seed)
    host = os.path.abspath(a.host)
    work = a.work or tempfile.mkdtemp(prefix="torva_campaign_")
    broken = limits_part(host, work, a.limits) + pipes_part(host, work, a.pipes) + \
        signals_part(host, work, a.signals)
    for b in broken:
        print("BROKEN: " + b)
    if not a.work:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
