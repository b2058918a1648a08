"""Helpers for the scenario tests: run the real programs under Wine, drive
windows with wintool.exe, find the Wine user's folders, and run a data centre."""
import glob
import os
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.environ.get("QEL_SOURCE_DIR", os.path.abspath(os.path.join(HERE, "..", "..")))
BIN_DIR = os.environ.get("QEL_BIN_DIR", os.path.join(SOURCE_DIR, "build", "mingw", "bin"))
DC_PORT = int(os.environ.get("QEL_DC_PORT", "9001"))
sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "support"))

from datacentre import DataCentre  # noqa: E402


def wine_env(extra=None):
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEPREFIX", os.path.join(SOURCE_DIR, ".cache", "wineprefix"))
    if extra:
        env.update(extra)
    return env


def exe(name):
    return os.path.join(BIN_DIR, name)


def run(program, *args, timeout=60, env=None, cwd=None):
    """Runs a Windows program to its end; returns CompletedProcess (text output)."""
    return subprocess.run(["wine", program, *args], capture_output=True, text=True, timeout=timeout,
                          env=wine_env(env), cwd=cwd, errors="replace")


def start(program, *args, env=None, cwd=None):
    return subprocess.Popen(["wine", program, *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            text=True, env=wine_env(env), cwd=cwd, errors="replace")


def wintool(*args, timeout=30):
    r = run(exe("wintool.exe"), *[str(a) for a in args], timeout=timeout)
    return r.returncode, r.stdout.strip()


def find_window(title, timeout_ms=15000):
    rc, out = wintool("find", title, timeout_ms, timeout=timeout_ms / 1000 + 30)
    return int(out) if rc == 0 and out else 0


def window_state(hwnd):
    """(exists, visible, iconic, left, top, width, height)"""
    rc, out = wintool("state", hwnd)
    return tuple(int(x) for x in out.split())


def wait_exit(proc, timeout=30):
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        raise


def wine_user_dir():
    prefix = wine_env()["WINEPREFIX"]
    users = [d for d in glob.glob(os.path.join(prefix, "drive_c", "users", "*"))
             if os.path.basename(d).lower() != "public"]
    return users[0]


def local_appdata():
    return os.path.join(wine_user_dir(), "AppData", "Local")


def documents_dir():
    return os.path.join(wine_user_dir(), "Documents")


def to_wine_path(unix_path):
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


class WineTestCase(unittest.TestCase):
    """Kills what a test started, even when it fails."""

    def setUp(self):
        self._procs = []

    def start(self, program, *args, **kw):
        p = start(program, *args, **kw)
        self._procs.append(p)
        return p

    def tearDown(self):
        for p in self._procs:
            if p.poll() is None:
                p.kill()
                p.wait()
