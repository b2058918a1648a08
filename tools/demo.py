#!/usr/bin/env python3
"""The demo's driver (run by scripts/demo inside an X session with a warm
wineserver): both programs doing their whole job against local stand-ins."""
import io
import os
import shutil
import subprocess
import sys
import time
import zipfile

ROOT = os.environ["ROOT"]
OUT = os.environ["OUT"]
BIN = os.environ["BIN"]
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
from datacentre import DataCentre  # noqa: E402

VERSION = "37"
SHOTS = os.path.join(OUT, "screenshots")
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\qel"


def say(text):
    print("\033[1m==>\033[0m " + text, flush=True)


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*args, **kw):
    return subprocess.run(["wine", *args], capture_output=True, text=True, errors="replace", **kw)


def wintool(*args):
    r = wine(os.path.join(BIN, "wintool.exe"), *[str(a) for a in args], timeout=60)
    return r.returncode, r.stdout.strip()


def shot(name):
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name)
    subprocess.run(["import", "-window", "root", path], check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return path


def demo_package():
    """The game as the package store holds it: the demo game as qelorvane.exe and some data."""
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", zipfile.ZIP_DEFLATED) as z:
        z.write(os.path.join(BIN, "demo_game.exe"), "qelorvane.exe")
        z.writestr("data/", b"")
        z.writestr("data/readme.txt", "Kelvadune demo package %s\r\n" % VERSION)
        for i in range(120):
            z.writestr("data/levels/level_%03d.map" % i, ("level %d " % i).encode() * 4000)
    return buf.getvalue()


def launcher_demo():
    say("Part 1: vandle_launch.exe keeps the game up to date and starts it")
    home = os.path.join(OUT, "launcher")
    os.makedirs(home)
    shutil.copy(os.path.join(BIN, "vandle_launch.exe"), home)
    game_log = os.path.join(OUT, "launcher_game_cmdline.txt")
    with DataCentre(9001) as dc:
        dc.version_reply = '{"libversion":"%s","url":"http://127.0.0.1:%d/packages/"}' % (VERSION, dc.port)
        dc.add_package("qelorvane_%s.zip" % VERSION, demo_package())
        dc.stall_seconds = 2  # a short wait on the version reply, so the busy bar can be seen
        dc.fault("/datacenter/dcopenapi/getverisonBypid.htm", "delay")
        say("data centre listening on 127.0.0.1:%d; the game folder %s/qelorvane is empty" % (dc.port, home))
        env = dict(os.environ, QEL_FAKE_GAME_LOG=wine_path(game_log), QEL_DEMO_GAME_SECONDS="6")
        p = subprocess.Popen(["wine", os.path.join(home, "vandle_launch.exe"), "--token=DemoToken42",
                              "--source=demo", "--ovext=hello"], env=env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        dc.wait_for_event("game_download_start", 30)
        time.sleep(1.0)
        shot("launcher_checking.png")
        dc.wait_for_event("game_start", 60)
        time.sleep(2.0)
        shot("launcher_game_started.png")
        code = p.wait(timeout=120)
        say("vandle_launch.exe ended with exit code %d" % code)
        say("stages the data centre received:")
        for name in dc.events():
            print("    " + name)
    with open(os.path.join(home, "qelorvane", "ver.ini")) as f:
        say('ver.ini now holds "%s"' % f.read())
    deadline = time.time() + 15
    while not os.path.exists(game_log) and time.time() < deadline:
        time.sleep(0.2)
    say("the game received this command line:")
    with open(game_log, encoding="utf-8") as f:
        for line in f.read().splitlines():
            print("    " + line)
    time.sleep(6)  # the demo game closes itself


def loader_demo():
    say("Part 2: qel_main.exe starts the installed game and tells the platform when it closes")
    install = os.path.join(OUT, "loader_install")
    os.makedirs(install)
    shutil.copy(os.path.join(BIN, "demo_game.exe"), os.path.join(install, "qel.exe"))
    record = os.path.join(OUT, "platform_window_record.txt")
    game_log = os.path.join(OUT, "loader_game_cmdline.txt")
    wine("reg", "add", UNINSTALL_KEY, "/v", "DisplayIcon", "/d",
         wine_path(os.path.join(install, "qel_main.exe")), "/f", timeout=60)
    platform = subprocess.Popen(["wine", os.path.join(BIN, "fake_platform_window.exe"), wine_path(record), "120"],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    hwnd = platform.stdout.readline().strip()
    say("platform window %s is up" % hwnd)
    env = dict(os.environ, QEL_FAKE_GAME_LOG=wine_path(game_log), QEL_DEMO_GAME_SECONDS="5")
    try:
        say("direct start: qel_main.exe --tokenLogin=1 --token=DemoToken42 ... --gameMgrId=%s" % hwnd)
        r = subprocess.run(["wine", os.path.join(BIN, "qel_main.exe"), "--tokenLogin=1", "--token=DemoToken42",
                            "--source=demo", "--ovext=hello", "--gameMgrId=%s" % hwnd, "--typeMode=1"],
                           env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        say("qel_main.exe ended with exit code %d" % r.returncode)
        deadline = time.time() + 15
        while not os.path.exists(game_log) and time.time() < deadline:
            time.sleep(0.2)
        time.sleep(1.5)
        shot("loader_game_started.png")
        if os.path.exists(game_log):
            say("qel.exe (started elevated) received:")
            with open(game_log, encoding="utf-8") as f:
                for line in f.read().splitlines():
                    print("    " + line)
        time.sleep(5)

        say("normal start with --winid=%s --source=OV, then the window is closed" % hwnd)
        loader = subprocess.Popen(["wine", os.path.join(BIN, "qel_main.exe"), "--winid=%s" % hwnd, "--source=OV",
                                   "--token=DemoToken42"], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        rc, loader_hwnd = wintool("find", "Kelvadune", 20000)
        if rc == 0:
            wintool("send", loader_hwnd, 0x112, 0xF060, 0)  # WM_SYSCOMMAND, SC_CLOSE
        say("qel_main.exe ended with exit code %d" % loader.wait(timeout=60))
    finally:
        wine("reg", "delete", UNINSTALL_KEY, "/f", timeout=60)
        subprocess.run(["wine", os.path.join(BIN, "wintool.exe"), "post", hwnd, "16"], capture_output=True)
        platform.wait(timeout=30)
    say("the platform window received:")
    with open(record) as f:
        for line in f.read().splitlines():
            kind, *rest = line.split(" ")
            if kind == "COPYDATA":
                tag, size, data = rest
                raw = bytes.fromhex(data)
                print("    WM_COPYDATA tag %s, %s bytes, head %d, body %r, tail %d" % (
                    tag, size, int.from_bytes(raw[0:4], "little"),
                    raw[4:524].split(b"\0")[0].decode("latin-1"), int.from_bytes(raw[524:528], "little")))
            else:
                print("    " + line)


def main():
    launcher_demo()
    loader_demo()
    say("screenshots in %s:" % SHOTS)
    for name in sorted(os.listdir(SHOTS)):
        print("    " + name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
