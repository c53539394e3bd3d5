#!/bin/sh
# Installs the Debian packages that building, running and testing need.
# Only missing packages are installed, so a second run costs one dpkg query.
set -eu

PACKAGES="g++ make cmake ninja-build pkg-config
qt6-base-dev qt6-serialport-dev libgl-dev
libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-14-dev clang-format
xvfb xauth socat fonts-dejavu-core ser2net
librsvg2-bin lintian desktop-file-utils dpkg-dev file"

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

echo "Installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "error: need root or sudo to install:$missing" >&2
    exit 1
fi
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# shellcheck disable=SC2086
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
