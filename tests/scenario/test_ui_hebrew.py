"""Hebrew (1037), through the test build's language seam: the window, its Start
buttons and check boxes read from right to left; the licence text, the progress
bar, the link and the Start added for elevation do not; the proxy dialog opens
mirrored (template 139) with every label right of its field."""
import unittest

from scenario import SOURCE
from window_check import WindowTest

RTL = 0x00402000  # layout right to left, right-to-left reading
# The system gives every child of a right-to-left window the layout style; only
# the reading style tells what the program itself gave.
READING = 0x00002000
PROGRESS, START, LICENCE, ACCEPT, PROXY_BOX, RETRY, LINK = 104, 105, 106, 107, 108, 109, 110
LABELS_AND_FIELDS = [(340, 344), (341, 345), (342, 346), (343, 347)]
OK, CANCEL = 1, 2


def hebrew(string_id):
    line = (SOURCE / "resources" / "strings" / "1037-hebrew.txt").read_text(encoding="utf-8").splitlines()[string_id]
    return line.split("\t", 1)[1].replace("\\n", "\n")


class Hebrew(WindowTest):
    def start(self, *args, env=None):
        self.start_installer(*args, env=dict({"VERIDANE_SEAM_LANGUAGE": "1037"}, **(env or {})))

    def assert_mirrored(self, state, mirrored, plain):
        for control in mirrored:
            self.assertEqual(RTL, state[control].exstyle & RTL, control)
        for control in plain:
            self.assertEqual(0, state[control].exstyle & READING, control)

    def test_licence_view(self):
        self.start()
        state = self.painted_state(hebrew(10))
        self.assertEqual(RTL, state.exstyle & RTL)
        self.assert_mirrored(state, mirrored=(START, ACCEPT), plain=(LICENCE,))
        self.assertEqual(hebrew(11), state[ACCEPT].text)
        self.screenshot("hebrew_licence_view.png")

    def test_auto_start_form_and_the_mirrored_proxy_dialog(self):
        self.server.mode("status", status=503)
        self.start("-e")
        title = hebrew(3)
        state = self.wait_state(title, lambda s: s.texts.get("StatusLine") == hebrew(23), "the retry options")
        self.assertEqual(RTL, state.exstyle & RTL)
        self.assert_mirrored(state, mirrored=(PROXY_BOX, RETRY), plain=(PROGRESS, LINK))
        self.screenshot("hebrew_retry_offered.png")

        link = state[LINK]
        self.click(link.rect[2] - 8, link.centre[1])  # the text starts at the right
        dialog = self.state(hebrew(16), 10000)
        self.screenshot("hebrew_proxy_dialog.png")
        self.assertEqual(RTL, dialog.exstyle & RTL, "the mirrored template")
        for label, field in LABELS_AND_FIELDS:
            self.assertEqual(hebrew(17 + label - 340), dialog[label].text)
            self.assertGreaterEqual(dialog[label].rect[0], dialog[field].rect[2], (label, field))
            self.assertEqual(dialog[field].rect[0], dialog[LABELS_AND_FIELDS[0][1]].rect[0], "fields in one column")
        self.assertGreater(dialog[OK].rect[0], dialog[CANCEL].rect[2], "OK right of Cancel")
        # Everything inside the dialog: a mirrored client area extends left of its origin.
        right, left = dialog.origin[0], dialog.origin[0] - dialog.size[0]
        for control in dialog.controls.values():
            if control.visible:
                self.assertGreaterEqual(control.rect[0], left - 1, control.id)
                self.assertLessEqual(control.rect[2], right + 1, control.id)
        self.key("Escape")
        self.wait_gone(hebrew(16))

    def test_start_added_for_elevation_is_not_mirrored(self):
        self.start("-e", env={"VERIDANE_SEAM_WORKER_RIGHTS": "1"})
        state = self.wait_state(hebrew(3), lambda s: s.texts.get("StatusLine") == hebrew(7), "the elevation request")
        self.assert_mirrored(state, mirrored=(PROXY_BOX, RETRY), plain=(START, PROGRESS, LINK))
        self.screenshot("hebrew_elevation_needed.png")


    def test_painted_background_shows_in_the_mirrored_window(self):
        self.start()
        state = self.painted_state(hebrew(10))
        shot = self.screenshot("hebrew_licence_background.png")
        self.assertEqual((255, 255, 255), shot.pixel(state.origin[0] - 300, state.origin[1] + 62), "the white panel")


if __name__ == "__main__":
    unittest.main()
