#!/usr/bin/env bash
# Fails when a source file under src/ includes a header of a layer above its own, or of a sibling
# at the top (the window and the console know nothing of each other).
#   check_includes.sh SOURCE_DIR
set -euo pipefail
src=${1:?usage: check_includes.sh SOURCE_DIR}/src

# The layers from the bottom up; the last two stand side by side.
layers=(board formation game com engine session ui cli)
declare -A rank=([board]=0 [formation]=1 [game]=2 [com]=3 [engine]=4 [session]=5 [ui]=6 [cli]=6)

[ "${#rank[@]}" -eq "${#layers[@]}" ] || { echo "check_includes: layer table out of step" >&2; exit 2; }
faults=0
for layer in "${layers[@]}"; do
    [ -d "$src/$layer" ] || { echo "missing layer folder src/$layer" >&2; faults=$((faults + 1)); continue; }
    while IFS=: read -r file line text; do
        target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$text")
        [ -n "${rank[$target]+set}" ] || continue
        if [ "${rank[$target]}" -gt "${rank[$layer]}" ] ||
            { [ "${rank[$target]}" -eq "${rank[$layer]}" ] && [ "$target" != "$layer" ]; }; then
            echo "${file#"$src"/}:$line: layer $layer includes $target: $text"
            faults=$((faults + 1))
        fi
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$src/$layer" || true)
done
for dir in "$src"/*/; do
    name=$(basename "$dir")
    [ -n "${rank[$name]+set}" ] || { echo "src/$name is in no layer: add it to the table" ; faults=$((faults + 1)); }
done
if [ "$faults" -gt 0 ]; then
    echo "$faults include(s) run against the layer order ${layers[*]}"
    exit 1
fi
echo "includes follow the layer order: ${layers[*]}"
