#!/usr/bin/env bash
# Regenerates the character sprite sheets and the app icon.
#
#   scripts/render-sprites.sh            # SVG sources -> PNG sheets and icon
#   scripts/render-sprites.sh --preview  # also write previews over black to build/sprite-preview/
#
# Steps: scripts/make_sprites.py writes the SVG sources under
# resources/portraits/src/ (and resources/icons/pelliwig.svg); rsvg-convert
# (Debian package librsvg2-bin) renders each one to resources/portraits/<name>.png
# (1024 x 512: 4 x 2 cells of 256 x 256), resources/icons/pelliwig.png
# (256 x 256) and the tray heart resources/icons/pelliwig-tray-<size>.png at
# the sizes trays ask for. When installed, pngquant (a 256-colour palette; the flat-colour
# art does not change visibly) and optipng (lossless) shrink the PNGs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
src="$root/resources/portraits/src"
out="$root/resources/portraits"
icons="$root/resources/icons"

command -v rsvg-convert >/dev/null || {
    echo "render-sprites: rsvg-convert not found; install the Debian package librsvg2-bin" >&2
    exit 1
}

python3 "$root/scripts/make_sprites.py" "$src"

for svg in "$src"/*.svg; do
    name="$(basename "$svg" .svg)"
    rsvg-convert --width 1024 --height 512 --format png -o "$out/$name.png" "$svg"
done
rsvg-convert --width 256 --height 256 --format png -o "$icons/pelliwig.png" "$icons/pelliwig.svg"
for size in 16 22 24 32 48 64; do
    rsvg-convert --width $size --height $size --format png -o "$icons/pelliwig-tray-$size.png" \
        "$icons/pelliwig-tray.svg"
done

if command -v pngquant >/dev/null; then
    pngquant --quality 85-100 --speed 1 --force --ext .png "$out"/*.png "$icons"/*.png
fi
if command -v optipng >/dev/null; then
    optipng -quiet -o2 -strip all "$out"/*.png "$icons"/*.png
fi

if [ "${1:-}" = "--preview" ]; then
    # Each sheet over black at 2x, and at the on-screen size (cells of 112 px).
    prev="$root/build/sprite-preview"
    mkdir -p "$prev"
    for png in "$out"/*.png; do
        name="$(basename "$png" .png)"
        for scale in 2 0.4375; do
            w=$(awk "BEGIN{print int(1024*$scale)}")
            h=$(awk "BEGIN{print int(512*$scale)}")
            tag=$([ "$scale" = 2 ] && echo big || echo small)
            cat >"$prev/$name-$tag.svg" <<EOF
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="$w" height="$h">
<rect width="$w" height="$h" fill="#000"/>
<image xlink:href="data:image/png;base64,$(base64 -w0 "$png")" width="$w" height="$h"/>
<path d="M$((w/4)),0V$h M$((w/2)),0V$h M$((3*w/4)),0V$h M0,$((h/2))H$w" stroke="#333" stroke-width="1"/>
</svg>
EOF
            rsvg-convert --unlimited -o "$prev/$name-$tag.png" "$prev/$name-$tag.svg"
        done
    done
    echo "render-sprites: previews in $prev"
fi
echo "render-sprites: done"
