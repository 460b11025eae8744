"""The installations from a folder: the cabinet's installation hook ("-i") and the
copy step ("-copy"), end to end with the real executable under Wine."""
import shutil
import unittest

from scenario import PRODUCT_FOLDER, SAMPLE, UNINSTALL_KEY, WINTOOL, ScenarioTest, unpack_sample, work_folder

PRODUCT = {"Veridane.ocx": "Veridane.ocx", "Veridane64.ocx": "Veridane64.ocx",
           "VeridaneApp.exe": "VeridaneApp.exe", "VeridaneUninstaller.exe": "VeridaneUninstaller.exe"}


class FolderInstallations(ScenarioTest):
    def stage_product(self, folder):
        """Unpacks the sample cabinet into a folder of the prefix (a Windows path)."""
        return unpack_sample(self.prefix.unix_path(folder))

    def test_cab_hook_installs_the_files_beside_the_program(self):
        source = r"C:\Cabinet Hook"
        self.stage_product(source)
        program = self.place_installer(folder=source)
        self.product_path().mkdir(parents=True)
        (self.product_path("stale.txt")).write_bytes(b"from an older version")

        result = self.run_installer("-i", program=program)

        self.assertEqual(0, result.returncode)
        for name in list(PRODUCT) + ["VeridaneSetup.exe"]:
            self.assertTrue(self.product_path(name).is_file(), name)
        self.assertFalse(self.product_path("stale.txt").exists())
        self.assertEqual(b"KAVROPellmark@High as CAB hook log:\r\nVeridane.ocx - registred OK\r\n", self.log_bytes())
        self.assertIsNone(self.started_host(), "the hook starts the host only on the Windows 9x family")
        self.assertIn(UNINSTALL_KEY, self.registry("HKLM"))

    def test_cab_hook_on_the_windows_9x_family_starts_the_host_with_win98(self):
        source = r"C:\Cabinet Hook"
        self.stage_product(source)
        program = self.place_installer(folder=source)
        result = self.run_installer("-i", program=program, env={"VERIDANE_SEAM_PLATFORM": "9x"})
        self.assertEqual(0, result.returncode)
        record = self.host_record()
        self.assertIsNotNone(record, "the host was not started")
        self.assertRegex(record, r'^"?C:\\Program Files\\KAVRO\\KAVRO Veridane\\VeridaneApp\.exe"? Win98\r\n'
                                 r'control=created\r\n$')
        self.assertEqual(("sz", "1"), self.registry("HKCU")["software\\kavro\\veridane"]["IE Crashed"])

    def test_noisy_cab_hook_shows_its_steps_and_logs_the_finish(self):
        source = r"C:\Cabinet Hook"
        self.stage_product(source)
        program = self.place_installer(folder=source)
        process = self.start_installer("-i", "-noisy", program=program)
        seen = self.close_boxes_until_exit(process, ["Command line:", "inst", "CAB file instalation hook"])
        self.assertEqual(0, process.returncode)
        titles = [title for title, _ in seen]
        self.assertEqual(["Command line:", "inst", "CAB file instalation hook"], titles)
        self.assertIn("command line:-i -noisy", seen[0][1])
        self.assertIn(f"copy from {source}\\ to {PRODUCT_FOLDER}\\", seen[1][1])
        # The hook's own block, then the finish note as a block of its own.
        self.assertEqual(b"KAVROPellmark@High as CAB hook log:\r\nVeridane.ocx - registred OK\r\n"
                         b"Inslaller: Finished.\r\n", self.log_bytes())

    def test_on_64_bit_windows_both_controls_register_and_a_failure_does_not_stop_the_other(self):
        # A 32-bit installer on 64-bit Windows (the test build's seam) registers the
        # 64-bit control first; here that one cannot register itself.
        source = r"C:\Cabinet Hook"
        folder = self.stage_product(source)
        shutil.copy2(SAMPLE / "VeridaneNoRegister.ocx", folder / "Veridane64.ocx")
        program = self.place_installer(folder=source)
        result = self.run_installer("-i", program=program, env={"VERIDANE_SEAM_WOW64": "1"})
        self.assertEqual(7, result.returncode)
        self.assertEqual(b"KAVROPellmark@High as CAB hook log:\r\n"
                         b"Veridane64.ocxregsvr32 probably failed :regsvr32 /s \"" + PRODUCT_FOLDER.encode() +
                         b"\\Veridane64.ocx\" Both ways to register activex failed.\r\n"
                         b"Veridane.ocx - registred OK\r\n", self.log_bytes())

    def test_copy_mode_installs_the_work_folder_and_starts_the_host(self):
        work = work_folder(self.prefix)
        self.stage_product(work)
        result = self.run_installer("-copy")
        self.assertEqual(0, result.returncode)
        self.assertEqual(b"VeridaneSetup.exe@High\r\nVeridane.ocx - registred OK\r\nFinished. Err=\r\n",
                         self.log_bytes())
        self.assertIn("lng=21", self.host_record())
        self.assertEqual([], list(self.prefix.unix_path(work).iterdir()))
        for name in PRODUCT:
            self.assertTrue(self.product_path(name).is_file(), name)

    def test_a_locked_target_file_is_logged_and_left_in_place(self):
        source = r"C:\Cabinet Hook"
        self.stage_product(source)
        program = self.place_installer(folder=source)
        self.product_path().mkdir(parents=True)
        self.product_path("VeridaneApp.exe").write_bytes(b"old version")
        locker = self.prefix.start([WINTOOL, "lock", PRODUCT_FOLDER + "\\VeridaneApp.exe"], capture=True)
        self.addCleanup(locker.stdout.close)
        self.addCleanup(locker.wait)
        self.addCleanup(locker.kill)
        self.assertEqual(b"ready", locker.stdout.readline().strip())

        result = self.run_installer("-i", program=program)

        self.assertEqual(0, result.returncode)
        log = self.log_bytes()
        self.assertRegex(log, rb"^KAVROPellmark@High as CAB hook log:\r\n"
                              # the system's error text keeps its own line end
                              rb"VeridaneApp\.exe - delete file error:[^\r]+\r\n\r\n"
                              rb"VeridaneApp\.exe - copy file error :[^\r]+\r\n\r\n"
                              rb"Veridane\.ocx - registred OK\r\n$")
        self.assertEqual(b"old version", self.product_path("VeridaneApp.exe").read_bytes())

    def started_host(self):
        path = self.product_path("VeridaneApp.started.txt")
        return path.read_bytes().decode("utf-8") if path.exists() else None


if __name__ == "__main__":
    unittest.main()
