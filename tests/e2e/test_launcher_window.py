"""The launcher's two windows under Wine: the dialog strip under its layered
splash, placed, dragged as one, and deaf to Escape."""
import os
import subprocess
import tempfile
import time
import unittest

from harness import DC_PORT, DataCentre, WineTestCase, exe, find_window, wait_exit, window_state, wintool
from datacentre import VERSION_PATH

WM_KEYDOWN = 0x100
WM_NCHITTEST = 0x84
WM_CLOSE = 0x10
WM_LAUNCH_STATUS = 1125
STATUS_BUSY_START = 10001
STATUS_BUSY_STOP = 10002
IDC_STATUS = 1001
VK_ESCAPE = 0x1B
HTCAPTION = 2
SCREEN_W, SCREEN_H = 1280, 1024   # the test display


def lparam_point(x, y):
    return ((y & 0xFFFF) << 16) | (x & 0xFFFF)


def status_text(dialog):
    rc, out = wintool("text", dialog, IDC_STATUS)
    return "".join(chr(int(u, 16)) for u in out.split()) if rc == 0 else None


def screen_pixels(points):
    """RGB of screen points, read from the X display the launcher draws on."""
    with tempfile.TemporaryDirectory() as d:
        shot = os.path.join(d, "screen.png")
        subprocess.run(["import", "-window", "root", shot], check=True, timeout=30)
        out = []
        for x, y in points:
            r = subprocess.run(["convert", shot, "-format", "%%[fx:int(255*p{%d,%d}.r)] "
                                "%%[fx:int(255*p{%d,%d}.g)] %%[fx:int(255*p{%d,%d}.b)]" % (x, y, x, y, x, y),
                                "info:"], check=True, capture_output=True, text=True, timeout=30)
            out.append(tuple(int(v) for v in r.stdout.split()))
        return out


def is_orange(rgb):
    r, g, b = rgb
    return r > 180 and 40 < g < 230 and b < 120


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

    def test_status_line_and_busy_animation(self):
        # The worker announced the version check and started the animation.
        self.assertEqual(status_text(self.dialog), "正在检测新版本")
        left, top, _, _ = self.rect(self.dialog)
        bar_y = top + 10
        # Stopping it leaves the single first column of the strip.
        wintool("post", self.dialog, WM_LAUNCH_STATUS, STATUS_BUSY_STOP, 0)
        time.sleep(0.5)
        first, tenth = screen_pixels([(left + 6, bar_y), (left + 16, bar_y)])
        self.assertTrue(is_orange(first), first)
        self.assertFalse(is_orange(tenth), tenth)
        time.sleep(0.5)
        self.assertFalse(is_orange(screen_pixels([(left + 16, bar_y)])[0]))
        # Starting it again without a text creeps along and keeps the line; so
        # does an address from another program, which is not followed.
        wintool("post", self.dialog, WM_LAUNCH_STATUS, STATUS_BUSY_START, 0x7FFE0100)
        wintool("post", self.dialog, WM_LAUNCH_STATUS, 0, 0x12345678)
        time.sleep(3)
        self.assertIsNone(self.proc.poll())
        self.assertTrue(is_orange(screen_pixels([(left + 16, bar_y)])[0]))
        self.assertEqual(status_text(self.dialog), "正在检测新版本")


if __name__ == "__main__":
    unittest.main()
