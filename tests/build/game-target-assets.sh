#!/usr/bin/env bash
# Building the game alone (`cmake --build build --target kelvane`, a common
# habit) must lay out every file under Assets/ that the game reads, or the
# game refuses to start on what is missing. Each file that a build step
# declares under Assets/ (shaders, fonts) must be in the game target's graph,
# and so must the asset generator's step, which writes the rest.
# Usage: game-target-assets.sh NINJA BUILD_FOLDER
set -euo pipefail
ninja=$1
build=$2

# File nodes of the graph are labelled with their paths; build steps carry a
# shape as well.
graph=$("$ninja" -C "$build" -t graph kelvane | sed -n 's/^"[^"]*" \[label="\(.*\)"\]$/\1/p' | sort -u)
declared=$("$ninja" -C "$build" -t targets all | sed -n 's/^\(Assets\/.*\): [A-Z_]*$/\1/p' | sort -u)

for kind in Assets/Shaders/ Assets/Fonts/; do
    grep -q "^$kind" <<<"$declared" || { echo "FAIL: the build declares no file under $kind; is this the graph?"; exit 1; }
done
missing=$(comm -23 <(echo "$declared") <(echo "$graph"))
if [ -n "$missing" ]; then
    echo "FAIL: the build lays these out, but building the game alone does not:"
    echo "$missing" | sed 's/^/    /'
    exit 1
fi
grep -qx "tools/kelvane_generated_assets" <<<"$graph" ||
    { echo "FAIL: building the game alone does not run the asset generator."; exit 1; }
echo "Building the game alone lays out the $(wc -l <<<"$declared") files the build declares under Assets/ and runs the asset generator."
