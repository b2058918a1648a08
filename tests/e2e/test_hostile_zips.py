"""The launcher's package extraction against hostile packages under Wine.

A few hundred packages mutated from small base packages (truncated,
bit-flipped, wrong sizes and CRCs, climbing names, huge declared sizes and
counts, duplicate names; tests/support/hostile_zips.py, fixed seed) go through
the real extraction in one zip_extract.exe process. Each must end with 0 or
0x40000 within its own time limit, write nothing beside its target folder,
fail where the damage is certain, and write only bytes that some entry of the
package really holds. QEL_HOSTILE_ZIPS sets the count (default 10000, about 25 s).
"""
import os
import queue
import re
import shutil
import subprocess
import tempfile
import threading
import time
import unittest

from harness import exe, to_wine_path, wine_env, wine_user_dir
from hostile_zips import mutated_packages

COUNT = int(os.environ.get("QEL_HOSTILE_ZIPS", "10000"))
PER_ARCHIVE_SECONDS = 20
RESULT = re.compile(r"^(\d+) result 0x([0-9a-f]+) progress (\d+)$")


def files_below(root):
    found = {}
    for dirpath, _, filenames in os.walk(root):
        for name in filenames:
            path = os.path.join(dirpath, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, root)] = f.read()
    return found


class HostileZips(unittest.TestCase):
    def setUp(self):
        self.sandbox = tempfile.mkdtemp(prefix="hostilezips_")

    def tearDown(self):
        shutil.rmtree(self.sandbox, ignore_errors=True)

    def run_batch(self, lines, cwd):
        """Feeds the list to one extraction process; yields (line number,
        result, progress) as each archive finishes, failing on a hang or crash."""
        listing = os.path.join(self.sandbox, "list.txt")
        with open(listing, "w", encoding="utf-8", newline="\n") as f:
            f.write("".join("%s|%s\n" % pair for pair in lines))
        proc = subprocess.Popen(["wine", exe("zip_extract.exe"), "--batch", to_wine_path(listing)],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, errors="replace",
                                env=wine_env(), cwd=cwd)
        out = queue.Queue()
        threading.Thread(target=lambda: [out.put(l) for l in proc.stdout] + [out.put(None)], daemon=True).start()
        try:
            for expected in range(1, len(lines) + 1):
                # The first answer also waits for Wine to start.
                limit = PER_ARCHIVE_SECONDS + (30 if expected == 1 else 0)
                try:
                    line = out.get(timeout=limit)
                except queue.Empty:
                    self.fail("archive %d took longer than %d s: %s" % (expected, limit, lines[expected - 1][0]))
                if line is None:
                    self.fail("the extraction ended at archive %d (exit %s): %s %s" % (
                        expected, proc.wait(), lines[expected - 1][0], proc.stderr.read()[-500:]))
                m = RESULT.match(line.strip())
                self.assertIsNotNone(m, line)
                self.assertEqual(int(m.group(1)), expected)
                yield expected, int(m.group(2), 16), int(m.group(3))
            self.assertEqual(proc.wait(timeout=30), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()

    def test_mutated_packages(self):
        packages_dir = os.path.join(self.sandbox, "packages")
        work_root = os.path.join(self.sandbox, "work")
        cwd = os.path.join(self.sandbox, "cwd")
        for d in (packages_dir, work_root, cwd):
            os.makedirs(d)
        cases, lines = [], []
        for i, (name, data, must_fail, allowed) in enumerate(mutated_packages(COUNT)):
            # Folders of a hundred: Wine looks names up by listing the folder.
            package = os.path.join(packages_dir, "%03d" % (i // 100), name)
            os.makedirs(os.path.dirname(package), exist_ok=True)
            with open(package, "wb") as f:
                f.write(data)
            work = os.path.join(work_root, "%03d" % (i // 100), name[:-4])
            os.makedirs(work)
            cases.append((name, work, must_fail, allowed))
            lines.append((to_wine_path(package), to_wine_path(os.path.join(work, "game"))))
        drive_c = os.path.join(os.path.dirname(os.path.dirname(wine_user_dir())))
        drive_c_before = set(os.listdir(drive_c))

        started = time.monotonic()
        results = {0: 0, 0x40000: 0}
        for number, result, _ in self.run_batch(lines, cwd):
            name, work, must_fail, allowed = cases[number - 1]
            with self.subTest(archive=name):
                self.assertIn(result, (0, 0x40000))
                results[result] = results.get(result, 0) + 1
                self.assertEqual(os.listdir(work), ["game"], "written beside the target")
                if must_fail:
                    self.assertEqual(result, 0x40000, "damage that cannot read right passed")
                if result == 0:
                    for path, content in files_below(os.path.join(work, "game")).items():
                        self.assertIn(content, allowed, "%s holds bytes no entry of the package holds" % path)
        elapsed = time.monotonic() - started

        self.assertEqual(os.listdir(cwd), [], "written into the working folder")
        self.assertEqual(sorted(os.listdir(self.sandbox)), ["cwd", "list.txt", "packages", "work"])
        self.assertEqual(set(os.listdir(drive_c)), drive_c_before, "written at the root of drive C")
        # Both outcomes occur, or the mutations test nothing.
        self.assertGreater(results[0], COUNT // 20)
        self.assertGreater(results[0x40000], COUNT // 4)
        print("%d mutated packages in %.1f s: %d extracted, %d refused" % (
            COUNT, elapsed, results[0], results[0x40000]))


if __name__ == "__main__":
    unittest.main()
