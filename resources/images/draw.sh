#!/usr/bin/env bash
# Renders the tool's images from the SVG drawings in src/ into this directory.
# Run by hand after changing a drawing; the outputs are committed, the build only embeds them.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick 6 (/usr/bin/convert) for ICO and GIF.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
src="$here/src"
out="$here"
convert=/usr/bin/convert

command -v rsvg-convert >/dev/null || { echo "rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }
[[ -x $convert ]] || { echo "$convert missing (ImageMagick 6)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# render SVG WIDTH HEIGHT OUTPUT.png
render() {
    rsvg-convert --format=png --width="$2" --height="$3" --keep-aspect-ratio --background-color=none \
        --output="$4" "$1"
}

# Logo: splash screen and about form.
render "$src/lx-815.svg" 450 230 "$out/lx-815.png"

# Tool bar icons, drawn at twice the default tool bar icon size so they stay sharp on high-DPI screens.
for name in device open save; do
    render "$src/$name.svg" 48 48 "$out/$name.png"
done

# Port button states, twice the default push button icon size.
render "$src/connected.svg" 32 32 "$out/connected.png"
render "$src/unconnected.svg" 32 32 "$out/unconnected.png"

# Serial port icon: one file holding 16, 32 and 48 pixel images.
render "$src/port-16.svg" 16 16 "$work/port-16.png"
render "$src/port.svg" 32 32 "$work/port-32.png"
render "$src/port.svg" 48 48 "$work/port-48.png"
"$convert" "$work/port-16.png" "$work/port-32.png" "$work/port-48.png" "$out/port.ico"

# Status lamps: led.svg is the lit yellow lamp; every lamp swaps its three lens colours,
# the strength of the glossy reflection and of the small spark.
# lamp NAME LIGHT MID DARK GLOSS SPARK
lamp() {
    sed -e "s/#fff7b0/$2/" -e "s/#ffd21f/$3/" -e "s/#a87a00/$4/" \
        -e "s/stop-opacity=\"0.90\"/stop-opacity=\"$5\"/" \
        -e "s/fill-opacity=\"0.85\"/fill-opacity=\"$6\"/" \
        "$src/led.svg" >"$work/$1.svg"
    render "$work/$1.svg" 32 32 "$out/$1.png"
}
lamp led-yellow-on  '#fff7b0' '#ffd21f' '#a87a00' 0.90 0.85
lamp led-yellow-off '#8c7f4a' '#5a4f22' '#2a2410' 0.35 0.30
lamp led-red-on     '#ffb8ad' '#f2301b' '#8a0f04' 0.90 0.85
lamp led-red-off    '#7e4a44' '#4e221d' '#26100d' 0.35 0.30
lamp led-green-on   '#d0ffc4' '#38d42e' '#0d700a' 0.90 0.85
lamp led-green-off  '#4c6e48' '#254722' '#0f240d' 0.35 0.30

# Busy overlay: the disc behind the spinner.
render "$src/circle.svg" 120 120 "$out/circle.png"

# Busy spinner: twelve frames, each turned 30 degrees further. GIF knows only on/off
# transparency, so the faint edges and the fading tail are blended into the grey that the
# disc shows over the dimmed window, and a pixel is kept where the drawing covers it.
matte='#464849'
frames=()
for i in $(seq 0 11); do
    angle=$((i * 30))
    sed "s/rotate(0 32 32)\">/rotate($angle 32 32)\">/" "$src/spinner.svg" >"$work/spin.svg"
    # The same frame with every segment fully opaque gives the coverage mask.
    sed 's/ opacity="[0-9.]*"//' "$work/spin.svg" >"$work/mask.svg"
    render "$work/spin.svg" 64 64 "$work/spin.png"
    render "$work/mask.svg" 64 64 "$work/mask.png"
    frame="$work/frame-$(printf %02d "$i").png"
    "$convert" \( "$work/spin.png" -background "$matte" -flatten \) \
        \( "$work/mask.png" -alpha extract -threshold 40% \) \
        -alpha off -compose CopyOpacity -composite "$frame"
    frames+=("$frame")
done
# 8 centiseconds a frame: one turn in about a second; loop forever.
"$convert" -dispose previous -delay 8 "${frames[@]}" +dither -loop 0 "$out/loading.gif"

echo "images written to $out"
