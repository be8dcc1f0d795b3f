#!/usr/bin/env bash
# End-to-end check of the real program in a real (virtual) X window:
# starts mekuri from a fresh temporary program folder under xvfb-run, clicks
# a day of the calendar, moves the window, closes it through its close box
# (WM_DELETE_WINDOW, as a window manager sends it) and checks that the
# settings file then holds the window's geometry and the menu display.
#   tests/e2e/run_e2e.sh <folder holding mekuri and its shipped files>
set -euo pipefail
program_dir="$(realpath "${1:?usage: run_e2e.sh <program folder>}")"
# The Debian python (python3-xlib), even when another python3 comes first.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
export E2E_PYTHON="$python"
for tool in xvfb-run xdotool "$python"; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir"/. "$work"/
rm -f "$work/mkri.ini" "$work"/*.png
export E2E_DIR="$work"

xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
  set -euo pipefail
  unset QT_QPA_PLATFORM
  "$E2E_DIR/mekuri" &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) || {
    echo "e2e: the main window did not appear" >&2; kill "$pid" 2>/dev/null; exit 1; }
  sleep 0.5
  [ -e "$E2E_DIR/mkri.ini" ] && { echo "e2e: startup wrote the settings file" >&2; exit 1; }

  # A day in the middle of the calendar (the window sits at 24,24 and is
  # 253 x 306; the calendar fills it between tool bar and status bar).
  xdotool mousemove --sync 150 175 click 1
  sleep 0.3
  kill -0 "$pid" || { echo "e2e: the program ended after a click" >&2; exit 1; }

  xdotool windowmove --sync "$wid" 100 80 || xdotool windowmove "$wid" 100 80
  sleep 0.5

  "$E2E_PYTHON" - "$wid" <<PY
import sys
from Xlib import X, display, protocol
d = display.Display()
w = d.create_resource_object("window", int(sys.argv[1]))
protocols = d.intern_atom("WM_PROTOCOLS")
delete = d.intern_atom("WM_DELETE_WINDOW")
ev = protocol.event.ClientMessage(window=w, client_type=protocols,
                                  data=(32, [delete, X.CurrentTime, 0, 0, 0]))
w.send_event(ev, event_mask=X.NoEventMask)
d.flush()
PY
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "e2e: the program did not end on close" >&2; kill "$pid"; exit 1
  fi
  wait "$pid"
'

ini="$work/mkri.ini"
[ -f "$ini" ] || { echo "e2e: no settings file after close" >&2; exit 1; }
expected=$'[Form]\r\nSTATE=0\r\nLEFT=100\r\nTOP=80\r\nWIDTH=253\r\nHEIGHT=306\r\n\r\n[MENU]\r\n0=1\r\n\r\n'
printf '%s' "$expected" > "$work/expected.ini"
if ! cmp -s "$ini" "$work/expected.ini"; then
  echo "e2e: unexpected settings file:" >&2
  cat -A "$ini" >&2
  exit 1
fi
echo "e2e: ok"
