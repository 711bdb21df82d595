"""Shared parts of the benchmark scripts: the build of the benchmark targets, a virtual X
display, the map watcher and simple statistics."""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = Path(os.environ.get("CORVANE_BENCH_BUILD", ROOT / "build-bench"))
PROGRAM = BUILD / "shell" / "corvane-conversion"
WATCH = BUILD / "bench" / "map_watch"

BENCH_TARGETS = ["corvane-conversion", "baseline_splash", "baseline_window", "map_watch",
                 "calculate_bench", "val_format_bench"]


def bench_binary(name):
    return BUILD / "bench" / name


def ensure_packages(*packages):
    """Installs what the build needs and the Debian packages named, where missing."""
    subprocess.run([str(ROOT / "scripts" / "install-deps"), *packages], check=True)


def build(targets=BENCH_TARGETS):
    """Configures the Release build of the benchmarks and builds `targets`."""
    ensure_packages("libx11-dev")
    subprocess.run(["cmake", "-S", str(ROOT), "-B", str(BUILD), "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DCORVANE_BUILD_TESTS=OFF",
                    "-DCORVANE_SANITIZE=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(BUILD), "--parallel", str(os.cpu_count() or 4),
                    "--target"] + list(targets), check=True, stdout=subprocess.DEVNULL)


class VirtualDisplay:
    """An Xvfb server on the first free display number from 90 on, for a `with` block; the
    environment of the block points DISPLAY at it."""

    def __enter__(self):
        number = 90
        while Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
            number += 1
        self.number = number
        self.runtime = tempfile.mkdtemp(prefix="corvane-bench-")
        os.chmod(self.runtime, 0o700)
        self.server = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            if Path(f"/tmp/.X11-unix/X{number}").exists():
                break
            if self.server.poll() is not None:
                raise RuntimeError("Xvfb did not start")
            time.sleep(0.05)
        self.saved = {k: os.environ.get(k) for k in ("DISPLAY", "WAYLAND_DISPLAY",
                                                       "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR")}
        os.environ["DISPLAY"] = f":{number}"
        os.environ["XDG_RUNTIME_DIR"] = self.runtime
        os.environ["QT_QPA_PLATFORM"] = "xcb"
        os.environ.pop("WAYLAND_DISPLAY", None)
        return self

    def __exit__(self, *exc):
        for key, value in self.saved.items():
            if value is None:
                os.environ.pop(key, None)
            else:
                os.environ[key] = value
        self.server.terminate()
        try:
            self.server.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.server.kill()
            self.server.wait()
        shutil.rmtree(self.runtime, ignore_errors=True)
        return False


def watch(command, size=None, hold_ms=None, hwm=False):
    """Runs `command` under the map watcher; returns its figures as a dict of floats."""
    args = [str(WATCH)]
    if size:
        args += ["--size", size]
    if hold_ms:
        args += ["--hold", str(hold_ms)]
    if hwm:
        args.append("--hwm")
    args += ["--"] + [str(c) for c in command]
    done = subprocess.run(args, capture_output=True, text=True, timeout=60)
    if done.returncode != 0:
        sys.stderr.write(done.stderr)
        raise RuntimeError(f"map_watch failed for {command[0]}")
    line = done.stdout.strip().splitlines()[-1]
    return {k: float(v) for k, v in (field.split("=") for field in line.split())}


def summary(values):
    return {"median": statistics.median(values), "min": min(values), "max": max(values)}


def machine():
    """nproc, the CPU model and the memory of this machine, as one line."""
    model = "unknown CPU"
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    memory = "?"
    try:
        for line in Path("/proc/meminfo").read_text().splitlines():
            if line.startswith("MemTotal:"):
                memory = f"{int(line.split()[1]) / 1024 / 1024:.1f} GiB"
                break
    except OSError:
        pass
    return f"{len(os.sched_getaffinity(0))} CPUs (nproc), {model}, {memory} RAM"


def load():
    """The load averages, as a reminder that other work on the machine moves the figures."""
    one, five, fifteen = os.getloadavg()
    return f"load average {one:.2f} {five:.2f} {fifteen:.2f}"
