"""The installer usually runs from the user's download folder, elevated: a library
planted there under a system library's name must never be loaded."""
import shutil
import unittest

from scenario import BUILD, DOWNLOADS, ScenarioTest

PLANTED = BUILD / "tests" / "planted.dll"
SYSTEM_NAMES = ["wininet", "cabinet", "urlmon", "ws2_32", "jsproxy"]


class PlantedLibraries(ScenarioTest):
    def test_libraries_beside_the_program_are_never_loaded(self):
        folder = self.prefix.unix_path(DOWNLOADS)
        folder.mkdir(parents=True, exist_ok=True)
        for name in SYSTEM_NAMES:
            shutil.copy2(PLANTED, folder / f"{name}.dll")
        # Native first, so that the planted copies would win wherever the search reaches them.
        overrides = "mscoree,mshtml=;" + ",".join(SYSTEM_NAMES) + "=n,b"
        self.assertEqual(0, self.install("-e", env={"WINEDLLOVERRIDES": overrides}))
        self.assertEqual(b"KAVROPellmark@High as downloader log:\r\nall ok\r\n", self.log_bytes())
        marker = self.prefix.drive_c / "planted-loaded.txt"
        self.assertFalse(marker.exists(), marker.read_bytes().decode("utf-16-le") if marker.exists() else "")

    def test_the_planted_library_is_loadable(self):
        # The fixture itself works: loaded on purpose, it leaves its marker.
        folder = self.prefix.unix_path(DOWNLOADS)
        folder.mkdir(parents=True, exist_ok=True)
        shutil.copy2(PLANTED, folder / "planted.dll")
        self.prefix.run(["rundll32", DOWNLOADS + "\\planted.dll,Nothing"], timeout=60)
        self.assertTrue((self.prefix.drive_c / "planted-loaded.txt").exists())


if __name__ == "__main__":
    unittest.main()
