"""The licence view in a real window, driven by real input: licence text, the
acceptance box gating Start, the transparent step image, and Start handing over to
the installing instance, which downloads from the test server, installs and closes
itself once the hosting application runs."""
import unittest

from scenario import SOURCE, polish
from window_check import Bitmap, WindowTest, transparent_faults

PROGRESS, START, LICENCE, ACCEPT = 104, 105, 106, 107
WHITE = (255, 255, 255)
TEXT_COLOUR = (100, 105, 100)
STEP_IMAGE_AT = (27, 65)
# Client rectangles (left, top, right, bottom) of the painted status line and
# three-step text, up to where the next element begins.
STATUS_AREA = (61, 69, 540, 105)
STEPS_AREA = (36, 111, 540, 172)


def licence_opening():
    text = (SOURCE / "resources" / "licences" / "21-polish.txt").read_text(encoding="utf-8")
    return text.replace("\r\n", "\n").split("\n")[0]


def text_height(shot, origin, area):
    """Rows from the first to the last that hold pixels of the text colour in a
    client area; 0 when none does."""
    left, top, right, bottom = area
    rows = [y for y in range(top, bottom)
            if any(shot.pixel(origin[0] + x, origin[1] + y) == TEXT_COLOUR for x in range(left, right))]
    return rows[-1] - rows[0] + 1 if rows else 0


def progress_fill(shot, bar):
    """How far the progress bar's fill reaches, as a fraction of the bar's inside:
    the run of the fill colour along its middle row, from its inner left edge."""
    left, top, right, bottom = bar.rect
    y = (top + bottom) // 2
    inner_left, inner_right = left + 2, right - 2
    background = shot.pixel(inner_right - 1, y)
    x = inner_left
    while x < inner_right and shot.pixel(x, y) != background:
        x += 1
    return (x - inner_left) / (inner_right - inner_left)


class LicenceView(WindowTest):
    def setUp(self):
        super().setUp()
        self.title = polish(10)

    def test_acceptance_gates_start_and_start_installs_through_the_installing_instance(self):
        self.server.mode("slow", delay=0.15)  # about ten seconds, so the download can be seen
        licence_view = self.start_installer()
        state = self.painted_state(self.title)
        self.assertEqual((540, 335), state.size)
        self.assertTrue(state[LICENCE].text.replace("\r\n", "\n").startswith(licence_opening()))
        self.assertTrue(state[START].visible)
        self.assertFalse(state[START].enabled, "Start waits for the acceptance")
        self.assertEqual(0, state[ACCEPT].value)
        self.assertEqual(self.title, state.texts["StatusLine"])
        self.screenshot("licence_not_accepted.png")

        for ticked in (True, False, True):
            self.click(*state[ACCEPT].centre)
            now = self.state(self.title)
            self.assertEqual(1 if ticked else 0, now[ACCEPT].value)
            self.assertEqual(ticked, now[START].enabled)
        self.screenshot("licence_accepted.png")

        self.click(*state[START].centre)
        self.assertEqual(0, licence_view.wait(timeout=30), "the licence view closes and ends")
        self.assertFalse(self.window_exists(self.title))

        # Only an instance started with "-e" has this title.
        installing = self.wait_state(polish(3), lambda s: s[PROGRESS].value > 0, "the download to progress")
        self.assertNotEqual(licence_view.pid, installing.pid)
        shot = self.screenshot("installing_downloading.png")
        after = self.state(polish(3))
        self.assertEqual(polish(5), after.texts["StatusLine"])
        self.assertEqual("", after.texts["Note"])
        bar = installing[PROGRESS]
        self.assertTrue(bar.visible)
        # The cabinet is a quarter of the expected size: the bar never passes 27.
        self.assertLessEqual(installing[PROGRESS].value, after[PROGRESS].value)
        self.assertLessEqual(after[PROGRESS].value, 27)
        fill = progress_fill(shot, bar)
        chunk = 14 / (bar.rect[2] - bar.rect[0])  # the unthemed bar fills in whole blocks
        self.assertGreaterEqual(fill, installing[PROGRESS].value / 100 - chunk)
        self.assertLessEqual(fill, after[PROGRESS].value / 100 + chunk)
        # One line of the 18-pixel status font; four lines of the 12-pixel text font.
        self.assertIn(text_height(shot, installing.origin, STATUS_AREA), range(10, 25))
        self.assertIn(text_height(shot, installing.origin, STEPS_AREA), range(45, 62))

        self.wait_gone(polish(3), timeout=90)
        self.assertIsNotNone(self.host_record(), "the hosting application did not start")
        self.assertTrue(self.log_bytes().endswith(b"all ok\r\n"), self.log_bytes())
        self.assertEqual(1, self.server.stats().get("/special/qvd/Veridane.cab"))

    def test_painted_background_and_transparent_globe(self):
        self.start_installer()
        state = self.painted_state(self.title)
        shot = self.screenshot("licence_view.png")
        ox, oy = state.origin

        band = shot.pixel(ox + 5, oy + 5)
        self.assertLess(band[0], 80)
        self.assertGreater(band[2], 90)  # the blue title band
        self.assertEqual(WHITE, shot.pixel(ox + 300, oy + 62), "the white panel")
        self.assertEqual([], transparent_faults(shot, state.origin, Bitmap("globe.bmp"), Bitmap("background.bmp"),
                                                STEP_IMAGE_AT))


if __name__ == "__main__":
    unittest.main()
