"""Proxy discovery with the real installer under Wine: the preconfigured attempt fails
(the prefix's Internet settings name a dead proxy), and the download finds its way
through a real tinyproxy named by a browser profile, a cnetcfg.ini, a PAC script
served by the test server, or the user's own manual settings."""
import shutil
import tempfile
import unittest
from pathlib import Path

from scenario import PORT, SETTINGS_KEY, ScenarioTest, app_data_folder, cmake_cache
from tinyproxy import TinyProxy, free_port

HEADER = b"KAVROPellmark@High as downloader log:\r\n"
INTERNET_SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"
CABINET_URL = f"http://127.0.0.1:{PORT}/special/qvd/Veridane.cab"
UPDATE_HOST = cmake_cache("VERIDANE_UPDATE_HOST")
# Scripts are fetched by the name "localhost", which the Internet settings exempt from
# the dead proxy; the cabinet is fetched by 127.0.0.1, which they do not.
SCRIPT_BASE = f"http://localhost:{PORT}/"

# The password keystream of the settings store; stored passwords depend on these
# bytes, so they are written out here once more.
KEY_TABLES = [
    bytes.fromhex("dd66770a49ccafe61bd894243c57ba7da0e0286fd2faa1c99896d84546ee60"),
    bytes.fromhex("16a9e5348624c29f78784cdf10cd543e1ee7939d2b9ed747b99d8a4b1c"),
    bytes.fromhex("61c0a838bcfff44312ad937bd4220b2956d28315a3a50d"),
    bytes.fromhex("ccd96d22154f55393e70689a50745d020f"),
    bytes.fromhex("5b80bdbb76166eb4fe4b02a187"),
    bytes.fromhex("75bb72a7e11dd17886cab9"),
]


def scramble(data):
    out = bytearray(data)
    for i in range(len(out)):
        for table in KEY_TABLES:
            out[i] ^= table[i % len(table)]
    return bytes(out)


class ProxyScenario(ScenarioTest):
    @classmethod
    def setUpClass(cls):
        cls.server_root = tempfile.mkdtemp(prefix="veridane-pac-")
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        shutil.rmtree(cls.server_root, ignore_errors=True)

    def setUp(self):
        super().setUp()
        self.work = Path(tempfile.mkdtemp(prefix="veridane-proxy-"))
        self.addCleanup(shutil.rmtree, self.work, True)
        self.reg_add(INTERNET_SETTINGS, "ProxyEnable", "REG_DWORD", 1)
        self.reg_add(INTERNET_SETTINGS, "ProxyServer", "REG_SZ", f"127.0.0.1:{free_port()}")
        self.reg_add(INTERNET_SETTINGS, "ProxyOverride", "REG_SZ", "localhost")

    def start_proxy(self, name="proxy", basic_auth=None):
        proxy = TinyProxy(self.work / name, basic_auth)
        self.addCleanup(proxy.stop)
        return proxy

    def app_data(self, relative):
        """A new file in the user's application-data folder, as the system reports it."""
        path = app_data_folder(self.prefix) / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        return path

    def firefox_profile(self, name, prefs):
        self.app_data(f"Mozilla/Firefox/Profiles/{name}/prefs.js").write_text(
            "# Mozilla User Preferences\n" + "".join(f'user_pref("{k}", {v});\n' for k, v in prefs.items()))

    def script(self, name, answer):
        """A PAC script on the test server that answers only the question about the update server."""
        (Path(self.server_root) / name).write_text(
            "function FindProxyForURL(url, host) {\n"
            f'  if (host == "{UPDATE_HOST}") return "{answer}";\n'
            '  return "DIRECT";\n'
            "}\n")
        return SCRIPT_BASE + name

    def install_and_log(self, env=None):
        self.assertEqual(0, self.install("-e", env=env))
        return self.log_bytes()

    def assert_installed_through(self, proxy, log):
        self.assertEqual(HEADER + b"all ok\r\n", log)
        self.assertIn(f"GET {CABINET_URL} HTTP/1.1", proxy.requests())
        self.assertIsNotNone(self.host_record())

    def set_manual_proxy(self, proxy, user, password):
        key = "HKCU\\" + SETTINGS_KEY
        self.reg_add(key, "qvd_proxy_addr", "REG_SZ", "127.0.0.1")
        self.reg_add(key, "qvd_proxy_port", "REG_SZ", proxy.port)
        self.reg_add(key, "qvd_proxy_username", "REG_SZ", user)
        self.reg_add(key, "qvd_proxy_password_enc", "REG_BINARY", scramble(password.encode("utf-16-le")).hex())
        self.reg_add(key, "qvd_proxy_enabled", "REG_SZ", "1")


class BrowserAndSystemSources(ProxyScenario):
    def test_firefox_manual_proxy_carries_the_download(self):
        proxy = self.start_proxy()
        self.firefox_profile("abc.default", {"network.proxy.type": 1, "network.proxy.http": '"127.0.0.1"',
                                             "network.proxy.http_port": proxy.port})
        self.assert_installed_through(proxy, self.install_and_log())
        # The settings are saved after every successful download, used or not.
        settings = self.registry("HKCU")[SETTINGS_KEY]
        self.assertEqual(("sz", "0"), settings["qvd_proxy_enabled"])
        self.assertEqual(("binary", b""), settings["qvd_proxy_password_enc"])

    def test_script_named_by_firefox_and_the_lan_settings_is_fetched_once(self):
        proxy = self.start_proxy()
        url = self.script("shared.pac", f"PROXY {proxy.address}")
        self.firefox_profile("abc.default", {"network.proxy.type": 2, "network.proxy.autoconfig_url": f'"{url}"'})
        # Wine's Internet library reports no LAN script address; the test build's seam does.
        log = self.install_and_log(env={"VERIDANE_SEAM_LAN_FLAGS": "5", "VERIDANE_SEAM_LAN_SCRIPT": url})
        self.assert_installed_through(proxy, log)
        self.assertEqual(1, self.server.stats().get("/shared.pac"))

    def test_opera_profile(self):
        proxy = self.start_proxy()
        self.app_data("Opera/Opera/profile/opera6.ini").write_text(
            f"[Proxy]\nUse HTTP=1\nHTTP server={proxy.address}\n")
        self.assert_installed_through(proxy, self.install_and_log())

    def test_opera_script(self):
        proxy = self.start_proxy()
        url = self.script("opera.pac", f"PROXY 127.0.0.1:{free_port()}; PROXY {proxy.address}")
        self.app_data("Opera/Opera/profile/opera6.ini").write_text(
            f"[Proxy]\nUse Automatic Proxy Configuration=1\nAutomatic Proxy Configuration URL={url}\n")
        self.assert_installed_through(proxy, self.install_and_log())

    def test_cnetcfg_found_through_dacontents(self):
        proxy = self.start_proxy()
        ini = self.prefix.unix_path(r"C:\dacontents\system\net\cnetcfg\cnetcfg.ini")
        ini.parent.mkdir(parents=True)
        ini.write_text(f"[PROXY]\nEnableProxy=1\nHttp_Proxy_Server=http://127.0.0.1\nHttp_Proxy_Port={proxy.port}\n")
        self.assert_installed_through(proxy, self.install_and_log(env={"DaContents": r"C:\dacontents"}))

    def test_nothing_found_leaves_no_connection(self):
        self.firefox_profile("broken", {"network.proxy.type": 1, "network.proxy.http": '"unterminated'})
        self.app_data("Opera/Opera/profile/opera6.ini").write_bytes(b"\xff\xfe[Proxy]\x00Use HTTP=1\n" * 500)
        self.assertEqual(HEADER + b"Can not open internet", self.install_and_log())
        self.assertNotIn("/special/qvd/Veridane.cab", self.server.stats())


class ManualSettings(ProxyScenario):
    def test_right_credentials_install_and_are_kept_scrambled(self):
        proxy = self.start_proxy(basic_auth=("anna", "s3cret"))
        self.set_manual_proxy(proxy, "anna", "s3cret")
        self.assert_installed_through(proxy, self.install_and_log())
        settings = self.registry("HKCU")[SETTINGS_KEY]
        self.assertEqual(("sz", "127.0.0.1"), settings["qvd_proxy_addr"])
        self.assertEqual(("sz", str(proxy.port)), settings["qvd_proxy_port"])
        self.assertEqual(("sz", "anna"), settings["qvd_proxy_username"])
        self.assertEqual(("sz", "1"), settings["qvd_proxy_enabled"])
        self.assertEqual(("binary", scramble("s3cret".encode("utf-16-le"))), settings["qvd_proxy_password_enc"])

        # The next start loads them back and gets through again.
        self.product_path("log.txt").unlink()
        self.assertEqual(HEADER + b"all ok\r\n", self.install_and_log())
        self.assertEqual(2, proxy.requests().count(f"GET {CABINET_URL} HTTP/1.1"))

    def test_wrong_password_fails_without_trying_other_sources(self):
        proxy = self.start_proxy(basic_auth=("anna", "s3cret"))
        other = self.start_proxy("other")
        self.set_manual_proxy(proxy, "anna", "wrong")
        self.firefox_profile("abc.default", {"network.proxy.type": 1, "network.proxy.http": '"127.0.0.1"',
                                             "network.proxy.http_port": other.port})
        log = self.install_and_log()
        self.assertRegex(log, rb"^" + HEADER + rb"Unexpected HTTP status 40[17]$")
        self.assertEqual([], other.requests())
        self.assertNotIn("/special/qvd/Veridane.cab", self.server.stats())


if __name__ == "__main__":
    unittest.main()
