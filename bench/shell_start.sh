#!/usr/bin/env bash
# Runs bench_shell_start inside a virtual X server with a minimal notification area.
#   bench/shell_start.sh BUILD_DIR [RUNS]
set -euo pipefail
B=$(cd "${1:?build folder}" && pwd)
RUNS=${2:-5}
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
  '$B/bench/shell_tray_host' >/dev/null &
  HOST=\$!
  sleep 1
  '$B/bench/bench_shell_start' '$B/shell/riz-avivaze' '$B/bench/shell_empty_tray' $RUNS
  RC=\$?
  kill \$HOST
  exit \$RC"
