#!/usr/bin/env python3
"""Generate the character sprite sheets of Pelliwig as SVG.

Each sheet is 4 x 2 cells of 256 x 256 px (1024 x 512 in all), read row by
row: the mood sheets hold happy, smug, annoyed, pouty / sleepy, proud,
shocked, love; the pose sheets hold lookRight, lookLeft, lookDown, sleeping /
yawn, nails, bored, cold.

Every cell is composed from the same parts (hair, head, eyes, brows, mouth,
arms, props), so a mood differs from another only by the parameters in the
MOODS and POSES tables below. Two characters share the parts: Zuzi (young,
bob with a star clip, coral top) and Mom (bun, round glasses, bindi, saree).
Seasonal mood sheets add winter (beanie and scarf), valentine (hearts) and
diwali (festive top, jhumkas, bindi and a diya).

The character is drawn over a black box, so the whole figure gets a light
"sticker" outline (a dilated silhouette) that reads on black.

Usage: python3 scripts/make_sprites.py [output-dir]
(default: resources/portraits/src next to this script's parent folder).
Render the PNGs afterwards with scripts/render-sprites.sh.
"""

import math
import os
import sys

CELL = 256
COLS, ROWS = 4, 2

MOOD_ORDER = ["happy", "smug", "annoyed", "pouty", "sleepy", "proud", "shocked", "love"]
POSE_ORDER = ["lookRight", "lookLeft", "lookDown", "sleeping", "yawn", "nails", "bored", "cold"]

# ---------------------------------------------------------------- palette
OUTLINE = "#FFF3E2"      # light sticker outline, reads on black
LINE = "#3A2222"         # dark inner line work
SKIN = "#F8C9A4"
SKIN_SHADE = "#E3A57F"
BLUSH = "#FF7F86"
WHITE = "#FFFFFF"
IRIS = "#5A2F22"
IRIS_LIGHT = "#9A5B3C"
MOUTH = "#9E3346"
TONGUE = "#FF8A8F"
GOLD = "#FFC83D"
GOLD_DARK = "#D08A17"
HEART = "#FF4F73"
TEAR = "#8FD8FF"
SPARK = "#FFE37A"

CHARACTERS = {
    "zuzi": {
        "hair": "#6A3222", "hair_light": "#A2563A", "hair_style": "bob",
        "top": "#FF7A6B", "top_shade": "#E65A52", "trim": "#FFE1C2",
        "eye_rx": 14.5, "eye_ry": 17.5,
    },
    "mom": {
        "hair": "#3F2622", "hair_light": "#7A5045", "hair_style": "bun",
        "top": "#B8324F", "top_shade": "#93233D", "trim": GOLD,
        "pallu": "#FFA928", "pallu_shade": "#E88A12",
        "eye_rx": 12, "eye_ry": 14,
    },
}

# Seasonal changes of colour, per character ("wool": beanie and scarf).
SEASONS = {
    ("zuzi", None): {},
    ("zuzi", "winter"): {"top": "#5DA9E9", "top_shade": "#3F86C8", "trim": WHITE,
                         "wool": "#E8404B", "wool_shade": "#C52F3C"},
    ("zuzi", "valentine"): {"top": "#FF6FA3", "top_shade": "#E44F86", "trim": "#FFE1EC"},
    ("zuzi", "diwali"): {"top": "#D9267A", "top_shade": "#AD1C60", "trim": GOLD},
    ("mom", None): {},
    ("mom", "winter"): {"wool": "#23A892", "wool_shade": "#17806F"},
    ("mom", "valentine"): {"pallu": "#FF7FAE", "pallu_shade": "#E85B92"},
    ("mom", "diwali"): {"top": "#C0226A", "top_shade": "#951650", "pallu": "#FFC02E",
                        "pallu_shade": "#E8931A"},
}

# ---------------------------------------------------------------- faces
# Keys: eyes, look (iris offset), brows, mouth, blush, turn (feature shift
# for a head turn), tilt (head rotation, degrees), lift (head moves up/down),
# arms, props.
MOODS = {
    "happy":   dict(eyes="open", brows="up", mouth="grin", blush=0.8, arms="wave",
                    props=["sparkle_small"]),
    "smug":    dict(eyes="lidded", look=(0.7, 0), brows="smug", mouth="smirk", blush=0.4,
                    tilt=-6, arms="chin_think", turn=4),
    "annoyed": dict(eyes="glare", brows="angry", mouth="frown", blush=0.0,
                    props=["vein", "steam"]),
    "pouty":   dict(eyes="teary", look=(0, -0.4), brows="sad", mouth="pout", blush=1.0,
                    cheeks_puffed=True, tilt=5, props=["tear_drop"], arms="fingers", ahoge="droop"),
    "sleepy":  dict(eyes="droopy", brows="relaxed", mouth="o_small", blush=0.5, tilt=9,
                    lift=4, props=["z_small"], ahoge="droop"),
    "proud":   dict(eyes="happy", brows="up", mouth="grin_wide", blush=0.6, lift=-5, fdy=-3,
                    tilt=-4, arms="medal", props=["sparkles"]),
    "shocked": dict(eyes="wide", brows="high", mouth="o_big", blush=0.0, arms="cheeks", ahoge="spring",
                    props=["sweat", "shock_lines"]),
    "love":    dict(eyes="heart", brows="up", mouth="smile_open", blush=1.0, tilt=-5,
                    arms="clasp", props=["hearts"], ahoge="heart"),
}

POSES = {
    "lookRight": dict(eyes="open", look=(1.0, 0), brows="curious", mouth="smile", blush=0.5,
                      turn=12, tilt=-4),
    "lookLeft":  dict(eyes="open", look=(-1.0, 0), brows="curious", mouth="smile", blush=0.5,
                      turn=-12, tilt=4),
    "lookDown":  dict(eyes="open_down", look=(0, 1.0), brows="curious", mouth="o_small",
                      blush=0.5, lift=6, fdy=7),
    "sleeping":  dict(eyes="shut", brows="relaxed", mouth="sleep", blush=0.6, tilt=16,
                      lift=8, arms="pillow", props=["bubble"], ahoge="droop"),
    "yawn":      dict(eyes="squeeze", brows="sad", mouth="yawn", blush=0.4, lift=-3, tilt=-4,
                      arms="yawn", props=["tear_yawn"]),
    "nails":     dict(eyes="lidded", look=(0.9, 0.6), brows="smug", mouth="smirk_small",
                      blush=0.4, tilt=-3, turn=5, arms="nails", props=["nail_sparkle"]),
    "bored":     dict(eyes="bored", look=(-0.8, 0), brows="flat", mouth="flat", blush=0.2,
                      tilt=12, lift=2, arms="cheek_rest", props=["dots"], ahoge="droop"),
    "cold":      dict(eyes="haughty", brows="haughty", mouth="hmph", blush=0.5, turn=-30,
                      tilt=-10, lift=-3, fdy=-4, arms="crossed", body_turn=-1, props=["hmph"]),
}

# ---------------------------------------------------------------- helpers
_ids = [0]


def uid(prefix):
    _ids[0] += 1
    return f"{prefix}{_ids[0]}"


def f(v):
    """Format a number compactly."""
    s = f"{v:.1f}"
    return s[:-2] if s.endswith(".0") else s


def heart_path(cx, cy, s):
    """A heart centred on (cx, cy), about 2*s wide."""
    return (f"M{f(cx)},{f(cy + s * 0.95)} "
            f"C{f(cx - s * 0.2)},{f(cy + s * 0.75)} {f(cx - s * 1.05)},{f(cy + s * 0.25)} {f(cx - s * 1.0)},{f(cy - s * 0.3)} "
            f"C{f(cx - s * 0.95)},{f(cy - s * 0.95)} {f(cx - s * 0.2)},{f(cy - s * 1.0)} {f(cx)},{f(cy - s * 0.45)} "
            f"C{f(cx + s * 0.2)},{f(cy - s * 1.0)} {f(cx + s * 0.95)},{f(cy - s * 0.95)} {f(cx + s * 1.0)},{f(cy - s * 0.3)} "
            f"C{f(cx + s * 1.05)},{f(cy + s * 0.25)} {f(cx + s * 0.2)},{f(cy + s * 0.75)} {f(cx)},{f(cy + s * 0.95)} Z")


def heart(cx, cy, s, fill=HEART, stroke=LINE, sw=2.5, rot=0):
    tr = f' transform="rotate({rot} {f(cx)} {f(cy)})"' if rot else ""
    return (f'<path d="{heart_path(cx, cy, s)}" fill="{fill}" stroke="{stroke}" '
            f'stroke-width="{sw}" stroke-linejoin="round"{tr}/>'
            f'<ellipse cx="{f(cx - s * 0.5)}" cy="{f(cy - s * 0.35)}" rx="{f(s * 0.22)}" '
            f'ry="{f(s * 0.14)}" fill="#FFFFFF" opacity="0.7"{tr}/>')


def sparkle(cx, cy, r, fill=SPARK):
    k = r * 0.28
    d = (f"M{f(cx)},{f(cy - r)} Q{f(cx + k)},{f(cy - k)} {f(cx + r)},{f(cy)} "
         f"Q{f(cx + k)},{f(cy + k)} {f(cx)},{f(cy + r)} Q{f(cx - k)},{f(cy + k)} {f(cx - r)},{f(cy)} "
         f"Q{f(cx - k)},{f(cy - k)} {f(cx)},{f(cy - r)} Z")
    return f'<path d="{d}" fill="{fill}" stroke="{LINE}" stroke-width="1.8" stroke-linejoin="round"/>'


def star(cx, cy, r, fill=GOLD, rot=0):
    pts = []
    for i in range(10):
        a = math.radians(-90 + rot + i * 36)
        rr = r if i % 2 == 0 else r * 0.48
        pts.append(f"{f(cx + rr * math.cos(a))},{f(cy + rr * math.sin(a))}")
    return (f'<polygon points="{" ".join(pts)}" fill="{fill}" stroke="{LINE}" '
            f'stroke-width="2" stroke-linejoin="round"/>')


def marigold(cx, cy, r):
    """A marigold flower: two rings of orange petals and a darker heart."""
    out = []
    for ring, (rr, col) in enumerate(((r * 0.62, "#FF9A1F"), (r * 0.34, "#FFC23D"))):
        for i in range(10):
            a = math.radians(i * 36 + ring * 18)
            out.append(f'<circle cx="{f(cx + rr * math.cos(a))}" cy="{f(cy + rr * math.sin(a))}" r="{f(r * 0.38)}" '
                       f'fill="{col}" stroke="{LINE}" stroke-width="{1.6 if ring == 0 else 0}"/>')
    out.append(f'<circle cx="{f(cx)}" cy="{f(cy)}" r="{f(r * 0.22)}" fill="#D8661A"/>')
    return "".join(out)


def zee(x, y, s, sw=3.5):
    d = f"M{f(x)},{f(y)} L{f(x + s)},{f(y)} L{f(x)},{f(y + s)} L{f(x + s)},{f(y + s)}"
    return (f'<path d="{d}" fill="none" stroke="{LINE}" stroke-width="{f(sw + 3)}" stroke-linecap="round" stroke-linejoin="round"/>'
            f'<path d="{d}" fill="none" stroke="#BFE3FF" stroke-width="{f(sw)}" stroke-linecap="round" stroke-linejoin="round"/>')


def puff(cx, cy, s, fill="#FFFFFF"):
    """A small cloud of three circles (steam, sighs)."""
    return (f'<g fill="{fill}" stroke="{LINE}" stroke-width="2">'
            f'<circle cx="{f(cx - s * 0.6)}" cy="{f(cy + s * 0.1)}" r="{f(s * 0.55)}"/>'
            f'<circle cx="{f(cx + s * 0.6)}" cy="{f(cy + s * 0.1)}" r="{f(s * 0.55)}"/>'
            f'<circle cx="{f(cx)}" cy="{f(cy - s * 0.2)}" r="{f(s * 0.7)}"/></g>'
            f'<g fill="{fill}"><circle cx="{f(cx - s * 0.6)}" cy="{f(cy + s * 0.1)}" r="{f(s * 0.45)}"/>'
            f'<circle cx="{f(cx + s * 0.6)}" cy="{f(cy + s * 0.1)}" r="{f(s * 0.45)}"/></g>')


def drop(cx, cy, s, fill=TEAR, rot=0):
    d = (f"M{f(cx)},{f(cy - s)} C{f(cx + s * 0.3)},{f(cy - s * 0.4)} {f(cx + s * 0.7)},{f(cy)} "
         f"{f(cx + s * 0.7)},{f(cy + s * 0.35)} A{f(s * 0.7)},{f(s * 0.7)} 0 0 1 {f(cx - s * 0.7)},{f(cy + s * 0.35)} "
         f"C{f(cx - s * 0.7)},{f(cy)} {f(cx - s * 0.3)},{f(cy - s * 0.4)} {f(cx)},{f(cy - s)} Z")
    tr = f' transform="rotate({rot} {f(cx)} {f(cy)})"' if rot else ""
    return (f'<path d="{d}" fill="{fill}" stroke="{LINE}" stroke-width="2" stroke-linejoin="round"{tr}/>'
            f'<circle cx="{f(cx - s * 0.25)}" cy="{f(cy + s * 0.2)}" r="{f(s * 0.18)}" fill="#FFFFFF"{tr}/>')


def limb(d, color, width):
    """A sleeve or arm: a thick stroke with a dark edge. An arm that starts at
    the bottom of the cell is carried on below it, so no end cap shows."""
    x0, y0 = (float(v) for v in d[1:].split()[0].split(","))
    if y0 >= 250:
        d = f"M{f(x0)},{f(y0 + 40)} L{d[1:]}"
    return (f'<path d="{d}" fill="none" stroke="{LINE}" stroke-width="{f(width + 5)}" stroke-linecap="round" stroke-linejoin="round"/>'
            f'<path d="{d}" fill="none" stroke="{color}" stroke-width="{f(width)}" stroke-linecap="round" stroke-linejoin="round"/>')


def hand(x, y, rot=0, kind="fist", nails=None, s=1.0):
    """A small mitten hand at (x, y). kind: fist, open, flat, curl."""
    parts = []
    st = f'fill="{SKIN}" stroke="{LINE}" stroke-width="2.5" stroke-linejoin="round"'
    if kind == "open":
        # palm with four fingers up and a thumb to the side
        for i, dx in enumerate((-9, -3, 3, 9)):
            h = (15, 18, 17, 13)[i]
            parts.append(f'<rect x="{f(dx - 3.6)}" y="{f(-8 - h)}" width="7.2" height="{f(h + 8)}" rx="3.6" {st}/>')
        parts.append(f'<ellipse cx="-13" cy="2" rx="4" ry="8" transform="rotate(-35 -13 2)" {st}/>')
        parts.append(f'<ellipse cx="0" cy="2" rx="13" ry="12" {st}/>')
        parts.append(f'<ellipse cx="0" cy="-2" rx="11" ry="9" fill="{SKIN}"/>')
    elif kind == "curl":
        # back of a hand with curled fingers showing their nails (looking at nails)
        parts.append(f'<ellipse cx="0" cy="6" rx="14" ry="13" {st}/>')
        for i, dx in enumerate((-10, -3.5, 3.5, 10)):
            parts.append(f'<ellipse cx="{f(dx)}" cy="-6" rx="4.2" ry="7.5" {st}/>')
            if nails:
                parts.append(f'<ellipse cx="{f(dx)}" cy="-9.5" rx="2.6" ry="3.4" fill="{nails}" stroke="{LINE}" stroke-width="1.2"/>')
        parts.append(f'<ellipse cx="0" cy="4" rx="12" ry="9" fill="{SKIN}"/>')
    elif kind == "flat":
        # a flat palm seen from the side (pillow, covering the mouth)
        parts.append(f'<rect x="-17" y="-9" width="34" height="18" rx="9" {st}/>')
        parts.append(f'<path d="M-8,-3 L8,-3 M-8,3 L6,3" stroke="{SKIN_SHADE}" stroke-width="1.6" stroke-linecap="round"/>')
    else:  # fist
        parts.append(f'<ellipse cx="0" cy="0" rx="13" ry="12" {st}/>')
        parts.append(f'<path d="M-7,-4 Q-4,-7 -1,-4 M0,-4 Q3,-7 6,-4" fill="none" stroke="{SKIN_SHADE}" stroke-width="1.8" stroke-linecap="round"/>')
    return f'<g transform="translate({f(x)} {f(y)}) rotate({f(rot)}) scale({f(s)})">{"".join(parts)}</g>'


# ---------------------------------------------------------------- body
def body(c, face, season):
    top, shade, trim = c["top"], c["top_shade"], c["trim"]
    turn = face.get("body_turn", 0)
    out = []
    # torso: shoulders emerging from the bottom of the cell
    if turn:
        d = "M50,262 C52,218 80,194 120,192 C160,192 190,206 204,262 L206,300 L48,300 Z"
    else:
        d = "M46,262 C48,214 82,192 128,192 C174,192 208,214 210,262 L212,300 L44,300 Z"
    out.append(f'<path d="{d}" fill="{top}" stroke="{LINE}" stroke-width="3" stroke-linejoin="round"/>')
    # neck
    nx = 128 + face.get("turn", 0) * 0.3
    out.append(f'<path d="M{f(nx - 13)},168 L{f(nx - 14)},198 Q{f(nx)},210 {f(nx + 14)},198 L{f(nx + 13)},168 Z" '
               f'fill="{SKIN_SHADE}" stroke="{LINE}" stroke-width="2.5"/>')
    if c["hair_style"] == "bun":
        # saree blouse neckline with a gold border, pallu over the left shoulder
        out.append(f'<path d="M{f(nx - 24)},196 Q{f(nx)},222 {f(nx + 24)},196" fill="none" stroke="{trim}" stroke-width="5"/>')
        out.append(f'<path d="M{f(nx - 24)},196 Q{f(nx)},222 {f(nx + 24)},196" fill="none" stroke="{LINE}" stroke-width="1.5"/>')
        pallu = c["pallu"]
        out.append(f'<path d="M148,194 C170,196 192,206 200,222 L210,262 L212,300 L150,300 L150,262 C156,240 150,212 140,200 Z" '
                   f'fill="{pallu}" stroke="{LINE}" stroke-width="2.5" stroke-linejoin="round"/>')
        out.append(f'<path d="M140,200 C150,212 156,240 150,262 L150,300" fill="none" stroke="{GOLD_DARK}" stroke-width="5"/>')
        out.append(f'<path d="M146,224 l4,4 M150,240 l4,4 M174,214 l4,4 M182,236 l4,4 M168,250 l4,4" '
                   f'stroke="{c["pallu_shade"]}" stroke-width="4" stroke-linecap="round"/>')
    else:
        out.append(f'<path d="M{f(nx - 22)},195 Q{f(nx)},218 {f(nx + 22)},195" fill="{trim}" stroke="{LINE}" stroke-width="2.5"/>')
        out.append(f'<path d="M{f(nx - 15)},197 Q{f(nx)},210 {f(nx + 15)},197 Z" fill="{SKIN_SHADE}"/>')
    # a little shading line for the shoulders
    out.append(f'<path d="M72,238 Q78,222 90,214" fill="none" stroke="{shade}" stroke-width="4" stroke-linecap="round"/>')
    return "".join(out)


def season_body(c, season):
    out = []
    if season == "valentine":
        out.append(heart(104, 226, 9, fill="#FFFFFF", sw=2))
    if season == "diwali":
        # gold dots on the festive top
        for x, y in ((82, 232), (104, 246), (152, 246), (174, 232), (128, 250)):
            out.append(f'<circle cx="{x}" cy="{y}" r="3.2" fill="{GOLD}" stroke="{LINE}" stroke-width="1"/>')
    return "".join(out)


def scarf(c):
    red, stripe = c["wool"], "#FFFFFF"
    return (f'<path d="M86,190 Q128,214 170,190 L174,206 Q128,232 82,206 Z" fill="{red}" stroke="{LINE}" stroke-width="2.5" stroke-linejoin="round"/>'
            f'<path d="M150,210 L158,252 L178,248 L166,204 Z" fill="{red}" stroke="{LINE}" stroke-width="2.5" stroke-linejoin="round"/>'
            f'<path d="M153,224 L170,221 M156,238 L174,235" stroke="{stripe}" stroke-width="5"/>'
            f'<path d="M100,202 L104,214 M120,208 L121,220 M140,207 L138,219" stroke="{stripe}" stroke-width="4"/>'
            f'<path d="M158,252 l-1,6 M164,251 l0,6 M170,250 l1,6" stroke="{red}" stroke-width="3" stroke-linecap="round"/>')


# ---------------------------------------------------------------- hair
def back_hair(c, face):
    h = c["hair"]
    if c["hair_style"] == "bob":
        d = ("M54,126 C44,66 84,36 128,36 C172,36 212,66 202,126 "
             "C204,156 210,176 214,196 C204,206 188,206 180,198 L76,198 "
             "C68,206 52,206 42,196 C46,176 52,156 54,126 Z")
        strands = ("M62,150 Q60,176 58,194 M74,160 Q74,180 72,196 "
                   "M194,150 Q196,176 198,194 M182,160 Q182,180 184,196")
        return (f'<path d="{d}" fill="{h}" stroke="{LINE}" stroke-width="3" stroke-linejoin="round"/>'
                f'<path d="{strands}" fill="none" stroke="#4A2016" stroke-width="2.5" stroke-linecap="round"/>')
    # mom: a round bun at the back of the head
    return (f'<circle cx="128" cy="40" r="25" fill="{h}" stroke="{LINE}" stroke-width="3"/>'
            f'<path d="M110,34 Q128,22 146,34 M108,46 Q128,34 148,46" fill="none" stroke="{c["hair_light"]}" stroke-width="3" stroke-linecap="round"/>'
            f'<path d="M60,126 C52,80 84,52 128,52 C172,52 204,80 196,126 L194,160 L62,160 Z" fill="{h}" stroke="{LINE}" stroke-width="3" stroke-linejoin="round"/>')


AHOGE = {
    # a single springy strand on top of Zuzi's head that shares her mood
    "curl": "M128,52 C122,30 134,16 148,22 C156,26 152,36 144,34",
    "droop": "M126,52 C124,26 150,18 162,30 C168,36 168,44 164,48",
    "spring": "M128,52 L120,40 L136,32 L122,24 L132,14",
    "heart": "M128,52 C126,40 110,34 112,22 C114,12 126,12 128,22 C130,12 142,12 144,22 C146,34 130,40 128,52",
}


def ahoge(c, face, season):
    if c["hair_style"] != "bob" or season == "winter":
        return ""
    d = AHOGE[face.get("ahoge", "curl")]
    return (f'<path d="{d}" fill="none" stroke="{LINE}" stroke-width="11" stroke-linecap="round" stroke-linejoin="round"/>'
            f'<path d="{d}" fill="none" stroke="{c["hair"]}" stroke-width="5.5" stroke-linecap="round" stroke-linejoin="round"/>')


def front_hair(c, face):
    h, hl = c["hair"], c["hair_light"]
    t = face.get("turn", 0) * 0.45
    if c["hair_style"] == "bob":
        d = (f"M56,132 C50,72 88,44 128,44 C168,44 206,72 200,132 "
             f"C196,116 190,104 182,96 "
             f"C176,100 164,102 {f(150 + t)},100 "
             f"C{f(154 + t)},100 {f(152 + t)},92 {f(146 + t)},86 "
             f"C{f(136 + t)},96 {f(116 + t)},102 {f(96 + t)},100 "
             f"C{f(100 + t)},100 {f(100 + t)},94 {f(98 + t)},90 "
             f"C88,98 76,106 66,110 C62,118 58,126 56,132 Z")
        out = [f'<path d="{d}" fill="{h}" stroke="{LINE}" stroke-width="3" stroke-linejoin="round"/>',
               f'<path d="M84,66 Q110,52 140,54" fill="none" stroke="{hl}" stroke-width="6" stroke-linecap="round"/>',
               f'<path d="M152,58 Q162,62 170,68" fill="none" stroke="{hl}" stroke-width="5" stroke-linecap="round"/>']
        if face.get("turn", 0) <= -20:
            # head turned away: the side of her hair swings over the near cheek
            out.append(f'<path d="M198,104 C204,140 200,172 190,198 C176,186 168,160 170,128 C172,112 180,100 198,104 Z" '
                       f'fill="{h}" stroke="{LINE}" stroke-width="3" stroke-linejoin="round"/>'
                       f'<path d="M186,120 Q190,156 184,184" fill="none" stroke="#4A2016" stroke-width="2.5" stroke-linecap="round"/>')
        return "".join(out)
    # mom: middle parting, hair swept back, a grey streak
    pt = 128 + t
    d = (f"M60,130 C54,76 90,50 {f(pt)},54 C166,50 202,76 196,130 "
         f"C190,104 170,82 {f(pt + 2)},78 C{f(pt - 2)},78 88,86 60,130 Z")
    return (f'<path d="{d}" fill="{h}" stroke="{LINE}" stroke-width="3" stroke-linejoin="round"/>'
            f'<path d="M{f(pt)},56 L{f(pt + 1)},77" stroke="{LINE}" stroke-width="2"/>'
            f'<path d="M{f(pt + 8)},60 C160,62 180,76 188,100" fill="none" stroke="#D9D2CF" stroke-width="6" stroke-linecap="round"/>'
            f'<path d="M{f(pt - 12)},60 C96,64 80,76 72,96" fill="none" stroke="{hl}" stroke-width="5" stroke-linecap="round"/>')


def hair_accessory(c, face, season):
    t = face.get("turn", 0) * 0.45
    out = []
    if season == "winter":
        # beanie with a folded band and a pompom
        out.append(f'<path d="M58,92 C54,48 90,26 128,26 C166,26 202,48 198,92 Z" fill="{c["wool"]}" stroke="{LINE}" stroke-width="3" stroke-linejoin="round"/>')
        out.append(f'<path d="M100,36 Q94,62 96,86 M128,28 L128,86 M156,36 Q162,62 160,86" fill="none" stroke="{c["wool_shade"]}" stroke-width="3"/>')
        out.append(f'<rect x="52" y="76" width="152" height="22" rx="11" fill="#FFFFFF" stroke="{LINE}" stroke-width="3"/>')
        out.append(f'<path d="M68,80 L68,94 M84,80 L84,94 M100,80 L100,94 M116,80 L116,94 M132,80 L132,94 M148,80 L148,94 M164,80 L164,94 M180,80 L180,94" stroke="#E3E8EE" stroke-width="3"/>')
        out.append(f'<circle cx="128" cy="22" r="14" fill="#FFFFFF" stroke="{LINE}" stroke-width="3"/>')
        out.append(f'<circle cx="123" cy="17" r="5" fill="#EEF3F8"/>')
        return "".join(out)
    if c["hair_style"] == "bob":
        if season == "valentine":
            out.append(heart(176, 80, 12))
        elif season == "diwali":
            out.append(marigold(178, 80, 13))
        else:
            out.append(star(178, 80, 13, rot=12))
    else:
        if season == "valentine":
            out.append(heart(166, 42, 10))
        else:
            # a small flower (gajra) at the bun
            for a in range(0, 360, 72):
                x = 160 + 7 * math.cos(math.radians(a))
                y = 46 + 7 * math.sin(math.radians(a))
                out.append(f'<circle cx="{f(x)}" cy="{f(y)}" r="5" fill="#FFFFFF" stroke="{LINE}" stroke-width="1.5"/>')
            out.append(f'<circle cx="160" cy="46" r="3.5" fill="{GOLD}"/>')
    return "".join(out)


# ---------------------------------------------------------------- face
def eye(x, y, kind, c, look=(0, 0), side=1, squash=1.0):
    """One eye centred on (x, y); side is -1 for her right (viewer's left)."""
    rx, ry = c["eye_rx"] * squash, c["eye_ry"]
    out = []
    lx, ly = look
    if kind in ("open", "open_down", "teary", "lidded", "glare", "droopy", "bored", "wide"):
        cid = uid("e")
        out.append(f'<clipPath id="{cid}"><ellipse cx="{f(x)}" cy="{f(y)}" rx="{f(rx)}" ry="{f(ry)}"/></clipPath>')
        ir = rx * (0.55 if kind == "wide" else 0.82)
        ix, iy = x + lx * rx * 0.62, y + ly * ry * 0.38 + (1 if kind != "wide" else 0)
        g = [f'<ellipse cx="{f(x)}" cy="{f(y)}" rx="{f(rx)}" ry="{f(ry)}" fill="{WHITE}"/>',
             f'<circle cx="{f(ix)}" cy="{f(iy)}" r="{f(ir)}" fill="{IRIS}"/>',
             f'<circle cx="{f(ix)}" cy="{f(iy + ir * 0.35)}" r="{f(ir * 0.55)}" fill="{IRIS_LIGHT}" opacity="0.8"/>',
             f'<circle cx="{f(ix)}" cy="{f(iy)}" r="{f(ir * 0.42)}" fill="#1E0F0B"/>']
        if kind == "wide":
            g.append(f'<circle cx="{f(ix - ir * 0.3)}" cy="{f(iy - ir * 0.3)}" r="{f(ir * 0.3)}" fill="#FFFFFF"/>')
        else:
            g.append(f'<circle cx="{f(ix - ir * 0.38)}" cy="{f(iy - ir * 0.4)}" r="{f(ir * 0.36)}" fill="#FFFFFF"/>')
            g.append(f'<circle cx="{f(ix + ir * 0.42)}" cy="{f(iy + ir * 0.42)}" r="{f(ir * 0.16)}" fill="#FFFFFF"/>')
        # eyelids cover part of the eye for the sleepy and sly looks
        lid = {"lidded": 0.45, "glare": 0.38, "droopy": 0.62, "bored": 0.55, "open_down": 0.22}.get(kind, 0)
        if lid:
            ly0 = y - ry + 2 * ry * lid
            if kind == "glare":
                # slanted lid: lower towards the nose
                inner = ly0 + 6
                outer = ly0 - 5
                xi, xo = x - side * rx * 1.3, x + side * rx * 1.3
                below = f"M{f(xi)},{f(inner)} L{f(xo)},{f(outer)} L{f(xo)},{f(y + ry + 4)} L{f(xi)},{f(y + ry + 4)} Z"
                lidline = f'<path d="M{f(x - side * rx * 1.05)},{f(inner - 0.5)} L{f(x + side * rx * 1.1)},{f(outer - 1.2)}" stroke="{LINE}" stroke-width="4.5" stroke-linecap="round"/>'
            else:
                below = f"M{f(x - rx - 4)},{f(ly0)} L{f(x + rx + 4)},{f(ly0)} L{f(x + rx + 4)},{f(y + ry + 4)} L{f(x - rx - 4)},{f(y + ry + 4)} Z"
                lidline = f'<path d="M{f(x - rx - 1)},{f(ly0)} Q{f(x)},{f(ly0 - 2)} {f(x + rx + 1)},{f(ly0)}" fill="none" stroke="{LINE}" stroke-width="4.5" stroke-linecap="round"/>'
        rim = f'<ellipse cx="{f(x)}" cy="{f(y)}" rx="{f(rx)}" ry="{f(ry)}" fill="none" stroke="{LINE}" stroke-width="2.2"/>'
        eyeball = f'<g clip-path="url(#{cid})">{"".join(g)}</g>'
        if lid:
            # only the part below the lid shows
            kid = uid("k")
            out.append(f'<clipPath id="{kid}"><path d="{below}"/></clipPath>')
            eyeball = f'<g clip-path="url(#{kid})">{eyeball}{rim}</g>'
            rim = ""
        out.append(eyeball + rim)
        if lid:
            out.append(lidline)
        else:
            # upper lash line with a small flick at the outer corner
            out.append(f'<path d="M{f(x - rx - 1)},{f(y - ry * 0.35)} Q{f(x - rx * 0.6)},{f(y - ry - 2)} {f(x)},{f(y - ry - 1)} '
                       f'Q{f(x + rx * 0.7)},{f(y - ry - 1)} {f(x + rx + 1)},{f(y - ry * 0.35)}" fill="none" stroke="{LINE}" stroke-width="4.5" stroke-linecap="round"/>')
        flick_y = (y - ry + 2 * ry * lid) if lid else y - ry * 0.45
        out.append(f'<path d="M{f(x + side * (rx - 1))},{f(flick_y + 1)} l{f(side * 6)},-5" stroke="{LINE}" stroke-width="3.5" stroke-linecap="round"/>')
        if kind == "teary":
            out.append(f'<path d="M{f(x - rx + 2)},{f(y + ry * 0.55)} Q{f(x)},{f(y + ry + 3)} {f(x + rx - 2)},{f(y + ry * 0.55)}" '
                       f'fill="{TEAR}" opacity="0.85" stroke="{LINE}" stroke-width="1.5"/>')
            out.append(f'<circle cx="{f(x + rx * 0.35)}" cy="{f(y - ry * 0.1)}" r="2.6" fill="#FFFFFF"/>')
        return "".join(out)
    if kind == "happy":
        # closed, smiling eyes: an upward arc
        return f'<path d="M{f(x - rx)},{f(y + 4)} Q{f(x)},{f(y - ry - 2)} {f(x + rx)},{f(y + 4)}" fill="none" stroke="{LINE}" stroke-width="5" stroke-linecap="round"/>'
    if kind == "shut":
        # sleeping: a downward arc with lashes
        return (f'<path d="M{f(x - rx)},{f(y)} Q{f(x)},{f(y + ry * 0.8)} {f(x + rx)},{f(y)}" fill="none" stroke="{LINE}" stroke-width="4.5" stroke-linecap="round"/>'
                f'<path d="M{f(x + side * rx * 0.7)},{f(y + ry * 0.3)} l{f(side * 4)},5 M{f(x + side * rx * 0.1)},{f(y + ry * 0.42)} l{f(side * 1.5)},6" stroke="{LINE}" stroke-width="2.5" stroke-linecap="round"/>')
    if kind == "squeeze":
        # squeezed shut: > <
        return (f'<path d="M{f(x - side * rx)},{f(y - 8)} L{f(x + side * rx * 0.7)},{f(y)} L{f(x - side * rx)},{f(y + 8)}" '
                f'fill="none" stroke="{LINE}" stroke-width="4.5" stroke-linecap="round" stroke-linejoin="round"/>')
    if kind == "haughty":
        # shut with the nose in the air: a flat lid line with long lashes
        return (f'<path d="M{f(x - rx)},{f(y)} Q{f(x)},{f(y + 5)} {f(x + rx)},{f(y - 1)}" fill="none" stroke="{LINE}" stroke-width="4.5" stroke-linecap="round"/>'
                f'<path d="M{f(x + side * rx)},{f(y - 1)} l{f(side * 6)},-4 M{f(x + side * rx * 0.4)},{f(y + 2)} l{f(side * 4)},5" stroke="{LINE}" stroke-width="2.5" stroke-linecap="round"/>')
    if kind == "heart":
        return heart(x, y + 1, rx * 1.15, sw=2.5)
    return ""


def brows(face, c, ex, ey, dx):
    kind = face.get("brows", "normal")
    col = "#3A1E18"  # darker than the hair: brows are drawn over the fringe
    y = ey - c["eye_ry"] - 8
    out = []
    for side, x in ((-1, 128 - ex + dx), (1, 128 + ex + dx)):
        # (inner dy, outer dy, lift)
        shapes = {
            "normal": (0, 0, 0), "up": (-3, 0, -1), "curious": (-2, 1, -2), "relaxed": (2, 2, 2),
            "angry": (8, -5, 2), "sad": (-7, 3, 0), "high": (-4, -1, -9), "flat": (1, 1, 3),
            "smug": ((6, -1, 0) if side < 0 else (-2, -5, -5)), "haughty": (0, -3, -2),
        }
        di, do, lift = shapes.get(kind, (0, 0, 0))
        xi, xo = x - side * 10, x + side * 11
        yi, yo = y + di + lift, y + do + lift
        d = f"M{f(xi)},{f(yi)} Q{f(x)},{f(min(yi, yo) - 4)} {f(xo)},{f(yo)}"
        out.append(f'<path d="{d}" fill="none" stroke="{col}" stroke-width="5" stroke-linecap="round"/>')
    return "".join(out)


def mouth(kind, x, y):
    st = f'stroke="{LINE}" stroke-linejoin="round" stroke-linecap="round"'
    if kind == "grin":
        return (f'<path d="M{f(x - 13)},{f(y - 3)} Q{f(x)},{f(y - 1)} {f(x + 13)},{f(y - 3)} Q{f(x + 10)},{f(y + 13)} {f(x)},{f(y + 13)} '
                f'Q{f(x - 10)},{f(y + 13)} {f(x - 13)},{f(y - 3)} Z" fill="{MOUTH}" {st} stroke-width="2.6"/>'
                f'<path d="M{f(x - 6)},{f(y + 10)} Q{f(x)},{f(y + 4)} {f(x + 6)},{f(y + 10)} Q{f(x)},{f(y + 13)} {f(x - 6)},{f(y + 10)} Z" fill="{TONGUE}"/>')
    if kind == "grin_wide":
        return (f'<path d="M{f(x - 17)},{f(y - 4)} Q{f(x)},{f(y - 1)} {f(x + 17)},{f(y - 4)} Q{f(x + 13)},{f(y + 14)} {f(x)},{f(y + 14)} '
                f'Q{f(x - 13)},{f(y + 14)} {f(x - 17)},{f(y - 4)} Z" fill="{MOUTH}" {st} stroke-width="2.6"/>'
                f'<path d="M{f(x - 14)},{f(y - 2)} Q{f(x)},{f(y + 1)} {f(x + 14)},{f(y - 2)} L{f(x + 12)},{f(y + 3)} Q{f(x)},{f(y + 5)} {f(x - 12)},{f(y + 3)} Z" fill="#FFFFFF"/>'
                f'<path d="M{f(x - 7)},{f(y + 11)} Q{f(x)},{f(y + 6)} {f(x + 7)},{f(y + 11)} Q{f(x)},{f(y + 14)} {f(x - 7)},{f(y + 11)} Z" fill="{TONGUE}"/>')
    if kind == "smile_open":
        return (f'<path d="M{f(x - 10)},{f(y - 2)} Q{f(x)},{f(y)} {f(x + 10)},{f(y - 2)} Q{f(x + 7)},{f(y + 9)} {f(x)},{f(y + 9)} '
                f'Q{f(x - 7)},{f(y + 9)} {f(x - 10)},{f(y - 2)} Z" fill="{MOUTH}" {st} stroke-width="2.6"/>'
                f'<path d="M{f(x - 5)},{f(y + 7)} Q{f(x)},{f(y + 3)} {f(x + 5)},{f(y + 7)} Q{f(x)},{f(y + 9)} {f(x - 5)},{f(y + 7)} Z" fill="{TONGUE}"/>')
    if kind == "smile":
        return f'<path d="M{f(x - 9)},{f(y)} Q{f(x)},{f(y + 9)} {f(x + 9)},{f(y)}" fill="none" {st} stroke-width="3.2"/>'
    if kind == "smirk":
        return (f'<path d="M{f(x - 10)},{f(y + 3)} Q{f(x + 2)},{f(y + 7)} {f(x + 12)},{f(y - 4)}" fill="none" {st} stroke-width="3.4"/>'
                f'<path d="M{f(x + 10)},{f(y - 6)} l4,3" {st} stroke-width="2.4"/>')
    if kind == "smirk_small":
        return f'<path d="M{f(x - 7)},{f(y + 2)} Q{f(x + 2)},{f(y + 5)} {f(x + 9)},{f(y - 3)}" fill="none" {st} stroke-width="3.2"/>'
    if kind == "frown":
        return (f'<path d="M{f(x - 11)},{f(y + 6)} Q{f(x)},{f(y - 4)} {f(x + 11)},{f(y + 6)}" fill="none" {st} stroke-width="3.4"/>')
    if kind == "pout":
        # pushed-out lips, a little "3"
        return (f'<path d="M{f(x - 6)},{f(y - 4)} Q{f(x + 3)},{f(y - 6)} {f(x + 2)},{f(y)} Q{f(x + 3)},{f(y + 6)} {f(x - 6)},{f(y + 4)}" '
                f'fill="none" {st} stroke-width="3.4"/>')
    if kind == "o_small":
        return f'<ellipse cx="{f(x)}" cy="{f(y + 2)}" rx="4.5" ry="5.5" fill="{MOUTH}" {st} stroke-width="2.6"/>'
    if kind == "o_big":
        return (f'<ellipse cx="{f(x)}" cy="{f(y + 5)}" rx="10" ry="14" fill="{MOUTH}" {st} stroke-width="2.6"/>'
                f'<ellipse cx="{f(x)}" cy="{f(y + 13)}" rx="6" ry="4" fill="{TONGUE}"/>')
    if kind == "sleep":
        return f'<ellipse cx="{f(x + 2)}" cy="{f(y + 3)}" rx="5" ry="3.5" fill="{MOUTH}" {st} stroke-width="2.6"/>'
    if kind == "yawn":
        return (f'<ellipse cx="{f(x)}" cy="{f(y + 6)}" rx="14" ry="18" fill="{MOUTH}" {st} stroke-width="2.6"/>'
                f'<ellipse cx="{f(x)}" cy="{f(y + 16)}" rx="9" ry="6" fill="{TONGUE}"/>')
    if kind == "flat":
        return f'<path d="M{f(x - 9)},{f(y + 3)} L{f(x + 9)},{f(y + 2)}" {st} stroke-width="3.4"/>'
    if kind == "hmph":
        return f'<path d="M{f(x - 8)},{f(y + 4)} Q{f(x - 2)},{f(y - 2)} {f(x + 5)},{f(y + 3)}" fill="none" {st} stroke-width="3.2"/>'
    return ""


def head(c, face, season):
    """Ears, face, cheeks, eyes, brows, nose and mouth (turned and tilted)."""
    dx = face.get("turn", 0)
    out = []
    # ears
    if c["hair_style"] == "bun" or season != "winter":
        if dx > -14:
            out.append(f'<ellipse cx="62" cy="136" rx="9" ry="12" fill="{SKIN}" stroke="{LINE}" stroke-width="2.5"/>')
        if dx < 14:
            out.append(f'<ellipse cx="194" cy="136" rx="9" ry="12" fill="{SKIN}" stroke="{LINE}" stroke-width="2.5"/>')
    # face: a soft rounded shape, fuller at the cheeks
    puff = 4 if face.get("cheeks_puffed") else 0
    d = (f"M{f(128 + dx * 0.2)},190 C{f(96 - puff)},190 {f(62 - puff)},168 62,128 C62,86 92,66 128,66 "
         f"C164,66 194,86 194,128 C{f(194 + puff)},168 {f(160 + puff)},190 {f(128 + dx * 0.2)},190 Z")
    out.append(f'<path d="{d}" fill="{SKIN}" stroke="{LINE}" stroke-width="3"/>')
    # the features move together: down when she looks down, up with her chin up
    out.append(f'<g transform="translate(0 {face.get("fdy", 0)})">')
    # eyes
    ex = 28
    ey = 134
    look = face.get("look", (0, 0))
    squash_far = 0.78 if abs(dx) > 14 else 1.0
    le = eye(128 - ex + dx, ey, face["eyes"], c, look, side=-1, squash=(squash_far if dx < 0 else 1))
    re = eye(128 + ex + dx, ey, face["eyes"], c, look, side=1, squash=(squash_far if dx > 0 else 1))
    # blush under the eyes
    b = face.get("blush", 0.5)
    if b:
        cheeks = [min(max(x, 80), 176) for x in (128 - 42 + dx * 0.8, 128 + 42 + dx * 0.8)]
        for x in cheeks:
            out.append(f'<ellipse cx="{f(x)}" cy="162" rx="{12 + puff}" ry="{6 + puff * 0.5}" fill="{BLUSH}" opacity="{f(0.35 + 0.45 * b)}"/>')
        if b >= 0.9:
            for x in cheeks:
                out.append(f'<path d="M{f(x - 6)},164 l3,-5 M{f(x)},164 l3,-5 M{f(x + 6)},164 l3,-5" stroke="#E0545E" stroke-width="1.6" stroke-linecap="round"/>')
    out.append(le + re)
    # nose
    nx = 128 + dx * 1.15
    if abs(dx) > 14:
        # turned away: a little nose bump towards the side she faces
        sd = 1 if dx > 0 else -1
        out.append(f'<path d="M{f(nx)},148 l{f(sd * 6)},8 l{f(-sd * 6)},2" fill="{SKIN}" stroke="{LINE}" stroke-width="2.2" stroke-linejoin="round" stroke-linecap="round"/>')
    else:
        out.append(f'<path d="M{f(nx - 1)},154 q{f(3 if dx >= 0 else -3)},3 0,5" fill="none" stroke="{SKIN_SHADE}" stroke-width="2.6" stroke-linecap="round"/>')
    # mouth
    out.append(mouth(face.get("mouth", "smile"), 128 + dx * 1.1, 170))
    # mom: smile lines, bindi, glasses
    if season == "diwali" and c["hair_style"] == "bob":
        out.append(f'<circle cx="{f(128 + dx)}" cy="108" r="4.5" fill="#E01E48" stroke="{GOLD}" stroke-width="1.6"/>')
    if c["hair_style"] == "bun":
        out.append(f'<path d="M{f(102 + dx)},163 q-3,6 0,11 M{f(154 + dx)},163 q3,6 0,11" fill="none" stroke="{SKIN_SHADE}" stroke-width="2" stroke-linecap="round"/>')
        out.append(f'<circle cx="{f(128 + dx)}" cy="108" r="4" fill="#D81F32" stroke="{LINE}" stroke-width="1"/>')
        gl = 2.6
        for side in (-1, 1):
            gx = 128 + side * ex + dx
            rxg = 18 * (squash_far if (side < 0 and dx < 0) or (side > 0 and dx > 0) else 1)
            out.append(f'<ellipse cx="{f(gx)}" cy="{ey + 1}" rx="{f(rxg)}" ry="17" fill="#FFFFFF" fill-opacity="0.10" stroke="{GOLD_DARK}" stroke-width="{gl + 1}"/>')
            out.append(f'<path d="M{f(gx - rxg * 0.55)},{ey - 8} l6,-5" stroke="#FFFFFF" stroke-width="2.2" stroke-linecap="round" opacity="0.8"/>')
        out.append(f'<path d="M{f(128 - ex + 18 + dx)},{ey - 2} Q{f(128 + dx)},{ey - 8} {f(128 + ex - 18 + dx)},{ey - 2}" fill="none" stroke="{GOLD_DARK}" stroke-width="3"/>')
        out.append(f'<path d="M{f(128 - ex - 18 + dx)},{ey - 2} L64,{ey - 6} M{f(128 + ex + 18 + dx)},{ey - 2} L192,{ey - 6}" stroke="{GOLD_DARK}" stroke-width="3"/>')
    out.append('</g>')
    return "".join(out)


def face_overlay(c, face):
    """Brows and small wet things, drawn over the fringe so they always show."""
    dx = face.get("turn", 0)
    out = [f'<g transform="translate(0 {face.get("fdy", 0)})">', brows(face, c, 28, 134, dx)]
    for p in face.get("props", []):
        if p == "tear_drop":
            out.append(drop(84 + dx, 170, 7))
        elif p == "tear_yawn":
            out.append(drop(80, 150, 6))
        elif p == "bubble":
            out.append(f'<circle cx="150" cy="170" r="11" fill="#BFE3FF" fill-opacity="0.8" stroke="{LINE}" stroke-width="2"/>'
                       f'<circle cx="146" cy="166" r="3" fill="#FFFFFF"/>')
    out.append('</g>')
    return "".join(out)


def earrings(c, face, season):
    dx = face.get("turn", 0)
    out = []
    festive = season == "diwali"
    for x, show in ((62, dx > -14), (194, dx < 14)):
        if not show or (season == "winter" and c["hair_style"] == "bob"):
            continue
        if festive:
            # jhumka: a little gold bell
            out.append(f'<circle cx="{x}" cy="150" r="3.5" fill="{GOLD}" stroke="{LINE}" stroke-width="1.5"/>'
                       f'<path d="M{x - 9},168 Q{x - 8},154 {x},153 Q{x + 8},154 {x + 9},168 Z" fill="{GOLD}" stroke="{LINE}" stroke-width="2"/>'
                       f'<circle cx="{x - 5}" cy="171" r="2" fill="{GOLD_DARK}"/><circle cx="{x}" cy="172" r="2" fill="{GOLD_DARK}"/><circle cx="{x + 5}" cy="171" r="2" fill="{GOLD_DARK}"/>')
        elif season == "valentine":
            out.append(heart(x, 156, 5, sw=1.6))
        elif c["hair_style"] == "bun":
            out.append(f'<circle cx="{x}" cy="152" r="4.5" fill="{GOLD}" stroke="{LINE}" stroke-width="1.6"/>')
    return "".join(out)


# ---------------------------------------------------------------- arms
def arms(c, face, season, layer):
    """layer 'low' is drawn before the head, 'high' after it."""
    kind = face.get("arms", "none")
    top = c["top_shade"]  # sleeves a shade darker than the top, so arms read
    nails = "#FF5C8A" if c["hair_style"] == "bob" else "#D81F32"
    out = []
    if layer == "low":
        if kind == "crossed":
            out.append(limb("M56,246 Q92,240 150,216", top, 26))
            out.append(limb("M200,246 Q162,242 104,220", top, 26))
            out.append(hand(152, 214, -30, "fist"))
            out.append(hand(102, 220, 30, "fist"))
            out.append(limb("M60,248 Q98,240 138,228", top, 24))
        elif kind == "medal":
            out.append(f'<path d="M110,196 L126,214 M146,196 L130,214" stroke="{LINE}" stroke-width="9" stroke-linecap="round"/>'
                       f'<path d="M110,196 L126,214" stroke="#4FA3FF" stroke-width="6" stroke-linecap="round"/>'
                       f'<path d="M146,196 L130,214" stroke="#FF5C6C" stroke-width="6" stroke-linecap="round"/>')
            out.append(f'<circle cx="128" cy="222" r="15" fill="{GOLD}" stroke="{LINE}" stroke-width="2.5"/>')
            out.append(star(128, 222, 9, fill="#FFE38A"))
        elif kind == "fingers":
            # two index fingers poking together in front of the chest
            out.append(limb("M84,256 Q88,236 112,222", top, 22))
            out.append(limb("M172,256 Q168,236 144,222", top, 22))
            out.append(hand(114, 218, 20, "fist", s=0.9))
            out.append(hand(142, 218, -20, "fist", s=0.9))
            out.append(f'<rect x="117" y="206" width="8" height="15" rx="4" fill="{SKIN}" stroke="{LINE}" stroke-width="2" transform="rotate(28 121 213)"/>')
            out.append(f'<rect x="131" y="206" width="8" height="15" rx="4" fill="{SKIN}" stroke="{LINE}" stroke-width="2" transform="rotate(-28 135 213)"/>')
        elif kind == "pillow":
            # a soft pillow she leans on
            out.append(f'<g transform="rotate(-14 186 214)"><rect x="136" y="180" width="112" height="64" rx="26" '
                       f'fill="#CFC4FF" stroke="{LINE}" stroke-width="3"/>'
                       f'<path d="M150,230 Q192,222 236,230" fill="none" stroke="#AFA2EE" stroke-width="4" stroke-linecap="round"/>'
                       f'<path d="M150,192 Q192,200 236,192" fill="none" stroke="#E6E0FF" stroke-width="4" stroke-linecap="round"/></g>')
        return "".join(out)
    # high layer: hands near the face
    if kind == "wave":
        out.append(limb("M192,256 Q214,226 214,196", top, 24))
        out.append(hand(216, 178, 14, "open"))
    elif kind == "chin_think":
        out.append(limb("M84,256 Q110,238 128,206", top, 24))
        out.append(hand(132, 196, -20, "fist"))
        out.append(f'<rect x="136" y="178" width="7" height="16" rx="3.5" fill="{SKIN}" stroke="{LINE}" stroke-width="2" transform="rotate(30 140 186)"/>')
    elif kind == "cheeks":
        out.append(limb("M52,258 Q42,224 64,196", top, 22))
        out.append(limb("M204,258 Q214,224 192,196", top, 22))
        out.append(hand(70, 170, 20, "open", s=0.92))
        out.append(hand(186, 170, -20, "open", s=0.92))
    elif kind == "clasp":
        # hugging a big heart to her chest
        out.append(limb("M58,256 Q62,230 92,218", top, 24))
        out.append(limb("M198,256 Q194,230 164,218", top, 24))
        out.append(heart(128, 216, 28, fill="#F0304F", sw=3))
        out.append(hand(98, 214, 60, "fist"))
        out.append(hand(158, 214, -60, "fist"))
    elif kind == "pillow":
        pass
    elif kind == "yawn":
        out.append(limb("M82,256 Q106,236 124,198", top, 24))
        out.append(hand(124, 186, -10, "flat", s=0.95))
        out.append(limb("M196,250 Q224,220 226,172", top, 22))
        out.append(hand(226, 160, 8, "fist"))
    elif kind == "nails":
        out.append(limb("M196,256 Q212,230 204,198", top, 24))
        out.append(hand(206, 186, 0, "curl", nails=nails, s=1.1))
    elif kind == "cheek_rest":
        out.append(limb("M196,258 Q196,230 176,200", top, 24))
        out.append(hand(172, 186, -30, "open", s=0.95))
    return "".join(out)


# ---------------------------------------------------------------- props
def props(c, face, season, names):
    """Returns (stickers, plain): plain marks get no light outline."""
    out, plain = [], []
    for p in names:
        if p == "sparkle_small":
            out.append(sparkle(40, 60, 10) + sparkle(220, 56, 7))
        elif p == "sparkles":
            out.append(sparkle(36, 62, 13) + sparkle(222, 56, 11) + sparkle(30, 110, 7) + sparkle(232, 104, 6))
        elif p == "vein":
            # the cross-shaped anger mark
            x, y = 184, 70
            out.append(f'<g stroke="{LINE}" stroke-width="8" fill="none" stroke-linecap="round">'
                       f'<path d="M{x - 12},{y - 3} q9,0 9,-9 M{x + 3},{y - 12} q0,9 9,9 M{x + 12},{y + 3} q-9,0 -9,9 M{x - 3},{y + 12} q0,-9 -9,-9"/></g>'
                       f'<g stroke="#FF3B3B" stroke-width="4.5" fill="none" stroke-linecap="round">'
                       f'<path d="M{x - 12},{y - 3} q9,0 9,-9 M{x + 3},{y - 12} q0,9 9,9 M{x + 12},{y + 3} q-9,0 -9,9 M{x - 3},{y + 12} q0,-9 -9,-9"/></g>')
        elif p == "steam":
            out.append(puff(34, 80, 12) + puff(224, 120, 9))
        elif p == "z_small":
            out.append(zee(204, 58, 14) + zee(228, 38, 9, sw=3))
        elif p == "sweat":
            out.append(drop(206, 84, 11, rot=-10))
        elif p == "shock_lines":
            out.append(f'<path d="M44,58 l-12,-10 M56,44 l-6,-14 M212,44 l6,-14 M224,58 l12,-10" stroke="{LINE}" stroke-width="7" stroke-linecap="round"/>'
                       f'<path d="M44,58 l-12,-10 M56,44 l-6,-14 M212,44 l6,-14 M224,58 l12,-10" stroke="{SPARK}" stroke-width="4" stroke-linecap="round"/>')
        elif p == "hearts":
            out.append(heart(38, 66, 13, rot=-15) + heart(220, 58, 10, rot=15) + heart(226, 110, 7, rot=20))
        elif p == "nail_sparkle":
            out.append(sparkle(234, 146, 8) + sparkle(236, 206, 5))
        elif p == "dots":
            # "..." of a sigh, light dots straight on the black
            plain.append(''.join(f'<circle cx="{x}" cy="58" r="6" fill="{OUTLINE}"/>' for x in (30, 50, 70)))
        elif p == "hmph":
            out.append(puff(46, 150, 10))
    return "".join(out), "".join(plain)


def season_props(c, face, season, names):
    out = []
    if season == "winter":
        flakes = [(30, 24, 8), (230, 190, 7), (24, 200, 6)]
        if "shock_lines" in names:
            flakes.remove((30, 24, 8))
        if face.get("arms") in ("wave", "nails", "yawn", "cheek_rest", "cheeks"):
            flakes.remove((230, 190, 7))
        for x, y, r in flakes:
            out.append(f'<g stroke="{LINE}" stroke-width="6" stroke-linecap="round"><path d="M{x - r},{y} L{x + r},{y} M{x - r / 2:.1f},{y - r * 0.87:.1f} L{x + r / 2:.1f},{y + r * 0.87:.1f} M{x - r / 2:.1f},{y + r * 0.87:.1f} L{x + r / 2:.1f},{y - r * 0.87:.1f}"/></g>'
                       f'<g stroke="#FFFFFF" stroke-width="3" stroke-linecap="round"><path d="M{x - r},{y} L{x + r},{y} M{x - r / 2:.1f},{y - r * 0.87:.1f} L{x + r / 2:.1f},{y + r * 0.87:.1f} M{x - r / 2:.1f},{y + r * 0.87:.1f} L{x + r / 2:.1f},{y - r * 0.87:.1f}"/></g>')
    elif season == "valentine" and "hearts" not in names:
        out.append(heart(26, 206, 8, rot=-12) + heart(232, 196, 6, rot=14))
    elif season == "diwali":
        # a diya: a clay lamp with a flame, at the lower left
        x, y = 30, 214
        out.append(f'<path d="M{x},{y - 36} C{x + 8},{y - 26} {x + 7},{y - 16} {x},{y - 12} C{x - 7},{y - 16} {x - 8},{y - 26} {x},{y - 36} Z" fill="#FFB02E" stroke="{LINE}" stroke-width="2"/>'
                   f'<path d="M{x},{y - 28} C{x + 4},{y - 22} {x + 3},{y - 17} {x},{y - 15} C{x - 3},{y - 17} {x - 4},{y - 22} {x},{y - 28} Z" fill="#FFF2A8"/>'
                   f'<path d="M{x - 20},{y - 10} Q{x},{y - 4} {x + 20},{y - 10} Q{x + 16},{y + 8} {x},{y + 8} Q{x - 16},{y + 8} {x - 20},{y - 10} Z" fill="#D8672B" stroke="{LINE}" stroke-width="2.5" stroke-linejoin="round"/>'
                   f'<path d="M{x - 14},{y - 2} Q{x},{y + 3} {x + 14},{y - 2}" fill="none" stroke="{GOLD}" stroke-width="3"/>')
        if "sparkles" not in names and "sparkle_small" not in names:
            out.append(sparkle(230, 200, 6, fill="#FFD25A"))
    return "".join(out)


# ---------------------------------------------------------------- cell
def cell(char, season, face):
    c = dict(CHARACTERS[char])
    c.update(SEASONS[(char, season)])
    tilt = face.get("tilt", 0)
    lift = face.get("lift", 0)
    names = face.get("props", [])
    headxf = f'translate(0 {lift}) rotate({tilt} 128 186)'
    parts = [
        f'<g transform="{headxf}">{back_hair(c, face)}</g>',
        body(c, face, season),
        season_body(c, season),
        scarf(c) if season == "winter" else "",
        arms(c, face, season, "low"),
        f'<g transform="{headxf}">{ahoge(c, face, season)}{head(c, face, season)}{front_hair(c, face)}{face_overlay(c, face)}'
        f'{earrings(c, face, season)}{hair_accessory(c, face, season)}</g>',
        arms(c, face, season, "high"),
    ]
    figure = "".join(parts)
    stickers, plain = props(c, face, season, names)
    extras = stickers + season_props(c, face, season, names)
    return (f'<g filter="url(#sticker)">{figure}</g>'
            f'<g filter="url(#sticker)">{extras}</g>{plain}')


# The sticker outline: grow the silhouette a little, blur it and cut the blur
# at a low alpha so the grown edge is round, then fill it with the light colour.
STICKER_STEPS = (
    '<feMorphology in="SourceAlpha" operator="dilate" radius="2" result="g1"/>'
    '<feGaussianBlur in="g1" stdDeviation="2.6" result="g2"/>'
    '<feComponentTransfer in="g2" result="grown"><feFuncA type="linear" slope="6" intercept="-0.6"/></feComponentTransfer>'
    f'<feFlood flood-color="{OUTLINE}"/>'
    '<feComposite in2="grown" operator="in" result="outline"/>'
    '<feMerge><feMergeNode in="outline"/><feMergeNode in="SourceGraphic"/></feMerge>'
)


# The figure is drawn on a 256 grid and then shrunk a little towards the top,
# so that what she holds at chest height stays above the bottom of the box she
# peeks out of (the lowest ~7% of the sprite is hidden there).
FIT = "translate(128 -2.4) scale(0.93) translate(-128 0)"


def sheet(char, season, table, order):
    W, H = CELL * COLS, CELL * ROWS
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" viewBox="0 0 {W} {H}">',
           '<defs>',
           '<filter id="sticker" x="-20%" y="-20%" width="140%" height="140%" color-interpolation-filters="sRGB">'
           f'{STICKER_STEPS}'
           '</filter>']
    for i in range(COLS * ROWS):
        out.append(f'<clipPath id="cell{i}"><rect x="0" y="0" width="{CELL}" height="{CELL}"/></clipPath>')
    out.append('</defs>')
    for i, name in enumerate(order):
        col, row = i % COLS, i // COLS
        out.append(f'<!-- {name} -->')
        out.append(f'<g transform="translate({col * CELL} {row * CELL})"><g clip-path="url(#cell{i})">'
                   f'<g transform="{FIT}">{cell(char, season, table[name])}</g></g></g>')
    out.append('</svg>')
    return "\n".join(out) + "\n"


def icon():
    """The app icon: Zuzi's face with a tiny heart, on a warm round badge."""
    c = dict(CHARACTERS["zuzi"])
    face = dict(eyes="open", brows="up", mouth="smile_open", blush=0.9)
    inner = (f'<g filter="url(#sticker)">{back_hair(c, face)}{ahoge(c, face, None)}'
             f'{head(c, face, None)}{front_hair(c, face)}{face_overlay(c, face)}{hair_accessory(c, face, None)}</g>'
             f'<g filter="url(#sticker)">{heart(204, 196, 22)}</g>')
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">'
            '<defs><filter id="sticker" x="-20%" y="-20%" width="140%" height="140%" color-interpolation-filters="sRGB">'
            f'{STICKER_STEPS}</filter></defs>'
            '<rect x="8" y="8" width="240" height="240" rx="56" fill="#1B1416"/>'
            f'<g transform="translate(128 140) scale(0.98) translate(-128 -124)">{inner}</g>'
            '</svg>\n')


def tray_icon():
    """The tray icon: her heart alone, filling the square, its dark outline
    kept thick enough to read at 16 px on light and dark panels alike."""
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">'
            f'{heart(32, 30, 27.5, sw=3.5)}'
            '</svg>\n')


SHEETS = [
    # (file name, character, season, table, order)
    ("zuzi", "zuzi", None, MOODS, MOOD_ORDER),
    ("zuzi-extra", "zuzi", None, POSES, POSE_ORDER),
    ("zuzi-winter", "zuzi", "winter", MOODS, MOOD_ORDER),
    ("zuzi-valentine", "zuzi", "valentine", MOODS, MOOD_ORDER),
    ("zuzi-diwali", "zuzi", "diwali", MOODS, MOOD_ORDER),
    ("mom", "mom", None, MOODS, MOOD_ORDER),
    ("mom-extra", "mom", None, POSES, POSE_ORDER),
    ("mom-winter", "mom", "winter", MOODS, MOOD_ORDER),
    ("mom-valentine", "mom", "valentine", MOODS, MOOD_ORDER),
    ("mom-diwali", "mom", "diwali", MOODS, MOOD_ORDER),
]


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "portraits", "src")
    os.makedirs(outdir, exist_ok=True)
    for name, char, season, table, order in SHEETS:
        _ids[0] = 0
        with open(os.path.join(outdir, name + ".svg"), "w", encoding="utf-8") as fh:
            fh.write(sheet(char, season, table, order))
    icondir = os.path.join(root, "resources", "icons")
    os.makedirs(icondir, exist_ok=True)
    with open(os.path.join(icondir, "pelliwig.svg"), "w", encoding="utf-8") as fh:
        fh.write(icon())
    with open(os.path.join(icondir, "pelliwig-tray.svg"), "w", encoding="utf-8") as fh:
        fh.write(tray_icon())
    print(f"wrote {len(SHEETS)} sheets to {outdir} and the icons to {icondir}")


if __name__ == "__main__":
    main()
