"""The loader window driven with messages: showing, raising, minimising,
fixed size, the close notice to the platform window and the start notice to
the game manager."""
import os
import shutil
import tempfile
import time
import unittest

from harness import WineTestCase, exe, find_window, local_appdata, wait_exit, window_state, wintool

WM_CLOSE = 0x10
WM_SYSCOMMAND = 0x112
WM_NCLBUTTONDBLCLK = 0xA3
HTCAPTION = 2
SC_CLOSE = 0xF060
SC_MAXIMIZE = 0xF030
WM_PAGE_LOADED = 1128
WM_MIN_WND = 1129
WM_SHOW_MAIN_WND = 1133
WM_TRAY_NOTIFY = 1126
WM_NAV_ERROR = 1137
WM_RBUTTONDOWN = 0x204
WM_KEYDOWN = 0x100
WM_COMMAND = 0x111
VK_DOWN = 0x28
VK_RETURN = 0x0D
IDOK = 1

# head 1, "1" in UTF-16 then zeros up to 260 units, tail 1
CLOSE_NOTICE_HEX = ("01000000" + "3100" + "00" * 518 + "01000000")


class PlatformWindow:
    """fake_platform_window.exe: records WM_COPYDATA, 1347 and 1348."""

    def __init__(self, case):
        self.dir = tempfile.mkdtemp(prefix="qel_platform_")
        case.addCleanup(shutil.rmtree, self.dir, True)
        self.record = os.path.join(self.dir, "record.txt")
        self.proc = case.start(exe("fake_platform_window.exe"), "Z:" + self.record.replace("/", "\\"), "60")
        self.hwnd = int(self.proc.stdout.readline().strip())

    def lines(self):
        if not os.path.exists(self.record):
            return []
        with open(self.record) as f:
            return [l.strip() for l in f if l.strip()]


class LoaderWindow(WineTestCase):
    def setUp(self):
        super().setUp()
        shutil.rmtree(os.path.join(local_appdata(), "Orvane", "Log"), ignore_errors=True)

    def start_loader(self, *args):
        p = self.start(exe("qel_main.exe"), *args)
        hwnd = find_window("Kelvadune")
        self.assertNotEqual(hwnd, 0, "loader window not found")
        self.wait_state(hwnd, lambda s: s[1] == 0)  # hidden until the page has loaded
        return p, hwnd

    def wait_state(self, hwnd, ok, timeout=10):
        end = time.time() + timeout
        while True:
            s = window_state(hwnd)
            if ok(s):
                return s
            if time.time() > end:
                self.fail("window state stayed %r" % (s,))
            time.sleep(0.1)

    def show(self, hwnd):
        wintool("post", hwnd, WM_PAGE_LOADED)
        return self.wait_state(hwnd, lambda s: s[1] == 1)

    def close_by_taskbar(self, p, hwnd):
        self.assertEqual(wintool("post", hwnd, WM_SYSCOMMAND, SC_CLOSE)[0], 0)
        self.assertEqual(wait_exit(p), 0)

    def test_taskbar_close_with_source_ov_sends_one_close_notice(self):
        platform = PlatformWindow(self)
        p, hwnd = self.start_loader("--source=OV", "--winid=%d" % platform.hwnd, "--token=t")
        self.close_by_taskbar(p, hwnd)
        self.assertEqual(platform.lines(), ["COPYDATA 1 528 " + CLOSE_NOTICE_HEX])

    def test_other_sources_send_no_close_notice(self):
        for source in ("ov", "OV ", "web"):
            with self.subTest(source=source):
                platform = PlatformWindow(self)
                p, hwnd = self.start_loader("--source=" + source, "--winid=%d" % platform.hwnd)
                self.close_by_taskbar(p, hwnd)
                time.sleep(0.3)
                self.assertEqual(platform.lines(), [])

    def test_page_loaded_shows_and_the_window_minimises_and_comes_back(self):
        p, hwnd = self.start_loader("--source=web", "--token=t")
        s = self.show(hwnd)
        self.assertEqual(s[5:], (960, 620))
        wintool("post", hwnd, WM_MIN_WND)
        self.wait_state(hwnd, lambda s: s[2] == 1)
        wintool("post", hwnd, WM_SHOW_MAIN_WND)
        self.wait_state(hwnd, lambda s: s[1] == 1 and s[2] == 0)
        self.close_by_taskbar(p, hwnd)

    def test_raising_a_hidden_window_does_not_show_it(self):
        p, hwnd = self.start_loader("--source=web")
        wintool("post", hwnd, WM_SHOW_MAIN_WND)
        time.sleep(0.5)
        self.assertEqual(window_state(hwnd)[:2], (1, 0))
        self.close_by_taskbar(p, hwnd)

    def test_window_keeps_its_size(self):
        p, hwnd = self.start_loader("--source=web")
        self.show(hwnd)
        wintool("send", hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0)
        wintool("send", hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0)
        self.assertEqual(wintool("resize", hwnd, 1200, 900)[0], 0)
        time.sleep(0.3)
        self.assertEqual(window_state(hwnd)[5:], (960, 620))
        self.assertEqual(wintool("resize", hwnd, 300, 200)[0], 0)
        time.sleep(0.3)
        self.assertEqual(window_state(hwnd)[5:], (960, 620))
        self.close_by_taskbar(p, hwnd)

    def test_type_mode_one_tells_the_game_manager(self):
        cases = [
            (["--typeMode=1", "--gameMgrId={mgr}"], ["MSG 1348 0 0"]),
            (["--typeMode=2", "--gameMgrId={mgr}"], []),
            (["--typeMode=1", "--source=web"], []),
        ]
        for args, want in cases:
            with self.subTest(args=args):
                mgr = PlatformWindow(self)
                p, hwnd = self.start_loader(*[a.format(mgr=mgr.hwnd) for a in args])
                time.sleep(0.3)
                self.assertEqual(mgr.lines(), want)
                self.close_by_taskbar(p, hwnd)

    def test_exit_menu_closes_with_the_close_notice(self):
        platform = PlatformWindow(self)
        p, hwnd = self.start_loader("--source=OV", "--winid=%d" % platform.hwnd)
        self.show(hwnd)
        wintool("post", hwnd, WM_TRAY_NOTIFY, 0, WM_RBUTTONDOWN)
        time.sleep(0.8)
        # The menu's loop reads the thread's keys: first item ("退出"), then choose it.
        wintool("post", hwnd, WM_KEYDOWN, VK_DOWN)
        wintool("post", hwnd, WM_KEYDOWN, VK_RETURN)
        self.assertEqual(wait_exit(p), 0)
        self.assertEqual(platform.lines(), ["COPYDATA 1 528 " + CLOSE_NOTICE_HEX])

    def test_page_error_tells_the_player_and_closes(self):
        platform = PlatformWindow(self)
        p, hwnd = self.start_loader("--source=OV", "--winid=%d" % platform.hwnd)
        wintool("post", hwnd, WM_NAV_ERROR)
        box = find_window("提示")
        self.assertNotEqual(box, 0, "no message box")
        self.assertEqual(platform.lines(), [])  # nothing before the player answers
        wintool("post", box, WM_COMMAND, IDOK)
        self.assertEqual(wait_exit(p), 0)
        self.assertEqual(platform.lines(), ["COPYDATA 1 528 " + CLOSE_NOTICE_HEX])


if __name__ == "__main__":
    unittest.main()
