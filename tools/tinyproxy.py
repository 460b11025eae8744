"""A real tinyproxy for the scenario tests, on a free loopback port, with its own
configuration and log file. Stopped by its own process id."""
import re
import shutil
import socket
import subprocess
import tempfile
import time
from pathlib import Path


def free_port():
    """A loopback port that nothing listens on at the moment of asking."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class TinyProxy:
    """tinyproxy on 127.0.0.1; with basic_auth=(user, password) it asks for them. Its
    configuration and log go to the folder given, or to a temporary one removed on stop."""

    def __init__(self, folder=None, basic_auth=None):
        self.temporary = folder is None
        self.folder = Path(tempfile.mkdtemp(prefix="tinyproxy-") if folder is None else folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        self.port = free_port()
        self.log = self.folder / "tinyproxy.log"
        config = self.folder / "tinyproxy.conf"
        lines = [f"Port {self.port}", "Listen 127.0.0.1", "Allow 127.0.0.1", "Timeout 30", "MaxClients 20",
                 f'LogFile "{self.log}"', "LogLevel Info"]
        if basic_auth:
            lines.append(f"BasicAuth {basic_auth[0]} {basic_auth[1]}")
        config.write_text("\n".join(lines) + "\n")
        self.process = subprocess.Popen(["tinyproxy", "-d", "-c", str(config)], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self._wait_until_listening()

    @property
    def address(self):
        return f"127.0.0.1:{self.port}"

    def _wait_until_listening(self):
        deadline = time.time() + 10
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("tinyproxy ended at start")
            try:
                with socket.create_connection(("127.0.0.1", self.port), timeout=1):
                    return
            except OSError:
                time.sleep(0.05)
        self.stop()
        raise RuntimeError("tinyproxy did not listen")

    def log_bytes(self):
        return self.log.read_bytes() if self.log.exists() else b""

    def requests(self):
        """The request lines the proxy forwarded or refused, such as "GET http://... HTTP/1.1"."""
        if not self.log.exists():
            return []
        text = self.log.read_text(errors="replace")
        return re.findall(r"Request \(file descriptor \d+\): (.*)", text)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.temporary:
            shutil.rmtree(self.folder, ignore_errors=True)
