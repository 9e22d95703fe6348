#!/usr/bin/env bash
# The Debian package, unpacked into a scratch folder (dpkg -x) as it would be installed: it holds the
# program, its launcher, the 28 piece pictures, the desktop entry and the icons, names the libraries
# and the font it needs, and the unpacked program starts offscreen from its launcher, in the folder of
# its pictures, and stays up until it is stopped.
# Usage: package_test.sh PATH-TO.deb
#        package_test.sh --build CPACK-CONFIG   (builds the package into the scratch folder first)
set -u
WORK=$(mktemp -d)
runner=""
cleanup() {
    [ -n "$runner" ] && kill "$runner" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
FAILS=0
fail() {
    echo "FAIL: $1" >&2
    FAILS=$((FAILS + 1))
}

if [ "${1:-}" = "--build" ]; then
    cpack --config "$2" -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1 || {
        cat "$WORK/cpack.log" >&2
        echo "FAIL: cpack could not build the package" >&2
        exit 1
    }
    DEB=$(ls "$WORK"/out/*.deb)
else
    DEB=$1
fi
[ -f "$DEB" ] || {
    echo "FAIL: no package at $DEB" >&2
    exit 1
}
echo "package: $(basename "$DEB") ($(du -k "$DEB" | cut -f1) KiB)"

ROOT=$WORK/root
dpkg -x "$DEB" "$ROOT" || {
    echo "FAIL: dpkg -x could not unpack $DEB" >&2
    exit 1
}

# Contents.
PROGRAM=$ROOT/usr/libexec/mirutoa/mirutoa
PICTURES=$ROOT/usr/share/mirutoa
[ -x "$PROGRAM" ] || fail "the program is not at usr/libexec/mirutoa/mirutoa"
[ -x "$ROOT/usr/bin/mirutoa" ] || fail "the launcher is not at usr/bin/mirutoa"
for side in "" com; do
    for name in 歩 と 香 香成 桂 桂成 銀 銀成 金 王 角 角成 飛 龍王; do
        [ -s "$PICTURES/$side$name.bmp" ] || fail "the picture $side$name.bmp is missing"
    done
done
DESKTOP=$ROOT/usr/share/applications/mirutoa.desktop
if [ -f "$DESKTOP" ]; then
    grep -qx 'Exec=mirutoa' "$DESKTOP" || fail "the desktop entry does not start mirutoa"
    grep -qx 'Icon=mirutoa' "$DESKTOP" || fail "the desktop entry names no icon mirutoa"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$DESKTOP" || fail "the desktop entry is not valid"
    fi
else
    fail "the desktop entry is missing"
fi
for size in 64x64 256x256; do
    [ -s "$ROOT/usr/share/icons/hicolor/$size/apps/mirutoa.png" ] || fail "the $size icon is missing"
done

# What it needs from the system.
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
echo "Depends: $DEPENDS"
for need in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-ipafont-gothic; do
    [[ ",$DEPENDS," =~ [,\ ]${need}[\ ,\(] ]] || fail "the package does not depend on $need"
done
if [ -x "$PROGRAM" ]; then
    missing=$(ldd "$PROGRAM" 2>&1 | grep 'not found')
    [ -z "$missing" ] || fail "libraries of the program are missing: $missing"
fi

# Start the unpacked launcher offscreen; it must still be running the unpacked program, in the
# pictures' folder, after two seconds.
if [ $FAILS -eq 0 ]; then
    QT_QPA_PLATFORM=offscreen timeout 30 "$ROOT/usr/bin/mirutoa" >"$WORK/run.log" 2>&1 &
    runner=$!
    sleep 2
    program=$(cut -d' ' -f1 "/proc/$runner/task/$runner/children" 2>/dev/null)
    if [ -z "$program" ] || ! kill -0 "$program" 2>/dev/null; then
        fail "the unpacked program did not stay up"
        cat "$WORK/run.log" >&2
    else
        [ "$(readlink "/proc/$program/exe")" = "$(readlink -f "$PROGRAM")" ] ||
            fail "the running program is $(readlink "/proc/$program/exe"), not the unpacked one"
        [ "$(readlink "/proc/$program/cwd")" = "$(readlink -f "$PICTURES")" ] ||
            fail "the program runs in $(readlink "/proc/$program/cwd"), not in the pictures' folder"
        echo "the unpacked program ran for 2 s (pid $program); stopping it"
    fi
    kill "$runner" 2>/dev/null
    wait "$runner" 2>/dev/null
    runner=""
fi

if [ $FAILS -ne 0 ]; then
    echo "$FAILS check(s) failed" >&2
    exit 1
fi
echo "package checks passed"
