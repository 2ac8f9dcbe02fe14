#!/usr/bin/env bash
# Sets up a Debian 12 machine for Kelvora, builds it, then starts it or tests it.
#   ./dev.sh run     install what is missing, build, start the window
#   ./dev.sh test    install what is missing, build, run every test
#   ./dev.sh web [PORT]  install what is missing, build the browser edition
#                    into build-web/site and serve it on 127.0.0.1 (8080)
#   ./dev.sh mutants [--seed N [--count K]]
#                    install what is missing, then seed single-token faults
#                    in the design model one at a time and count those the
#                    tests catch (tools/mutants/mutants.txt, or K drawn at
#                    random with seed N)
#   ./dev.sh setup   install what is missing for run, test and web, build nothing
#   ./dev.sh install PACKAGE...   install the Debian packages that are missing
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${BUILD_DIR:-build}
PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev qt6-translations-l10n fonts-dejavu-core libfmt-dev libfast-float-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev)
TEST_PACKAGES=(locales libcfitsio-dev xvfb dbus at-spi2-core python3-pyatspi valgrind desktop-file-utils appstream libxml2-utils)
# The browser edition: emscripten, the header-only libraries it copies, and
# Chromium for its tests; node and npm unless the machine has them already.
WEB_PACKAGES=(cmake python3 python3-markdown emscripten chromium libfmt-dev libfast-float-dev nlohmann-json3-dev)
command -v npm >/dev/null || WEB_PACKAGES+=(nodejs npm)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The tests under French regional settings need the locale itself, which
# a fresh Debian has only once it is generated.
french_locale() {
    locale -a 2>/dev/null | grep -qix 'fr_FR.utf-\?8' && return 0
    echo "Generating the fr_FR.UTF-8 locale"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" localedef -i fr_FR -c -f UTF-8 -A /usr/share/locale/locale.alias fr_FR.UTF-8
}

# What run, test and web need.
install_everything() {
    install_missing "${PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
    french_locale
}

build() {
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

case "${1:-}" in
    run)
        install_missing "${PACKAGES[@]}"
        build
        exec "$BUILD_DIR/app/kelvora"
        ;;
    test)
        install_everything
        build
        ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
        ;;
    web)
        install_missing "${WEB_PACKAGES[@]}"
        site=$(web/build.sh build-web)
        exec node web/tools/serve.js "$site" "${2:-8080}"
        ;;
    mutants)
        install_missing "${PACKAGES[@]}" "${TEST_PACKAGES[@]}" python3
        shift
        exec tools/mutants/run "$@"
        ;;
    setup)
        install_everything
        ;;
    install)
        shift
        install_missing "$@"
        ;;
    *)
        echo "usage: $0 run|test|web [PORT]|mutants|setup|install PACKAGE..." >&2
        exit 2
        ;;
esac
