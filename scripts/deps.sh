# Installs the Debian packages named in the arguments that are not installed yet.
# Sourced by the scripts in this folder.
mirutoa_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The variant engine that runs beside the game as a child process (the game starts without it; the
# engine tests skip without it).
MIRUTOA_ENGINE_PACKAGES=(fairy-stockfish)
MIRUTOA_BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev fonts-ipafont-gothic qt6-translations-l10n
    qt6-l10n-tools qt6-tools-dev)
# What builds the Debian package and checks it (scripts/package, tests/package): dpkg-shlibdeps and
# dpkg-parsechangelog, lintian, appstreamcli, desktop-file-validate.
MIRUTOA_PACKAGE_CHECK_PACKAGES=(dpkg-dev lintian appstream desktop-file-utils)
# The knock test plays the game into a private sound server's null sink and records its monitor.
MIRUTOA_SOUND_TEST_PACKAGES=(pulseaudio pulseaudio-utils)
MIRUTOA_TEST_PACKAGES=(googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool xclip xauth imagemagick python3 clang libclang-rt-14-dev
    "${MIRUTOA_SOUND_TEST_PACKAGES[@]}"
    "${MIRUTOA_PACKAGE_CHECK_PACKAGES[@]}")

# The records' variations are read back with a public KIF reader from the npm registry (tests/robust):
# npm from Debian, unless a Node.js with its own npm is there already.
mirutoa_install_npm() {
    command -v npm >/dev/null 2>&1 || mirutoa_install_missing nodejs npm
}
