"""The auto-start form ("-e") in a real window, driven by real input: a failed
download with its retry options, the link's hover and click, the proxy dialog
beside it, a retry through a running tinyproxy; the other results of the worker
(an error code, the request for elevation); one copy to the screen per paint."""
import time
import unittest

from scenario import PORT as SERVER_PORT
from scenario import DOWNLOADS, SAMPLE, DownloadServer, polish
from tinyproxy import TinyProxy
from window_check import Bitmap, WindowTest, transparent_faults

PROGRESS, START, RETRY, PROXY_BOX, LINK = 104, 105, 109, 108, 110
ADDRESS, PORT, USER, PASSWORD = 344, 345, 346, 347
LINK_BLUE = (0, 0, 238)
CABINET = "/special/qvd/Veridane.cab"


class AutoStartTest(WindowTest):
    title = polish(3)
    dialog_title = polish(16)

    def start_form(self, env=None):
        self.process = self.start_installer("-e", env=env)

    def painted_text(self, what, text, timeout=60):
        """The window's state once its painted status line (or note) reads text."""
        return self.wait_state(self.title, lambda s: s.texts.get(what) == text, f"{what} {text!r}",
                               timeout=timeout)

    def retry_offered(self):
        state = self.painted_text("StatusLine", polish(23))
        for control in (RETRY, PROXY_BOX, LINK):
            self.assertTrue(state[control].visible, control)
        return state

    def underline_rows(self, shot, link):
        """Rows under the link's text that carry the link's blue across many pixels."""
        left, top, right, bottom = link.rect
        return [y for y in range(top, bottom) if sum(1 for x in range(left, right) if shot.pixel(x, y) == LINK_BLUE) > 20]

    def open_dialog(self, link):
        self.click(link.rect[0] + 8, link.centre[1])
        return self.state(self.dialog_title, 10000)

    def close_dialog(self, key):
        self.key(key)
        self.wait_gone(self.dialog_title)


class FailedDownload(AutoStartTest):
    def setUp(self):
        super().setUp()
        self.server.mode("status", status=503)
        self.start_form()

    def test_retry_options_link_and_dialog(self):
        state = self.retry_offered()
        self.assertTrue(state[RETRY].enabled)
        self.assertEqual(0, state[PROXY_BOX].value)
        self.screenshot("autostart_retry_offered.png")

        link = state[LINK]
        text_x, text_y = link.rect[0] + 8, link.centre[1]
        self.move(text_x, text_y)
        self.assertTrue(self.underline_rows(self.screenshot("link_hover.png"), link), "underlined while hovered")
        self.move(text_x, link.rect[3] + 40)  # off the control downwards
        self.assertFalse(self.underline_rows(self.screenshot(), link), "plain after leaving")

        self.move(text_x, text_y)
        dialog = self.open_dialog(link)
        self.assertEqual(1, self.state(self.title).counters["Commands"], "one command per click")
        # Top-left corner of the dialog: 30 right of the link's left edge, at its bottom.
        self.assertGreater(dialog[ADDRESS].rect[0], link.rect[0] + 30)
        self.screenshot("proxy_dialog.png")

        self.type("127.0.0.1")
        self.click(*dialog[PORT].centre)
        self.type("80a81")  # letters are refused by the digits-only field
        self.close_dialog("Return")  # OK is the default button
        self.assertFalse(self.underline_rows(self.screenshot(), link), "no underline after the click")

        reopened = self.open_dialog(link)
        self.assertEqual("127.0.0.1", reopened[ADDRESS].text)
        self.assertEqual("8081", reopened[PORT].text)
        self.type("changed")
        self.close_dialog("Escape")
        self.move(text_x, link.rect[3] + 40)
        again = self.open_dialog(link)
        self.assertEqual("127.0.0.1", again[ADDRESS].text, "Cancel dropped the typed text")
        self.assertEqual(3, self.state(self.title).counters["Commands"])
        self.close_dialog("Escape")

    def test_one_copy_to_the_screen_per_paint(self):
        self.retry_offered()
        time.sleep(1.5)  # several ticks repaint the retry state
        state = self.state(self.title)
        self.assertGreater(state.counters["Paints"], 3)
        self.assertEqual(state.counters["Paints"], state.counters["Presents"])
        self.assertEqual(1, state.counters["OffscreenBitmaps"], "one off-screen bitmap for the window's life")
        self.assertEqual(0, state[PROGRESS].value)


class RetryThroughProxy(AutoStartTest):
    def serve_again(self):
        if self.server.process.poll() is not None:
            type(self).server = DownloadServer()

    def test_retry_through_a_running_proxy_installs_and_closes(self):
        proxy = TinyProxy()
        self.addCleanup(proxy.stop)
        # Nothing listens at first. (After a refusal by status Wine would keep the
        # connection to the server and reuse it for the retry, past the proxy.)
        self.server.stop()
        self.addCleanup(self.serve_again)
        self.start_form()
        state = self.retry_offered()

        dialog = self.open_dialog(state[LINK])
        self.type("127.0.0.1")
        self.click(*dialog[PORT].centre)
        self.type(str(proxy.port))
        self.close_dialog("Return")
        self.serve_again()

        self.click(*state[PROXY_BOX].centre)
        self.assertEqual(1, self.state(self.title)[PROXY_BOX].value)
        self.screenshot("autostart_retry_through_proxy.png")
        self.click(*state[RETRY].centre)
        self.wait_gone(self.title, timeout=90)
        self.assertEqual(0, self.process.wait(timeout=30))

        self.assertIsNotNone(self.host_record(), "the hosting application did not start")
        self.assertIn(f"GET http://127.0.0.1:{SERVER_PORT}{CABINET}".encode(), proxy.log_bytes())
        self.assertEqual(1, self.server.stats().get(CABINET))


class WorkerResults(AutoStartTest):
    def test_host_that_does_not_start_shows_unexpected_error_8_and_stays(self):
        self.server.mode("normal", file=SAMPLE / "Veridane-nohost.cab")
        self.start_form()
        error = polish(13).replace("%d", "8")
        state = self.painted_text("StatusLine", error)
        self.screenshot("autostart_error_8.png")
        time.sleep(1)  # ticks go on and repeat it
        later = self.state(self.title)
        self.assertEqual(error, later.texts["StatusLine"])
        self.assertGreater(later.counters["Paints"], state.counters["Paints"])
        for control in (RETRY, PROXY_BOX, LINK):
            self.assertFalse(later[control].visible, control)
        self.assertIsNone(self.process.poll(), "the window stays open")

    def test_elevation_needed_shows_the_shield_the_note_and_a_new_start(self):
        self.trace = self.prefix.path / "process-trace.txt"
        with open(self.trace, "wb") as trace:
            self.process = self.start_installer("-e", output=trace, env={"VERIDANE_SEAM_WORKER_RIGHTS": "1",
                                                                         "WINEDEBUG": "+process"})
        state = self.painted_text("StatusLine", polish(7))
        self.assertEqual(polish(8), state.texts["Note"])
        self.assertTrue(state[START].visible and state[START].enabled)
        self.assertEqual(polish(9), state[START].text)
        self.assertEqual(0, state[START].exstyle & 0x00402000)
        self.assertFalse(state[RETRY].visible, "the retry Start stays hidden")
        time.sleep(0.5)
        shot = self.screenshot("autostart_elevation_needed.png")
        self.assertEqual([], transparent_faults(shot, state.origin, Bitmap("shield.bmp"), Bitmap("background.bmp"),
                                                (27, 65)))

        self.click(*state[START].centre)
        self.assertEqual(0, self.process.wait(timeout=30), "the window closes and the process ends")
        self.assertFalse(self.window_exists(self.title))
        # Wine's record of the processes started: the installing instance, with "-e".
        # (Under Wine it then finds this window still closing and leaves at once; on
        # Windows the elevation prompt comes first.)
        trace = self.trace.read_text(errors="replace")
        self.assertRegex(trace, r'CreateProcessInternalW app \(null\) cmdline L"\\"[^"]*\\\\VeridaneSetup\.exe\\" -e"')


if __name__ == "__main__":
    unittest.main()
