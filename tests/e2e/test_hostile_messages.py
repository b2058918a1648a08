"""Any local program can post messages to our windows. Thousands of random
messages in the custom ranges (and WM_COPYDATA with random records) must never
crash either program: each run ends by itself with exit code 0 or is still
alive when the storm is over."""
import os
import shutil
import unittest

from harness import DC_PORT, DataCentre, WineTestCase, exe, find_window, local_appdata, run, wait_exit
from launcher_sandbox import LAUNCHER_TITLE, LauncherSandbox

TOTAL = 3000
BATCH = 600
VERSION_PATH = "/datacenter/dcopenapi/getverisonBypid.htm"


class HostileMessages(WineTestCase):
    def storm(self, start_program, title, first, last):
        delivered, seed, runs = 0, 1, 0
        while delivered < TOTAL:
            p = start_program()
            hwnd = find_window(title)
            if not hwnd:
                self.assertEqual(wait_exit(p, 30), 0, "ended without a window, abnormally")
                continue
            r = run(exe("msgstorm.exe"), str(hwnd), str(BATCH), str(seed), str(first), str(last), timeout=300)
            self.assertEqual(r.returncode, 0, r.stderr)
            delivered += int(r.stdout.split()[1])
            seed += 1
            runs += 1
            code = p.poll()
            if code is None:
                p.kill()
                p.wait()
            else:
                self.assertEqual(code, 0, "program crashed (exit code %#x) in storm seed %d" % (code, seed - 1))
        return runs

    def test_loader_survives_random_messages(self):
        shutil.rmtree(os.path.join(local_appdata(), "Orvane"), ignore_errors=True)
        runs = self.storm(lambda: self.start(exe("qel_main.exe"), "--source=x", "--token=abc"),
                          "Kelvadune", 1024, 1700)
        self.assertGreaterEqual(runs, 1)

    def test_launcher_survives_random_messages(self):
        box = LauncherSandbox()
        self.addCleanup(box.cleanup)
        dc = DataCentre(DC_PORT).start()
        self.addCleanup(dc.stop)
        dc.stall_seconds = 20
        dc.fault(VERSION_PATH, "stall")  # keeps the launcher waiting with its window up
        runs = self.storm(lambda: self.start(box.program, "--token=t", "--source=s", env=box.env()),
                          LAUNCHER_TITLE, 1024, 1200)
        self.assertGreaterEqual(runs, 1)


if __name__ == "__main__":
    unittest.main()
