"""qel_main start-up: one instance, the second start raises the first, the day
log, and exit code 0 on every path."""
import glob
import os
import shutil
import time
import unittest

from harness import WineTestCase, exe, find_window, local_appdata, run, wait_exit, window_state, wintool

WM_CLOSE = 0x10
WM_SHOW_MAIN_WND = 1133


def log_dir():
    return os.path.join(local_appdata(), "Orvane", "Log")


def log_text():
    files = glob.glob(os.path.join(log_dir(), "qel_main.exe_*.log"))
    if not files:
        return ""
    with open(files[0], "rb") as f:
        return f.read().decode("latin-1")


def wait_hidden(hwnd, timeout=10):
    """The window is created visible and hidden right after; wait for that."""
    end = time.time() + timeout
    while time.time() < end:
        state = window_state(hwnd)
        if state[0] == 1 and state[1] == 0:
            return True
        time.sleep(0.1)
    return False


def wait_for_log(needle, timeout=15):
    end = time.time() + timeout
    while time.time() < end:
        if needle in log_text():
            return True
        time.sleep(0.2)
    return False


class LoaderStart(WineTestCase):
    def setUp(self):
        super().setUp()
        shutil.rmtree(os.path.join(local_appdata(), "Orvane"), ignore_errors=True)

    def start_first(self, *args):
        p = self.start(exe("qel_main.exe"), *args)
        hwnd = find_window("Kelvadune")
        self.assertNotEqual(hwnd, 0, "loader window not found")
        return p, hwnd

    def close(self, p, hwnd):
        self.assertEqual(wintool("post", hwnd, WM_CLOSE)[0], 0)
        self.assertEqual(wait_exit(p), 0)

    def test_day_log_starts_with_the_log_folder(self):
        p, hwnd = self.start_first("--source=OV", "--token=abc")
        self.close(p, hwnd)
        files = glob.glob(os.path.join(log_dir(), "qel_main.exe_*.log"))
        self.assertEqual(len(files), 1, files)
        t = time.localtime()
        self.assertEqual(os.path.basename(files[0]), "qel_main.exe_%d_%d_%d.log" % (t.tm_year, t.tm_mon, t.tm_mday))
        lines = log_text().split("\r\n")
        self.assertTrue(lines[0].endswith("Logger::initializePathDir:C:\\users\\%s\\AppData\\Local\\Orvane\\Log\\"
                                          % os.path.basename(os.path.dirname(os.path.dirname(local_appdata())))),
                        lines[0])
        self.assertIn("wWinMain] : Logger::initializePathDir:", lines[0])
        self.assertIn("CommandLineToArgvW argCount:1 szArgList:--source=OV", log_text())
        self.assertIn('m_strCmdJson is:{"source":"OV","token":"abc"}', log_text())
        self.assertFalse(os.path.exists(os.path.join(log_dir(), "debug.txt")))

    def test_second_start_raises_the_hidden_first_and_ends(self):
        p, hwnd = self.start_first("--token=first", "--source=x")
        self.assertTrue(wait_hidden(hwnd))  # hidden until the page loads
        second = run(exe("qel_main.exe"), "--token=second", "--source=y")
        self.assertEqual(second.returncode, 0)
        self.assertTrue(wait_for_log("OnShowMainWnd enter"), "first window did not receive 1133")
        text = log_text()
        self.assertIn("CreateMutex ERROR_ALREADY_EXISTS:qel_main.exe", text)
        self.assertIn("FindWindow:Kelvadune", text)
        self.assertNotIn("--token=second", text)  # the second command line is not examined
        self.assertEqual(window_state(hwnd)[:2], (1, 0))  # raised, not shown
        self.close(p, hwnd)

    def test_every_start_path_ends_with_exit_code_zero(self):
        for args in ([], ["--installed=1"], ["--token=abc"], ["{\"type\":2}"], ["--winid=12ab", "--typeMode=2"]):
            with self.subTest(args=args):
                p, hwnd = self.start_first(*args)
                self.close(p, hwnd)


if __name__ == "__main__":
    unittest.main()
