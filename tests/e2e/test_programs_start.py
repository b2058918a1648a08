"""Both programs start as real Windows GUI programs under Wine and end cleanly."""
import time
import unittest

from harness import DC_PORT, DataCentre, WineTestCase, find_window, wait_exit, window_state, wintool
from launcher_sandbox import LAUNCHER_TITLE, LauncherSandbox

WM_CLOSE = 0x10


class ProgramsStart(WineTestCase):
    def test_launcher_window_closes_with_exit_code_zero(self):
        # In a folder of its own, held in its version request so that the window stays.
        box = LauncherSandbox()
        self.addCleanup(box.cleanup)
        with DataCentre(DC_PORT) as dc:
            dc.stall_seconds = 15
            dc.fault("/datacenter/dcopenapi/getverisonBypid.htm", "stall")
            p = self.start(box.program, env=box.env())
            hwnd = find_window(LAUNCHER_TITLE)
            self.assertNotEqual(hwnd, 0, "launcher window not found")
            # The dialog exists before it is shown: wait for it to be placed and visible.
            end = time.time() + 10
            while time.time() < end:
                exists, visible, _, _, _, width, height = window_state(hwnd)
                if visible and (width, height) == (201, 59):
                    break
                time.sleep(0.1)
            self.assertEqual((exists, visible, width, height), (1, 1, 201, 59))
            self.assertEqual(wintool("post", hwnd, WM_CLOSE)[0], 0)
            self.assertEqual(wait_exit(p), 0)


if __name__ == "__main__":
    unittest.main()
