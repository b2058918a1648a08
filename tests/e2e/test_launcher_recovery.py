"""Crash recovery: the launcher killed at random points of the package
download and of the extraction. The package is served slowly so that a kill
lands mid-transfer, and is made of many files so that one lands mid-extraction.
After every kill the version record still says "not installed" (or the old
version), and the next run completes: the game folder then holds exactly the
package's files, byte for byte, and "ver.ini" holds the new version.
QEL_RECOVERY_TRIALS sets the trials per phase (default 10); the seed is fixed.
"""
import os
import random
import time
import unittest

from harness import DC_PORT, DataCentre, WineTestCase, documents_dir, exe, wait_exit
from launcher_sandbox import LauncherSandbox
from test_launcher_update import make_package

# Wine maps Documents to the home folder, which other test runs on this
# machine share: a version of our own keeps their packages apart from ours.
VERSION = str(100000 + os.getpid())
PACKAGE = "qelorvane_%s.zip" % VERSION
TRIALS = int(os.environ.get("QEL_RECOVERY_TRIALS", "10"))
DOWNLOAD_SECONDS = 2.5  # the slow transfer of the package


def package_entries(rng):
    with open(exe("fake_game.exe"), "rb") as f:
        game = f.read()
    entries = [("qelorvane.exe", game, 0x20, None)]
    # Large enough that the extraction lasts about a second here, so that a
    # random kill point can land inside it even as the extraction gets faster.
    for folder in range(8):
        entries.append(("data%d/" % folder, None, 0, None))
        for n in range(60):
            size = rng.randrange(2000, 90000)
            data = rng.randbytes(size // 4) * 4  # some of it compresses
            entries.append(("data%d/f%02d.bin" % (folder, n), data, 0x20, None))
    return entries


class LauncherRecovery(WineTestCase):
    @classmethod
    def setUpClass(cls):
        cls.rng = random.Random(4711)
        cls.entries = package_entries(cls.rng)
        cls.package = make_package(cls.entries)

    def setUp(self):
        super().setUp()
        self.dc = DataCentre(DC_PORT).start()
        self.addCleanup(self.dc.stop)
        self.dc.add_package(PACKAGE, self.package)
        self.dc.version_reply = '{"url":"http://127.0.0.1:%d/packages/","libversion":"%s"}' % (
            self.dc.port, VERSION)
        self.local_package = os.path.join(documents_dir(), PACKAGE)
        self.remove_package()
        self.addCleanup(self.remove_package)

    def remove_package(self):
        for name in (self.local_package, self.local_package + ".part"):
            if os.path.exists(name):
                os.remove(name)

    def wait_until(self, condition, timeout=60, required=True):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if condition():
                return time.monotonic()
            time.sleep(0.01)
        if required:
            self.fail("timed out")
        return None

    def package_requested(self):
        return any(p.startswith("/packages/") for p, _ in self.dc.received())

    def run_to_end(self, box):
        p = self.start(box.program, "--token=t", env=box.env())
        self.assertEqual(wait_exit(p, 120), 0)

    def assertInstalledExactly(self, box):
        want = {name.rstrip("/"): data for name, data, _, _ in self.entries}
        want["ver.ini"] = VERSION.encode()
        found = {}
        for dirpath, dirnames, filenames in os.walk(box.game_dir):
            for d in dirnames:
                found[os.path.relpath(os.path.join(dirpath, d), box.game_dir).replace(os.sep, "/")] = None
            for name in filenames:
                path = os.path.join(dirpath, name)
                with open(path, "rb") as f:
                    found[os.path.relpath(path, box.game_dir).replace(os.sep, "/")] = f.read()
        self.assertEqual(sorted(found), sorted(want), "other files than the package's")
        for name, data in want.items():
            self.assertTrue(found[name] == data, "%s differs" % name)
        self.assertFalse(os.path.exists(self.local_package + ".part"), "a partial download was left")
        self.assertFalse(os.path.exists(self.local_package), "the package was not removed")
        self.assertEqual(len(box.game_command_lines()), 1)

    def killed_run(self, phase, box):
        """Starts the launcher, kills it at a random point of `phase`, and
        says whether the kill landed inside that phase."""
        self.dc.requests.clear()
        self.dc.fault("/packages/", "slow")
        self.dc.slow_rate = int(len(self.package) / DOWNLOAD_SECONDS)
        p = self.start(box.program, "--token=t", env=box.env())
        if phase == "download":
            self.wait_until(self.package_requested)
            time.sleep(self.rng.uniform(0.0, DOWNLOAD_SECONDS * 0.95))
            inside = lambda: "game_download_success" not in self.dc.events()
        else:
            self.wait_until(lambda: "game_download_success" in self.dc.events())
            # The first half of the measured time: the run-to-run spread of the
            # extraction must not carry the kill past its end.
            time.sleep(self.rng.uniform(0.0, self.extract_seconds * 0.5))
            inside = lambda: "game_unzip_success" not in self.dc.events()
        landed = p.poll() is None and inside()
        p.kill()
        p.wait()
        self.dc.clear_faults()
        if landed and phase == "extraction":
            written = sum(len([f for f in files if f != "ver.ini"]) for _, _, files in os.walk(box.game_dir))
            package_files = sum(1 for _, data, _, _ in self.entries if data is not None)
            self.partial_folders += 1 < written < package_files
        return landed

    def measure_extraction(self):
        """One whole slow run: how long the extraction takes here."""
        box = LauncherSandbox()
        self.addCleanup(box.cleanup)
        self.dc.fault("/packages/", "slow")
        self.dc.slow_rate = 8 * len(self.package)
        p = self.start(box.program, "--token=t", env=box.env())
        start = self.wait_until(lambda: "game_download_success" in self.dc.events())
        end = self.wait_until(lambda: "game_unzip_success" in self.dc.events())
        self.assertEqual(wait_exit(p, 60), 0)
        self.dc.clear_faults()
        self.assertInstalledExactly(box)
        self.remove_package()
        return end - start

    def test_killed_downloads_and_extractions_recover(self):
        self.extract_seconds = self.measure_extraction()
        self.partial_folders = 0
        for phase in ("download", "extraction"):
            landed_inside = 0
            for trial in range(TRIALS):
                installed = "36" if trial % 2 else None  # a first install, or an update
                with self.subTest(phase=phase, trial=trial, installed=installed):
                    box = LauncherSandbox()
                    self.addCleanup(box.cleanup)
                    if installed:
                        box.install_game(installed)
                    landed = self.killed_run(phase, box)
                    landed_inside += landed
                    if landed:  # nothing is recorded as installed by a run that was cut
                        if installed:
                            with open(box.version_file) as f:
                                self.assertEqual(f.read(), installed)
                        else:
                            self.assertFalse(os.path.exists(box.version_file))
                        self.assertEqual(box.game_command_lines(), [])
                    else:  # the run got through; count only the next start
                        # The game it started writes its line a moment later.
                        self.wait_until(lambda: os.path.exists(box.game_log), timeout=5, required=False)
                        time.sleep(0.5)
                        if os.path.exists(box.game_log):
                            os.remove(box.game_log)
                    self.run_to_end(box)
                    self.assertInstalledExactly(box)
                    box.cleanup()
            print("%s: %d of %d kills landed inside it (extraction takes %.2f s)" % (
                phase, landed_inside, TRIALS, self.extract_seconds))
            self.assertGreaterEqual(landed_inside, TRIALS * 6 // 10, "the kills missed the %s" % phase)
        print("%d extraction kills left a half-written game folder" % self.partial_folders)


if __name__ == "__main__":
    unittest.main()
