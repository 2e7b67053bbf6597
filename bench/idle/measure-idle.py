#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""What Kestrix costs while nothing happens, measured from outside the programs.

  measure-idle.py BIN_DIR [--seconds 10] [--settle 4] [--runs 3] [--skip-frame]

BIN_DIR holds kestrix and kestrixctl. Every run gets its own XDG folders; update checks go to
a proxy nobody listens on. Figures (medians over the runs):

- wake-ups per second of the whole window program and of its busiest thread (the device
  worker), counted from the voluntary and involuntary context switches of
  /proc/PID/task/*/status over the window (offscreen, --simulate, a cabled mouse attached),
  and the CPU share from utime+stime over the same window;
- how many times the gsettings program was started (a stand-in first in PATH counts them)
  from start to the end of the window;
- start to first frame: from launch until the window is mapped on Xvfb (xdotool --sync);
- `kestrixctl devices` with the receiver-off scenario (a receiver whose mouse is off).
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def thread_switches(pid):
    """{tid: (name, switches)} of every thread of pid."""
    result = {}
    task_dir = f"/proc/{pid}/task"
    for tid in os.listdir(task_dir):
        try:
            with open(f"{task_dir}/{tid}/comm") as f:
                name = f.read().strip()
            switches = 0
            with open(f"{task_dir}/{tid}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
            result[tid] = (name, switches)
        except FileNotFoundError:
            pass  # the thread ended meanwhile
    return result


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime, stime


def environment(work):
    env = dict(os.environ)
    for key in ("no_proxy", "NO_PROXY"):
        env.pop(key, None)
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env.update(
        all_proxy="http://127.0.0.1:9", ALL_PROXY="http://127.0.0.1:9",
        XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_DATA_HOME=os.path.join(work, "data"),
        XDG_RUNTIME_DIR=runtime)
    # A gsettings stand-in that notes each start and then runs the real program.
    real = shutil.which("gsettings")
    shim_dir = os.path.join(work, "shim")
    os.makedirs(shim_dir, exist_ok=True)
    counter = os.path.join(work, "gsettings-starts")
    with open(os.path.join(shim_dir, "gsettings"), "w") as f:
        f.write("#!/bin/sh\necho \"$*\" >> '%s'\n" % counter)
        f.write("exec '%s' \"$@\"\n" % real if real else "exit 1\n")
    os.chmod(os.path.join(shim_dir, "gsettings"), 0o755)
    env["PATH"] = shim_dir + os.pathsep + env.get("PATH", "")
    return env, counter


def count_lines(path):
    try:
        with open(path) as f:
            return sum(1 for _ in f)
    except FileNotFoundError:
        return 0


def idle_run(bin_dir, seconds, settle):
    with tempfile.TemporaryDirectory() as work:
        env, counter = environment(work)
        env["QT_QPA_PLATFORM"] = "offscreen"
        log = os.path.join(work, "kestrix.log")
        app = subprocess.Popen([os.path.join(bin_dir, "kestrix"), "--simulate", "--log", log],
                               env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            # Idle means after the start-up read: wait for it, then let things settle.
            deadline = time.monotonic() + 30
            while time.monotonic() < deadline:
                if os.path.exists(log) and "device read shown" in open(log, errors="replace").read():
                    break
                time.sleep(0.1)
            time.sleep(settle)
            before, cpu_before = thread_switches(app.pid), cpu_seconds(app.pid)
            start = time.monotonic()
            time.sleep(seconds)
            after, cpu_after = thread_switches(app.pid), cpu_seconds(app.pid)
            elapsed = time.monotonic() - start
        finally:
            app.terminate()
            app.wait(10)
        per_thread = []
        for tid, (name, switches) in after.items():
            base = before.get(tid, (name, 0))[1]
            per_thread.append(((switches - base) / elapsed, name, tid))
        per_thread.sort(reverse=True)
        total = sum(rate for rate, _, _ in per_thread)
        return {
            "total": total,
            "busiest": per_thread[0] if per_thread else (0.0, "-", "-"),
            "threads": per_thread,
            "cpu": 100.0 * (cpu_after - cpu_before) / elapsed,
            "gsettings": count_lines(counter),
        }


def first_frame_run(bin_dir):
    if not shutil.which("Xvfb") or not shutil.which("xdotool"):
        return None
    with tempfile.TemporaryDirectory() as work:
        env, _ = environment(work)
        display_file = os.path.join(work, "display")
        with open(display_file, "w+") as display_fd:
            xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(display_fd.fileno()), "-screen", "0",
                                     "1366x768x24", "-nolisten", "tcp"],
                                    pass_fds=(display_fd.fileno(),), stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
            try:
                for _ in range(200):
                    if os.path.getsize(display_file) > 0:
                        break
                    time.sleep(0.02)
                time.sleep(0.1)
                with open(display_file) as f:
                    env["DISPLAY"] = ":" + f.readline().strip()
                env["QT_QPA_PLATFORM"] = "xcb"
                started = time.monotonic()
                app = subprocess.Popen([os.path.join(bin_dir, "kestrix"), "--simulate"], env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                try:
                    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                    "^Kestrix$"], env=env, stdout=subprocess.DEVNULL, timeout=30)
                    return time.monotonic() - started
                finally:
                    app.terminate()
                    app.wait(10)
            finally:
                xvfb.terminate()
                xvfb.wait(10)


def devices_run(bin_dir):
    with tempfile.TemporaryDirectory() as work:
        env, _ = environment(work)
        started = time.monotonic()
        subprocess.run([os.path.join(bin_dir, "kestrixctl"), "--simulate=receiver-off", "devices"],
                       env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        return time.monotonic() - started


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bin_dir")
    parser.add_argument("--seconds", type=float, default=10)
    parser.add_argument("--settle", type=float, default=4)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--skip-frame", action="store_true")
    parser.add_argument("--threads", action="store_true", help="print every thread's rate")
    args = parser.parse_args()

    idle = [idle_run(args.bin_dir, args.seconds, args.settle) for _ in range(args.runs)]
    med = statistics.median
    print("idle wake-ups/s, whole program: %.1f " % med(r['total'] for r in idle) +
          f"(runs: {', '.join('%.1f' % r['total'] for r in idle)})")
    print(f"idle wake-ups/s, busiest thread: {med(r['busiest'][0] for r in idle):.1f} "
          f"({', '.join(r['busiest'][1] for r in idle)})")
    print("idle CPU %%: %.3f" % med(r['cpu'] for r in idle))
    print("gsettings starts (start + %.0f s): %.0f"
          % (args.settle + args.seconds, med(r['gsettings'] for r in idle)))
    if args.threads:
        for rate, name, tid in idle[-1]["threads"]:
            print(f"  {rate:8.2f}/s  {name} ({tid})")
    if not args.skip_frame:
        frames = [f for f in (first_frame_run(args.bin_dir) for _ in range(args.runs)) if f]
        if frames:
            print(f"start to first frame (Xvfb, mapped) ms: {1000 * med(frames):.0f} "
                  f"(runs: {', '.join('%.0f' % (1000 * f) for f in frames)})")
        else:
            print("start to first frame: skipped (no Xvfb or xdotool)")
    devices = [devices_run(args.bin_dir) for _ in range(args.runs)]
    print(f"kestrixctl devices, receiver off, s: {med(devices):.2f} "
          f"(runs: {', '.join('%.2f' % d for d in devices)})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
