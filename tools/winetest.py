#!/usr/bin/env python3
"""Runs the installer's Windows programs under Wine for tests, benchmarks and the demo.

Every run gets its own prefix, copied from one template prefix booted per build, so
that the registry and files of one scenario never leak into another. Everything a
run starts (wineserver, Xvfb, servers) is stopped by its own id, never by name.
"""
import fcntl
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
REG_FILES = ("system.reg", "user.reg", "userdef.reg")


def base_env():
    env = dict(os.environ)
    env["WINEDEBUG"] = "-all"
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    env.pop("DISPLAY", None)
    return env


def boot_template(wine_dir):
    """Boots the template prefix once per build (guarded against parallel callers)."""
    wine_dir = Path(wine_dir)
    wine_dir.mkdir(parents=True, exist_ok=True)
    template = wine_dir / "template"
    stamp = wine_dir / "template.stamp"
    with open(wine_dir / "template.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if stamp.exists() and template.exists():
            return template
        shutil.rmtree(template, ignore_errors=True)
        env = base_env()
        env["WINEPREFIX"] = str(template)
        subprocess.run([WINE, "wineboot", "-i"], env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=env, check=True)
        stamp.write_text("booted\n")
    return template


class WinePrefix:
    """A fresh prefix for one scenario: hard links to the template's files, real
    copies of the registry files (the only ones Wine rewrites)."""

    def __init__(self, wine_dir, name):
        self.wine_dir = Path(wine_dir)
        self.template = boot_template(self.wine_dir)
        self.path = self.wine_dir / "runs" / name
        self.reset()

    def reset(self):
        self.kill()
        shutil.rmtree(self.path, ignore_errors=True)
        self.path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cp", "-al", str(self.template), str(self.path)], check=True)
        for name in REG_FILES:
            target = self.path / name
            target.unlink()
            shutil.copy2(self.template / name, target)

    def env(self, display=None, extra=None):
        env = base_env()
        env["WINEPREFIX"] = str(self.path)
        if display:
            env["DISPLAY"] = display
        if extra:
            env.update(extra)
        return env

    def run(self, args, timeout=120, display=None, extra_env=None, check=False):
        """Runs a program to its end. Output goes through files, not pipes: programs it
        starts (a hosting application, say) inherit the handles and may outlive it."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = subprocess.run([WINE] + [str(a) for a in args], env=self.env(display, extra_env),
                                     stdout=out, stderr=err, timeout=timeout)
            out.seek(0)
            err.seek(0)
            result = subprocess.CompletedProcess(process.args, process.returncode, out.read(), err.read())
        if check:
            result.check_returncode()
        return result

    def start(self, args, display=None, extra_env=None, capture=False, output=None):
        """Starts a program and returns at once; its output is kept only with capture
        (a pipe) or in output (an open file, which the programs it starts may share)."""
        output = output or (subprocess.PIPE if capture else subprocess.DEVNULL)
        return subprocess.Popen([WINE] + [str(a) for a in args], env=self.env(display, extra_env),
                                stdout=output, stderr=output)

    def kill(self):
        """Stops this prefix's wineserver and everything it runs; saves the registry."""
        if (getattr(self, "path", None) and self.path.exists()):
            subprocess.run([WINESERVER, "-k"], env=self.env(), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            subprocess.run([WINESERVER, "-w"], env=self.env(), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)

    def remove(self):
        self.kill()
        shutil.rmtree(self.path, ignore_errors=True)

    # Paths between the two worlds.
    def unix_path(self, windows_path):
        path = windows_path.replace("\\", "/")
        if len(path) >= 2 and path[1] == ":":
            drive = path[0].lower()
            root = self.path / "drive_c" if drive == "c" else Path("/")
            return root / path[3:]
        return Path(path)

    @property
    def drive_c(self):
        return self.path / "drive_c"

    def registry(self, hive):
        """The saved registry of "HKLM" or "HKCU" as {key: {name: (type, value)}}.
        Call kill() first so that Wine has written it."""
        name = {"HKLM": "system.reg", "HKCU": "user.reg"}[hive]
        return parse_reg_file((self.path / name).read_text(encoding="utf-8", errors="replace"))


def _unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            if n == "x":
                m = re.match(r"[0-9a-fA-F]{1,4}", text[i + 2:])
                out.append(chr(int(m.group(0), 16)))
                i += 2 + len(m.group(0))
                continue
            out.append({"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(n, n))
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def _decode_hex(text):
    data = bytes(int(b, 16) for b in text.replace("\\", "").replace(" ", "").split(",") if b)
    return data


def parse_reg_file(text):
    """Parses Wine's registry file format into {key path (lower case): {name: (type, value)}}.
    Types: "sz", "expand_sz", "dword", "binary", "multi_sz" or "hex(N)"."""
    keys = {}
    current = None
    lines = text.splitlines()
    i = 0
    while i < len(lines):
        line = lines[i]
        while line.endswith("\\") and i + 1 < len(lines):
            i += 1
            line = line[:-1] + lines[i].strip()
        i += 1
        if line.startswith("["):
            end = line.rfind("]")
            current = keys.setdefault(_unescape(line[1:end]).lower(), {})
            continue
        if current is None or not line or line[0] not in '"@':
            continue
        if line.startswith("@"):
            name, rest = "", line[2:]
        else:
            m = re.match(r'"((?:[^"\\]|\\.)*)"=(.*)$', line)
            if not m:
                continue
            name, rest = _unescape(m.group(1)), m.group(2)
        if rest.startswith('"'):
            current[name] = ("sz", _unescape(rest[1:-1]))
        elif rest.startswith('str(2):"'):
            current[name] = ("expand_sz", _unescape(rest[8:-1]))
        elif rest.startswith('str(7):"'):
            current[name] = ("multi_sz", _unescape(rest[8:-1]))
        elif rest.startswith("dword:"):
            current[name] = ("dword", int(rest[6:], 16))
        elif rest.startswith("hex:"):
            current[name] = ("binary", _decode_hex(rest[4:]))
        elif rest.startswith("hex("):
            kind = rest[4:rest.index(")")]
            data = _decode_hex(rest[rest.index(":") + 1:])
            label = {"2": "expand_sz", "1": "sz", "7": "multi_sz", "4": "dword"}.get(kind, f"hex({kind})")
            current[name] = (label, data)
    return keys


class Display:
    """An Xvfb of its own, on the first free display number from 90 on."""

    def __init__(self, width=1024, height=768):
        self.process = None
        for number in range(90, 140):
            if Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
                continue
            process = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", f"{width}x{height}x24",
                                        "-nolisten", "tcp"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.time() + 10
            while time.time() < deadline:
                if Path(f"/tmp/.X11-unix/X{number}").exists():
                    self.process, self.name = process, f":{number}"
                    return
                if process.poll() is not None:
                    break
                time.sleep(0.05)
            process.kill()
            process.wait()
        raise RuntimeError("no free display for Xvfb")

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def main(argv):
    if len(argv) >= 2 and argv[0] == "boot-template":
        boot_template(argv[1])
        return 0
    if len(argv) >= 2 and argv[0] == "exec":
        wine_dir = os.environ.get("VERIDANE_WINE_DIR") or str(Path(argv[1]).resolve().parent / "wine")
        prefix = WinePrefix(wine_dir, f"exec-{os.getpid()}")
        try:
            result = subprocess.run([WINE] + argv[1:], env=prefix.env())
            return result.returncode
        finally:
            prefix.remove()
    print("usage: winetest.py boot-template DIR | exec PROGRAM [ARGS...]", file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
