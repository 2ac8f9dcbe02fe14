#!/usr/bin/env bash
# Builds the browser edition with Debian's emscripten into OUTDIR (the site
# in OUTDIR/site), installing the plotting library and the test tools from
# the lockfile first.   web/build.sh [OUTDIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../build-web}
# Debian's emscripten runs its helpers with node and finds their modules here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs:/usr/lib/nodejs}
if [ ! -d "$here/node_modules" ] || [ "$here/package-lock.json" -nt "$here/node_modules" ]; then
    (cd "$here" && npm ci --no-audit --no-fund --loglevel=error) >&2
    touch "$here/node_modules"
fi
mkdir -p "$out"
emcmake cmake -S "$here" -B "$out" -DCMAKE_BUILD_TYPE=Release -DHOST_INCLUDE_DIR=/usr/include \
    -DPython3_EXECUTABLE=/usr/bin/python3 \
    >"$out/configure.log" 2>&1 || { cat "$out/configure.log"; exit 1; }
cmake --build "$out" -j"$(nproc)" >"$out/build.log" 2>&1 || { tail -n 40 "$out/build.log"; exit 1; }
echo "$out/site"
