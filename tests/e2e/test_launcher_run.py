"""Whole launcher runs under Wine against the stand-in data centre: the events
it reports, the version decision, the game start, the single instance and the
ways the user can end it."""
import os
import time
import unittest
import urllib.parse

from harness import DC_PORT, DataCentre, WineTestCase, find_window, wait_exit, wintool
from launcher_sandbox import LAUNCHER_TITLE, MAC_RE, TIME_RE, LauncherSandbox

WM_CLOSE = 0x10
WM_KEYDOWN = 0x100
VK_RETURN = 0x0D
VK_ESCAPE = 0x1B
WM_LAUNCH_CLOSE = 1124
VERSION_PATH = "/datacenter/dcopenapi/getverisonBypid.htm"
CURRENT = ["downloader_start", "game_download_start", "game_download_success", "game_start"]


def reply(dc, version):
    return '{"url":"http://127.0.0.1:%d/packages/","libversion":"%s"}' % (dc.port, version)


def query_values(query):
    """Values of a log request as sent, keyed by name (the values hold no '&')."""
    out = {}
    for part in query.split("&"):
        key, _, value = part.partition("=")
        out[key] = urllib.parse.unquote(value)
    return out


class LauncherRun(WineTestCase):
    def setUp(self):
        super().setUp()
        self.box = LauncherSandbox()
        self.addCleanup(self.box.cleanup)
        self.dc = DataCentre(DC_PORT).start()
        self.addCleanup(self.dc.stop)

    def launch(self, *args):
        return self.start(self.box.program, *args, env=self.box.env())

    def run_to_end(self, *args, timeout=60):
        p = self.launch(*args)
        self.assertEqual(wait_exit(p, timeout), 0)

    def test_current_game_starts_with_the_token_command_line(self):
        self.box.install_game("12")
        self.dc.version_reply = reply(self.dc, "12")
        self.run_to_end("--token=T0k3n", "--source=web", "--ovext=x1")
        self.assertEqual(self.dc.events(), CURRENT)
        self.assertEqual(self.box.game_command_lines(),
                         [self.box.expected_command_line("T0k3n", "web", "x1")])
        # Every report names the stage, the machine and the local time.
        for query in (q for path, q in self.dc.received() if path != VERSION_PATH):
            v = query_values(query)
            self.assertEqual(list(v), ["param", "mid", "time_str", "os_version"])
            self.assertTrue(v["mid"] == "" or MAC_RE.match(v["mid"]), v["mid"])
            self.assertRegex(v["time_str"], TIME_RE)
            self.assertEqual(v["os_version"].count(","), 2, v["os_version"])
        # The version request is unique per run and its reply is kept beside the launcher.
        versions = [q for path, q in self.dc.received() if path == VERSION_PATH]
        self.assertEqual(len(versions), 1)
        self.assertRegex(versions[0], r"^pid=orvane&v=\d{1,5}$")
        with open(self.box.reply_file) as f:
            self.assertEqual(f.read(), reply(self.dc, "12"))

    def test_version_decision(self):
        # (installed ver.ini, remote libversion, game starts without an update)
        cases = [("12", "12", True), ("13", "12", True), ("11", "12", False), (None, "0", False),
                 ("abc", "0", True)]
        for installed, remote, starts in cases:
            with self.subTest(installed=installed, remote=remote):
                self.box.cleanup()
                self.box = LauncherSandbox()
                self.box.install_game(installed)
                self.dc.requests.clear()
                self.dc.version_reply = reply(self.dc, remote)
                p = self.launch("--token=t")
                if starts:
                    self.assertEqual(wait_exit(p), 0)
                    self.assertEqual(self.dc.events(), CURRENT)
                    self.assertEqual(len(self.box.game_command_lines()), 1)
                else:
                    self.assertTrue(self.dc.wait_for_event("game_download_start"))
                    time.sleep(1)
                    self.assertNotIn("game_start", self.dc.events())
                    self.assertEqual(self.box.game_command_lines(), [])
                    p.kill()
                    p.wait()

    def test_failed_version_request_uses_the_earlier_reply(self):
        self.box.install_game("12")
        with open(self.box.reply_file, "w") as f:
            f.write(reply(self.dc, "12") + "\r\nsecond line is ignored\r\n")
        self.dc.fault(VERSION_PATH, 404)
        self.run_to_end("--token=a")
        self.assertEqual(self.dc.events(), CURRENT)
        with open(self.box.reply_file) as f:
            self.assertTrue(f.read().startswith(reply(self.dc, "12")))

    def test_empty_parameters_still_give_every_piece(self):
        self.box.install_game("1")
        self.dc.version_reply = reply(self.dc, "1")
        self.run_to_end()
        self.assertEqual(self.box.game_command_lines(), [self.box.expected_command_line("", "", "")])

    def stalled_launcher(self):
        """A launcher waiting in its version request, and its window."""
        self.dc.stall_seconds = 20
        self.dc.fault(VERSION_PATH, "stall")
        p = self.launch("--token=a")
        self.assertTrue(self.dc.wait_for_event("game_download_start"))
        hwnd = find_window(LAUNCHER_TITLE)
        self.assertNotEqual(hwnd, 0, "launcher window not found")
        return p, hwnd

    def test_second_launcher_ends_at_once_without_events(self):
        first, hwnd = self.stalled_launcher()
        events = self.dc.events()
        second = self.launch("--token=b")
        self.assertEqual(wait_exit(second, 20), 0)
        self.assertEqual(self.dc.events(), events)
        self.assertIsNone(first.poll(), "the first launcher was disturbed")
        self.assertEqual(wintool("post", hwnd, WM_CLOSE)[0], 0)
        self.assertEqual(wait_exit(first, 20), 0)

    def test_close_requests_report_exit_and_end(self):
        for message in (WM_CLOSE, WM_LAUNCH_CLOSE):
            with self.subTest(message=message):
                self.dc.requests.clear()
                p, hwnd = self.stalled_launcher()
                self.assertEqual(wintool("post", hwnd, message)[0], 0)
                self.assertEqual(wait_exit(p, 20), 0)
                self.assertEqual(self.dc.events(), ["downloader_start", "game_download_start",
                                                    "game_download_exit"])
                self.assertEqual(self.box.game_command_lines(), [])

    def test_escape_does_nothing_and_enter_ends_without_event(self):
        p, hwnd = self.stalled_launcher()
        wintool("post", hwnd, WM_KEYDOWN, VK_ESCAPE)
        time.sleep(1.5)
        self.assertIsNone(p.poll(), "Escape ended the launcher")
        wintool("post", hwnd, WM_KEYDOWN, VK_RETURN)
        self.assertEqual(wait_exit(p, 20), 0)
        self.assertEqual(self.dc.events(), ["downloader_start", "game_download_start"])


if __name__ == "__main__":
    unittest.main()
