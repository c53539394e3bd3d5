#!/bin/sh
# The Debian package as apt and Debian's own tools see it. Builds the .deb
# from this build tree into a folder of its own (so that it never meets a
# `make package` running beside it), then checks that
#   - lintian reports no error (its warnings and notes are printed);
#   - every file a technician relies on lies where Debian looks for it;
#   - the dependencies came from dpkg-shlibdeps and name no -dev package;
#   - the package installs no udev rule or system configuration and runs no
#     maintainer script: it changes no group.
#
# Usage: check_deb.sh BUILD_DIR WITH_CLI(0|1)
set -eu
build=$1
with_cli=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/orlix6-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
deb=$(find "$work" -maxdepth 1 -name 'orlix6_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "FAIL: cpack made no package" >&2; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/files"
expected="./usr/bin/orlix6 ./usr/bin/orlix6-sim
./usr/share/man/man1/orlix6.1.gz ./usr/share/man/man1/orlix6-sim.1.gz
./usr/share/applications/orlix6.desktop
./usr/share/icons/hicolor/scalable/apps/orlix6.svg
./usr/share/icons/hicolor/16x16/apps/orlix6.png
./usr/share/icons/hicolor/48x48/apps/orlix6.png
./usr/share/icons/hicolor/256x256/apps/orlix6.png
./usr/share/doc/orlix6/copyright ./usr/share/doc/orlix6/changelog.gz
./usr/share/doc/orlix6/manual/index.html ./usr/share/doc/orlix6/manual/manual.css"
if [ "$with_cli" = 1 ]; then
    expected="$expected ./usr/bin/orlix6-cli ./usr/share/man/man1/orlix6-cli.1.gz"
fi
for path in $expected; do
    grep -qxF "$path" "$work/files" || fail "the package lacks $path"
done
if grep -e '/udev/' -e '^\./etc/' "$work/files"; then
    fail "the package installs system configuration (above)"
fi
dpkg-deb -e "$deb" "$work/control"
for script in preinst postinst prerm postrm; do
    [ ! -e "$work/control/$script" ] || fail "the package runs a $script script"
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
    case ", $depends," in
        *", $library "* | *", $library,"*) ;;
        *) fail "Depends lacks $library" ;;
    esac
done
case "$depends" in
    *-dev*) fail "Depends names a development package" ;;
esac

lintian_status=0
lintian --fail-on error --tag-display-limit 0 -I "$deb" >"$work/lintian" 2>&1 || lintian_status=$?
grep -v 'running with root privileges' "$work/lintian" || true
[ "$lintian_status" = 0 ] || fail "lintian reports errors (above)"
exit $status
