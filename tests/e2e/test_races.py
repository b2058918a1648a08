"""Many starts at once: single-instance rules hold under a race."""
import os
import shutil
import time
import unittest

from harness import DC_PORT, DataCentre, WineTestCase, exe, find_window, local_appdata, wait_exit, wintool
from launcher_sandbox import LauncherSandbox

STARTS = 20
WM_CLOSE = 0x10
VERSION_PATH = "/datacenter/dcopenapi/getverisonBypid.htm"


def count_windows(title):
    return int(wintool("count", title)[1] or 0)


class Races(WineTestCase):
    def test_twenty_loaders_at_once_leave_one_window(self):
        shutil.rmtree(os.path.join(local_appdata(), "Orvane"), ignore_errors=True)
        procs = [self.start(exe("qel_main.exe"), "--source=x", "--token=t%d" % i) for i in range(STARTS)]
        hwnd = find_window("Kelvadune")
        self.assertNotEqual(hwnd, 0)
        # All but one end by themselves, each with exit code 0.
        end = time.time() + 120
        while sum(p.poll() is None for p in procs) > 1 and time.time() < end:
            time.sleep(0.2)
        running = [p for p in procs if p.poll() is None]
        self.assertEqual(len(running), 1)
        self.assertTrue(all(p.returncode == 0 for p in procs if p not in running))
        self.assertEqual(count_windows("Kelvadune"), 1)
        wintool("post", hwnd, WM_CLOSE)
        self.assertEqual(wait_exit(running[0]), 0)

    def test_twenty_launchers_at_once_report_one_start(self):
        box = LauncherSandbox()
        self.addCleanup(box.cleanup)
        with DataCentre(DC_PORT) as dc:
            dc.stall_seconds = 15
            dc.fault(VERSION_PATH, "stall")
            procs = [self.start(box.program, "--token=t", "--source=s", env=box.env()) for _ in range(STARTS)]
            end = time.time() + 120
            while sum(p.poll() is None for p in procs) > 1 and time.time() < end:
                time.sleep(0.2)
            self.assertEqual(sum(p.poll() is None for p in procs), 1)
            self.assertEqual(dc.events().count("downloader_start"), 1, dc.events())
            for p in procs:
                if p.poll() is None:
                    p.kill()
                    p.wait()


if __name__ == "__main__":
    unittest.main()
