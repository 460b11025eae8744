"""The licence view in a real window: licence text, the acceptance box gating Start,
the transparent step image, and Start handing over to the installing instance."""
import unittest

from ui_session import SOURCE, UiSession, polish

START, LICENCE, ACCEPT = 105, 106, 107
WHITE = (255, 255, 255)
KEY_GREEN = (0, 255, 0)


def licence_opening():
    text = (SOURCE / "resources" / "licences" / "21-polish.txt").read_text(encoding="utf-8")
    return text.replace("\r\n", "\n").split("\n")[0]


class LicenceView(unittest.TestCase):
    def setUp(self):
        self.session = UiSession(self.id().rsplit(".", 1)[-1])
        self.addCleanup(self.session.close)
        self.session.start()
        self.title = polish(10)

    def test_acceptance_gates_start_and_start_hands_over(self):
        s = self.session
        state = s.painted_state(self.title)
        self.assertEqual((540, 335), state.size)
        self.assertTrue(state[LICENCE].text.replace("\r\n", "\n").startswith(licence_opening()))
        self.assertTrue(state[START].visible)
        self.assertFalse(state[START].enabled, "Start waits for the acceptance")
        self.assertEqual(0, state[ACCEPT].value)
        s.screenshot("licence_not_accepted.png")

        for ticked in (True, False, True):
            s.click(*state[ACCEPT].centre)
            now = s.state(self.title)
            self.assertEqual(1 if ticked else 0, now[ACCEPT].value)
            self.assertEqual(ticked, now[START].enabled)
        s.screenshot("licence_accepted.png")

        s.click(*state[START].centre)
        installing = s.state(polish(3), 30000)  # only an instance started with "-e" has this title
        self.assertTrue(installing[104].visible)
        s.wait_until(lambda: not s.window_exists(self.title), what="the licence view to close")

    def test_painted_background_and_transparent_globe(self):
        s = self.session
        state = s.painted_state(self.title)
        shot = s.screenshot("licence_view.png")
        ox, oy = state.origin

        def at(x, y):
            return shot.pixel(ox + x, oy + y)

        band = at(5, 5)
        self.assertLess(band[0], 80)
        self.assertGreater(band[2], 90)  # the blue title band
        self.assertEqual(WHITE, at(300, 62), "the white panel")
        # The globe sits at (27, 65); its pure green corners and edges show the panel.
        for x, y in ((27, 65), (28, 66), (60, 65), (27, 98), (60, 98)):
            self.assertEqual(WHITE, at(x, y), (x, y))
        globe = at(27 + 17, 65 + 17)
        self.assertGreater(globe[2], globe[1])
        self.assertNotEqual(KEY_GREEN, globe)
        # No pure green survives anywhere in the image's square.
        for y in range(65, 99):
            for x in range(27, 61):
                self.assertNotEqual(KEY_GREEN, at(x, y), (x, y))


if __name__ == "__main__":
    unittest.main()
