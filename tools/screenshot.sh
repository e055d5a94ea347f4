#!/usr/bin/env bash
# Runs the program as a new user would on a fresh installation, under a virtual X server and
# against a local riz-service, and saves pictures along the way:
#   01-new-user-dialog.png     the new-user dialog at the first start
#   02-new-user-filled.png     the form filled in
#   03-registered-notice.png   the notice after the registration
#   04-optional-data.png       the page for the optional data
#   main-window.png            the main window of the logged-in user
#   tray-menu.png, tray-menu-only.png   the tray menu with the log-off item for that user
# The typing and clicking is done with xdotool, as a user would.
#   tools/screenshot.sh BUILD_DIR [OUT_DIR]
set -euo pipefail
BUILD_DIR=$(cd "${1:?build folder}" && pwd)
OUT_DIR=${2:-$PWD/screenshots}
mkdir -p "$OUT_DIR"
OUT_DIR=$(cd "$OUT_DIR" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d /tmp/riz-screenshot-XXXXXX)
chmod 700 "$WORK"
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# The service, on a free port.
"$BUILD_DIR/service/riz-service" --listen 127.0.0.1:0 --db "$WORK/service.sqlite" \
  --key "$ROOT/keys/dev-service.key" --seed >"$WORK/service.out" 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do
  ADDRESS=$(grep -oE '127\.0\.0\.1:[0-9]+' "$WORK/service.out" | head -n1 || true)
  [ -n "$ADDRESS" ] && break
  sleep 0.1
done
[ -n "${ADDRESS:-}" ] || { echo "riz-service did not start" >&2; exit 1; }
PORT=${ADDRESS##*:}
cat >"$WORK/RIZAvivaze.ini" <<INI
[servers]
sServerList=127.0.0.1*;

[internet]
iHttpPort=$PORT

[web-servers]
sWebsiteHome=http://127.0.0.1:$PORT/
sClientSiteHome=http://127.0.0.1:$PORT/riz-avivaze/client-sites/home.html
sClientSiteHelp=http://127.0.0.1:$PORT/riz-avivaze/client-sites/help.html
sClientSiteSupport=http://127.0.0.1:$PORT/riz-avivaze/client-sites/support.html
INI
chmod 600 "$WORK/RIZAvivaze.ini"

# A virtual screen of our own.
DISPLAY_NUM=$((90 + RANDOM % 100))
Xvfb ":$DISPLAY_NUM" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
PIDS+=($!)
export DISPLAY=":$DISPLAY_NUM"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --no-sandbox"
fi
export RIZ_AVIVAZE_HOME="$WORK"
export RIZ_AVIVAZE_SCREENSHOT_DIR="$OUT_DIR"
export QT_QPA_PLATFORM=xcb
"$BUILD_DIR/shell/riz-avivaze" >"$WORK/client.out" 2>&1 &
CLIENT=$!
PIDS+=($CLIENT)

shot() { import -window root "$OUT_DIR/$1"; }
# Waits for a window whose title matches and makes it the active one.
window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1 || true)
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { echo "no window '$1'" >&2; cat "$WORK/client.out" >&2; exit 1; }
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  echo "$id"
}

window '^Parvion RIZ Avivaze$' >/dev/null
sleep 1
shot 01-new-user-dialog.png
# The address field has the focus; the fields follow in tab order.
xdotool type --delay 20 "lena.schmidt@example.de"
xdotool key Tab; xdotool type --delay 20 "Sonne2026"
xdotool key Tab; xdotool type --delay 20 "Sonne2026"
xdotool key Tab Tab; xdotool type --delay 20 "Lena"
xdotool key Tab; xdotool type --delay 20 "Schmidt"
sleep 0.5
shot 02-new-user-filled.png
xdotool key Return
window '^Information$' >/dev/null
sleep 0.5
shot 03-registered-notice.png
xdotool key Return
sleep 1
shot 04-optional-data.png
# "Abbrechen" on the optional page ends the dialog with the registration kept.
xdotool key Escape
# The program shows its main window, takes its pictures and ends by itself.
for _ in $(seq 150); do
  kill -0 "$CLIENT" 2>/dev/null || break
  sleep 0.2
done
ls -l "$OUT_DIR"
