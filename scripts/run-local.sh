#!/usr/bin/env bash
# Starts riz-service on a free loopback port, points the client's INI file at it, runs the
# client, and stops the service when the client ends. Called by run.sh.
#   scripts/run-local.sh BUILD_DIR [client arguments]
set -euo pipefail
BUILD_DIR=$1
shift
ROOT=$(cd "$(dirname "$0")/.." && pwd)
export RIZ_AVIVAZE_HOME=${RIZ_AVIVAZE_HOME:-$ROOT/run-data}
mkdir -p "$RIZ_AVIVAZE_HOME"
chmod 700 "$RIZ_AVIVAZE_HOME"
SERVICE_DB="$RIZ_AVIVAZE_HOME/riz-service.sqlite"

# The service prints the address it listens on as its first line.
SERVICE_LOG="$RIZ_AVIVAZE_HOME/riz-service.log"
"$BUILD_DIR/service/riz-service" --listen 127.0.0.1:0 --db "$SERVICE_DB" \
  --key "$ROOT/keys/dev-service.key" --seed >"$SERVICE_LOG" 2>&1 &
SERVICE_PID=$!
stop_service() { kill "$SERVICE_PID" 2>/dev/null || true; wait "$SERVICE_PID" 2>/dev/null || true; }
trap stop_service EXIT
trap 'exit 130' INT TERM HUP
ADDRESS=""
for _ in $(seq 200); do
  ADDRESS=$(head -n1 "$SERVICE_LOG" 2>/dev/null | grep -oE '127\.0\.0\.1:[0-9]+' || true)
  [ -n "$ADDRESS" ] && break
  kill -0 "$SERVICE_PID" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$ADDRESS" ]; then
  echo "riz-service did not start:" >&2
  cat "$SERVICE_LOG" >&2
  exit 1
fi
PORT=${ADDRESS##*:}
echo "riz-service listens on $ADDRESS (admin pages: http://$ADDRESS/admin)"

# Point the client at it: server list, port and the web pages; everything else keeps the
# values the client already has (or its defaults).
INI="$RIZ_AVIVAZE_HOME/RIZAvivaze.ini"
python3 - "$INI" "$PORT" <<'PY'
import os, sys
path, port = sys.argv[1], sys.argv[2]
sections, order = {}, []
if os.path.exists(path):
    current = None
    for line in open(path, encoding="cp1252"):
        line = line.rstrip("\r\n")
        if line.startswith("[") and line.endswith("]"):
            current = line[1:-1]
            if current not in sections:
                sections[current] = {}
                order.append(current)
        elif current is not None and "=" in line:
            k, v = line.split("=", 1)
            sections[current][k] = v
def put(section, key, value):
    if section not in sections:
        sections[section] = {}
        order.append(section)
    sections[section][key] = value
base = "http://127.0.0.1:%s" % port
put("servers", "sServerList", "127.0.0.1*;")
put("internet", "iHttpPort", port)
put("internet", "bProxyEnabled", "0")
put("web-servers", "sWebsiteHome", base + "/")
put("web-servers", "sClientSiteHome", base + "/riz-avivaze/client-sites/home.html")
put("web-servers", "sClientSiteHelp", base + "/riz-avivaze/client-sites/help.html")
put("web-servers", "sClientSiteSupport", base + "/riz-avivaze/client-sites/support.html")
tmp = path + ".tmp"
with open(tmp, "w", encoding="cp1252") as f:
    for s in order:
        f.write("[%s]\n" % s)
        for k, v in sections[s].items():
            f.write("%s=%s\n" % (k, v))
        f.write("\n")
os.chmod(tmp, 0o600)
os.replace(tmp, path)
PY

# The home and help pages run in Qt WebEngine, whose sandbox does not run as root.
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --no-sandbox"
fi
"$BUILD_DIR/shell/riz-avivaze" popup "$@" &
CLIENT_PID=$!
trap 'kill "$CLIENT_PID" 2>/dev/null || true; exit 130' INT TERM HUP
wait "$CLIENT_PID"
