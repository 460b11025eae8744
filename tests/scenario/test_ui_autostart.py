"""The auto-start form after a failed download (nothing listens on the download
port): the retry options, the link's hover and click, the proxy dialog beside it,
and painting through one copy per paint."""
import time
import unittest

from ui_session import UiSession, polish

PROGRESS, RETRY, PROXY_BOX, LINK = 104, 109, 108, 110
ADDRESS, PORT, USER, PASSWORD = 344, 345, 346, 347
LINK_BLUE = (0, 0, 238)


class FailedDownload(unittest.TestCase):
    def setUp(self):
        self.session = UiSession(self.id().rsplit(".", 1)[-1])
        self.addCleanup(self.session.close)
        self.session.start("-e")
        self.title = polish(3)
        self.dialog_title = polish(16)

    def retry_offered(self):
        s = self.session
        return s.wait_until(lambda: (lambda st: st if st[RETRY].visible else None)(s.state(self.title)),
                            what="the retry options")

    def underline_rows(self, shot, link):
        """Rows under the link's text that carry the link's blue across many pixels."""
        left, top, right, bottom = link.rect
        rows = []
        for y in range(top, bottom):
            blue = sum(1 for x in range(left, right) if shot.pixel(x, y) == LINK_BLUE)
            if blue > 20:
                rows.append(y)
        return rows

    def test_retry_options_link_and_dialog(self):
        s = self.session
        state = self.retry_offered()
        for control in (RETRY, PROXY_BOX, LINK):
            self.assertTrue(state[control].visible, control)
        self.assertTrue(state[RETRY].enabled)
        self.assertEqual(0, state[PROXY_BOX].value)
        s.screenshot("autostart_retry_offered.png")

        link = state[LINK]
        text_x, text_y = link.rect[0] + 8, link.centre[1]
        s.move(text_x, text_y)
        self.assertTrue(self.underline_rows(s.screenshot("link_hover.png"), link), "underlined while hovered")
        s.move(text_x, link.rect[3] + 40)  # off the control downwards
        self.assertFalse(self.underline_rows(s.screenshot(), link), "plain after leaving")

        s.move(text_x, text_y)
        s.click(text_x, text_y)
        dialog = s.state(self.dialog_title, 10000)
        self.assertEqual(1, s.state(self.title).counters["Commands"], "one command per click")
        # Top-left corner of the dialog: 30 right of the link's left edge, at its bottom.
        address = dialog[ADDRESS]
        self.assertGreater(address.rect[0], link.rect[0] + 30)
        s.screenshot("proxy_dialog.png")

        s.type("127.0.0.1")
        s.click(*dialog[PORT].centre)
        s.type("80a81")  # letters are refused by the digits-only field
        s.key("Return")  # OK is the default button
        s.wait_until(lambda: not s.window_exists(self.dialog_title), what="the dialog to close")
        self.assertFalse(self.underline_rows(s.screenshot(), link), "no underline after the click")

        s.click(text_x + 1, text_y)
        reopened = s.state(self.dialog_title, 10000)
        self.assertEqual("127.0.0.1", reopened[ADDRESS].text)
        self.assertEqual("8081", reopened[PORT].text)
        s.type("changed")
        s.key("Escape")
        s.wait_until(lambda: not s.window_exists(self.dialog_title), what="the dialog to close")
        s.move(text_x, link.rect[3] + 40)
        s.click(text_x, text_y)
        again = s.state(self.dialog_title, 10000)
        self.assertEqual("127.0.0.1", again[ADDRESS].text, "Cancel dropped the typed text")
        self.assertEqual(3, s.state(self.title).counters["Commands"])
        s.key("Escape")

    def test_one_copy_to_the_screen_per_paint(self):
        s = self.session
        self.retry_offered()
        time.sleep(1.5)  # several ticks repaint the retry state
        state = s.state(self.title)
        self.assertGreater(state.counters["Paints"], 3)
        self.assertEqual(state.counters["Paints"], state.counters["Presents"])
        self.assertEqual(1, state.counters["OffscreenBitmaps"], "one off-screen bitmap for the window's life")
        self.assertEqual(0, state[PROGRESS].value)


if __name__ == "__main__":
    unittest.main()
