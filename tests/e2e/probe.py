"""The probe, wintool.exe, kept running: one Wine process (`wintool serve`)
answers a suite's questions, where a Wine start per question costs 0.5 to
2.5 s. A new one starts when the prefix or the display changes, or when the
old one died (a wine server restart ends it)."""
import os
import select
import subprocess
import time

import station

END = b"\x1e"  # the line that closes an answer: END + exit code
SEP = b"\x1f"  # between the fields of a command; in no Shift-JIS text

_server = None


class _Server:
    def __init__(self, exe, env):
        self.key = (env.get("WINEPREFIX"), env.get("DISPLAY"))
        self.proc = subprocess.Popen([*station.wine_launcher(env), "wine", str(exe), "serve"], env=env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                     preexec_fn=station.die_with_parent)
        self.buffer = b""

    def ask(self, args, timeout):
        """(exit code, output); EOFError when the server is gone."""
        line = SEP.join(str(a).encode("cp932", errors="replace") for a in args) + b"\n"
        try:
            self.proc.stdin.write(line)
            self.proc.stdin.flush()
        except (BrokenPipeError, OSError):
            raise EOFError from None
        end = time.monotonic() + timeout
        while True:
            answer = self._answer()
            if answer:
                return answer
            left = end - time.monotonic()
            if left <= 0:
                self.stop()
                raise subprocess.TimeoutExpired(["wintool", *map(str, args)], timeout)
            ready, _, _ = select.select([self.proc.stdout], [], [], left)
            if ready:
                chunk = os.read(self.proc.stdout.fileno(), 1 << 16)
                if not chunk:
                    raise EOFError
                self.buffer += chunk

    def _answer(self):
        mark = self.buffer.find(END)
        eol = self.buffer.find(b"\n", mark) if mark >= 0 else -1
        if eol < 0:
            return None
        out, code = self.buffer[:mark], int(self.buffer[mark + 1:eol].strip())
        self.buffer = self.buffer[eol + 1:]
        return code, out

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()


def ask(exe, env, args, timeout):
    """Runs one wintool command; returns (exit code, output bytes). Raises
    subprocess.TimeoutExpired after timeout seconds, as a run of its own would."""
    global _server
    key = (env.get("WINEPREFIX"), env.get("DISPLAY"))
    for attempt in range(2):
        if _server is None or _server.key != key or _server.proc.poll() is not None:
            stop()
            _server = _Server(exe, env)
        try:
            return _server.ask(args, timeout)
        except EOFError:
            stop()
            if attempt:
                raise
    raise AssertionError("unreachable")


def stop():
    global _server
    if _server is not None:
        _server.stop()
        _server = None
