"""One measured start of a player: its own Xvfb, its own D-Bus session bus,
its own home and XDG folders, the launcher, and whatever the launcher and the
probes report. Everything started here is ended here, by its own process id.
"""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time


def _stop(proc, grace=5.0):
    """Ends one process this module started (SIGTERM, then SIGKILL)."""
    if proc is None or proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(5)


class Xvfb:
    """A virtual X server on a display number it picks itself (-displayfd),
    so two benchmarks, or a test's xvfb-run, never share one."""

    def __init__(self, log_path):
        read_fd, write_fd = os.pipe()
        with open(log_path, "ab") as log:
            self.proc = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        os.close(write_fd)
        self.display = None
        deadline = time.monotonic() + 10
        text = b""
        while time.monotonic() < deadline and not text.endswith(b"\n"):
            ready = _wait_readable(read_fd, deadline - time.monotonic())
            chunk = os.read(read_fd, 64) if ready else b""
            if not chunk:
                break
            text += chunk
        os.close(read_fd)
        if not text.strip().isdigit():
            _stop(self.proc)
            raise RuntimeError("Xvfb did not start (see %s)" % log_path)
        self.display = ":" + text.strip().decode()

    def stop(self):
        _stop(self.proc)


def _wait_readable(fd, timeout):
    return bool(select.select([fd], [], [], max(0.0, timeout))[0])


class SessionBus:
    def __init__(self, folder, log_path):
        self.address = "unix:path=" + os.path.join(folder, "bus")
        with open(log_path, "ab") as log:
            self.proc = subprocess.Popen(
                ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                 "--address=" + self.address, "--print-address=1"],
                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=log)
        ready = _wait_readable(self.proc.stdout.fileno(), 10)
        if not ready or not self.proc.stdout.readline():
            _stop(self.proc)
            raise RuntimeError("dbus-daemon did not start (see %s)" % log_path)

    def stop(self):
        _stop(self.proc)


class LauncherRun:
    """The launcher running one program; its report lines are collected as
    they come (a line "first 412" becomes events["first"] = [412])."""

    def __init__(self, launcher, args, env, cwd):
        self.events = {}
        self.samples = []
        self.start_ns = None
        self.lock = threading.Lock()
        self.changed = threading.Condition(self.lock)
        self.proc = subprocess.Popen([launcher] + args, env=env, cwd=cwd, text=True,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.proc.stdout:
            words = line.split()
            if not words:
                continue
            with self.lock:
                if words[0] == "start":
                    self.start_ns = int(words[1])
                elif words[0] == "sample":
                    fields = dict(w.split("=") for w in words[2:])
                    self.samples.append((int(words[1]), {k: int(v) for k, v in fields.items()}))
                else:
                    self.events.setdefault(words[0], []).append(words[1:])
                self.changed.notify_all()
        with self.lock:
            self.events.setdefault("closed", []).append([])
            self.changed.notify_all()

    def now_ms(self):
        """Milliseconds since the launcher's fork, on its clock."""
        return (time.monotonic_ns() - self.start_ns) / 1e6 if self.start_ns else None

    def wait_for(self, key, timeout):
        deadline = time.monotonic() + timeout
        with self.lock:
            while key not in self.events and "closed" not in self.events:
                left = deadline - time.monotonic()
                if left <= 0:
                    break
                self.changed.wait(left)
            return self.events.get(key)

    def running(self):
        with self.lock:
            return "exit" not in self.events and "closed" not in self.events

    def sample_now(self, timeout=5):
        count = len(self.samples)
        self.proc.send_signal(signal.SIGUSR1)
        deadline = time.monotonic() + timeout
        with self.lock:
            while len(self.samples) == count and time.monotonic() < deadline:
                self.changed.wait(0.1)
            return self.samples[-1] if len(self.samples) > count else None

    def finish(self, timeout):
        """Waits for the launcher's own end (at --end), or ends it."""
        try:
            self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self.proc.send_signal(signal.SIGTERM)  # it ends the program's group
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(5)
                pids = self.events.get("pid")
                if pids:
                    try:
                        os.killpg(int(pids[0][0]), signal.SIGKILL)
                    except ProcessLookupError:
                        pass
        self.reader.join(5)


class Sandbox:
    """A fresh home for one run: HOME, the XDG folders, a private runtime
    folder, a log folder kept after the run."""

    def __init__(self, work, name):
        self.root = tempfile.mkdtemp(prefix=name + "-", dir=work)
        self.home = os.path.join(self.root, "home")
        self.runtime = os.path.join(self.root, "runtime")
        os.makedirs(self.home)
        os.makedirs(self.runtime, mode=0o700)
        self.log = os.path.join(self.root, "log")

    def env(self, base):
        env = dict(base)
        env.update(HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
                   XDG_STATE_HOME=os.path.join(self.home, ".local", "state"),
                   XDG_RUNTIME_DIR=self.runtime)
        for name in ("SESSION_MANAGER", "WAYLAND_DISPLAY", "XAUTHORITY"):
            env.pop(name, None)
        return env

    def remove(self, keep_log_as=None):
        if keep_log_as and os.path.exists(self.log):
            shutil.copyfile(self.log, keep_log_as)
        shutil.rmtree(self.root, ignore_errors=True)
