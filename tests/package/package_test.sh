#!/usr/bin/env bash
# The Debian package: lintian finds no error and no warning in it; unpacked (dpkg -x) it holds the
# programs, the launcher, the 28 piece pictures, the manual pages (in English and in Japanese), the
# copyright file, the change log of its version, a valid desktop entry and AppStream metainfo with
# English and Japanese names, and the icons, and names the libraries and the font it needs. Then, as
# root, it is installed with apt-get, the installed game is started offscreen from the home folder (it
# must stay up, running the installed program in the folder of its pictures), the installed
# mirutoa-cli answers, and the package is purged with whatever the install pulled in, leaving the
# system's package list and files as they were. Without root the unpacked launcher is started instead.
# Usage: package_test.sh PATH-TO.deb
#        package_test.sh --build CPACK-CONFIG   (builds the package into the scratch folder first)
set -u
WORK=$(mktemp -d)
chmod 755 "$WORK" # apt reads the package as its own user
runner=""
installed=0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo -n"
apt() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=120 "$@"; }
cleanup() {
    [ -n "$runner" ] && kill "$runner" 2>/dev/null
    [ $installed -eq 1 ] && apt purge mirutoa >/dev/null 2>&1
    rm -rf "$WORK"
}
trap cleanup EXIT
FAILS=0
fail() {
    echo "FAIL: $1" >&2
    FAILS=$((FAILS + 1))
}
need() { command -v "$1" >/dev/null || fail "$1 is not installed (package $2; scripts/deps.sh installs it)"; }

if [ "${1:-}" = "--build" ]; then
    cpack --config "$2" -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1 || {
        cat "$WORK/cpack.log" >&2
        echo "FAIL: cpack could not build the package" >&2
        exit 1
    }
    DEB=$(ls "$WORK"/out/*.deb)
else
    DEB=$(readlink -f "$1")
fi
[ -f "$DEB" ] || {
    echo "FAIL: no package at $DEB" >&2
    exit 1
}
VERSION=$(dpkg-deb -f "$DEB" Version)
echo "package: $(basename "$DEB") ($(du -k "$DEB" | cut -f1) KiB)"

need lintian lintian
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need dpkg-parsechangelog dpkg-dev
if command -v lintian >/dev/null; then
    # --fail-on takes a list: "warning" alone would let errors pass.
    lintian --fail-on error,warning --display-level ">=info" "$DEB" >"$WORK/lintian.log" 2>&1
    verdict=$?
    tags() { grep -c "^$1: " "$WORK/lintian.log"; }
    echo "lintian: $(tags E) errors, $(tags W) warnings, $(tags I) informational tags"
    if [ $verdict -ne 0 ] || [ "$(tags E)" -ne 0 ] || [ "$(tags W)" -ne 0 ]; then
        cat "$WORK/lintian.log" >&2
        fail "lintian reports errors or warnings (or could not run)"
    fi
fi

ROOT=$WORK/root
dpkg -x "$DEB" "$ROOT" || {
    echo "FAIL: dpkg -x could not unpack $DEB" >&2
    exit 1
}

# Contents.
PROGRAM=/usr/lib/games/mirutoa/mirutoa
PICTURES=/usr/share/games/mirutoa
DOC=/usr/share/doc/mirutoa
for program in $PROGRAM /usr/games/mirutoa /usr/games/mirutoa-cli; do
    [ -x "$ROOT$program" ] || fail "$program is missing"
done
for side in "" com; do
    for name in 歩 と 香 香成 桂 桂成 銀 銀成 金 王 角 角成 飛 龍王; do
        [ -s "$ROOT$PICTURES/$side$name.bmp" ] || fail "the picture $side$name.bmp is missing"
    done
done
grep -q '^\[mirutoa:shogi\]' "$ROOT$PICTURES/mirutoa-variant.ini" 2>/dev/null ||
    fail "the variant file mirutoa-variant.ini is missing beside the pictures"
for page in mirutoa mirutoa-cli; do
    gzip -t "$ROOT/usr/share/man/man6/$page.6.gz" 2>/dev/null || fail "the manual page $page(6) is missing"
    gzip -t "$ROOT/usr/share/man/ja/man6/$page.6.gz" 2>/dev/null ||
        fail "the Japanese manual page $page(6) is missing"
done
head -n 1 "$ROOT$DOC/copyright" 2>/dev/null | grep -q '^Format: .*copyright-format/1.0' ||
    fail "$DOC/copyright is missing or not in the machine-readable format"
zcat "$ROOT$DOC/changelog.gz" >"$WORK/changelog" 2>/dev/null || fail "$DOC/changelog.gz is missing"
[ "$(dpkg-parsechangelog -l "$WORK/changelog" -S Version 2>/dev/null)" = "$VERSION" ] ||
    fail "the change log's latest entry is not version $VERSION"
DESKTOP=$ROOT/usr/share/applications/mirutoa.desktop
if [ -f "$DESKTOP" ]; then
    grep -qx 'Exec=mirutoa' "$DESKTOP" || fail "the desktop entry does not start mirutoa"
    grep -qx 'Icon=mirutoa' "$DESKTOP" || fail "the desktop entry names no icon mirutoa"
    for line in 'Name=Mirutoa Shogi' 'Name[ja]=創作将棋 ミルトア'; do
        grep -qxF "$line" "$DESKTOP" || fail "the desktop entry lacks the line $line"
    done
    grep -q '^Comment\[ja\]=.' "$DESKTOP" || fail "the desktop entry has no Japanese comment"
    desktop-file-validate "$DESKTOP" || fail "the desktop entry is not valid"
else
    fail "the desktop entry is missing"
fi
METAINFO=$(ls "$ROOT"/usr/share/metainfo/*.metainfo.xml 2>/dev/null)
if [ -f "$METAINFO" ]; then
    grep -q '<caption>The window after four moves</caption>' "$METAINFO" ||
        fail "the metainfo lacks the screenshot's caption"
    for element in '<name>Mirutoa Shogi</name>' '<name xml:lang="ja">創作将棋 ミルトア</name>' '<summary xml:lang="ja">'; do
        grep -qF "$element" "$METAINFO" || fail "the metainfo lacks $element"
    done
    appstreamcli validate --no-net "$METAINFO" >"$WORK/appstream.log" 2>&1 || {
        cat "$WORK/appstream.log" >&2
        fail "appstreamcli does not accept the metainfo"
    }
else
    fail "the AppStream metainfo is missing"
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
RECOMMENDS=$(dpkg-deb -f "$DEB" Recommends)
[[ ",$RECOMMENDS," =~ [,\ ]fairy-stockfish[\ ,\(] ]] || fail "the package does not recommend fairy-stockfish"
for program in $PROGRAM /usr/games/mirutoa-cli; do
    missing=$(ldd "$ROOT$program" 2>&1 | grep 'not found')
    [ -z "$missing" ] || fail "libraries of $program are missing: $missing"
done
[ $FAILS -eq 0 ] || {
    echo "$FAILS check(s) failed" >&2
    exit 1
}

# starts PREFIX: the launcher PREFIX/usr/games/mirutoa, started offscreen from the home folder, must
# still be running PREFIX's program, in PREFIX's pictures' folder, after two seconds.
starts() {
    local prefix=$1 program
    (cd "$HOME" && exec env QT_QPA_PLATFORM=offscreen timeout 30 "$prefix/usr/games/mirutoa") \
        >"$WORK/run.log" 2>&1 &
    runner=$!
    sleep 2
    program=$(cut -d' ' -f1 "/proc/$runner/task/$runner/children" 2>/dev/null)
    if [ -z "$program" ] || ! kill -0 "$program" 2>/dev/null; then
        fail "the game from $prefix/usr/games/mirutoa did not stay up"
        cat "$WORK/run.log" >&2
    else
        [ "$(readlink "/proc/$program/exe")" = "$(readlink -f "$prefix$PROGRAM")" ] ||
            fail "the running program is $(readlink "/proc/$program/exe"), not $prefix$PROGRAM"
        [ "$(readlink "/proc/$program/cwd")" = "$(readlink -f "$prefix$PICTURES")" ] ||
            fail "the program runs in $(readlink "/proc/$program/cwd"), not in $prefix$PICTURES"
        echo "the game from $prefix/usr/games/mirutoa ran for 2 s (pid $program); stopping it"
    fi
    kill "$runner" 2>/dev/null
    wait "$runner" 2>/dev/null
    runner=""
}

packages() { dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | sort; }
if ! $SUDO true 2>/dev/null; then
    echo "NOTE: not root: the unpacked game is started instead of an installed one"
    starts "$ROOT"
elif dpkg-query -W -f='${Status}' mirutoa 2>/dev/null | grep -q 'installed'; then
    echo "NOTE: mirutoa is installed already and left alone: the unpacked game is started instead"
    starts "$ROOT"
else
    packages >"$WORK/before"
    installed=1
    if apt install --no-install-recommends "$DEB" >"$WORK/apt.log" 2>&1; then
        echo "installed with apt-get install $(basename "$DEB")"
        starts ""
        answer=$(cd "$HOME" && printf 'board\n' | /usr/games/mirutoa-cli)
        [ "$(wc -l <<<"$answer")" -eq 9 ] || fail "the installed mirutoa-cli does not answer board: $answer"
    else
        cat "$WORK/apt.log" >&2
        fail "apt-get could not install the package"
    fi
    # Purge the package and whatever its install pulled in.
    mapfile -t added < <(packages | comm -13 "$WORK/before" - | awk '{print $2}')
    apt purge "${added[@]}" mirutoa >"$WORK/purge.log" 2>&1 || {
        cat "$WORK/purge.log" >&2
        fail "apt-get could not purge the package"
    }
    installed=0
    left=$(packages | diff "$WORK/before" - | grep '^[<>]')
    [ -z "$left" ] || fail "the package list differs after the purge: $left"
    while read -r path; do
        [ -e "$path" ] && [ ! -d "$path" ] && fail "$path is left after the purge"
    done < <(dpkg-deb --fsys-tarfile "$DEB" | tar -t | sed 's|^\./|/|')
    for dir in /usr/lib/games/mirutoa $PICTURES $DOC; do
        [ -e "$dir" ] && fail "$dir is left after the purge"
    done
    echo "purged; nothing is left"
fi

if [ $FAILS -ne 0 ]; then
    echo "$FAILS check(s) failed" >&2
    exit 1
fi
echo "package checks passed"
