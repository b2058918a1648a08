# A private X display and a warm wineserver for a batch of Wine runs.
# Source it, then: start_xsession; ...; stop_xsession
start_xsession() {
  if [ -z "${DISPLAY:-}" ] || [ "${QEL_OWN_DISPLAY:-1}" = 1 ]; then
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -1 "$fdfile")"
    rm -f "$fdfile"
  fi
  wineserver -p 60 2>/dev/null || true
  # The first program of a session starts the desktop process; pay that here.
  timeout 120 wine cmd /c exit >/dev/null 2>&1 || true
}

stop_xsession() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}
