#!/usr/bin/env bash
# The window's calculation, natively and in WebAssembly (under node), on
# the same random inputs: the texts must be the same bytes. WEB_BUILD_DIR is
# a build of web/ (web/build.sh).
#   web/differential/run.sh NATIVE_RUNNER WEB_BUILD_DIR [COUNT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
native=$1
web=$2
count=${3:-100000}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python3 "$here/make_inputs.py" "$count" >"$tmp/inputs"
"$native" <"$tmp/inputs" >"$tmp/native"
node "$web/kelvora_runs.js" <"$tmp/inputs" >"$tmp/wasm"
test "$(wc -l <"$tmp/native")" -eq "$count"
if ! cmp -s "$tmp/native" "$tmp/wasm"; then
    echo "WebAssembly differs from the native build:"
    diff <(paste "$tmp/inputs" "$tmp/native") <(paste "$tmp/inputs" "$tmp/wasm") | head -n 20
    exit 1
fi
faults=$(awk -F'\t' '$NF != ""' "$tmp/native" | wc -l)
echo "$count runs, the same texts natively and in WebAssembly ($faults of them stop on a fault)"
