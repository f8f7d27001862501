#!/usr/bin/env bash
# The asset generator as the build runs it (--update), on a copy of the built
# tree from which a picture, a model and a ghost were deleted: those three come
# back with the bytes they had, no other file is written again, and a second
# run writes nothing.
# Usage: asset-update.sh GENERATOR ASSETS WORK_FOLDER
set -euo pipefail
generator=$1
assets=$2
work=$3
fail() {
    echo "$1" >&2
    exit 1
}
rm -rf "$work"
mkdir -p "$work"
cp -a "$assets" "$work/Assets"
deleted=("Textures/Background.png" "ZavikDemoScene/Models/WaterPlanet/Palm.obj" "Ghosts/Car3.ghost")
for file in "${deleted[@]}"; do
    rm "$work/Assets/$file"
done
times() {
    (cd "$work/Assets" && find . -type f -printf '%P %T@\n' | sort)
}
times >"$work/before.txt"

"$generator" --update "$work/Assets" >"$work/first.txt"
diff -r "$assets" "$work/Assets" || fail "The tree is not the one the build made."
times >"$work/after.txt"
changed=$(comm -13 "$work/before.txt" "$work/after.txt" | sed 's/ [0-9.]*$//' | sort)
[ "$changed" = "$(printf '%s\n' "${deleted[@]}" | sort)" ] || fail "Written: $changed"

"$generator" --update "$work/Assets" >"$work/second.txt"
[ ! -s "$work/second.txt" ] || fail "An up-to-date tree was written again: $(cat "$work/second.txt")"
rm -rf "$work"
