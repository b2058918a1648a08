"""qel_main's game page: the page control lives in the hidden window, the page
events show it, and the messages the page bridge uses are taken only from the
bridge. Wine has no HTML engine here, so the page never completes by itself;
the scenario posts the page-loaded notice as the page events would."""
import glob
import os
import shutil
import time
import unittest

from harness import WineTestCase, exe, find_window, local_appdata, wait_exit, window_state, wintool

WS_VISIBLE = 0x10000000
WM_PAGE_LOADED = 1128
WM_CLOSE_WND = 1130
WM_OPEN_GAME = 1131


def log_text():
    files = glob.glob(os.path.join(local_appdata(), "Orvane", "Log", "qel_main.exe_*.log"))
    if not files:
        return ""
    with open(files[0], "rb") as f:
        return f.read().decode("latin-1")


def wait_until(check, timeout=15):
    end = time.time() + timeout
    while time.time() < end:
        if check():
            return True
        time.sleep(0.1)
    return False


def style(hwnd):
    rc, out = wintool("style", hwnd)
    return int(out) if rc == 0 else None


class LoaderPage(WineTestCase):
    def setUp(self):
        super().setUp()
        shutil.rmtree(os.path.join(local_appdata(), "Orvane"), ignore_errors=True)

    def test_page_control_stays_hidden_until_the_page_has_loaded(self):
        p = self.start(exe("qel_main.exe"), "--token=abc", "--source=OV", "--ovext=a&b c")
        hwnd = find_window("Kelvadune")
        self.assertNotEqual(hwnd, 0, "loader window not found")
        self.assertTrue(wait_until(lambda: window_state(hwnd)[1] == 0), "window not hidden")

        rc, out = wintool("child", hwnd, "QelWebBrowserHost")
        self.assertEqual(rc, 0, "no web-browser control in the loader window")
        host = int(out)
        self.assertEqual(style(host) & WS_VISIBLE, 0, "page control shown before the page loaded")
        self.assertTrue(wait_until(lambda: "GameLoaderWnd LoadWeb" in log_text()))
        self.assertIn("GameLoaderWnd::LoadWeb] : fileparam=", log_text())

        # Another program's WM_OPEN_GAME: its number is refused, nothing is freed.
        self.assertEqual(wintool("post", hwnd, WM_OPEN_GAME, 123456)[0], 0)
        self.assertTrue(wait_until(lambda: "WM_OPEN_GAME ignored: wParam 123456" in log_text()))
        self.assertIsNone(p.poll())
        self.assertEqual(window_state(hwnd)[1], 0)

        self.assertEqual(wintool("post", hwnd, WM_PAGE_LOADED)[0], 0)
        self.assertTrue(wait_until(lambda: window_state(hwnd)[1] == 1), "window not shown on page loaded")
        self.assertNotEqual(style(host) & WS_VISIBLE, 0, "page control still hidden")
        self.assertEqual(window_state(host)[1], 1)

        self.assertEqual(wintool("post", hwnd, WM_CLOSE_WND)[0], 0)
        self.assertEqual(wait_exit(p), 0)


if __name__ == "__main__":
    unittest.main()
