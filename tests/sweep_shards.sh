#!/bin/sh
# A small sweep run as four shards through GNU parallel, merged, is the CSV
# one process writes, byte for byte. Usage: sweep_shards.sh BENCH RUN_DIR
set -eu
bench=$1
run=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir Data
ln -s "$run/Data/Sounds" Data/Sounds
export ALSOFT_DRIVERS=none ALSOFT_CONF=/dev/null
car="$run/Data/Cars/Buggy.ini"
sweep="--sweep body.power=1200:2400:3 --sweep gear0.ratio=2:3:2"

# shellcheck disable=SC2086
"$bench" $sweep -j1 "$car" >whole.csv
# shellcheck disable=SC2086
parallel --halt now,fail=1 "$bench" $sweep -j1 --shard {}/4 "$car" ">" shard{}.csv ::: 1 2 3 4
"$bench" --merge shard4.csv shard2.csv shard1.csv shard3.csv >merged.csv
lines=$(wc -l <whole.csv)
if [ "$lines" -ne 7 ]; then
    echo "expected a header and 6 rows, got $lines lines"
    exit 1
fi
cmp whole.csv merged.csv
# A shard left out is named, not merged around.
if "$bench" --merge shard1.csv shard2.csv shard4.csv >/dev/null 2>err.txt; then
    echo "a merge with a shard missing passed"
    exit 1
fi
grep -q "point 2 is in none of the files" err.txt
