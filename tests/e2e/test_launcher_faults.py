"""The launcher against a faulty data centre: refused connections, server
errors, truncated and broken bodies, a server that stalls before or inside its
answer. Whatever happens, nothing that was not fully received and verified is
recorded as installed: ver.ini keeps what it held, the game folder keeps its
files, and no half-received package is left in place of a whole one."""
import hashlib
import os
import unittest

from harness import DC_PORT, DataCentre, WineTestCase, documents_dir, find_window, wait_exit, wintool
from launcher_sandbox import LauncherSandbox
from test_launcher_update import DOWNLOAD_FAILED_BOX, UNZIP_FAILED_BOX, make_package

# Wine maps Documents to the home folder, which other test runs on this
# machine share: a version of our own keeps their packages apart from ours.
VERSION = str(100000 + os.getpid())
PACKAGE = "qelorvane_%s.zip" % VERSION
WM_COMMAND = 0x111
IDOK = 1
STALL_SECONDS = 4


class LauncherFaults(WineTestCase):
    def setUp(self):
        super().setUp()
        self.local_package = os.path.join(documents_dir(), PACKAGE)
        self.remove_package()
        self.addCleanup(self.remove_package)
        self.package = make_package([("qelorvane.exe", b"MZ new game " * 5000, 0x20, None),
                                     ("data/", None, 0, None),
                                     ("data/table.bin", os.urandom(300000), 0x20, None)])

    def remove_package(self):
        for name in (self.local_package, self.local_package + ".part"):
            if os.path.exists(name):
                os.remove(name)

    def sandbox(self, installed):
        box = LauncherSandbox()
        self.addCleanup(box.cleanup)
        if installed:
            box.install_game(installed)
        return box

    def snapshot(self, box):
        """Every file below the launcher's folder with its bytes (the launcher
        and the stand-in game's record aside)."""
        files = {}
        for dirpath, _, names in os.walk(box.dir):
            for name in names:
                path = os.path.join(dirpath, name)
                if path not in (box.program, box.game_log):
                    with open(path, "rb") as f:
                        files[os.path.relpath(path, box.dir)] = f.read()
        return files

    def run_launcher(self, box, box_title=None, timeout=90):
        """Runs the launcher to its end; answers its box when one is expected."""
        p = self.start(box.program, "--token=t", env=box.env())
        if box_title:
            hwnd = find_window(box_title, timeout * 1000)
            self.assertNotEqual(hwnd, 0, "no %s box" % box_title)
            wintool("post", hwnd, WM_COMMAND, IDOK)
        self.assertEqual(wait_exit(p, timeout), 0)

    def assertNothingNewInstalled(self, box, before):
        after = self.snapshot(box)
        after.pop("kelm.ver", None)
        before = dict(before)
        before.pop("kelm.ver", None)
        self.assertEqual(after, before, "the game folder changed")
        self.assertEqual(box.game_command_lines(), [])
        self.assertFalse(os.path.exists(self.local_package + ".part"), "a partial download was left")

    def test_package_faults_install_nothing(self):
        sha = hashlib.sha256(self.package).hexdigest()
        cases = [
            # (name, fault mode, sha256 announced, box, last event)
            ("server error", 500, None, DOWNLOAD_FAILED_BOX, "game_download_exit"),
            ("body cut short", "short", None, DOWNLOAD_FAILED_BOX, "game_download_disconnected"),
            ("connection dropped mid-body", "drop", None, DOWNLOAD_FAILED_BOX, "game_download_disconnected"),
            ("stall inside the body", "stall_body", None, DOWNLOAD_FAILED_BOX, "game_download_disconnected"),
            # A stall before an empty answer is a whole, empty body: received,
            # but no package; with a digest announced it is refused earlier.
            ("stall, then an empty answer", "stall", None, UNZIP_FAILED_BOX, "game_unzip_failed"),
            ("stall, then an empty answer, digest", "stall", sha, DOWNLOAD_FAILED_BOX, "game_download_exit"),
        ]
        for installed in (None, "36"):
            for name, mode, digest, box_title, event in cases:
                with self.subTest(name, installed=installed), DataCentre(DC_PORT) as dc:
                    self.remove_package()
                    dc.stall_seconds = STALL_SECONDS
                    dc.add_package(PACKAGE, self.package)
                    extra = ',"sha256":"%s"' % digest if digest else ""
                    dc.version_reply = '{"url":"http://127.0.0.1:%d/packages/","libversion":"%s"%s}' % (
                        dc.port, VERSION, extra)
                    dc.fault("/packages/", mode)
                    box = self.sandbox(installed)
                    before = self.snapshot(box)
                    self.run_launcher(box, box_title)
                    self.assertEqual(dc.events()[-1], event)
                    self.assertNotIn("game_unzip_success", dc.events())
                    self.assertNothingNewInstalled(box, before)
                    if mode != "stall" or digest:
                        self.assertFalse(os.path.exists(self.local_package), "a refused package was kept")

    def test_version_faults_start_only_what_is_installed(self):
        # Without a usable reply the remote version reads as 0: an installed
        # game starts as it is, a missing one cannot be fetched.
        cases = [("server error", 500), ("reply cut short", "short"), ("connection dropped", "drop"),
                 ("stall inside the reply", "stall_body")]
        for installed in (None, "36"):
            for name, mode in cases:
                with self.subTest(name, installed=installed), DataCentre(DC_PORT) as dc:
                    dc.stall_seconds = STALL_SECONDS
                    dc.add_package(PACKAGE, self.package)
                    dc.version_reply = '{"url":"http://127.0.0.1:%d/packages/","libversion":"%s"}' % (
                        dc.port, VERSION)
                    dc.fault("/datacenter/dcopenapi/getverisonBypid.htm", mode)
                    box = self.sandbox(installed)
                    before = self.snapshot(box)
                    self.run_launcher(box, None if installed else DOWNLOAD_FAILED_BOX)
                    self.assertFalse(os.path.exists(box.reply_file), "a broken reply was recorded")
                    self.assertFalse([p for p, _ in dc.received() if p.startswith("/packages/")])
                    if installed:
                        self.assertEqual(self.snapshot(box), before)
                        self.assertEqual(len(box.game_command_lines()), 1)
                    else:
                        self.assertNothingNewInstalled(box, before)

    def test_refused_connections_everywhere(self):
        # No data centre at all: no events arrive, and nothing is installed.
        for installed in (None, "36"):
            with self.subTest(installed=installed):
                box = self.sandbox(installed)
                before = self.snapshot(box)
                self.run_launcher(box, None if installed else DOWNLOAD_FAILED_BOX)
                self.assertFalse(os.path.exists(box.reply_file))
                if installed:
                    self.assertEqual(self.snapshot(box), before)
                    self.assertEqual(len(box.game_command_lines()), 1)
                else:
                    self.assertNothingNewInstalled(box, before)


if __name__ == "__main__":
    unittest.main()
