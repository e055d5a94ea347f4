#!/usr/bin/env bash
# Runs riz-avivaze under a virtual X server and saves pictures of its main window and of the
# tray menu opened over it.
#   tools/screenshot.sh BUILD_DIR [OUT_DIR]
# The program folder is a fresh temporary one whose INI file points the home and help pages at
# a small local page, so the pictures do not depend on the network.
set -euo pipefail
BUILD_DIR=$(cd "${1:?build folder}" && pwd)
OUT_DIR=${2:-$PWD/screenshots}
mkdir -p "$OUT_DIR"
OUT_DIR=$(cd "$OUT_DIR" && pwd)
HOME_DIR=$(mktemp -d /tmp/riz-screenshot-XXXXXX)
trap 'rm -rf "$HOME_DIR"' EXIT

cat >"$HOME_DIR/home.html" <<'HTML'
<!doctype html><html><head><meta charset="utf-8"><title>Parvion</title>
<style>body{font-family:sans-serif;margin:0;background:#f1ede5;color:#0b3d6e}
h1{background:#1a6fa8;color:#fff;margin:0;padding:10px 14px;font-size:18px}
p{margin:10px 14px;font-size:13px}</style></head>
<body><h1>Willkommen bei Parvion RIZ Avivaze</h1>
<p>SMS vom PC verschicken, Termine nicht vergessen, Adressen immer dabei.</p>
<p>Diese Seite ist eine lokale Testseite des Bildschirmfoto-Skripts.</p></body></html>
HTML
cat >"$HOME_DIR/RIZAvivaze.ini" <<INI
[web-servers]
sWebsiteHome=file://$HOME_DIR/home.html
sClientSiteHome=file://$HOME_DIR/home.html
sClientSiteHelp=file://$HOME_DIR/home.html
sClientSiteSupport=file://$HOME_DIR/home.html
INI
chmod 700 "$HOME_DIR"

if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --no-sandbox"
fi
export RIZ_AVIVAZE_HOME="$HOME_DIR"
export RIZ_AVIVAZE_SCREENSHOT_DIR="$OUT_DIR"
export QT_QPA_PLATFORM=xcb
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$BUILD_DIR/shell/riz-avivaze"
ls -l "$OUT_DIR"/main-window.png "$OUT_DIR"/tray-menu.png "$OUT_DIR"/tray-menu-only.png
