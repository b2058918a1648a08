"""The launcher's two windows under Wine: the dialog strip under its layered
splash, placed, dragged as one, and deaf to Escape."""
import time
import unittest

from harness import DC_PORT, DataCentre, WineTestCase, exe, find_window, wait_exit, window_state, wintool
from datacentre import VERSION_PATH

WM_KEYDOWN = 0x100
WM_NCHITTEST = 0x84
WM_CLOSE = 0x10
WM_LAUNCH_STATUS = 1125
STATUS_BUSY_STOP = 10002
VK_ESCAPE = 0x1B
HTCAPTION = 2
SCREEN_W, SCREEN_H = 1280, 1024   # the test display


def lparam_point(x, y):
    return ((y & 0xFFFF) << 16) | (x & 0xFFFF)


class LauncherWindowTest(WineTestCase):
    def setUp(self):
        super().setUp()
        self.dc = DataCentre(DC_PORT)
        self.dc.start()
        self.addCleanup(self.dc.stop)
        # The version check never answers, so the launcher waits with its windows up.
        self.dc.fault(VERSION_PATH, "stall")
        self.dc.stall_seconds = 60
        self.proc = self.start(exe("vandle_launch.exe"), "--token=t1", "--source=s1")
        self.assertTrue(self.dc.wait_for_event("game_download_start", 60))
        self.dialog = find_window("vandle_launch")
        self.assertTrue(self.dialog)
        rc, out = wintool("owned", self.dialog)
        self.assertEqual(rc, 0, "the dialog owns no splash window")
        self.splash = int(out)

    def tearDown(self):
        wintool("post", self.dialog, WM_CLOSE)
        try:
            wait_exit(self.proc, 20)
        finally:
            super().tearDown()

    def rect(self, hwnd):
        exists, visible, _, left, top, width, height = window_state(hwnd)
        self.assertTrue(exists and visible)
        return left, top, width, height

    def test_placed_dragged_together_and_deaf_to_escape(self):
        left, top, width, height = self.rect(self.dialog)
        self.assertEqual((width, height), (201, 59))
        self.assertEqual((left, top), ((SCREEN_W - 201) // 2, (SCREEN_H - 59) // 2))
        self.assertEqual(self.rect(self.splash), (left - 185, top - 236, 451, 372))

        # The user takes the dialog and moves it 10 pixels to the right.
        self.assertEqual(wintool("send", self.dialog, WM_NCHITTEST, 0, lparam_point(left + 50, top + 30))[1],
                         str(HTCAPTION))
        wintool("move", self.dialog, left + 10, top)
        time.sleep(0.3)
        self.assertEqual(self.rect(self.splash), (left - 175, top - 236, 451, 372))
        self.assertEqual(self.rect(self.dialog)[:2], (left + 10, top))

        # Then the splash, through its picture.
        self.assertEqual(wintool("send", self.splash, WM_NCHITTEST, 0, lparam_point(left, top - 150))[1],
                         str(HTCAPTION))
        wintool("move", self.splash, 100, 80)
        time.sleep(0.3)
        self.assertEqual(self.rect(self.dialog), (285, 316, 201, 59))
        self.assertEqual(self.rect(self.splash), (100, 80, 451, 372))

        # Escape reaches neither window's cancel handling; a stop of the busy
        # animation without a text keeps everything in place.
        wintool("post", self.splash, WM_KEYDOWN, VK_ESCAPE)
        wintool("post", self.dialog, WM_KEYDOWN, VK_ESCAPE)
        wintool("post", self.dialog, WM_LAUNCH_STATUS, STATUS_BUSY_STOP, 0)
        time.sleep(0.5)
        self.assertIsNone(self.proc.poll())
        self.assertEqual(self.rect(self.splash), (100, 80, 451, 372))
        self.assertEqual(self.rect(self.dialog), (285, 316, 201, 59))


if __name__ == "__main__":
    unittest.main()
