"""The entry and its run modes, with the real executable under Wine."""
import subprocess
import time
import unittest

from scenario import WINTOOL, ScenarioTest, polish

COPY_BOX_CAPTION = "VeridaneSetup.exe"


class RunningInstance(ScenarioTest):
    def test_a_window_with_the_title_makes_a_new_licence_view_leave_at_once(self):
        holder = self.prefix.start([WINTOOL, "hold", polish(10)], display=self.display.name, capture=True)
        self.addCleanup(holder.stdout.close)
        self.addCleanup(holder.wait)
        self.addCleanup(holder.kill)
        self.assertEqual(b"ready", holder.stdout.readline().strip())
        started = time.time()
        result = self.run_installer(timeout=60)
        self.assertEqual(0, result.returncode)
        self.assertLess(time.time() - started, 20)
        listing = self.wintool("list").stdout.decode("utf-8")
        self.assertEqual(1, listing.count(polish(10)), listing)


class Modes(ScenarioTest):
    def run_with_copy_box(self, *args):
        """Runs the installer while closing the copy mode's final message box."""
        process = self.start_installer(*args)
        seen = self.close_window(COPY_BOX_CAPTION)
        process.wait(timeout=120)
        return process.returncode, seen

    def test_copy_wins_over_the_cab_hook_in_either_order(self):
        for args in (["-copy", "-i"], ["-i", "-copy"]):
            with self.subTest(args=args):
                code, seen = self.run_with_copy_box(*args)
                self.assertEqual(0, code)
                self.assertIsNotNone(seen, "the copy mode's message box did not appear")
                log = self.log_bytes()
                self.assertTrue(log.startswith(b"VeridaneSetup.exe@High\r\n"), log)
                self.assertNotIn(b"CAB hook", log)
                self.assertTrue(log.endswith(b"Finished. Err=\r\n"), log)
                self.product_path("log.txt").unlink()

    def test_noisy_shows_the_command_line_first(self):
        process = self.start_installer("-noisy", "#version=7")
        seen = self.close_window("Command line:")
        self.assertIsNotNone(seen)
        self.assertIn("command line:-noisy #version=7", seen)
        # A licence view may follow; close it too.
        if process.poll() is None:
            self.close_window(polish(10), wait_ms=5000)
        process.wait(timeout=60)
        self.assertEqual(0, process.returncode)

    def test_cab_hook_exit_code_is_the_installation_result(self):
        # Nothing beside the program: no component registers, so the result is 7.
        result = self.run_installer("-i")
        self.assertEqual(7, result.returncode)
        log = self.log_bytes()
        self.assertTrue(log.startswith(b"KAVROPellmark@High as CAB hook log:\r\n"), log)
        self.assertIn(b"Veridane.ocxregsvr32 probably failed :regsvr32 /s", log)
        self.assertIn(b"Both ways to register activex failed.\r\n", log)


class WithoutAdministratorRights(ScenarioTest):
    """Wine always runs programs as an administrator: the limited user comes from the
    test build's seam VERIDANE_SEAM_RIGHTS=1."""

    limited = {"VERIDANE_SEAM_RIGHTS": "1"}

    def test_auto_start_and_cab_hook_refuse_with_the_rights_message(self):
        for args in (["-e"], ["-i"]):
            with self.subTest(args=args):
                process = self.start_installer(*args, env=self.limited)
                seen = self.close_window("Error")
                process.wait(timeout=60)
                self.assertEqual(0, process.returncode)
                self.assertIsNotNone(seen)
                self.assertIn(polish(12), seen)
                self.assertEqual(b"", self.log_bytes())
                self.assertFalse(self.product_path().exists())


if __name__ == "__main__":
    unittest.main()
