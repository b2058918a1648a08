"""Whole launcher runs that update the game: download into Documents, the
integrity key, unpacking into the game folder, the version record and the
failure paths with their events and boxes."""
import calendar
import hashlib
import io
import os
import random
import socket
import struct
import unittest
import zipfile

from harness import DC_PORT, DataCentre, WineTestCase, documents_dir, find_window, run, to_wine_path, wait_exit, wintool
from launcher_sandbox import LauncherSandbox

WM_COMMAND = 0x111
IDOK = 1
# The Wine prefixes of this machine link Documents to the home folder, which
# other test runs share: a version of its own keeps this run's package apart.
VERSION = str(random.randint(10 ** 6, 10 ** 9))
PACKAGE = "qelorvane_%s.zip" % VERSION
DOWNLOAD_FAILED_BOX = "【下载失败】"
UNZIP_FAILED_BOX = "【解压失败】"


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


MTIME = calendar.timegm((2023, 6, 1, 12, 34, 56))


def make_package(entries):
    """A zip from (name, data or None for a folder, DOS attribute bits, UT modification time or None)."""
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w") as z:
        for name, data, dos_bits, mtime in entries:
            info = zipfile.ZipInfo(name, date_time=(2020, 1, 2, 3, 4, 6))
            if data is None:
                info.external_attr = (0o40755 << 16) | 0x10 | dos_bits
                data = b""
            else:
                info.external_attr = (0o100644 << 16) | dos_bits
                info.compress_type = zipfile.ZIP_DEFLATED
            if mtime is not None:
                info.extra = b"UT" + struct.pack("<HBI", 5, 1, mtime)
            z.writestr(info, data)
    return buf.getvalue()


def attributes(path):
    """The DOS attribute letters Windows reports for a file (attrib's first columns)."""
    r = run("C:\\windows\\system32\\attrib.exe", to_wine_path(path))
    line = r.stdout.strip().splitlines()[0]
    return set(line[:line.index("Z:")].split())


GAME_FILES = [
    ("data/", None, 0, None),
    ("data/maps/", None, 0, None),
    ("data/maps/a.bin", os.urandom(200000), 0x20, MTIME),
    ("qelorvane.exe", None, 0x20, None),  # filled with the recording stand-in
    ("hidden.cfg", b"secret=1\r\n", 0x22, None),
    ("readme.txt", b"hello " * 1000, 0, MTIME + 3600),
]


class LauncherUpdate(WineTestCase):
    def setUp(self):
        super().setUp()
        self.box = LauncherSandbox()
        self.addCleanup(self.box.cleanup)
        self.dc = DataCentre(DC_PORT).start()
        self.addCleanup(self.dc.stop)
        self.local_package = os.path.join(documents_dir(), PACKAGE)
        self.remove_package()
        self.addCleanup(self.remove_package)

    def remove_package(self):
        for name in (self.local_package, self.local_package + ".part"):
            if os.path.exists(name):
                os.remove(name)

    def serve(self, data, sha256=None, base=None):
        self.dc.add_package(PACKAGE, data)
        base = base or "http://127.0.0.1:%d/packages/" % self.dc.port
        extra = ',"sha256":"%s"' % sha256 if sha256 is not None else ""
        self.dc.version_reply = '{"url":"%s","libversion":"%s"%s}' % (base, VERSION, extra)

    def run_and_dismiss(self, box_title, *args):
        """Runs the launcher until it shows the box, presses OK, and waits for its end."""
        p = self.start(self.box.program, "--token=t", *args, env=self.box.env())
        try:
            hwnd = find_window(box_title, 30000)
            self.assertNotEqual(hwnd, 0, "no %s box" % box_title)
            events_at_box = self.dc.events()
            wintool("post", hwnd, WM_COMMAND, IDOK)
            self.assertEqual(wait_exit(p, 30), 0)
        finally:
            if p.poll() is None:  # so that a late box cannot answer the next case
                p.kill()
                p.wait()
        self.assertEqual(self.dc.events(), events_at_box, "events after the box")
        return events_at_box

    def assertNothingInstalled(self):
        self.assertFalse(os.path.exists(self.box.version_file))
        self.assertEqual(self.box.game_command_lines(), [])

    def game_package(self):
        with open(os.path.join(os.environ.get("QEL_BIN_DIR", ""), "fake_game.exe"), "rb") as f:
            game = f.read()
        entries = [(n, game if n == "qelorvane.exe" else d, bits, t) for n, d, bits, t in GAME_FILES]
        return make_package(entries), entries

    def assertInstalled(self, entries):
        for name, data, bits, mtime in entries:
            path = os.path.join(self.box.game_dir, *name.rstrip("/").split("/"))
            if data is None:
                self.assertTrue(os.path.isdir(path), name)
                continue
            with open(path, "rb") as f:
                self.assertEqual(f.read(), data, name)
            if mtime is not None:
                self.assertEqual(int(os.stat(path).st_mtime), mtime, name)
        self.assertEqual(attributes(os.path.join(self.box.game_dir, "hidden.cfg")), {"A", "H"})
        # Wine shows every file without attributes of its own as archive; files
        # are never created read-only (the entries lack the DOS read-only bit).
        self.assertEqual(attributes(os.path.join(self.box.game_dir, "readme.txt")) - {"A"}, set())
        with open(self.box.version_file, "rb") as f:
            self.assertEqual(f.read(), VERSION.encode())
        self.assertFalse(os.path.exists(self.local_package), "the package was not removed")
        self.assertEqual(self.box.game_command_lines(), [self.box.expected_command_line("t", "", "")])

    def test_no_game_installs_and_starts(self):
        data, entries = self.game_package()
        self.serve(data)
        p = self.start(self.box.program, "--token=t", env=self.box.env())
        self.assertEqual(wait_exit(p, 60), 0)
        self.assertEqual(self.dc.events(), ["downloader_start", "game_download_start", "game_download_success",
                                            "game_unzip_success", "game_start"])
        self.assertInstalled(entries)

    def test_matching_sha256_installs_over_an_older_game(self):
        self.box.install_game("3")
        data, entries = self.game_package()
        self.serve(data, sha256=hashlib.sha256(data).hexdigest())
        p = self.start(self.box.program, "--token=t", env=self.box.env())
        self.assertEqual(wait_exit(p, 60), 0)
        self.assertEqual(self.dc.events()[-2:], ["game_unzip_success", "game_start"])
        self.assertInstalled(entries)

    def test_failed_downloads_report_and_end_with_a_box(self):
        cases = [
            ("package missing (404)", None, "game_download_exit"),
            ("package server unreachable", "http://127.0.0.1:%d/packages/" % free_port(),
             "game_download_disconnected"),
            ("no usable reply", "", "game_download_exit"),
        ]
        for name, base, event in cases:
            with self.subTest(name):
                self.dc.requests.clear()
                self.dc.packages.clear()
                self.dc.version_reply = ('{"url":"%s","libversion":"%s"}' % (base, VERSION)
                                         if base is not None else
                                         '{"url":"http://127.0.0.1:%d/packages/","libversion":"%s"}'
                                         % (self.dc.port, VERSION))
                events = self.run_and_dismiss(DOWNLOAD_FAILED_BOX)
                self.assertEqual(events, ["downloader_start", "game_download_start", event])
                self.assertFalse(os.path.exists(self.local_package))
                self.assertNothingInstalled()

    def test_wrong_sha256_refuses_the_package(self):
        data = b"PK\x05\x06" + b"\0" * 18  # an empty archive; its digest is not the one announced
        self.serve(data, sha256=hashlib.sha256(data + b"x").hexdigest())
        events = self.run_and_dismiss(DOWNLOAD_FAILED_BOX)
        self.assertEqual(events, ["downloader_start", "game_download_start", "game_download_exit"])
        self.assertFalse(os.path.exists(self.local_package), "the refused package was kept")
        self.assertNothingInstalled()

    def test_malformed_sha256_refuses_the_package(self):
        self.serve(b"PK\x05\x06" + b"\0" * 18, sha256="1234")
        events = self.run_and_dismiss(DOWNLOAD_FAILED_BOX)
        self.assertEqual(events[-1], "game_download_exit")
        self.assertFalse(os.path.exists(self.local_package))

    def test_package_that_is_not_a_zip_fails_unpacking(self):
        self.box.install_game("3")
        data = b"this is no zip archive" * 100
        self.serve(data, sha256=hashlib.sha256(data).hexdigest().upper())
        events = self.run_and_dismiss(UNZIP_FAILED_BOX)
        self.assertEqual(events, ["downloader_start", "game_download_start", "game_download_success",
                                  "game_unzip_failed"])
        with open(self.local_package, "rb") as f:
            self.assertEqual(f.read(), data, "the package stays for the next run")
        with open(self.box.version_file) as f:
            self.assertEqual(f.read(), "3")
        self.assertEqual(self.box.game_command_lines(), [])

    def test_hostile_or_damaged_packages_fail_unpacking(self):
        marker = b"0123456789abcdef" * 64
        cases = {
            # An entry that would land beside the game folder, in the launcher's own folder.
            "zip-slip": make_package([("ok.txt", b"fine", 0, None), ("../escaped.txt", b"outside", 0, None)]),
            # A stored entry whose data no longer matches its CRC-32.
            "corrupt": self.corrupted(make_stored([("a.bin", marker)]), marker),
        }
        for name, data in cases.items():
            with self.subTest(name):
                self.dc.requests.clear()
                self.box.cleanup()
                self.box = LauncherSandbox()
                self.box.install_game("3")
                self.remove_package()
                self.serve(data)
                events = self.run_and_dismiss(UNZIP_FAILED_BOX)
                self.assertEqual(events[-2:], ["game_download_success", "game_unzip_failed"])
                self.assertFalse(os.path.exists(os.path.join(self.box.dir, "escaped.txt")))
                with open(self.box.version_file) as f:
                    self.assertEqual(f.read(), "3")
                self.assertEqual(self.box.game_command_lines(), [])

    @staticmethod
    def corrupted(data, marker):
        at = data.index(marker) + 100
        return data[:at] + bytes([data[at] ^ 0xFF]) + data[at + 1:]


def make_stored(entries):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", compression=zipfile.ZIP_STORED) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=(2020, 1, 2, 3, 4, 6))
            info.external_attr = 0o100644 << 16
            z.writestr(info, data)
    return buf.getvalue()


if __name__ == "__main__":
    unittest.main()
