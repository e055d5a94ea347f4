#!/usr/bin/env bash
# Builds the program and runs it against a local reference service.
#
# Starts riz-service on a free loopback port with a demo database (seeded catalog), writes the
# program folder's RIZAvivaze.ini so that the client talks to it, starts the client, and stops
# the service when the client ends. Data lives in ./run-data (RIZ_AVIVAZE_HOME to change it).
# Until the client and the service are both built, it runs the protocol demo instead.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j2

CLIENT="$BUILD_DIR/shell/riz-avivaze"
SERVICE="$BUILD_DIR/service/riz-service"
if [ ! -x "$CLIENT" ] || [ ! -x "$SERVICE" ]; then
  echo "run.sh: client or service not built yet; running the protocol demo"
  exec "$BUILD_DIR/tools/riz-protocol-demo" keys/dev-service.key
fi
exec ./scripts/run-local.sh "$BUILD_DIR" "$@"
