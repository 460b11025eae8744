"""A whole installation by the installing instance ("-e"), and every way it can fail,
with the real executable under Wine against the loopback download server."""
import os
import re
import time
import unittest
from datetime import datetime

from scenario import (PRODUCT_FOLDER, PRODUCT_KEY, SAMPLE, SCANNER_CLSID, UNINSTALL_KEY, ScenarioTest,
                      cabinet_file_times, write_cabinet)

PRODUCT_FILES = ["Veridane.ocx", "Veridane64.ocx", "VeridaneApp.exe", "VeridaneUninstaller.exe"]
HEADER = b"KAVROPellmark@High as downloader log:\r\n"


def dos_to_epoch(date, time_):
    moment = datetime(1980 + (date >> 9), (date >> 5) & 15, date & 31, time_ >> 11, (time_ >> 5) & 63,
                      (time_ & 31) * 2)
    return moment.timestamp()  # the cabinet's times are local times


class FullInstallation(ScenarioTest):
    def test_installing_instance_installs_registers_lists_and_starts_the_product(self):
        self.assertEqual(0, self.install("-e"))

        self.assertEqual(HEADER + b"all ok\r\n", self.log_bytes())
        folder = self.product_path()
        self.assertTrue((folder / "Modules").is_dir())
        self.assertTrue((folder / "Quarantine").is_dir())
        self.assertEqual((SAMPLE / "Veridane.cab").read_bytes(), (folder / "Veridane.cab").read_bytes())
        for name, (date, time_) in cabinet_file_times(SAMPLE / "Veridane.cab").items():
            with self.subTest(file=name):
                self.assertTrue((folder / name).is_file())
                self.assertEqual(dos_to_epoch(date, time_), (folder / name).stat().st_mtime)

        record = self.host_record()
        self.assertIsNotNone(record, "the hosting application did not start")
        self.assertEqual(f'"{PRODUCT_FOLDER}\\VeridaneApp.exe" lng=21\r\ncontrol=created\r\n', record)

        machine = self.registry("HKLM")
        self.assertIn(f"software\\classes\\clsid\\{SCANNER_CLSID.lower()}\\inprocserver32", machine)
        uninstall = machine[UNINSTALL_KEY]
        uninstaller = PRODUCT_FOLDER + "\\VeridaneUninstaller.exe"
        self.assertEqual(("expand_sz", "KAVRO Veridane v3"), uninstall["DisplayName"])
        self.assertEqual(("expand_sz", f'"{uninstaller}"'), uninstall["UninstallString"])
        self.assertEqual(("expand_sz", uninstaller), uninstall["DisplayIcon"])
        self.assertEqual(("dword", 1), uninstall["NoModify"])
        self.assertEqual(("dword", 1), uninstall["NoRepair"])
        serial = machine[PRODUCT_KEY]["QVDSerial"]
        self.assertEqual("expand_sz", serial[0])
        self.assertRegex(serial_text(serial[1]), r"^[0-9a-f]{32}$")
        user = self.registry("HKCU")
        self.assertEqual(("sz", PRODUCT_FOLDER + "\\"), user["software\\kavro\\veridane"]["Path"])

    def test_serial_survives_a_second_installation_and_replaces_a_short_one(self):
        self.assertEqual(0, self.install("-e"))
        first = serial_text(self.registry("HKLM")[PRODUCT_KEY]["QVDSerial"][1])
        self.assertEqual(0, self.install("-e"))
        self.assertEqual(first, serial_text(self.registry("HKLM")[PRODUCT_KEY]["QVDSerial"][1]))
        self.reg_add("HKLM\\" + PRODUCT_KEY, "QVDSerial", "REG_SZ", "short")
        self.assertEqual(0, self.install("-e"))
        replaced = serial_text(self.registry("HKLM")[PRODUCT_KEY]["QVDSerial"][1])
        self.assertRegex(replaced, r"^[0-9a-f]{32}$")
        self.assertNotEqual(first, replaced)


def serial_text(value):
    """QVDSerial is written as narrow text; Wine stores that as bytes or as text."""
    if isinstance(value, bytes):
        return value.rstrip(b"\0").decode("ascii")
    return value.rstrip("\0")


class Failures(ScenarioTest):
    def install_and_log(self, env=None):
        self.assertEqual(0, self.install("-e", env=env))
        return self.log_bytes()

    def test_no_internet_library(self):
        log = self.install_and_log(env={"WINEDLLOVERRIDES": "mscoree,mshtml=;wininet=d"})
        self.assertEqual(HEADER + b"Can not open wininet.dll", log)
        self.assertIsNone(self.host_record_now())

    def test_no_connection(self):
        self.server.stop()
        try:
            log = self.install_and_log()
        finally:
            type(self).server = type(self.server)()
        self.assertEqual(HEADER + b"Can not open internet", log)

    def test_transfer_failures(self):
        cases = [
            ("short", {}, b"Downloaded file too small: 200"),
            ("status", {"status": 404}, b"Unexpected HTTP status 404"),
            ("status", {"status": 502}, b"Unexpected HTTP status 502"),
            ("reset", {}, b"Can not read file from internet."),
        ]
        for mode, params, expected in cases:
            with self.subTest(mode=mode, **params):
                self.server.mode(mode, **params)
                log = self.install_and_log()
                self.assertEqual(HEADER + expected, log)
                self.assertFalse(self.product_path("VeridaneApp.exe").exists())
                self.product_path("log.txt").unlink()

    def test_cabinet_file_that_cannot_be_created(self):
        self.product_path("Veridane.cab").mkdir(parents=True)
        self.assertEqual(HEADER + b"Can not create file.", self.install_and_log())

    def test_corrupt_cabinet(self):
        corrupt = bytearray((SAMPLE / "Veridane.cab").read_bytes())
        corrupt[60:] = bytes(len(corrupt) - 60)
        path = self.prefix.path / "corrupt.cab"
        path.write_bytes(bytes(corrupt))
        self.server.mode("normal", file=path)
        log = self.install_and_log()
        self.assertTrue(log.startswith(HEADER + b"Can not extract cab" + PRODUCT_FOLDER.encode() + b"\\Veridane.cabErr:"),
                        log)
        self.assertIsNone(self.host_record_now())

    def test_unsafe_entry_name_is_never_written_outside_the_folder(self):
        path = self.prefix.path / "unsafe.cab"
        write_cabinet(path, {"readme.txt": b"fine" * 4000, "..\\..\\evil.txt": b"evil" * 4000})
        self.server.mode("normal", file=path)
        log = self.install_and_log()
        self.assertTrue(log.startswith(HEADER + b"Can not extract cab"), log)
        self.assertIn(b'Err:unsafe entry name "..\\..\\evil.txt"', log)
        self.assertEqual([], list(self.prefix.drive_c.rglob("evil.txt")))

    def test_missing_hosting_application(self):
        self.server.mode("normal", file=SAMPLE / "Veridane-nohost.cab")
        log = self.install_and_log()
        self.assertTrue(log.startswith(HEADER + b"Can not run Hosting Application - " + PRODUCT_FOLDER.encode() +
                                       b"\\VeridaneApp.exe - "), log)
        self.assertTrue(log.endswith(b"\r\n"))
        self.assertIn(UNINSTALL_KEY, self.registry("HKLM"))

    def test_failed_registration_still_starts_the_host(self):
        self.server.mode("normal", file=SAMPLE / "Veridane-noregister.cab")
        log = self.install_and_log()
        expected = (HEADER + b".ocx registration probably failed: regsvr32 probably failed :regsvr32 /s \"" +
                    PRODUCT_FOLDER.encode() + b"\\Veridane.ocx\" Both ways to register activex failed.\r\n")
        self.assertEqual(expected, log)
        self.assertIsNotNone(self.host_record())

    def test_exact_multiple_of_the_read_size_ends_with_an_empty_read(self):
        self.server.mode("size", size=163840 * 8)
        self.assertEqual(HEADER + b"all ok\r\n", self.install_and_log())
        self.assertEqual(163840 * 8, self.product_path("Veridane.cab").stat().st_size)

    def host_record_now(self):
        path = self.product_path("VeridaneApp.started.txt")
        return path.read_bytes().decode("utf-8") if path.exists() else None


if __name__ == "__main__":
    unittest.main()
