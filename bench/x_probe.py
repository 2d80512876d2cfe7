#!/usr/bin/python3
"""Measures the game from outside, as the X server sees its windows, so that
any build can be measured alike: the Linux program and the Windows one under
Wine, whose windows are X11 windows too. Prints FIGURE and NOTE lines as
bench/stats.h does.

  x_probe.py rally WINDOW SECONDS TARGET_US PID [SERVER_PID]
      A rally is running in the court window WINDOW: times its turns for
      SECONDS, or until it ends, and takes the CPU time of the game PID and
      of the Wine server SERVER_PID over them; prints them raw.
  x_probe.py summary KEY TARGET_US < RAW
      The figures of one or more rallies' raw lines.
  x_probe.py startup KEY RUNS COURT_TITLE HELLO_TITLE COMMAND...
      Starts COMMAND RUNS times and times each start to both windows painted.

How a turn is seen. Every turn moves the ball by at least a point, which the
court repaints within the turn; the X server reports what a client draws into
a window as damage (the DAMAGE extension). The drawing of one repaint comes as
a burst of reports; a burst begins a turn, and the turn period is the time
from one burst's beginning to the next one's. That includes when each repaint
happens within its turn, so it is a coarser figure than the in-process one of
rally_bench, and the same for both builds.
"""
import os
import select
import signal
import subprocess
import sys
import time

from Xlib import X, display
from Xlib.ext import damage

# Reports closer than this share of a turn to the one before belong to the
# same repaint (one repaint's reports come a few 0.1 ms apart, now and then
# 2 ms when the machine is busy).
BURST_GAP_SHARE = 0.3
# A pause this many times the target (half a second at least) means the
# rally ended (a won or lost game's message).
ENDED_FACTOR = 20


def figure(key, value, how):
    print(f"FIGURE {key} {value:.6g} {how}")


def note(key, text):
    print(f"NOTE {key} {text}")


def quantile(sorted_values, q):
    rank = q * (len(sorted_values) - 1)
    below = int(rank)
    above = min(below + 1, len(sorted_values) - 1)
    return sorted_values[below] + (sorted_values[above] - sorted_values[below]) * (rank - below)


def cpu_seconds(pid):
    """User and system time of a process, all threads, in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def open_display():
    d = display.Display()
    d.damage_query_version()
    return d


def damage_of(d, window):
    window.change_attributes(event_mask=X.StructureNotifyMask)
    window.damage_create(damage.DamageReportRawRectangles)
    d.sync()


def rally(window_id, seconds, target_us, pid, server_pid=None):
    """Prints "period MS" for each turn and "cpu GAME SERVER WALL" in seconds
    over them; returns when SECONDS have passed or, printing "ended", when
    the rally has ended."""
    d = open_display()
    damage_of(d, d.create_resource_object("window", int(window_id, 0)))
    target_ms = target_us / 1000
    quiet_s = max(0.5, ENDED_FACTOR * target_ms / 1000)
    bursts = []
    last = None
    cpu_start = {}
    start = time.monotonic()
    ended = False
    while time.monotonic() - start < seconds:
        if last is not None and time.monotonic() - last > quiet_s:
            ended = True
            break
        if not d.pending_events():
            select.select([d], [], [], 0.05)
            continue
        event = d.next_event()
        if event.type != d.extension_event.DamageNotify:
            continue
        now = time.monotonic()
        if last is None or (now - last) * 1000 > BURST_GAP_SHARE * target_ms:
            bursts.append(now)
            if len(bursts) == 1:
                cpu_start = {p: cpu_seconds(p) for p in (pid, server_pid) if p}
        last = now
    for a, b in zip(bursts, bursts[1:]):
        print(f"period {(b - a) * 1000:.4f}")
    if len(bursts) > 1:
        cpu = {p: cpu_seconds(p) - cpu_start[p] for p in cpu_start}
        print(f"cpu {cpu[pid]:.3f} {cpu.get(server_pid, 0):.3f} {bursts[-1] - bursts[0]:.4f}")
    if ended:
        print("ended")


def summary(key, target_us, lines):
    """The figures of the turns and CPU times that rally printed, one or more rallies."""
    target_ms = target_us / 1000
    periods, game, server, wall = [], 0.0, 0.0, 0.0
    for line in lines:
        words = line.split()
        if words[:1] == ["period"]:
            periods.append(float(words[1]))
        elif words[:1] == ["cpu"]:
            game, server, wall = game + float(words[1]), server + float(words[2]), wall + float(words[3])
    if len(periods) < 10:
        note(key, f"only {len(periods)} turns seen")
        return
    periods.sort()
    errors = sorted(abs(p - target_ms) for p in periods)
    how = f"{len(periods)} turns of {target_ms:.2f} ms seen as repaints"
    median = quantile(periods, 0.5)
    figure(f"{key}.median", 100 * (median - target_ms) / target_ms,
           f"median {median:.3f} ms, p10-p90 {quantile(periods, 0.1):.3f}-{quantile(periods, 0.9):.3f} ms, {how}")
    figure(f"{key}.mean", 100 * (sum(periods) / len(periods) - target_ms) / target_ms, how)
    figure(f"{key}.p99", quantile(errors, 0.99), how)
    figure(f"{key}.cpu", 100 * game / wall, f"the game's CPU time over {wall:.1f} s of rallies")
    if server:
        figure(f"{key}.server", 100 * server / wall, f"wineserver's CPU time over the same {wall:.1f} s")


def title(d, window):
    try:
        name = window.get_full_text_property(d.intern_atom("_NET_WM_NAME"), d.intern_atom("UTF8_STRING"))
        return name or window.get_wm_name()
    except Exception:  # the window may be gone already
        return None


def one_start(command, titles):
    """Seconds from spawning COMMAND to damage in both titled windows."""
    d = open_display()
    # Windows that take no drawing (input-only ones) refuse a damage record,
    # and windows may be gone before their record is made: neither matters.
    d.set_error_handler(lambda *_: None)
    root = d.screen().root
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    d.sync()
    watched = {}
    painted = set()
    spawned = time.monotonic()
    game = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while time.monotonic() - spawned < 20:
            if not d.pending_events():
                select.select([d], [], [], 0.05)
                continue
            event = d.next_event()
            if event.type == X.CreateNotify:
                watched[event.window.id] = event.window
                damage_of(d, event.window)
            elif event.type == d.extension_event.DamageNotify:
                window = watched.get(event.drawable.id)
                if window is not None and title(d, window) in titles:
                    painted.add(title(d, window))
                    if painted == titles:
                        return time.monotonic() - spawned
        return None
    finally:
        game.send_signal(signal.SIGTERM)
        game.wait()
        d.close()


def startup(key, runs, court_title, hello_title, command):
    times = []
    for _ in range(runs):
        seconds = one_start(command, {court_title, hello_title})
        if seconds is not None:
            times.append(seconds * 1000)
        time.sleep(0.3)
    if not times:
        note(key, "no start reached both windows painted")
        return
    times.sort()
    figure(key, quantile(times, 0.5),
           f"median of {len(times)} starts, min-max {times[0]:.0f}-{times[-1]:.0f} ms, spawn to damage in both windows")


def main(argv):
    if len(argv) >= 6 and argv[1] == "rally":
        rally(argv[2], float(argv[3]), float(argv[4]), int(argv[5]), int(argv[6]) if len(argv) > 6 else None)
    elif len(argv) == 4 and argv[1] == "summary":
        summary(argv[2], float(argv[3]), sys.stdin)
    elif len(argv) >= 7 and argv[1] == "startup":
        startup(argv[2], int(argv[3]), argv[4], argv[5], argv[6:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
