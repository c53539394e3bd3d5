#!/bin/sh
# Run by hand, not in CI (it needs root and the Debian mirror): builds the
# Debian package and installs it with apt into a fresh minimal Debian 12
# root, as on a technician's new laptop, then there
#   - runs orlix6 --version and --help, orlix6-cli --version (when built)
#     and orlix6-sim --help, with no display;
#   - checks that no program lacks a library;
#   - validates the installed desktop entry;
#   - starts orlix6-sim on a pseudo-terminal and the tool by its desktop
#     entry's command line under Xvfb, with Com1 on the simulated unit;
#     waits until the caption says the unit is connected, presses F1 and
#     waits for the manual's window, then opens Help > About > System Info
#     and waits for its window.
#
#   sh scripts/try-package-in-debian.sh [BUILD_DIR]
#
# The minimal root (debootstrap --variant=minbase) is made once in
# BUILD_DIR/debian12-minbase and copied afresh to BUILD_DIR/debian12-try for
# every run. MIRROR names another Debian mirror.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
mirror=${MIRROR:-http://deb.debian.org/debian}
base=$build/debian12-minbase
root=$build/debian12-try

if [ "$(id -u)" != 0 ]; then
    echo "error: run as root (debootstrap and chroot need it)" >&2
    exit 1
fi
if ! command -v debootstrap >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

step() { printf '\n== %s\n' "$*"; }

step "package"
make package BUILD="$build" >/dev/null
deb=$(find "$build" -maxdepth 1 -name 'orlix6_*.deb' | head -n 1)
ls -l "$deb"

if [ ! -x "$base/bin/sh" ]; then
    step "minimal Debian 12 root (once) from $mirror"
    rm -rf "$base"
    debootstrap --variant=minbase bookworm "$base" "$mirror"
fi
step "fresh copy of the root"
rm -rf "$root"
cp -a "$base" "$root"
mount -t proc proc "$root/proc"
mount --bind /dev/pts "$root/dev/pts"
trap 'umount "$root/dev/pts" "$root/proc" 2>/dev/null || true' EXIT INT TERM
in_root() { chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
apt_in_root() { in_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@"; }

step "apt install ./$(basename "$deb") (no recommended packages)"
cp "$deb" "$root/tmp/"
apt_in_root update >/dev/null
before=$(in_root dpkg-query -W -f='.\n' | wc -l)
apt_in_root install --no-install-recommends "/tmp/$(basename "$deb")" >"$root/tmp/apt.log"
after=$(in_root dpkg-query -W -f='.\n' | wc -l)
grep -E 'newly installed|^Need to get|^After this operation' "$root/tmp/apt.log"
echo "packages in the root: $before before, $after after"

step "the programs, with no display"
in_root orlix6 --version
in_root orlix6 --help | head -n 3
if [ -x "$root/usr/bin/orlix6-cli" ]; then
    in_root orlix6-cli --version
else
    echo "orlix6-cli: not in this package"
fi
in_root orlix6-sim --help | head -n 1
missing=$(in_root sh -c 'for p in /usr/bin/orlix6*; do ldd "$p"; done' | grep 'not found' || true)
if [ -n "$missing" ]; then
    echo "FAIL: missing libraries: $missing" >&2
    exit 1
fi
echo "every library found"

step "desktop entry (desktop-file-utils installed after the package, for the check only)"
apt_in_root install --no-install-recommends desktop-file-utils xvfb xauth xdotool >/dev/null
in_root desktop-file-validate /usr/share/applications/orlix6.desktop
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/orlix6.desktop")
echo "valid; Exec=$exec_line"

step "$exec_line under Xvfb: main window, F1, About > System Info"
# Its own settings file: Com1 on the simulated unit, every other Com port on
# a device that is not there, so that nothing else is opened as a port.
ports="Com1=/tmp/unit"
for n in 2 3 4 5 6 7 8; do ports="$ports\nCom$n=/dev/orlix6-none-$n"; done
printf "[Ports]\n$ports\n" >"$root/tmp/try.ini"
cat >"$root/tmp/try-gui.sh" <<SCRIPT
set -eu
wait_window() {
    found=\$(timeout 30 xdotool search --sync --name "\$1" | head -n 1)
    if [ -z "\$found" ]; then
        echo "FAIL: no window \$1 within 30 s; the tool said:" >&2
        cat /tmp/orlix6.log >&2
        exit 1
    fi
    echo "\$2: \$(xdotool getwindowname \$found)"
    window=\$found
}
orlix6-sim --link /tmp/unit --quiet </dev/null >/tmp/orlix6-sim.log 2>&1 &
sim=\$!
timeout 10 sh -c 'until [ -e /tmp/unit ]; do sleep 0.1; done'
$exec_line --settings /tmp/try.ini >/tmp/orlix6.log 2>&1 &
pid=\$!
wait_window 'Backlight on Com1' "main window"
main=\$window
xdotool windowfocus --sync \$main
xdotool key F1
wait_window 'Orlix6 Manual' "help window"
xdotool windowfocus --sync \$main
xdotool key alt+h
sleep 1
xdotool key a
sleep 1
xdotool key alt+s
wait_window '^System Information\$' "system info window"
kill \$pid \$sim
wait \$pid \$sim 2>/dev/null || true
SCRIPT
in_root xvfb-run -a -s '-screen 0 1280x800x24' sh /tmp/try-gui.sh
step "all checks passed"
