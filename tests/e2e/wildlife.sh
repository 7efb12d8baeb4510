#!/bin/bash
# Animals over a meadow: with the ambient setting on, a map of nothing but the
# default grass fills with insects, butterflies and birds around the view
# (the ambience hears a meadow in textures named "grass"), and they move from
# one picture to the next while the ground itself stays still.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720

mkdir -p "$WORK/Data/Maps" "$WORK/Data/Cars"
for d in "$RUN_DIR"/Data/*; do
    case "$d" in */Maps | */Cars) ;; *) ln -s "$d" "$WORK/Data/" ;; esac
done
ln -s "$RUN_DIR/Data/Cars/Buggy.ini" "$RUN_DIR/Data/Cars/Buggy.png" "$WORK/Data/Cars/"
printf '[header]\nsectorsCount=1\nvertsCount=4\nobjectsCount=0\nmapSize=4000,4000\n[startZones]\nrect0=1980,1980,40,40\n[verts]\npos0=0,0\npos1=4000,0\npos2=4000,4000\npos3=0,4000\n[sector0]\nverts=0,1,2,3\nfloorTexture=Grass_A.png\n' \
    >"$WORK/Data/Maps/ZQR_Lakes.map"
# Scale 1 shows more of the meadow; no exhaust smoke to move pixels.
printf '[video]\nrenderScale=1\n[game]\nambient=True\nexhaustParticles=False\n' >"$WORK/Tarnwick.ini"

start_app
find_window >/dev/null
wait_log "Found 0/0 valid map objects"

# The meadow east of the vehicle, clear of the messages and read-outs. An
# animal is a small patch that changed between two pictures: count them.
MEADOW=560x560+700+20
animals_between() {
    difference_mask "$WORK/$1.mpc" "$WORK/$2.mpc" "$WORK/changed.mpc"
    convert "$WORK/changed.mpc" -crop "$MEADOW" +repage -define connected-components:verbose=true \
        -define connected-components:area-threshold=2 -connected-components 8 null: 2>/dev/null |
        awk '/gray\(255\)|graya\(255/ { n++ } END { print n + 0 }'
}
screenshot meadow0
found=0
for i in $(seq 1 15); do
    screenshot "meadow$i"
    found=$(animals_between "meadow$((i - 1))" "meadow$i")
    [ "$found" -ge 3 ] && break
done
[ "$found" -ge 3 ] || fail "no animals moving over the meadow ($found changed patches)"

kill -TERM "$APP_PID"
wait_exit 10
echo PASS
