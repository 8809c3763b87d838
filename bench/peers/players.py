"""How each player is started, configured and asked about itself.

Every player starts from a fresh configuration. What a first start would
otherwise spend once in its life (Audacious's plugin registry, Qmmp's plugin
cache) is made by a priming start and copied into every home, so each run
looks like a later start of a freshly configured player. Sound goes to each
player's null output: Melodeck's mpv `ao=null`, Qmmp's "null" output plugin,
and for Audacious (Debian ships no null output plugin) its SDL output with
SDL's "dummy" driver. All three consume the audio at its real rate.
"""

import os
import re
import subprocess
import time

import dbuswire

SCENARIOS = ("empty", "list", "play")


class Player:
    name = ""
    windows = 1  # the top-level windows a default start shows

    def prime(self, template_dir, home):
        """Keeps what a priming start left in `home` that later starts reuse."""

    def configure(self, home, template_dir):
        """Writes the run's configuration into the fresh `home`."""

    def command(self, scenario, media, app_dir):
        raise NotImplementedError

    def env(self, scenario, app_dir):
        return {}

    def lengths_known(self, run, env, media, deadline):
        """Milliseconds after the start when every list item had its length
        (on the launcher's clock), or None."""
        return None

    def playing(self, run, env, log):
        return False


class Melodeck(Player):
    name = "Melodeck"
    windows = 2  # the player window and the playlist window

    def __init__(self, build):
        self.binary = os.path.join(build, "bin", "melodeck")
        self.skins = os.path.join(build, "bin", "skin")

    def command(self, scenario, media, app_dir):
        os.makedirs(os.path.join(app_dir, "PlayList"), exist_ok=True)
        os.symlink(self.skins, os.path.join(app_dir, "skin"))
        if scenario == "list":
            os.link(media.mlf, os.path.join(app_dir, "PlayList", "0.MLF"))
        return [self.binary] + ([media.play] if scenario == "play" else [])

    def env(self, scenario, app_dir):
        # The update check and the search go to a closed local port: no
        # network here, and a name lookup must not add its time-out.
        closed = "http://127.0.0.1:9/"
        return {"MELODECK_HOME": app_dir, "MELODECK_MPV_AO": "null", "QT_QPA_PLATFORM": "xcb",
                "MELODECK_REPORT_LENGTHS": "1", "MELODECK_UPDATE_URL": closed,
                "MELODECK_SEARCH_URL": closed}

    def lengths_known(self, run, env, media, deadline):
        marks = run.wait_for("mark", max(0.0, deadline - time.monotonic()))
        return float(marks[0][0]) if marks else None

    def playing(self, run, env, log):
        text = _read(log)
        return "正在播放" in text and "无法播放" not in text


class Audacious(Player):
    name = "Audacious"
    windows = 1  # the GTK interface: one main window holding the playlist

    def prime(self, template_dir, home):
        registry = os.path.join(home, ".config", "audacious", "plugin-registry")
        lines = _read(registry).splitlines()
        kind = ""
        for i, line in enumerate(lines):
            if re.match(r"^[a-z]+ /", line):
                kind, path = line.split(" ", 1)
            elif line.startswith("enabled ") and kind == "output":
                lines[i] = "enabled %d" % (1 if path.endswith("/sdlout.so") else 0)
        if not any("sdlout.so" in line for line in lines):
            raise RuntimeError("Audacious has no SDL output plugin")
        with open(os.path.join(template_dir, "plugin-registry"), "w") as f:
            f.write("\n".join(lines) + "\n")

    def configure(self, home, template_dir):
        folder = os.path.join(home, ".config", "audacious")
        os.makedirs(folder, exist_ok=True)
        _copy(os.path.join(template_dir, "plugin-registry"), folder)

    def command(self, scenario, media, app_dir):
        if scenario == "list":
            return ["audacious", "--enqueue", media.m3u]
        return ["audacious"] + ([media.play] if scenario == "play" else [])

    def env(self, scenario, app_dir):
        return {"SDL_AUDIODRIVER": "dummy"}

    def lengths_known(self, run, env, media, deadline):
        try:
            aud = dbuswire.Audacious(env["DBUS_SESSION_BUS_ADDRESS"], timeout=30)
        except (OSError, dbuswire.DBusError):
            return None  # no bus: reported as an incomplete run
        try:
            while time.monotonic() < deadline and run.running():
                try:
                    if aud.length() >= media.items:
                        break
                except dbuswire.DBusError:
                    pass  # not on the bus yet
                time.sleep(0.1)
            if aud.lengths_known(media.items, deadline):
                return run.now_ms()
            return None
        except (OSError, dbuswire.DBusError):
            return None
        finally:
            aud.bus.close()

    def playing(self, run, env, log):
        try:
            aud = dbuswire.Audacious(env["DBUS_SESSION_BUS_ADDRESS"])
            try:
                return aud.status() == "playing"
            finally:
                aud.bus.close()
        except (OSError, dbuswire.DBusError):
            return False


class Qmmp(Player):
    name = "Qmmp"
    windows = 3  # the skinned interface: main window, playlist, equaliser

    def prime(self, template_dir, home):
        text = _read(os.path.join(home, ".qmmp", "qmmprc"))
        cache = re.search(r"^\[PluginCache\]\n(?:[^\[].*\n?)*", text, re.M)
        if not cache:
            raise RuntimeError("Qmmp wrote no plugin cache")
        with open(os.path.join(template_dir, "qmmprc"), "w") as f:
            f.write(cache.group(0).rstrip("\n") + "\n\n[Output]\ncurrent_plugin=null\n")

    def configure(self, home, template_dir):
        folder = os.path.join(home, ".qmmp")
        os.makedirs(folder, exist_ok=True)
        _copy(os.path.join(template_dir, "qmmprc"), folder)

    def command(self, scenario, media, app_dir):
        # Items from an .m3u get no length until played; a folder's files are
        # read (tags and length) as they are added.
        if scenario == "list":
            return ["qmmp", "--enqueue", media.list_dir]
        return ["qmmp"] + ([media.play] if scenario == "play" else [])

    def lengths_known(self, run, env, media, deadline):
        """The moment `qmmp --pl-dump` lists every item with its length (the
        running copy answers through its local socket; one dump a second,
        which takes some of its time too)."""
        known = re.compile(r"^\d+\. .* - \d+:\d\d( \[\*\])?$", re.M)
        while time.monotonic() < deadline and run.running():
            asked = run.now_ms()
            if len(known.findall(_output(["qmmp", "--pl-dump", "1"], env, 20))) >= media.items:
                return asked
            time.sleep(1.0)
        return None

    def playing(self, run, env, log):
        return "[playing]" in _output(["qmmp", "--status"], env, 10)


def _read(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()
    except OSError:
        return ""


def _copy(src, folder):
    with open(src, "rb") as f:
        data = f.read()
    with open(os.path.join(folder, os.path.basename(src)), "wb") as f:
        f.write(data)


def _output(cmd, env, timeout):
    try:
        return subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, errors="replace", timeout=timeout).stdout
    except (OSError, subprocess.TimeoutExpired):
        return ""
