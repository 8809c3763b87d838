"""The media every player gets: one song to play and a list of 10,000 items.

MP3 files are encoded with libmp3lame (through ctypes, when the library is
there) from a few tones, so decoding costs what real music costs; without it
they are silent MPEG-1 Layer III frames, which decode more cheaply (the
report says which). Every file has a real length. The 10,000 list items are
hard links of a few files under distinct names, so the whole list costs a
few megabytes.
"""

import array
import ctypes
import ctypes.util
import math
import os

RATE = 44100
FRAME_BYTES = 417  # 128 kbit/s, 44.1 kHz, no padding
FRAME_SECONDS = 1152 / RATE
LIST_LENGTHS = (31, 47, 64, 89, 123)  # seconds: each list file's length


def _tone_second(index):
    """One second of a two-voice chord, different for every `index`."""
    base = 220.0 * 2 ** ((index % 12) / 12)
    out = array.array("h")
    for i in range(RATE):
        t = i / RATE
        fade = min(1.0, i / 2000, (RATE - i) / 2000)
        v = 7000 * math.sin(2 * math.pi * base * t) + 4000 * math.sin(2 * math.pi * base * 1.5 * t)
        out.append(int(v * fade))
    return out


def _lame():
    name = ctypes.util.find_library("mp3lame") or "libmp3lame.so.0"
    try:
        lib = ctypes.CDLL(name)
    except OSError:
        return None
    lib.lame_init.restype = ctypes.c_void_p
    return lib


def _encode(lib, seconds, chords):
    g = ctypes.c_void_p(lib.lame_init())
    for setter, value in (("lame_set_in_samplerate", RATE), ("lame_set_num_channels", 2),
                          ("lame_set_brate", 128), ("lame_set_quality", 7),
                          ("lame_set_bWriteVbrTag", 1)):
        getattr(lib, setter)(g, value)
    if lib.lame_init_params(g) < 0:
        lib.lame_close(g)
        return None
    buf = ctypes.create_string_buffer(int(1.25 * RATE) + 7200)
    out = bytearray()
    for second in range(seconds):
        pcm = chords[second % len(chords)].tobytes()
        n = lib.lame_encode_buffer(g, pcm, pcm, RATE, buf, len(buf))
        out += buf.raw[:max(0, n)]
    n = lib.lame_encode_flush(g, buf, len(buf))
    out += buf.raw[:max(0, n)]
    # The first frame was written as room for the "Info" frame (exact length).
    tag = ctypes.create_string_buffer(4096)
    size = lib.lame_get_lametag_frame(g, tag, len(tag))
    if 0 < size <= len(out):
        out[:size] = tag.raw[:size]
    lib.lame_close(g)
    return bytes(out)


def _silent(seconds):
    frame = bytes([0xFF, 0xFB, 0x90, 0x64]) + bytes(FRAME_BYTES - 4)
    return frame * max(1, round(seconds / FRAME_SECONDS))


class Media:
    """Makes (once) and names the files under `root`."""

    def __init__(self, root, items):
        self.root = root
        self.items = items
        self.play = os.path.join(root, "play.mp3")
        self.list_dir = os.path.join(root, "list")
        self.m3u = os.path.join(root, "list.m3u")
        self.mlf = os.path.join(root, "0.MLF")
        self.kind_file = os.path.join(root, "kind")

    def item_path(self, i):
        return os.path.join(self.list_dir, "Artist %02d - Song %05d.mp3" % (i % 37, i))

    @property
    def kind(self):
        with open(self.kind_file) as f:
            return f.read().strip()

    def make(self, log):
        if os.path.exists(self.kind_file) and os.path.exists(self.mlf) and \
                sum(1 for _ in os.scandir(self.list_dir)) == self.items:
            return
        os.makedirs(self.list_dir, exist_ok=True)
        lib = _lame()
        chords = [_tone_second(i) for i in range(4)] if lib else []
        encode = (lambda s: _encode(lib, s, chords) or _silent(s)) if lib else _silent
        kind = "tones encoded by libmp3lame" if lib else "silent MP3 frames (no libmp3lame)"
        log("making media: %s" % kind)
        with open(self.play, "wb") as f:
            f.write(encode(120))
        bases = []
        for n, seconds in enumerate(LIST_LENGTHS):
            path = os.path.join(self.root, "base%d.mp3" % n)
            with open(path, "wb") as f:
                f.write(encode(seconds))
            bases.append(path)
        for entry in os.scandir(self.list_dir):
            os.unlink(entry.path)
        for i in range(self.items):
            os.link(bases[i % len(bases)], self.item_path(i))
        paths = [self.item_path(i) for i in range(self.items)]
        with open(self.m3u, "w", encoding="utf-8") as f:
            f.write("#EXTM3U\n" + "".join(p + "\n" for p in paths))
        # The program's own list file: "{title}", then "Title=Path" lines, CR LF,
        # GB18030 (these names are ASCII, which GB18030 keeps as it is).
        lines = ["{bench}"] + ["Song %05d=%s" % (i, p) for i, p in enumerate(paths)]
        with open(self.mlf, "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("gb18030"))
        with open(self.kind_file, "w") as f:
            f.write(kind + "\n")
