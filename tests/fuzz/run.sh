#!/bin/bash
# run.sh BUILD_DIR SECONDS [TARGET...]: runs each fuzz target (all by default)
# for SECONDS, one after the other, niced. Corpora grow in
# BUILD_DIR/fuzz/corpus/TARGET (seeded from the tests' files and the default
# content on first use); crashes land in BUILD_DIR/fuzz/artifacts/TARGET.
# Prints one line of figures per target; exits 1 when any target failed.
set -u
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(iniload iniroundtrip map vehicle objects history polygon)
work="$build/fuzz"
mkdir -p "$work"

# seed TARGET FILES...: copies the files into the target's corpus.
seed() {
    local dir="$work/corpus/$1"
    shift
    mkdir -p "$dir"
    for f in "$@"; do
        [ -f "$f" ] && cp "$f" "$dir/seed_$(basename "$f")"
    done
}

seed_all() {
    local bad="$src/tests/data/bad"
    local ini=("$src"/content/Data/*/*.ini "$src"/content/Data/Objects/*.ob "$src"/content/Data/Textures.ini
               "$src"/content/uiConfig.ini "$src"/tests/e2e/fixtures/Data/*/*)
    ini+=("$here"/seeds/ini/*)
    seed iniload "${ini[@]}" "$bad"/*
    seed iniroundtrip "${ini[@]}" "$bad"/*
    seed map "$src"/tests/e2e/fixtures/Data/Maps/*.map "$src"/build/run/Data/Maps/ZQR_SkidPad.map "$bad"/*.map
    seed vehicle "$src"/content/Data/Cars/*.ini "$bad"/car_*
    seed objects "$src"/content/Data/Objects/*.ob "$src"/content/Data/Images/*.ini "$bad"/*.ob "$bad"/imageset_*
    seed history "$bad"/*.dat
    local h="$work/corpus/history"
    # A good history of two entries, and its header alone.
    { printf 'ZOZUR3 Script Console History'; printf '\0\0\0'; printf '\1\0\0\0\2\0\0\0'
      printf '\3\0\0\0ls\0'; printf '\4\0\0\0help'; } > "$h/seed_two.dat" 2>/dev/null
    head -c 36 "$h/seed_two.dat" > "$h/seed_header.dat"
    mkdir -p "$work/corpus/polygon"
    local p="$work/corpus/polygon"
    # A square; a square under a smaller one; a bow tie.
    printf '\0\0\0\0\x90\1\0\0\x90\1\x90\1\0\0\x90\1' > "$p/seed_square"
    printf '\0\0\0\0\x90\1\0\0\x90\1\x90\1\0\0\x90\1\xff\x7f\0\0\x64\0\x64\0\xc8\0\x64\0\xc8\0\xc8\0\x64\0\xc8\0' > "$p/seed_stacked"
    printf '\0\0\0\0\x90\1\x90\1\x90\1\0\0\0\0\x90\1' > "$p/seed_bowtie"
}

[ -d "$work/corpus" ] || seed_all

status=0
for t in "${targets[@]}"; do
    bin="$build/tests/fuzz/fuzz_$t"
    [ -x "$bin" ] || { echo "fuzz: $bin is missing (build the fuzz_targets target)" >&2; status=1; continue; }
    dict="$here/ini.dict"
    case "$t" in history) dict="$here/history.dict" ;; polygon) dict="$here/polygon.dict" ;; esac
    mkdir -p "$work/corpus/$t" "$work/artifacts/$t"
    log="$work/$t.log"
    # Five seconds for one input: a unit that runs ~1 ms can still pass one
    # second on a loaded shared machine while ASan hands memory back to the
    # system; a real hang runs far longer than five.
    run=("$bin" "$work/corpus/$t" -dict="$dict" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048
         -max_len=65536 -artifact_prefix="$work/artifacts/$t/" -print_final_stats=1)
    # Image sets load their atlas as a texture: that needs a display.
    [ "$t" = objects ] && run=("$src/tests/with_xvfb.sh" "${run[@]}")
    start=$(date +%s)
    lsan="suppressions=$src/tests/sanitize/lsan.supp:print_suppressions=0"
    ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        LSAN_OPTIONS="$lsan" nice -n 10 "${run[@]}" >"$log" 2>&1
    rc=$?
    end=$(date +%s)
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
    corpus=$(ls "$work/corpus/$t" | wc -l)
    if [ $rc -eq 0 ]; then
        echo "fuzz $t: ok, ${execs:-?} runs in $((end - start)) s, ${cov:-no coverage line}, corpus $corpus"
    else
        echo "fuzz $t: FAILED (exit $rc) after $((end - start)) s; see $log and $work/artifacts/$t/"
        grep -m3 -E 'ERROR|FUZZ CHECK|runtime error|SUMMARY' "$log"
        status=1
    fi
done
exit $status
