# Shared environment for the project's scripts. Source it; do not run it.
# Every location can be overridden from the environment so that several work
# trees on one machine can share the dependency build but keep their own Wine.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ROOT
export QEL_CACHE_DIR="${QEL_CACHE_DIR:-$ROOT/.cache}"
export QEL_DEPS_DIR="${QEL_DEPS_DIR:-$QEL_CACHE_DIR/deps}"
export WINEPREFIX="${WINEPREFIX:-$QEL_CACHE_DIR/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono/Gecko install prompts; a missing engine must never block a test.
# The web-browser control (ieframe) still loads without mshtml: it navigates and
# raises its events, and every page ends in NavigateError instead of a document.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=;winemenubuilder.exe=}"
export BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
# Debian's python, not a user-installed one, so the e2e tests find nothing missing.
export PYTHON="${PYTHON:-/usr/bin/python3}"

log() { printf '\033[1m[%s]\033[0m %s\n' "$(basename "$0")" "$*" >&2; }
