"""The launcher's package extraction against real-world archives.

Archives whose entries are all stored or deflate, that Info-ZIP tests OK and
whose names Windows can hold must unpack to the same bytes as `unzip`. Every
other archive must fail cleanly (0x40000): no crash, no hang, nothing written
beside the target folder. The corpus is read in place from ../shared/zipcorpus
beside the repository (QEL_ZIP_CORPUS overrides it); without it the test skips.
"""
import collections
import glob
import hashlib
import os
import shutil
import struct
import subprocess
import tempfile
import unittest

from harness import SOURCE_DIR, exe, run, to_wine_path

CORPUS = os.environ.get("QEL_ZIP_CORPUS", os.path.join(SOURCE_DIR, "..", "shared", "zipcorpus"))
UNZIP = shutil.which("unzip")
WINDOWS_FORBIDDEN = set('<>:"|?*')


def central_directory(path):
    """(method, raw name) of every entry, or None when the end record or the
    directory cannot be walked plainly (Zip64, damaged)."""
    with open(path, "rb") as f:
        data = f.read()
    end = data.rfind(b"PK\x05\x06")
    if end < 0 or end + 22 > len(data):
        return None
    count, size, offset = struct.unpack_from("<HII", data, end + 10)
    entries, pos = [], offset
    for _ in range(count):
        if data[pos:pos + 4] != b"PK\x01\x02":
            return None
        method = struct.unpack_from("<H", data, pos + 10)[0]
        name_len, extra_len, comment_len = struct.unpack_from("<HHH", data, pos + 28)
        entries.append((method, data[pos + 46:pos + 46 + name_len]))
        pos += 46 + name_len + extra_len + comment_len
    return entries


def windows_can_hold(raw_name):
    # The launcher decodes names with the ANSI code page; bytes that are not
    # control characters or reserved marks decode to characters a file name may hold.
    if not raw_name or b"\x00" in raw_name:
        return False
    return all(b >= 0x20 and chr(b) not in WINDOWS_FORBIDDEN for b in raw_name)


def tree(root):
    """Relative path -> bytes of every file (a symbolic link counts with its
    target text, which is what the archive stores), and the set of folders."""
    files, folders = {}, set()
    for dirpath, dirnames, filenames in os.walk(root):
        rel_dir = os.path.relpath(dirpath, root)
        for d in dirnames:
            full = os.path.join(dirpath, d)
            if os.path.islink(full):
                filenames.append(d)
            else:
                folders.add(os.path.normpath(os.path.join(rel_dir, d)))
        for name in filenames:
            full = os.path.join(dirpath, name)
            rel = os.path.normpath(os.path.join(rel_dir, name))
            if os.path.islink(full):
                files[rel] = os.readlink(full).encode()
            else:
                with open(full, "rb") as f:
                    files[rel] = f.read()
    return files, folders


def is_ascii(text):
    return all(32 <= ord(c) < 127 for c in text)


@unittest.skipUnless(os.path.isdir(CORPUS), "zip corpus not found at " + CORPUS)
@unittest.skipUnless(UNZIP, "Info-ZIP unzip not installed")
class ZipCorpus(unittest.TestCase):
    def setUp(self):
        self.sandbox = tempfile.mkdtemp(prefix="zipcorpus_")

    def tearDown(self):
        shutil.rmtree(self.sandbox, ignore_errors=True)

    def expectation(self, archive):
        verdict = subprocess.run([UNZIP, "-tqq", archive], capture_output=True, timeout=60).returncode
        entries = central_directory(archive)
        if verdict != 0 or entries is None:
            return False, "Info-ZIP verdict %d" % verdict
        if any(method not in (0, 8) for method, _ in entries):
            return False, "methods %s" % sorted({m for m, _ in entries})
        if not all(windows_can_hold(name) for _, name in entries):
            return False, "names Windows cannot hold"
        return True, "%d entries" % len(entries)

    def test_every_archive(self):
        archives = sorted(glob.glob(os.path.join(CORPUS, "*.zip")))
        self.assertTrue(archives, "empty corpus")
        extracted = 0
        for archive in archives:
            name = os.path.basename(archive)
            with self.subTest(archive=name):
                should_extract, why = self.expectation(archive)
                work = os.path.join(self.sandbox, os.path.splitext(name)[0])
                target = os.path.join(work, "game")
                os.makedirs(work)
                r = run(exe("zip_extract.exe"), to_wine_path(archive), to_wine_path(target), timeout=120)
                self.assertIn(r.returncode, (0, 1), "crash? %s %s" % (r.stdout, r.stderr[-500:]))
                self.assertEqual(os.listdir(work), ["game"], "written beside the target")
                if not should_extract:
                    self.assertIn("result 0x40000", r.stdout, why)
                    continue
                self.assertIn("result 0x0", r.stdout, why)
                extracted += 1
                self.assert_same_as_unzip(archive, target)
        self.assertGreater(extracted, 5)

    def assert_same_as_unzip(self, archive, target):
        reference = os.path.join(self.sandbox, "reference")
        shutil.rmtree(reference, ignore_errors=True)
        subprocess.run([UNZIP, "-qq", "-o", archive, "-d", reference], check=True, timeout=60,
                       capture_output=True)
        ours, our_folders = tree(target)
        theirs, their_folders = tree(reference)
        digest = lambda files: collections.Counter(hashlib.sha256(b).hexdigest() for b in files.values())
        self.assertEqual(digest(ours), digest(theirs), "file contents differ")
        # Names that are not plain ASCII are decoded differently on purpose
        # (ANSI code page here, UTF-8 or raw bytes there); the rest must match.
        self.assertEqual({p: b for p, b in ours.items() if is_ascii(p)},
                         {p: b for p, b in theirs.items() if is_ascii(p)})
        self.assertEqual({p for p in our_folders if is_ascii(p)}, {p for p in their_folders if is_ascii(p)})


if __name__ == "__main__":
    unittest.main()
