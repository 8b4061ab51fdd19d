#!/usr/bin/env python3
"""Runs the benchmarks of tools/bench and prints one table, each row beside its budget.

Usage: run_bench.py BUILD_DIR   (inside one X server at least 1280 by 1460 pixels, where the
                                 real frame's window and the floor's lie one above the other)
       run_bench.py BUILD_DIR --frames-json LIVE...
                                the frame rounds alone for these city sizes, as JSON: for
                                each size the paired samples [ours_ms, ours_cpu_ms, floor_ms,
                                floor_cpu_ms], and the GL renderer (for web/run_web_bench.js)

For each city size the real frame and its floor run at once and take turns, two frames at a
time, the first of each turn changing from turn to turn; the time between a program's two
swaps is one sample, so that a change in the machine's load reaches both alike. A ratio is
the median of the paired samples' ratios. The same ratio of CPU time (all threads, the
renderer's too) tells a frame that does more work from one that waited for a CPU that
other processes kept busy. The two start one after the other, in alternating order from
round to round, and trade windows every round too (in trials the lower window drew a few
per cent slower); their start-up times pair up the same way.
"""
import json
import os
import statistics
import subprocess
import sys
import time
from pathlib import Path

DATA = Path(__file__).resolve().parents[2] / "data"

ROUNDS = 4
TURNS_PER_ROUND = {40000: 5, 10000: 10, 1000: 16}  # each turn: two frames from each program
LOWER_WINDOW_Y = 740  # below the other window's 720 rows
LOCK_SECONDS = 8.5  # start-up, then four passes of the worker, one every two seconds

GENERATION_BUDGET_MS = 1.0
FRAME_BUDGET_RATIO = 1.05
STARTUP_BUDGET_S = 0.15


class Program:
    """A benchmark program running from the data directory, reporting "name value" lines."""

    def __init__(self, path, *args, window_y=0):
        self.name = f"{path.name} {' '.join(map(str, args))}"
        env = dict(os.environ, BENCH_WINDOW_Y=str(window_y),
                   BENCH_LAUNCH_NS=str(time.monotonic_ns()))
        self.process = subprocess.Popen([str(path), *map(str, args)], cwd=DATA, env=env,
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True)
        self.report = {}

    def read_until(self, last):
        """Reads report lines up to the line `last`; repeated names collect into lists."""
        values = {}
        for line in self.process.stdout:
            line = line.rstrip("\n")
            if line == last:
                return values
            name, _, value = line.partition(" ")
            values.setdefault(name, []).append(value)
            self.report[name] = value
        self.fail()

    def start(self):
        self.read_until("ready")
        return self

    def two_frames(self):
        """Milliseconds between the two swaps, on the clock and of the process's CPU time."""
        self.process.stdin.write("2\n")
        self.process.stdin.flush()
        frame = self.read_until("done")
        return float(frame["interval_ms"][0]), float(frame["cpu_ms"][0])

    def finish(self):
        if self.process.stdin:
            self.process.stdin.close()
        for line in self.process.stdout:
            name, _, value = line.rstrip("\n").partition(" ")
            self.report[name] = value
        if self.process.wait() != 0:
            self.fail()
        return self.report

    def fail(self):
        sys.exit(f"{self.name} failed with status {self.process.wait()}")


def generation_passes(bench_dir):
    """Median wall and CPU milliseconds per pass, and the live share, by density."""
    done = subprocess.run(
        [str(bench_dir / "generation_bench"), "--benchmark_format=json",
         "--benchmark_repetitions=9", "--benchmark_report_aggregates_only=true",
         "--benchmark_min_time=0.2"],
        capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"generation_bench failed:\n{done.stderr}")
    passes = {}
    for row in json.loads(done.stdout)["benchmarks"]:
        if row.get("aggregate_name") == "median":
            density = int(row["run_name"].split("/")[1])
            passes[density] = (row["real_time"], row["cpu_time"], row["live_percent"])
    return passes


def frame_rounds(bench_dir, turns_per_round=None):
    """Paired samples by city size, and paired start-up reports."""
    turns_per_round = turns_per_round or TURNS_PER_ROUND
    samples = {live: [] for live in turns_per_round}
    startups = []
    for round_number in range(ROUNDS):
        for live, turns in turns_per_round.items():
            # Which one starts first and which window lies on top both change every round.
            ours_y, floor_y = (0, LOWER_WINDOW_Y) if round_number % 2 == 0 else (LOWER_WINDOW_Y, 0)
            launches = [lambda: Program(bench_dir / "frame_bench", live, window_y=ours_y).start(),
                        lambda: Program(bench_dir / "floor_frame", live, window_y=floor_y).start()]
            if round_number % 2 == 1:
                launches.reverse()
            first, second = (launch() for launch in launches)
            ours, floor = (first, second) if round_number % 2 == 0 else (second, first)
            for turn in range(turns):
                if turn % 2 == 0:
                    ours_frames = ours.two_frames()
                    samples[live].append((ours_frames, floor.two_frames()))
                else:
                    floor_frames = floor.two_frames()
                    samples[live].append((ours.two_frames(), floor_frames))
            startups.append((ours.finish(), floor.finish()))
    return samples, startups


def middle_half(values, places):
    """The interquartile range, the spread of the paired figures."""
    low, _, high = statistics.quantiles(values, n=4)
    return f"{low:.{places}f} to {high:.{places}f}"


def cpu_model():
    for line in Path("/proc/cpuinfo").read_text().splitlines():
        if line.startswith("model name"):
            return f"{line.split(':', 1)[1].strip()}, {os.cpu_count()} cores"
    return f"{os.cpu_count()} cores"


def spaced(number):
    return f"{number:,}".replace(",", " ")


class Table:
    def __init__(self):
        self.rows = []
        self.misses = []

    def add(self, measure, ours, floor="", compared="", budget="none set", holds=None,
            reason=""):
        verdict = "—" if holds is None else ("yes" if holds else "**no**")
        self.rows.append((measure, ours, floor, compared, budget, verdict))
        if holds is False:
            self.misses.append(f"- {measure}: {compared or ours}; {reason}")

    def print(self):
        print("| Measure | Ours | Floor | Ours against floor | Budget | Holds |")
        print("|---|--:|--:|--:|---|---|")
        for row in self.rows:
            print("| " + " | ".join(row) + " |")
        if self.misses:
            print("\nMissed:")
            print("\n".join(self.misses))


def add_generation_rows(table, passes):
    for density, (wall_ms, cpu_ms, live_percent) in sorted(passes.items(), reverse=True):
        budgeted = density == 50
        table.add(f"Generation pass, {live_percent:.1f} % live (median)", f"{wall_ms:.3f} ms",
                  budget=f"≤ {GENERATION_BUDGET_MS:g} ms" if budgeted else "none set",
                  holds=wall_ms <= GENERATION_BUDGET_MS if budgeted else None,
                  reason=f"{cpu_ms:.3f} ms of it on the CPU" +
                  (", the rest waiting for a busy CPU" if cpu_ms <= GENERATION_BUDGET_MS
                   else ""))


def add_frame_rows(table, samples):
    for live, pairs in samples.items():
        ratio = statistics.median(ours[0] / floor[0] for ours, floor in pairs)
        cpu_ratio = statistics.median(ours[1] / floor[1] for ours, floor in pairs)
        spread = middle_half([ours[0] / floor[0] for ours, floor in pairs], 3)
        table.add(f"Frame, {spaced(live)} buildings (median ms between swaps, "
                  f"{len(pairs)} pairs)",
                  f"{statistics.median(ours[0] for ours, _ in pairs):.1f} ms",
                  f"{statistics.median(floor[0] for _, floor in pairs):.1f} ms",
                  f"× {ratio:.3f} (middle half {spread}; CPU time × {cpu_ratio:.3f})",
                  f"≤ × {FRAME_BUDGET_RATIO:g}", ratio <= FRAME_BUDGET_RATIO,
                  "the CPU time is within budget, so the frame waited for a CPU that other "
                  "processes kept busy" if cpu_ratio <= FRAME_BUDGET_RATIO else
                  "the frame spends more CPU time than the floor around the same GL calls")


def add_startup_rows(table, startups):
    def median(reports, *names):
        return statistics.median(sum(float(r[name]) for name in names) for r in reports)

    extra = [float(ours["first_swap_s"]) - float(floor["first_swap_s"])
             for ours, floor in startups]
    ours = [ours for ours, _ in startups]
    floor = [floor for _, floor in startups]
    table.add(f"Start-up: launch to first swap ({len(startups)} pairs)",
              f"{median(ours, 'first_swap_s'):.3f} s", f"{median(floor, 'first_swap_s'):.3f} s",
              f"{statistics.median(extra):+.3f} s (middle half {middle_half(extra, 3)})",
              f"≤ +{STARTUP_BUDGET_S:g} s", statistics.median(extra) <= STARTUP_BUDGET_S,
              "see the set-up row below")
    table.add("of which scene loading + GL set-up (floor: its set-up)",
              f"{median(ours, 'scene_load_s', 'gl_setup_s'):.3f} s",
              f"{median(floor, 'setup_s'):.3f} s")


def add_lock_rows(table, lock):
    table.add(f"Longest lock hold by a frame ({int(float(lock['lock_frames']))} frames, "
              "seeded city)", f"{float(lock['lock_frame_ms']):.1f} ms")
    table.add(f"Longest lock hold by a generation pass ({int(float(lock['lock_passes']))} "
              "passes)", f"{float(lock['lock_pass_ms']):.3f} ms")


def frames_json(bench_dir, sizes):
    samples, startups = frame_rounds(bench_dir, {live: TURNS_PER_ROUND[live] for live in sizes})
    print(json.dumps({"renderer": startups[0][0]["renderer"], "rounds": ROUNDS,
                      "samples": {live: [[*ours, *floor] for ours, floor in pairs]
                                  for live, pairs in samples.items()}}))


def main():
    if len(sys.argv) < 2 or (len(sys.argv) > 2 and sys.argv[2] != "--frames-json"):
        sys.exit(__doc__)
    bench_dir = Path(sys.argv[1]).resolve() / "tools" / "bench"
    if len(sys.argv) > 2:
        frames_json(bench_dir, [int(live) for live in sys.argv[3:]])
        return
    load_before = os.getloadavg()[0]
    passes = generation_passes(bench_dir)
    samples, startups = frame_rounds(bench_dir)
    lock = Program(bench_dir / "frame_bench", "--lock", LOCK_SECONDS).finish()
    load_after = os.getloadavg()[0]

    table = Table()
    add_generation_rows(table, passes)
    add_frame_rows(table, samples)
    add_startup_rows(table, startups)
    add_lock_rows(table, lock)
    print(f"CPU: {cpu_model()}. GL renderer: {startups[0][0]['renderer']}.")
    print(f"Load average (1 min): {load_before:.2f} before, {load_after:.2f} after. "
          f"{ROUNDS} rounds; the frame and its floor take turns in one X server.\n")
    table.print()


if __name__ == "__main__":
    main()
