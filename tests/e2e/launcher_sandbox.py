"""A launcher in a folder of its own: the program, optionally an installed game
(the recording stand-in as qelorvane/qelorvane.exe and a ver.ini), and the
file where the stand-in records its command line."""
import os
import re
import shutil
import tempfile

from harness import exe, to_wine_path, wine_env

LAUNCHER_TITLE = "vandle_launch"
TIME_RE = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$")
MAC_RE = re.compile(r"^([0-9A-F]{2}:){5}[0-9A-F]{2}$")


class LauncherSandbox:
    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="launcher_")
        self.program = os.path.join(self.dir, "vandle_launch.exe")
        shutil.copy(exe("vandle_launch.exe"), self.program)
        self.game_dir = os.path.join(self.dir, "qelorvane")
        self.game_log = os.path.join(self.dir, "game_cmdline.txt")
        self.reply_file = os.path.join(self.dir, "kelm.ver")

    def install_game(self, version_text):
        os.makedirs(self.game_dir, exist_ok=True)
        shutil.copy(exe("fake_game.exe"), os.path.join(self.game_dir, "qelorvane.exe"))
        if version_text is not None:
            with open(self.version_file, "w") as f:
                f.write(version_text)

    @property
    def version_file(self):
        return os.path.join(self.game_dir, "ver.ini")

    def env(self):
        return wine_env({"QEL_FAKE_GAME_LOG": to_wine_path(self.game_log)})

    def game_command_lines(self):
        if not os.path.exists(self.game_log):
            return []
        with open(self.game_log, encoding="utf-8") as f:
            return f.read().splitlines()

    def expected_command_line(self, token, source, ovext, page_host="127.0.0.1"):
        quoted = '"' + to_wine_path(self.game_dir).replace("\\", "/") + '/qelorvane.exe"'
        return ("%s key %s id https://%s/client/ov-token-login?gkey=qel&token=%s&source=%s&ovext=%s"
                % (quoted, token, page_host, token, source, ovext))

    def cleanup(self):
        shutil.rmtree(self.dir, ignore_errors=True)
