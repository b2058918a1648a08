"""Both programs start as real Windows GUI programs under Wine and end cleanly."""
import unittest

from harness import WineTestCase, exe, find_window, wait_exit, wintool

WM_CLOSE = 0x10


class ProgramsStart(WineTestCase):
    def test_launcher_window_closes_with_exit_code_zero(self):
        p = self.start(exe("vandle_launch.exe"))
        hwnd = find_window("vandle_launch")
        self.assertNotEqual(hwnd, 0, "launcher window not found")
        self.assertEqual(wintool("post", hwnd, WM_CLOSE)[0], 0)
        self.assertEqual(wait_exit(p), 0)


if __name__ == "__main__":
    unittest.main()
