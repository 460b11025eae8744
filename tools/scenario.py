"""Scenario-test harness: the real installer under Wine, against the real parts.

Each test gets a fresh Wine prefix; each test class shares one Xvfb display and one
loopback download server. Everything is checked the way a user or an administrator
would see it: exit code, files, registry, the log, windows.
"""
import json
import os
import shutil
import struct
import subprocess
import time
import unittest
import urllib.request
from pathlib import Path

from winetest import WINE, Display, WinePrefix

SOURCE = Path(__file__).resolve().parent.parent
BUILD = Path(os.environ.get("VERIDANE_BUILD", SOURCE / "build" / "x64"))
INSTALLER = BUILD / "VeridaneSetup.exe"
SAMPLE = BUILD / "sample"
WINTOOL = BUILD / "tests" / "wintool.exe"
ARTIFACTS = BUILD / "artifacts"

PRODUCT_FOLDER = r"C:\Program Files\KAVRO\KAVRO Veridane"
DOWNLOADS = r"C:\users\Public\Downloads"
UNINSTALL_KEY = r"software\microsoft\windows\currentversion\uninstall\kavro veridane"
PRODUCT_KEY = r"software\kavro\kavro veridane"
SETTINGS_KEY = r"software\kavro\veridane"
SCANNER_CLSID = "{6C3F2A5E-8D41-4B7A-9E12-5A0C7D3E9B21}"


def cmake_cache(name):
    for line in (BUILD / "CMakeCache.txt").read_text().splitlines():
        if line.startswith(name + ":"):
            return line.split("=", 1)[1]
    raise KeyError(name)


PORT = int(cmake_cache("VERIDANE_DOWNLOAD_PORT"))


def polish(string_id):
    """A text of the Polish row, the language the test build is configured with."""
    line = (SOURCE / "resources" / "strings" / "21-polish.txt").read_text(encoding="utf-8").splitlines()[string_id]
    return line.split("\t", 1)[1].replace("\\n", "\n")


class DownloadServer:
    """tools/download_server.py on 127.0.0.1:PORT."""

    def __init__(self, root=None, cabinet=None):
        args = ["python3", str(SOURCE / "tools" / "download_server.py"), "--port", str(PORT),
                "--cabinet", str(cabinet or SAMPLE / "Veridane.cab")]
        if root:
            args += ["--root", str(root)]
        self.process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if self.process.stdout.readline().strip() != "ready":
            raise RuntimeError("download server did not start: " + self.process.stderr.read())

    def _control(self, path):
        with urllib.request.urlopen(f"http://127.0.0.1:{PORT}/_control/{path}", timeout=10) as answer:
            return json.loads(answer.read())

    def mode(self, name, **params):
        query = "&".join([f"name={name}"] + [f"{k}={urllib.request.quote(str(v))}" for k, v in params.items()])
        self._control("mode?" + query)

    def stats(self):
        return self._control("stats")

    def reset(self):
        self._control("reset")

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)
        self.process.stdout.close()
        self.process.stderr.close()


def place_installer(prefix, folder=DOWNLOADS, name="VeridaneSetup.exe"):
    """Copies the installer into a folder of the prefix; returns its Windows path."""
    target = prefix.unix_path(folder + "\\" + name)
    target.parent.mkdir(parents=True, exist_ok=True)
    shutil.copy2(INSTALLER, target)
    return folder + "\\" + name


def unpack_sample(target, cabinet=None):
    """Unpacks the sample cabinet (or another) into a Linux folder."""
    target.mkdir(parents=True, exist_ok=True)
    subprocess.run(["gcab", "-x", "-C", str(target), str(cabinet or SAMPLE / "Veridane.cab")], check=True,
                   stdout=subprocess.DEVNULL)
    return target


def work_folder(prefix):
    """The installer's work folder in the prefix: the user's temporary folder + "KVX"."""
    temp = prefix.run(["cmd", "/c", "echo", "%TEMP%"], timeout=60).stdout.decode().strip()
    return temp + "\\KVX"


def app_data_folder(prefix):
    """The user's application-data folder, as the system reports it (Linux path)."""
    users = [p for p in (prefix.drive_c / "users").iterdir() if p.name not in ("Public", "crossover")]
    return users[0] / "AppData" / "Roaming"


def start_desktop(prefix, display):
    """Starts the prefix's desktop on the display, as a logged-on user has one. Under
    Wine a program started by a windowless process (the copy mode's host, say) finds
    no display driver unless the desktop already runs."""
    prefix.run([WINTOOL, "list"], timeout=60, display=display)


class ScenarioTest(unittest.TestCase):
    """Base class: a display and a server per class, a fresh prefix per test."""

    server_root = None

    @classmethod
    def setUpClass(cls):
        cls.display = Display()
        try:
            cls.server = DownloadServer(root=cls.server_root)
        except Exception:
            cls.display.stop()  # tearDownClass does not run when setUpClass fails
            raise

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.display.stop()

    def setUp(self):
        self.server.reset()
        name = f"{type(self).__module__}-{type(self).__name__}-{self._testMethodName}"
        self.prefix = WinePrefix(BUILD / "wine", name)
        self.addCleanup(self.prefix.remove)
        start_desktop(self.prefix, self.display.name)

    # Programs.
    def place_installer(self, folder=DOWNLOADS, name="VeridaneSetup.exe"):
        return place_installer(self.prefix, folder, name)

    def run_installer(self, *args, timeout=180, env=None, program=None):
        program = program or self.place_installer()
        return self.prefix.run([program] + list(args), timeout=timeout, display=self.display.name,
                               extra_env=env)

    def start_installer(self, *args, env=None, program=None, output=None):
        program = program or self.place_installer()
        process = self.prefix.start([program] + list(args), display=self.display.name, extra_env=env, output=output)
        self.addCleanup(self._reap, process)
        return process

    @staticmethod
    def _reap(process):
        if process.poll() is None:
            process.kill()
        process.wait()

    def install(self, *args, env=None, program=None, timeout=180):
        """Runs the installing instance to its end, as a user who closes the window
        when it reports a failure: the window closes by itself only on success.
        Returns the exit code."""
        process = self.start_installer(*args, env=env, program=program)
        log = self.product_path("log.txt")
        deadline = time.time() + timeout
        while process.poll() is None and time.time() < deadline:
            if log.exists():
                try:
                    return process.wait(timeout=3)
                except subprocess.TimeoutExpired:
                    self.close_window(polish(3), wait_ms=5000)
                    return process.wait(timeout=30)
            time.sleep(0.2)
        if process.poll() is None:
            process.kill()
            self.fail("the installer did not end")
        return process.returncode

    def wintool(self, *args, timeout=60):
        return self.prefix.run([WINTOOL] + [str(a) for a in args], timeout=timeout, display=self.display.name)

    def close_window(self, title, wait_ms=30000):
        """Waits for a top-level window by exact title and closes it; returns what
        wintool saw (handle line and child controls), or None when none came."""
        result = self.wintool("close", title, wait_ms)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    def close_boxes_until_exit(self, process, titles, timeout=120):
        """Closes every message box with one of the titles as it comes, until the
        process ends; returns what each box showed, in order."""
        seen, windows = [], set()
        deadline = time.time() + timeout
        while process.poll() is None and time.time() < deadline:
            for title in titles:
                shown = self.close_window(title, wait_ms=300)
                # A closed box may linger a moment: each window (its handle, the
                # first line wintool prints) is counted once.
                if shown is not None and shown.split("\n", 1)[0] not in windows:
                    windows.add(shown.split("\n", 1)[0])
                    seen.append((title, shown))
        if process.poll() is None:
            process.kill()
            self.fail(f"the program did not end; boxes seen: {seen}")
        return seen

    # What a user or an administrator sees.
    def product_path(self, name=""):
        return self.prefix.unix_path(PRODUCT_FOLDER + ("\\" + name if name else ""))

    def log_bytes(self):
        path = self.product_path("log.txt")
        return path.read_bytes() if path.exists() else b""

    def registry(self, hive):
        self.prefix.kill()
        return self.prefix.registry(hive)

    def reg_add(self, key, name, kind, data):
        result = self.prefix.run(["reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f"], timeout=60)
        self.assertEqual(0, result.returncode, result.stderr)

    def host_record(self):
        path = self.product_path("VeridaneApp.started.txt")
        deadline = time.time() + 30
        while time.time() < deadline and not path.exists():
            time.sleep(0.2)
        return path.read_bytes().decode("utf-8") if path.exists() else None


def cabinet_file_times(path):
    """{name: (dos date, dos time)} of the files a cabinet records."""
    data = Path(path).read_bytes()
    files_offset, = struct.unpack_from("<I", data, 16)
    count, = struct.unpack_from("<H", data, 28)
    result, offset = {}, files_offset
    for _ in range(count):
        _size, _start, _folder, date, time_ = struct.unpack_from("<IIHHH", data, offset)
        end = data.index(b"\0", offset + 16)
        result[data[offset + 16:end].decode("latin-1")] = (date, time_)
        offset = end + 1
    return result


def write_cabinet(path, files, date=(0x58B1, 0x6DAF)):
    """Writes an uncompressed cabinet with the given {name: bytes} entries, names taken
    exactly as given (for hostile names that no packer would write)."""
    names = list(files)
    header_size, folder_size = 36, 8
    entries = b""
    offset_in_folder = 0
    for name in names:
        entries += struct.pack("<IIHHHH", len(files[name]), offset_in_folder, 0, date[0], date[1], 0x20)
        entries += name.encode("latin-1") + b"\0"
        offset_in_folder += len(files[name])
    payload = b"".join(files[name] for name in names)
    blocks = [payload[i:i + 32768] for i in range(0, len(payload), 32768)] or [b""]
    data_start = header_size + folder_size + len(entries)
    data = b"".join(struct.pack("<IHH", 0, len(b), len(b)) + b for b in blocks)
    total = data_start + len(data)
    header = struct.pack("<4sIIIIIBBHHHHH", b"MSCF", 0, total, 0, header_size + folder_size, 0, 3, 1, 1,
                         len(names), 0, 0x1234, 0)
    folder = struct.pack("<IHH", data_start, len(blocks), 0)
    Path(path).write_bytes(header + folder + entries + data)
    return total
