#!/bin/sh
# Fails when a source file includes a header of a layer above its own.
# Layers, lowest first: framework (framework/gui is part of it), world,
# audio, vehicle, render, app. Linking alone would not catch an include that only uses types.
# Usage: layering.sh [SOURCE_ROOT]
set -eu
root=${1:-$(dirname "$0")/..}
cd "$root"

rank() {
    case $1 in
        framework/*) echo 0 ;;
        world/*) echo 2 ;;
        audio/*) echo 3 ;;
        vehicle/*) echo 4 ;;
        render/*) echo 5 ;;
        app/*) echo 6 ;;
        *) echo -1 ;;
    esac
}

bad=0
for file in $(find framework world audio vehicle render app -name '*.h' -o -name '*.cpp' | sort); do
    from=$(rank "$file")
    for header in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file"); do
        to=$(rank "$header")
        if [ "$to" -gt "$from" ]; then
            echo "$file includes $header, a layer above its own"
            bad=1
        fi
    done
done
[ "$bad" -eq 0 ] && echo "layering: every include points down or sideways"
exit "$bad"
