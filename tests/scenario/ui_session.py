"""Helpers of the window scenario tests: the real installer in its own prefix and
Xvfb display, real input through xdotool, screenshots sampled at known pixels, and
the window's controls as wintool reports them."""
import os
import subprocess
import tempfile
import time
from pathlib import Path

from winetest import WINE, Display, WinePrefix

SOURCE = Path(__file__).resolve().parent.parent.parent
BUILD = Path(os.environ.get("VERIDANE_BUILD", SOURCE / "build" / "x64"))
INSTALLER = BUILD / "VeridaneSetup.exe"
WINTOOL = BUILD / "tests" / "wintool.exe"
ARTIFACTS = BUILD / "artifacts" / "ui"


def polish(string_id):
    """A text of the Polish row, the language the test build is configured with."""
    line = (SOURCE / "resources" / "strings" / "21-polish.txt").read_text(encoding="utf-8").splitlines()[string_id]
    return line.split("\t", 1)[1].replace("\\n", "\n")


def _unescape(text):
    return text.replace("\\r", "\r").replace("\\n", "\n")


class Control:
    def __init__(self, line):
        parts = line.split(" ", 10)
        self.id = int(parts[1])
        self.cls = parts[2]
        self.visible = parts[3] == "visible"
        self.enabled = parts[4] == "enabled"
        self.rect = tuple(int(v) for v in parts[5:9])
        self.exstyle = int(parts[9].split("=")[1], 16)
        rest = parts[10]
        value, _, text = rest.partition(" ")
        self.value = int(value.split("=")[1])
        self.text = _unescape(text)

    @property
    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2


class WindowState:
    """One look at a top-level window: client origin and size, counters, controls."""

    def __init__(self, output):
        self.controls = {}
        self.counters = {}
        for line in output.splitlines():
            if line.startswith("client "):
                values = line.split()
                self.origin = (int(values[1]), int(values[2]))
                self.size = (int(values[3]), int(values[4]))
                self.exstyle = int(values[5].split("=")[1], 16)
            elif line.startswith("Veridane."):
                name, count = line.split()
                self.counters[name[len("Veridane."):]] = int(count)
            elif line.startswith("control "):
                control = Control(line)
                self.controls[control.id] = control

    def __getitem__(self, control_id):
        return self.controls[control_id]


class Screenshot:
    """The whole screen as RGB, read from ImageMagick's import as a binary PPM."""

    def __init__(self, display, keep_as=None):
        data = subprocess.run(["import", "-display", display, "-window", "root", "-depth", "8", "ppm:-"],
                              stdout=subprocess.PIPE, check=True).stdout
        header, offset = [], 0
        while len(header) < 4:
            end = data.index(b"\n", offset)
            header += data[offset:end].split()
            offset = end + 1
        self.width, self.height = int(header[1]), int(header[2])
        self.pixels = data[offset:]
        if keep_as:
            ARTIFACTS.mkdir(parents=True, exist_ok=True)
            subprocess.run(["convert", "ppm:-", str(ARTIFACTS / keep_as)], input=data, check=True)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


class UiSession:
    """An Xvfb display and a fresh prefix for one scenario; stops both at the end."""

    def __init__(self, name):
        self.display = Display()
        self.prefix = WinePrefix(BUILD / "wine", "ui-" + name)
        self.processes = []

    def close(self):
        self.prefix.kill()
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait()
        self.prefix.remove()
        self.display.stop()

    def start(self, *args, env=None):
        process = self.prefix.start([INSTALLER] + list(args), display=self.display.name, extra_env=env)
        self.processes.append(process)
        return process

    def wintool(self, *args, timeout=60):
        # Output through a file, not a pipe: helper processes that Wine starts on the
        # way inherit a pipe and keep it open after wintool has ended.
        with tempfile.TemporaryFile() as out:
            result = subprocess.run([WINE, WINTOOL] + [str(a) for a in args], stdout=out,
                                    stderr=subprocess.DEVNULL, env=self.prefix.env(self.display.name),
                                    timeout=timeout)
            out.seek(0)
            result.stdout = out.read()
        return result

    def state(self, title, wait_ms=20000):
        result = self.wintool("state", title, wait_ms)
        if result.returncode != 0:
            raise AssertionError(f"no window titled {title!r}")
        return WindowState(result.stdout.decode("utf-8", "replace"))

    def painted_state(self, title):
        """The window's state once it has painted at least once and settled."""
        state = self.wait_until(lambda: (lambda st: st if st.counters.get("Presents", 0) > 0 else None)(
            self.state(title)), what=f"{title!r} to paint")
        time.sleep(0.5)
        return state

    def window_exists(self, title):
        return self.wintool("wait", title, 0).returncode == 0

    def wait_until(self, predicate, timeout=30, what="condition"):
        deadline = time.time() + timeout
        while time.time() < deadline:
            try:
                value = predicate()
            except KeyError:  # a control not created yet
                value = None
            if value:
                return value
            time.sleep(0.2)
        raise AssertionError(f"timed out waiting for {what}")

    def screenshot(self, keep_as=None):
        return Screenshot(self.display.name, keep_as)

    def xdotool(self, *args):
        env = dict(os.environ, DISPLAY=self.display.name)
        subprocess.run(["xdotool"] + [str(a) for a in args], env=env, check=True)

    def move(self, x, y):
        self.xdotool("mousemove", x, y)
        time.sleep(0.3)

    def click(self, x, y):
        self.xdotool("mousemove", x, y, "click", 1)
        time.sleep(0.4)

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)
        time.sleep(0.3)

    def key(self, name):
        self.xdotool("key", name)
        time.sleep(0.4)
