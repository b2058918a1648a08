"""qel_main started with a game-exit notice: the platform window recorded in
the settings file receives one CloseNotice and no loader window appears. Other
single arguments start the loader normally."""
import glob
import os
import shutil
import time
import unittest

from harness import WineTestCase, exe, find_window, local_appdata, run, to_wine_path, wait_exit, wintool

WM_CLOSE = 0x10
CLOSE_NOTICE = "01000000" + "3100" + "00" * 518 + "01000000"


def orvane_dir():
    return os.path.join(local_appdata(), "Orvane")


def settings_path():
    return os.path.join(orvane_dir(), "setting.xml")


def log_text():
    files = glob.glob(os.path.join(orvane_dir(), "Log", "qel_main.exe_*.log"))
    return open(files[0], "rb").read().decode("latin-1") if files else ""


class GameExitNotice(WineTestCase):
    def setUp(self):
        super().setUp()
        shutil.rmtree(orvane_dir(), ignore_errors=True)
        self.record = os.path.join(self.id_dir(), "platform.txt")
        self.platform = self.start(exe("fake_platform_window.exe"), to_wine_path(self.record), "120")
        self.platform_hwnd = int(self.platform.stdout.readline().strip())

    def id_dir(self):
        d = os.path.join(os.environ.get("TMPDIR", "/tmp"), "qel_e2e_game_exit_%d" % os.getpid())
        os.makedirs(d, exist_ok=True)
        return d

    def tearDown(self):
        super().tearDown()
        shutil.rmtree(self.id_dir(), ignore_errors=True)

    def records(self):
        time.sleep(0.3)
        if not os.path.exists(self.record):
            return []
        return [l for l in open(self.record).read().splitlines() if l]

    def write_settings(self, source):
        os.makedirs(orvane_dir(), exist_ok=True)
        with open(settings_path(), "w") as f:
            f.write("<settings>\n    <ovwindowid>%d</ovwindowid>\n    <loginsource>%s</loginsource>\n</settings>\n"
                    % (self.platform_hwnd, source))

    def test_notice_forms_send_one_close_notice_without_a_window(self):
        # The winid comes from an earlier, ordinary start.
        p = self.start(exe("qel_main.exe"), "--winid=%d" % self.platform_hwnd, "--source=abc")
        hwnd = find_window("Kelvadune")
        self.assertNotEqual(hwnd, 0)
        wintool("post", hwnd, WM_CLOSE)
        self.assertEqual(wait_exit(p), 0)
        recorded = open(settings_path()).read()
        self.assertIn("<ovwindowid>%d</ovwindowid>" % self.platform_hwnd, recorded)
        self.assertIn("<loginsource>abc</loginsource>", recorded)
        before = log_text().count("m_strCmdJson is")
        for arg in ('{"type":1}', "type:1", "{type:1}"):
            with self.subTest(arg=arg):
                start = len(self.records())
                r = run(exe("qel_main.exe"), arg, timeout=60)
                self.assertEqual(r.returncode, 0)
                got = self.records()[start:]
                self.assertEqual(got, ["COPYDATA 1 528 " + CLOSE_NOTICE])
        text = log_text()
        self.assertEqual(text.count("m_strCmdJson is"), before)  # no window was made
        self.assertIn('IsGameExit] : game exit notify:{"type":1}', text)
        self.assertIn("IsGameExit] : reader.parse:type:1 false", text)
        self.assertIn("IsGameExit] : get type:1", text)
        self.assertIn("IsGameExit] : Orvane wnd get", text)

    def test_empty_login_source_consumes_the_notice(self):
        self.write_settings("")
        r = run(exe("qel_main.exe"), '{"type":1}', timeout=60)
        self.assertEqual(r.returncode, 0)
        self.assertEqual(self.records(), [])
        self.assertNotIn("m_strCmdJson is", log_text())

    def test_other_single_arguments_start_the_loader(self):
        self.write_settings("abc")
        for arg in ('{"type":"1"}', '{"type":2}', "Type:1"):
            with self.subTest(arg=arg):
                p = self.start(exe("qel_main.exe"), arg)
                hwnd = find_window("Kelvadune")
                self.assertNotEqual(hwnd, 0, arg)
                wintool("post", hwnd, WM_CLOSE)
                self.assertEqual(wait_exit(p), 0)
        self.assertEqual(self.records(), [])


if __name__ == "__main__":
    unittest.main()
