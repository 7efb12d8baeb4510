#!/bin/bash
# Driving in the running program, with two vehicle files and a map of the
# test's own: W moves the vehicle (the ground slides under the camera that
# follows it), period selects the next vehicle (red becomes blue), U parks
# one more beside it, and SIGTERM still exits 0.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_fixture_data

# A flat green ground crossed by thin white passable stripes every 100
# pixels across the road north: lines that move under the camera when driving.
map="$WORK/Data/Maps/ZQR_Lakes.map"
{
    n=1
    verts="pos0=0,0\npos1=3000,0\npos2=3000,3000\npos3=0,3000\n"
    sectors="[sector0]\nverts=0,1,2,3\nfloorTexture=Ground.png\n"
    v=4
    for y in $(seq 1000 100 2000); do
        verts+="pos$v=1000,$y\npos$((v + 1))=2000,$y\npos$((v + 2))=2000,$((y + 6))\npos$((v + 3))=1000,$((y + 6))\n"
        sectors+="[sector$n]\nverts=$v,$((v + 1)),$((v + 2)),$((v + 3))\npassable=3\nfloorTexture=Stripe.png\n"
        v=$((v + 4)); n=$((n + 1))
    done
    printf '[header]\nsectorsCount=%d\nvertsCount=%d\nobjectsCount=0\nmapSize=3000,3000\n' "$n" "$v"
    printf '[startZones]\nrect0=1450,1450,100,100\n[verts]\n'
    printf "$verts"
    printf "$sectors"
} >"$map"
mkdir -p "$WORK/Data/Textures"
printf '[colours]\nGround=40,90,40\nStripe=250,250,250\n' >"$WORK/Data/Textures/textureColours.ini"

mkdir -p "$WORK/Data/Cars"
car() { # car NAME COLOUR: a 30 x 60 body and one wheel picture beside it
    cat >"$WORK/Data/Cars/$1.ini" <<INI
[info]
wheelTypesCount=1
wheelMountsCount=4
[body]
imageRect=0,0,30,60
mass=100
maxSpeed=20
power=30000
[wheelType0]
imageRect=32,0,6,12
[wheelMount0]
pos=-12,-18
drive=False
[wheelMount1]
pos=12,-18
drive=False
[wheelMount2]
pos=-12,18
maxSteerAngle=0
[wheelMount3]
pos=12,18
maxSteerAngle=0
INI
    convert -size 40x60 xc:none -fill "$2" -draw "rectangle 0,0 29,59" -fill gray20 \
        -draw "rectangle 32,0 37,11" "PNG32:$WORK/Data/Cars/$1.png"
}
car Alpha red
car Beta blue

# Exhaust smoke would change the picture of a vehicle standing still.
printf '[game]\nexhaustParticles=False\n' >"$WORK/Tarnwick.ini"

start_app
find_window >/dev/null
wait_log "Loaded 2 cars"
wait_log "Found 0/0 valid map objects"

# Pixels of one colour in a picture, the on-screen messages (bottom left,
# some in red) blacked out.
count_colour() {
    convert "$1" -alpha off -fill black -draw "rectangle 0,380 560,720" \
        -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:
}
centre_colour() {
    convert "$1" -alpha off -format '%[pixel:p{640,360}]' info:
}
# Differing pixels around the vehicle, right of the on-screen messages.
middle_difference() {
    convert "$1" -alpha off -crop 600x400+600+100 +repage "$WORK/a.png"
    convert "$2" -alpha off -crop 600x400+600+100 +repage "$WORK/b.png"
    compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1 || true
}

screenshot still1
screenshot still2
expect_eq "$(middle_difference "$WORK/still1.png" "$WORK/still2.png")" 0 "difference while standing"
expect_eq "$(centre_colour "$WORK/still1.png")" "srgb(255,0,0)" "the first vehicle in the middle"
red=$(count_colour "$WORK/still1.png" red)
[ "$red" -gt 4000 ] || fail "vehicle body too small on screen: $red red pixels"

# Drive: the camera follows, so the ground's lines move under the vehicle.
xdotool keydown w
sleep 1.5
xdotool keyup w
screenshot driven
moved=$(middle_difference "$WORK/still2.png" "$WORK/driven.png")
[ "$moved" -gt 500 ] || fail "the ground did not move under the vehicle ($moved pixels changed)"
expect_eq "$(centre_colour "$WORK/driven.png")" "srgb(255,0,0)" "the camera follows the vehicle"

# Period: the next definition.
# (A screenshot asked for in the same poll shows the frame drawn before the
# key acted: look again until the change shows.)
press period
for i in $(seq 1 20); do
    screenshot next
    [ "$(centre_colour "$WORK/next.png")" = "srgb(0,0,255)" ] && break
done
expect_eq "$(centre_colour "$WORK/next.png")" "srgb(0,0,255)" "the next vehicle after period"

# U: one more vehicle, pushed out beside the player's.
before=$(( $(count_colour "$WORK/next.png" red) + $(count_colour "$WORK/next.png" blue) ))
press u
for i in $(seq 1 40); do
    screenshot parked
    after=$(( $(count_colour "$WORK/parked.png" red) + $(count_colour "$WORK/parked.png" blue) ))
    [ "$after" -gt $((before * 3 / 2)) ] && break
    sleep 0.1
done
[ "$after" -gt $((before * 3 / 2)) ] || fail "no parked vehicle on screen ($before then $after vehicle pixels)"

kill -TERM "$APP_PID"
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
echo PASS
