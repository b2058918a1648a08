"""The launcher's HTTP fetch against the data centre's fault modes: result codes,
and an earlier file that survives every failure."""
import os
import shutil
import socket
import tempfile
import time
import unittest

from harness import DataCentre, exe, run, to_wine_path

OLD = b"older reply of an earlier run\r\n"


def fetch(url, path=None):
    args = [url] + ([to_wine_path(path)] if path else [])
    r = run(exe("fetch_tool.exe"), *args, timeout=120)
    return int(r.stdout.strip().splitlines()[-1])


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


class HttpFetch(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dc = DataCentre(0).start()
        cls.base = "http://127.0.0.1:%d/packages/" % cls.dc.port
        cls.body = os.urandom(3 * 1024 * 1024 + 17)  # several read pieces and an odd tail
        cls.dc.add_package("body.bin", cls.body)
        cls.dc.add_package("empty.bin", b"")

    @classmethod
    def tearDownClass(cls):
        cls.dc.stop()

    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.target = os.path.join(self.dir, "kelm.ver")
        with open(self.target, "wb") as f:
            f.write(OLD)
        self.dc.clear_faults()

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def assertOldFileIntact(self):
        with open(self.target, "rb") as f:
            self.assertEqual(f.read(), OLD)
        self.assertEqual(sorted(os.listdir(self.dir)), ["kelm.ver"], "a partial file was left behind")

    def test_server_silent_mid_body_fails_instead_of_waiting(self):
        # The server sends half the body, then nothing for longer than the
        # receive time-out, while keeping the connection open.
        self.dc.stall_seconds = 50
        self.dc.fault("/packages/", "stall_body")
        started = time.time()
        self.assertLess(fetch(self.base + "body.bin", self.target), 0)
        self.assertLess(time.time() - started, 48, "the fetch waited for the server to give up")
        self.assertOldFileIntact()

    def test_whole_body_replaces_the_file(self):
        self.assertEqual(fetch(self.base + "body.bin", self.target), 0)
        with open(self.target, "rb") as f:
            self.assertEqual(f.read(), self.body)
        self.assertEqual(sorted(os.listdir(self.dir)), ["kelm.ver"])

    def test_empty_body_gives_an_empty_file(self):
        self.assertEqual(fetch(self.base + "empty.bin", self.target), 0)
        self.assertEqual(os.path.getsize(self.target), 0)

    def test_address_errors_touch_nothing(self):
        self.assertEqual(fetch("", self.target), -5)
        self.assertEqual(fetch("127.0.0.1:%d/packages/body.bin" % self.dc.port, self.target), -1)
        self.assertEqual(fetch("ftp://127.0.0.1/x", self.target), -1)
        self.assertOldFileIntact()

    def test_non_200_answers_leave_the_older_file(self):
        self.assertEqual(fetch(self.base + "missing.bin", self.target), -4)
        self.assertOldFileIntact()
        self.dc.fault("/packages/", 500)
        self.assertEqual(fetch(self.base + "body.bin", self.target), -4)
        self.assertOldFileIntact()

    def test_refused_connection_is_no_connection(self):
        self.assertEqual(fetch("http://127.0.0.1:%d/x" % free_port(), self.target), -2)
        self.assertOldFileIntact()

    def test_broken_transfers_fail_and_leave_the_older_file(self):
        for mode in ("drop", "short"):
            with self.subTest(mode=mode):
                self.dc.fault("/packages/", mode)
                self.assertLess(fetch(self.base + "body.bin", self.target), 0)
                self.assertOldFileIntact()

    def test_missing_folder_is_a_file_error(self):
        self.assertEqual(fetch(self.base + "body.bin", os.path.join(self.dir, "no", "such.bin")), -7)

    def test_without_a_file_only_the_status_counts(self):
        self.assertEqual(fetch(self.base + "body.bin"), 0)
        self.assertEqual(fetch(self.base + "missing.bin"), -4)

    def test_request_line_carries_spaces_encoded(self):
        before = len(self.dc.received())
        self.assertEqual(fetch(self.base + "empty.bin?time_str=2024-05-01 09:03:07&x=a,b"), 0)
        path, query = self.dc.received()[before]
        self.assertEqual(query, "time_str=2024-05-01%2009:03:07&x=a,b")

    def test_https_is_not_sent_as_plain_http(self):
        before = len(self.dc.received())
        self.assertLess(fetch("https://127.0.0.1:%d/packages/body.bin" % self.dc.port, self.target), 0)
        self.assertEqual(self.dc.received()[before:], [], "the request went out as plain HTTP")
        self.assertOldFileIntact()


if __name__ == "__main__":
    unittest.main()
