"""Window checks of the scenario tests: the windows' controls and painted texts as
wintool reports them, screenshots sampled at known pixels, the artwork they are
compared with, and real input through xdotool."""
import os
import subprocess
import time

from scenario import ARTIFACTS, BUILD, ScenarioTest

SCREENSHOTS = ARTIFACTS / "ui"
ARTWORK = BUILD / "artwork"
KEY_GREEN = (0, 255, 0)


def _unescape(text):
    return text.replace("\\r", "\r").replace("\\n", "\n")


class Control:
    """One "control" line of wintool state."""

    def __init__(self, line):
        parts = line.split(" ", 10)
        self.id = int(parts[1])
        self.cls = parts[2]
        self.visible = parts[3] == "visible"
        self.enabled = parts[4] == "enabled"
        self.rect = tuple(int(v) for v in parts[5:9])
        self.exstyle = int(parts[9].split("=")[1], 16)
        value, _, text = parts[10].partition(" ")
        self.value = int(value.split("=")[1])
        self.text = _unescape(text)

    @property
    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2


class WindowState:
    """One look at a top-level window: its process, client origin and size, paint
    counters, painted texts (test build) and controls by identifier."""

    def __init__(self, output):
        self.controls, self.counters, self.texts = {}, {}, {}
        lines = output.splitlines()
        self.pid = int(lines[0].split()[1]) if lines else 0
        for line in lines[1:]:
            if line.startswith("client "):
                values = line.split()
                self.origin = (int(values[1]), int(values[2]))
                self.size = (int(values[3]), int(values[4]))
                self.exstyle = int(values[5].split("=")[1], 16)
            elif line.startswith("Veridane."):
                name, count = line.split()
                self.counters[name[len("Veridane."):]] = int(count)
            elif line.startswith("text Veridane."):
                name, _, text = line[len("text Veridane."):].partition(" ")
                self.texts[name] = _unescape(text)
            elif line.startswith("control "):
                control = Control(line)
                self.controls[control.id] = control

    def __getitem__(self, control_id):
        return self.controls[control_id]

    def __contains__(self, control_id):
        return control_id in self.controls


class Image:
    """RGB pixels, top row first."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


class Screenshot(Image):
    """The whole screen, read from ImageMagick's import as a binary PPM; kept as a
    PNG under SCREENSHOTS when named."""

    def __init__(self, display, keep_as=None):
        data = subprocess.run(["import", "-display", display, "-window", "root", "-depth", "8", "ppm:-"],
                              stdout=subprocess.PIPE, check=True).stdout
        header, offset = [], 0
        while len(header) < 4:
            end = data.index(b"\n", offset)
            header += data[offset:end].split()
            offset = end + 1
        super().__init__(int(header[1]), int(header[2]), data[offset:])
        if keep_as:
            SCREENSHOTS.mkdir(parents=True, exist_ok=True)
            subprocess.run(["convert", "ppm:-", str(SCREENSHOTS / keep_as)], input=data, check=True)


class Bitmap(Image):
    """A 24-bit bottom-up BMP of the build's artwork (BGR rows padded to 4 bytes)."""

    def __init__(self, name):
        data = (ARTWORK / name).read_bytes()
        offset = int.from_bytes(data[10:14], "little")
        width = int.from_bytes(data[18:22], "little")
        height = int.from_bytes(data[22:26], "little")
        stride = (width * 3 + 3) & ~3
        rows = []
        for y in range(height):
            row = data[offset + (height - 1 - y) * stride:][:width * 3]
            rows.append(bytes(b for i in range(0, len(row), 3) for b in (row[i + 2], row[i + 1], row[i])))
        super().__init__(width, height, b"".join(rows))


def transparent_faults(shot, origin, image, background, at):
    """Pixels where a screenshot differs from image drawn at client point at over the
    background: pure green shows the background, every other pixel is the image's."""
    faults = []
    for y in range(image.height):
        for x in range(image.width):
            own = image.pixel(x, y)
            expected = background.pixel(at[0] + x, at[1] + y) if own == KEY_GREEN else own
            seen = shot.pixel(origin[0] + at[0] + x, origin[1] + at[1] + y)
            if seen != expected:
                faults.append(((x, y), expected, seen))
    return faults


class WindowTest(ScenarioTest):
    """A scenario test that looks at windows and acts on them as a user does."""

    def state(self, title, wait_ms=20000):
        """The window's state once its controls exist (its title comes first)."""
        deadline = time.time() + max(wait_ms / 1000, 5)
        while True:
            result = self.wintool("state", title, wait_ms)
            if result.returncode != 0:
                raise AssertionError(f"no window titled {title!r}")
            state = WindowState(result.stdout.decode("utf-8", "replace"))
            if state.controls or time.time() > deadline:
                return state
            time.sleep(0.1)

    def wait_state(self, title, predicate, what, timeout=30):
        """The first state of the window that satisfies predicate."""
        return self.wait_until(lambda: (lambda state: state if predicate(state) else None)(self.state(title)),
                               timeout=timeout, what=what)

    def painted_state(self, title):
        """The window's state once it has painted at least once and settled."""
        state = self.wait_state(title, lambda s: s.counters.get("Presents", 0) > 0, f"{title!r} to paint")
        time.sleep(0.5)
        return state

    def window_exists(self, title):
        return self.wintool("wait", title, 0).returncode == 0

    def wait_gone(self, title, timeout=30):
        self.wait_until(lambda: not self.window_exists(title), timeout=timeout, what=f"{title!r} to close")

    def wait_until(self, predicate, timeout=30, what="condition"):
        deadline = time.time() + timeout
        while time.time() < deadline:
            value = predicate()
            if value:
                return value
            time.sleep(0.2)
        raise AssertionError(f"timed out waiting for {what}")

    def screenshot(self, keep_as=None):
        return Screenshot(self.display.name, keep_as)

    # Real input.
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
