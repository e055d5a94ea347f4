#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, test and run.
# Idempotent: packages already present are skipped; apt runs only when something is missing.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build ccache pkg-config git clang-format
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-multimedia-dev libgl-dev libxkbcommon-dev
  libgmp-dev libsqlite3-dev sqlite3 libcurl4-openssl-dev libssl-dev libcpp-httplib-dev libical-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev rapidjson-dev
  # GUI tests, screenshots and proxy tests
  xvfb xauth x11-apps x11-utils xdotool imagemagick dante-server tinyproxy libio-socket-socks-perl
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#PACKAGES[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# Proxy daemons must not be started by their package scripts: the tests start their own.
if [ ! -e /usr/sbin/policy-rc.d ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee /usr/sbin/policy-rc.d >/dev/null
  $SUDO chmod +x /usr/sbin/policy-rc.d
  trap '$SUDO rm -f /usr/sbin/policy-rc.d' EXIT
fi
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
