"""A minimal D-Bus client over a unix socket (standard library only).

Enough to ask Audacious about its playlist: method calls with no argument or
one uint32, answers of type int32 or string. Calls can be sent ahead of their
answers (pipelined), so walking 10,000 entries costs one round trip per
window of calls instead of one process per call (as audtool would).
"""

import os
import socket
import struct
import time


class DBusError(Exception):
    pass


def _pad(data, n):
    return data + b"\0" * ((-len(data)) % n)


def _field(fields, code, sig, value):
    # Header fields start at offset 16, so alignment within them is absolute.
    fields = _pad(fields, 8) + bytes([code, 1]) + sig.encode() + b"\0"
    raw = value.encode()
    if sig == "g":
        return fields + bytes([len(raw)]) + raw + b"\0"
    return _pad(fields, 4) + struct.pack("<I", len(raw)) + raw + b"\0"


def _socket_path(address):
    for part in address.split(";"):
        if part.startswith("unix:"):
            for kv in part[5:].split(","):
                key, _, value = kv.partition("=")
                if key == "path":
                    return value
                if key == "abstract":
                    return "\0" + value
    raise DBusError("no unix socket in %r" % address)


class Bus:
    def __init__(self, address, timeout=5.0):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(timeout)
        self.sock.connect(_socket_path(address))
        self.buf = b""
        self.serial = 0
        uid = str(os.getuid()).encode().hex().encode()
        self.sock.sendall(b"\0AUTH EXTERNAL " + uid + b"\r\n")
        while b"\r\n" not in self.buf:
            self._recv()
        line, _, self.buf = self.buf.partition(b"\r\n")
        if not line.startswith(b"OK"):
            raise DBusError("authentication refused: %r" % line)
        self.sock.sendall(b"BEGIN\r\n")
        self.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "Hello")

    def close(self):
        self.sock.close()

    def _recv(self):
        chunk = self.sock.recv(65536)
        if not chunk:
            raise DBusError("the bus closed the connection")
        self.buf += chunk

    def send(self, dest, path, iface, member, uint_arg=None):
        self.serial += 1
        fields = _field(b"", 1, "o", path)
        fields = _field(fields, 6, "s", dest)
        fields = _field(fields, 2, "s", iface)
        fields = _field(fields, 3, "s", member)
        body = b""
        if uint_arg is not None:
            fields = _field(fields, 8, "g", "u")
            body = struct.pack("<I", uint_arg)
        head = struct.pack("<cBBBIII", b"l", 1, 0, 1, len(body), self.serial, len(fields))
        self.sock.sendall(_pad(head + fields, 8) + body)
        return self.serial

    def receive(self):
        """(type, reply serial, signature, body) of the next message."""
        while len(self.buf) < 16:
            self._recv()
        if self.buf[:1] != b"l":
            raise DBusError("big-endian message")
        _, mtype, _, _, body_len, _, fields_len = struct.unpack_from("<cBBBIII", self.buf)
        head_len = 16 + fields_len + ((-(16 + fields_len)) % 8)
        while len(self.buf) < head_len + body_len:
            self._recv()
        msg, self.buf = self.buf[:head_len + body_len], self.buf[head_len + body_len:]
        fields, p = {}, 16
        while p < 16 + fields_len:
            p += (-p) % 8
            code, sig_len = msg[p], msg[p + 1]
            sig = msg[p + 2:p + 2 + sig_len]
            p += 3 + sig_len
            if sig == b"g":
                n = msg[p]
                fields[code] = msg[p + 1:p + 1 + n]
                p += n + 2
            elif sig == b"u":
                p += (-p) % 4
                fields[code] = struct.unpack_from("<I", msg, p)[0]
                p += 4
            else:
                p += (-p) % 4
                n = struct.unpack_from("<I", msg, p)[0]
                fields[code] = msg[p + 4:p + 4 + n]
                p += n + 5
        return mtype, fields.get(5), fields.get(8, b""), msg[head_len:]

    @staticmethod
    def decode(sig, body):
        if sig == b"i":
            return struct.unpack_from("<i", body)[0]
        if sig in (b"s", b"o"):
            n = struct.unpack_from("<I", body)[0]
            return body[4:4 + n].decode("utf-8", "replace")
        return body

    def call(self, dest, path, iface, member, uint_arg=None):
        serial = self.send(dest, path, iface, member, uint_arg)
        while True:
            mtype, reply_to, sig, body = self.receive()
            if reply_to != serial:
                continue
            if mtype == 3:
                raise DBusError(self.decode(b"s", body) if sig[:1] == b"s" else "error")
            return self.decode(sig, body)


class Audacious:
    """Audacious's own interface (what audtool uses)."""

    NAME = PATH = "org.atheme.audacious"

    def __init__(self, address, timeout=5.0):
        self.bus = Bus(address, timeout)

    def _call(self, member, arg=None):
        return self.bus.call(self.NAME, "/org/atheme/audacious", self.NAME, member, arg)

    def length(self):
        return self._call("Length")

    def status(self):
        return self._call("Status")

    def lengths_known(self, count, deadline, window=128):
        """Walks the playlist until every one of `count` entries has a
        length, asking each entry's length with up to `window` calls in
        flight; an entry still without one is asked again on the next pass.
        Audacious answers a length once the entry has been read (its
        background reading goes in playlist order too). True when all are
        known before `deadline` (time.monotonic())."""
        unknown = list(range(count))
        while unknown and time.monotonic() < deadline:
            still, sent, answered = [], {}, 0
            queue = iter(unknown)
            while answered < len(unknown) and time.monotonic() < deadline:
                while len(sent) - answered < window:
                    i = next(queue, None)
                    if i is None:
                        break
                    sent[self.bus.send(self.NAME, "/org/atheme/audacious", self.NAME,
                                       "SongLength", i)] = i
                mtype, reply_to, sig, body = self.bus.receive()
                if reply_to not in sent:
                    continue
                answered += 1
                if mtype != 2 or self.bus.decode(sig, body) <= 0:
                    still.append(sent[reply_to])
            unknown = sorted(still)
            if unknown:
                time.sleep(0.2)
        return not unknown
