"""qel_main's game start and the messages other programs send it: the direct
start with the fake qel.exe where the registration points, 1347 to the game
manager when it cannot start, the settings file it records, the registration
refresh of message 1134, and the game clean-up of message 1135."""
import glob
import os
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import (WineTestCase, exe, find_window, local_appdata, run, to_wine_path, wait_exit, wine_env,
                     wine_user_dir, wintool)

WM_CLOSE = 0x10
WM_UNZIP_RESULT = 1134
WM_NETWORK_RESULT = 1135
WM_NAV_ERROR = 1137
UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\qel"


def orvane_dir():
    return os.path.join(local_appdata(), "Orvane")


def log_text():
    files = glob.glob(os.path.join(orvane_dir(), "Log", "qel_main.exe_*.log"))
    return open(files[0], "rb").read().decode("latin-1") if files else ""


def wait_until(check, timeout=15):
    end = time.time() + timeout
    while time.time() < end:
        if check():
            return True
        time.sleep(0.1)
    return False


def reg(*args):
    return run("reg", *args, timeout=60)


def entry_values():
    """{name: (type, data)} of the registration entry, or None when it is missing."""
    r = reg("query", UNINSTALL)
    if r.returncode != 0:
        return None
    values = {}
    for line in r.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = (parts[1], parts[2] if len(parts) > 2 else "")
    return values


def desktop_link():
    return os.path.join(wine_user_dir(), "Desktop", "Kelvadune.lnk")


class GameStart(WineTestCase):
    def setUp(self):
        super().setUp()
        shutil.rmtree(orvane_dir(), ignore_errors=True)
        reg("delete", UNINSTALL, "/f")
        if os.path.exists(desktop_link()):
            os.remove(desktop_link())
        self.tmp = tempfile.mkdtemp(prefix="qel_e2e_start_")
        self.game_dir = os.path.join(self.tmp, "game")
        os.makedirs(self.game_dir)
        self.game_record = os.path.join(self.tmp, "game.txt")
        self.env = {"QEL_FAKE_GAME_LOG": to_wine_path(self.game_record)}
        self.platform_record = os.path.join(self.tmp, "platform.txt")
        self.platform = self.start(exe("fake_platform_window.exe"), to_wine_path(self.platform_record), "120")
        self.platform_hwnd = int(self.platform.stdout.readline().strip())
        self.installed = []

    def tearDown(self):
        super().tearDown()
        reg("delete", UNINSTALL, "/f")
        for path in self.installed:
            if os.path.exists(path):
                os.remove(path)
        shutil.rmtree(self.tmp, ignore_errors=True)

    def install_game(self, folder):
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "qel.exe")
        shutil.copy(exe("fake_game.exe"), path)
        self.installed.append(path)
        return path

    def register_game_dir(self):
        icon = to_wine_path(os.path.join(self.game_dir, "qel.ico")).replace("\\", "/")
        self.assertEqual(reg("add", UNINSTALL, "/v", "DisplayIcon", "/d", icon, "/f").returncode, 0)

    def platform_messages(self):
        time.sleep(0.3)
        if not os.path.exists(self.platform_record):
            return []
        return [l for l in open(self.platform_record).read().splitlines() if l]

    def game_command_line(self, timeout=15):
        wait_until(lambda: os.path.exists(self.game_record) and open(self.game_record).read().endswith("\n"), timeout)
        return open(self.game_record).read() if os.path.exists(self.game_record) else ""

    def direct_start(self, *extra):
        args = ["--tokenLogin=1", "--token=T", "--source=S", "--ovext=X",
                "--gameMgrId=%d" % self.platform_hwnd, "--typeMode=1"]
        return run(exe("qel_main.exe"), *(args + list(extra)), env=self.env, timeout=60)

    def test_direct_start_runs_the_registered_game_with_its_arguments(self):
        self.install_game(self.game_dir)
        self.register_game_dir()
        r = self.direct_start()
        self.assertEqual(r.returncode, 0)
        cmd = self.game_command_line()
        self.assertTrue(cmd.endswith('qel.exe" --source=S --tokenLogin=1 --token=T --ovext=X --winid=%d --typeMode=1\n'
                                     % self.platform_hwnd), cmd)
        self.assertIn(to_wine_path(self.game_dir), cmd)
        self.assertEqual(self.platform_messages(), ["MSG 1348 0 0"])  # started, no failure
        text = log_text()
        self.assertIn("GameLoaderWnd::LoadGame] : GameLoaderWnd LoadGame start", text)
        self.assertNotIn("GameLoaderWnd LoadWeb", text)  # no page, so the window never showed

    def test_direct_start_without_the_game_tells_the_game_manager(self):
        self.register_game_dir()  # registered, but no qel.exe there
        r = self.direct_start()
        self.assertEqual(r.returncode, 0)
        self.assertEqual(self.platform_messages(), ["MSG 1348 0 0", "MSG 1347 0 0"])
        self.assertIn("PathFileExists " + to_wine_path(self.game_dir) + "\\qel.exe not exists", log_text())
        self.assertFalse(os.path.exists(self.game_record))

    def test_direct_start_without_a_token_ends_instead_of_hiding_forever(self):
        self.install_game(self.game_dir)
        self.register_game_dir()
        r = run(exe("qel_main.exe"), "--tokenLogin=1", "--source=S", "--gameMgrId=%d" % self.platform_hwnd,
                env=self.env, timeout=60)
        self.assertEqual(r.returncode, 0)
        self.assertEqual(self.platform_messages(), ["MSG 1347 0 0"])
        self.assertFalse(os.path.exists(self.game_record))

    def start_hidden(self, *args):
        p = self.start(exe("qel_main.exe"), *args, env=self.env)
        hwnd = find_window("Kelvadune")
        self.assertNotEqual(hwnd, 0, "loader window not found")
        return p, hwnd

    def close(self, p, hwnd):
        wintool("post", hwnd, WM_CLOSE)
        self.assertEqual(wait_exit(p), 0)

    def settings(self):
        with open(os.path.join(orvane_dir(), "setting.xml"), "rb") as f:
            return f.read().decode("utf-8")

    def test_settings_file_records_the_platform_window_and_the_login_source(self):
        p, hwnd = self.start_hidden("--winid=1234", "--source=abc", "--token=T")
        self.close(p, hwnd)
        self.assertEqual(self.settings(), "<settings>\r\n    <ovwindowid>1234</ovwindowid>\r\n"
                                          "    <loginsource>abc</loginsource>\r\n</settings>\r\n")
        p, hwnd = self.start_hidden("--source=", "--token=T")
        self.close(p, hwnd)
        self.assertEqual(self.settings(), "<settings>\r\n    <ovwindowid>1234</ovwindowid>\r\n"
                                          "    <loginsource></loginsource>\r\n</settings>\r\n")
        # Another root name is kept; of two elements only the first is rewritten.
        with open(os.path.join(orvane_dir(), "setting.xml"), "w") as f:
            f.write("<conf><loginsource>one</loginsource><loginsource>two</loginsource></conf>")
        p, hwnd = self.start_hidden("--source=web", "--winid=77")
        self.close(p, hwnd)
        self.assertEqual(self.settings(), "<conf>\r\n    <loginsource>web</loginsource>\r\n"
                                          "    <loginsource>two</loginsource>\r\n"
                                          "    <ovwindowid>77</ovwindowid>\r\n</conf>\r\n")

    def test_unzip_result_registers_and_starts_the_game(self):
        self.assertEqual(reg("add", UNINSTALL, "/v", "FileParam", "/d", "bag", "/f").returncode, 0)
        p, hwnd = self.start_hidden("--source=web", "--token=T", "--gameMgrId=%d" % self.platform_hwnd)
        self.assertTrue(wait_until(lambda: "GetBagFileParam fileparam=bag" in log_text()))
        # The refresh points the registration at the default install folder,
        # so the game goes there.
        for pf in ("Program Files", "Program Files (x86)"):
            self.install_game(os.path.join(wine_user_dir(), "..", "..", pf, "qel"))
        self.assertEqual(wintool("post", hwnd, WM_UNZIP_RESULT, 0)[0], 0)
        self.assertEqual(wait_exit(p), 0)

        values = entry_values()
        self.assertEqual(sorted(values), ["DisplayIcon", "DisplayName", "DisplayVersion", "Publisher",
                                          "UninstallString"])
        self.assertTrue(all(t == "REG_SZ" for t, _ in values.values()), values)
        loader = values["DisplayIcon"][1]
        folder = loader[:loader.rindex("\\")]
        self.assertTrue(loader.startswith("C:\\Program Files") and loader.endswith("\\qel\\qel_main.exe"), loader)
        self.assertEqual(values["DisplayVersion"][1], "3.0.3.27")
        self.assertEqual(values["DisplayName"][1], "Kelvadune")
        self.assertEqual(values["Publisher"][1], "")
        self.assertEqual(values["UninstallString"][1], folder + "\\QelLoaderUninst.exe")

        link = open(desktop_link(), "rb").read()
        self.assertIn(loader.encode("latin-1"), link)
        self.assertIn(folder.encode("utf-16-le"), link)  # the working folder

        cmd = self.game_command_line()
        self.assertTrue(cmd.endswith("--source=web --token=T --winid=%d\n" % self.platform_hwnd), cmd)
        self.assertIn(folder + "\\qel.exe", cmd)
        self.assertEqual(self.platform_messages(), [])

    def test_unzip_result_with_source_ov_leaves_no_shortcut(self):
        open(desktop_link(), "wb").close()
        p, hwnd = self.start_hidden("--source=OV", "--token=T")
        wintool("post", hwnd, WM_UNZIP_RESULT, 0)
        self.assertEqual(wait_exit(p), 0)
        self.assertEqual(len(entry_values()), 5)
        self.assertFalse(os.path.exists(desktop_link()))

    def test_failed_unzip_shows_the_box_and_closes(self):
        p, hwnd = self.start_hidden("--source=web", "--token=T")
        wintool("post", hwnd, WM_UNZIP_RESULT, 5)
        box = find_window("CustomMsgBox")
        self.assertNotEqual(box, 0, "no message box")
        wintool("post", box, WM_CLOSE)
        self.assertEqual(wait_exit(p), 0)
        self.assertIsNone(entry_values())

    def test_closing_the_loader_while_its_box_shows_ends_cleanly(self):
        # The platform may close the loader while an error box waits for the player.
        for message, wparam, title in ((WM_UNZIP_RESULT, 5, "CustomMsgBox"), (WM_NETWORK_RESULT, 1, "CustomMsgBox"),
                                       (WM_NAV_ERROR, 0, "提示")):
            with self.subTest(message=message):
                p, hwnd = self.start_hidden("--source=web", "--token=T")
                wintool("post", hwnd, message, wparam)
                self.assertNotEqual(find_window(title), 0, "no message box")
                wintool("post", hwnd, WM_CLOSE)
                self.assertEqual(wait_exit(p), 0)

    def test_network_result_ends_a_running_game(self):
        game = self.install_game(self.game_dir)
        env = dict(self.env, QEL_FAKE_GAME_LINGER_MS="60000")
        g = self.start(game, env=env)
        self.game_command_line()  # it runs
        p, hwnd = self.start_hidden("--source=web", "--token=T")
        t = time.time()
        rc, _ = wintool("send", hwnd, WM_NETWORK_RESULT, 0)
        self.assertEqual(rc, 0)
        self.assertEqual(wait_exit(g, 10), 0)
        # Nothing runs any more: the next clean-up returns at once.
        t = time.time()
        self.assertEqual(wintool("send", hwnd, WM_NETWORK_RESULT, 0)[0], 0)
        self.assertLess(time.time() - t, 3)
        self.assertIn("GeneralProcessExist,GetProcessIdByName qel.exe idProcess:", log_text())
        self.close(p, hwnd)


if __name__ == "__main__":
    unittest.main()
