#!/bin/sh
# Installs the public KIF reader from the npm registry into the build folder, once. Exits 77 (the test
# is then skipped) where npm is missing or the registry cannot be reached.
set -u
dir=$1
version=2.2.0
[ -f "$dir/node_modules/tsshogi/package.json" ] && grep -q "\"version\": \"$version\"" "$dir/node_modules/tsshogi/package.json" && exit 0
command -v npm >/dev/null 2>&1 || { echo "npm not found: the outside KIF reader is not checked"; exit 77; }
mkdir -p "$dir"
if ! (cd "$dir" && timeout 120 npm install --no-audit --no-fund --no-save --silent --fetch-retries=1 --fetch-retry-mintimeout=2000 --fetch-timeout=30000 "tsshogi@$version"); then
    echo "the npm registry could not be reached: the outside KIF reader is not checked"
    exit 77
fi
