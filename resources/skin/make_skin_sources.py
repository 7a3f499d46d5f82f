#!/usr/bin/env python3
"""Writes the repetitive skin sources: slice markers, knob filmstrips and push-button states.

Run from anywhere: python3 resources/skin/make_skin_sources.py. The written SVGs are committed.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

INK = "#1b1f24"
SELECTED = "#ffc21a"
NORMAL = "#6aa6fa"
LOCKED = "#22272e"
MUTED_FILL = "#eef0f3"
MUTED_HATCH = "#5d6672"


XLINK = ' xmlns:xlink="http://www.w3.org/1999/xlink"'


def write(name, width, height, body):
    text = (f'<svg xmlns="http://www.w3.org/2000/svg"{XLINK if "xlink:" in body else ""} width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n{body}</svg>\n')
    with open(os.path.join(HERE, name), "w", encoding="ascii") as out:
        out.write(text)


# Slice markers, 11 x 18: a flag pointing down at the slice position. Normal is solid, muted is
# hollow and hatched, locked is dark with a padlock; selected ones turn light amber, so kind and
# selection differ in fill pattern and lightness, not in hue alone.
MARKER = "M0.5 0.5H10.5V11.5L5.5 17.2L0.5 11.5Z"


def marker(kind, selected):
    parts = []
    if kind == "normal":
        parts.append(f'<path d="{MARKER}" fill="{SELECTED if selected else NORMAL}" stroke="{INK}"/>')
        parts.append('<path d="M2 2H9" stroke="#ffffff" stroke-opacity="0.55"/>')
    elif kind == "muted":
        hatch = INK if selected else MUTED_HATCH
        parts.append(f'<path d="{MARKER}" fill="{SELECTED if selected else MUTED_FILL}"/>')
        # Hatch lines kept inside the flag by hand (no clipping in the renderer).
        parts.append(f'<path d="M1.2 5.2L5.2 1.2M1.2 9.2L9.2 1.2M2 12.5L9.8 4.7M4.2 14.5L9.8 8.9" '
                     f'stroke="{hatch}" stroke-width="1.2"/>')
        parts.append(f'<path d="{MARKER}" fill="none" stroke="{INK}"/>')
    else:
        body = SELECTED if selected else LOCKED
        glyph = INK if selected else "#a3adb8"
        # The dark body gets a mid-grey rim so it also shows on a dark ground.
        parts.append(f'<path d="{MARKER}" fill="{body}" stroke="{INK if selected else "#8c96a3"}"/>')
        parts.append(f'<path d="M3.7 5.5V4.2a1.8 1.8 0 0 1 3.6 0V5.5" fill="none" stroke="{glyph}" '
                     'stroke-width="1.1"/>')
        parts.append(f'<rect x="2.5" y="5.5" width="6" height="4.6" rx="0.6" fill="{glyph}"/>')
        parts.append(f'<rect x="5" y="6.8" width="1" height="2" fill="{body}"/>')
    return "".join(p + "\n" for p in parts)


for base, kind in ((13100, "normal"), (13110, "muted"), (13120, "locked")):
    write(f"{base}.svg", 11, 18, marker(kind, False))
    write(f"{base + 1}.svg", 11, 18, marker(kind, True))


# Knob filmstrips: 64 frames of 28 x 28 stacked top to bottom, the pointer sweeping 270 degrees
# from lower left (frame 0) to lower right (frame 63). 13400 is the enabled look, 13401 disabled.
KNOB_FRAMES = 64
KNOB = 28


def arc(cx, cy, r, a0, a1):
    x0, y0 = cx + r * math.sin(a0), cy - r * math.cos(a0)
    x1, y1 = cx + r * math.sin(a1), cy - r * math.cos(a1)
    large = 1 if a1 - a0 > math.pi else 0
    return f"M{x0:.2f} {y0:.2f}A{r} {r} 0 {large} 1 {x1:.2f} {y1:.2f}"


def knob_strip(enabled):
    body_top, body_bottom = ("#6a7480", "#2b3038") if enabled else ("#b4bac2", "#8d949d")
    value = SELECTED if enabled else "#d6dade"
    pointer = "#ffffff" if enabled else "#eef0f2"
    track = "#1b1f24" if enabled else "#7d848d"
    start, sweep = -0.75 * math.pi, 1.5 * math.pi
    out = ['<defs><linearGradient id="b" x1="0" y1="0" x2="0" y2="1">'
           f'<stop offset="0" stop-color="{body_top}"/><stop offset="1" stop-color="{body_bottom}"/>'
           '</linearGradient>'
           f'<g id="k"><path d="{arc(14, 14, 12.5, start, start + sweep)}" fill="none" stroke="{track}" '
           'stroke-width="2" stroke-linecap="round" stroke-opacity="0.55"/>'
           f'<circle cx="14" cy="14" r="9.5" fill="url(#b)" stroke="{INK}"/></g></defs>']
    for frame in range(KNOB_FRAMES):
        angle = start + sweep * frame / (KNOB_FRAMES - 1)
        y = frame * KNOB
        px, py = 14 + 8 * math.sin(angle), 14 - 8 * math.cos(angle)
        qx, qy = 14 + 3 * math.sin(angle), 14 - 3 * math.cos(angle)
        lit = ""
        if frame > 0:
            lit = (f'<path d="{arc(14, 14, 12.5, start, angle)}" fill="none" stroke="{value}" '
                   'stroke-width="2" stroke-linecap="round"/>')
        out.append(f'<g transform="translate(0 {y})"><use xlink:href="#k"/>{lit}'
                   f'<path d="M{qx:.2f} {qy:.2f}L{px:.2f} {py:.2f}" stroke="{pointer}" stroke-width="2" '
                   'stroke-linecap="round"/></g>')
    return "".join(p + "\n" for p in out)


write("13400.svg", KNOB, KNOB * KNOB_FRAMES, knob_strip(True))
write("13401.svg", KNOB, KNOB * KNOB_FRAMES, knob_strip(False))


# Push buttons, 26 x 22: id = base + state with state 0 normal, 1 pressed (also a toggle's on
# state and the current tool), 2 disabled. The effect on/off button has only off and on.
GLYPHS = {
    # arrow tool: a mouse pointer
    "arrow": '<path d="M9.5 4.5V16.5L12.3 13.8L14.3 18.3L16.2 17.4L14.2 13H18Z" fill="{g}" '
             'stroke="{g}" stroke-linejoin="round"/>',
    # mute tool: a hatched (muted) slice flag
    "mute": '<path d="M8.5 4.5H17.5V13.5L13 18L8.5 13.5Z" fill="none" stroke="{g}" stroke-width="1.4"/>'
            '<path d="M9 10L14 5M9 14L17 6M12 16.5L17 11.5" stroke="{g}"/>',
    # lock tool: a padlock
    "lock": '<path d="M10.2 10V7.8a2.8 2.8 0 0 1 5.6 0V10" fill="none" stroke="{g}" stroke-width="1.6"/>'
            '<rect x="8.5" y="10" width="9" height="7.5" rx="1" fill="{g}"/>',
    # pen tool: a pencil writing down to the left
    "pen": '<path d="M8 17.5L8.8 14.2L16.2 6.8L18.7 9.3L11.3 16.7Z" fill="{g}"/>'
           '<path d="M8 17.5L8.8 14.2L11.3 16.7Z" fill="{g}" stroke="{g}" stroke-width="0.6"/>',
    "stop": '<rect x="8.5" y="6.5" width="9" height="9" rx="0.8" fill="{g}"/>',
    # play loop: a triangle inside a circling arrow
    "playloop": '<path d="M17.9 8.2A5.8 5.8 0 1 0 18.4 13.2" fill="none" stroke="{g}" stroke-width="1.5"/>'
                '<path d="M19.8 5.6L19.6 10.2L15.4 9Z" fill="{g}"/>'
                '<path d="M11.5 8.2V13.8L16 11Z" fill="{g}"/>',
    # play previous slice: a bar, then a triangle pointing back
    "playprevious": '<rect x="7.5" y="6" width="2" height="10" fill="{g}"/>'
                    '<path d="M18.5 6V16L10.5 11Z" fill="{g}"/>',
    # play current slice: a triangle between two slice flags
    "playcurrent": '<path d="M6.5 5.5V16.5M19.5 5.5V16.5" stroke="{g}" stroke-width="1.4"/>'
                   '<path d="M10.5 6.5V15.5L17 11Z" fill="{g}"/>',
    # play current slice and move on: a triangle, then a bar
    "playnext": '<path d="M8 6V16L16 11Z" fill="{g}"/><rect x="16.5" y="6" width="2" height="10" fill="{g}"/>',
    # preview: headphones
    "preview": '<path d="M7.5 14V11.5a5.5 5.5 0 0 1 11 0V14" fill="none" stroke="{g}" stroke-width="1.6"/>'
               '<rect x="6.5" y="12.5" width="3.2" height="5" rx="1" fill="{g}"/>'
               '<rect x="16.3" y="12.5" width="3.2" height="5" rx="1" fill="{g}"/>',
    # silence selected: a wave that turns into a flat line inside a selection bracket
    "silence": '<path d="M4.5 11C5.5 6 6.5 6 7.5 11S9.5 16 10.5 11" fill="none" stroke="{g}" stroke-width="1.4"/>'
               '<path d="M12.5 6.5V15.5M20.5 6.5V15.5M12.5 11H20.5" stroke="{g}" stroke-width="1.4"/>',
    # effect on/off: a power sign
    "power": '<path d="M10.3 7.6A5 5 0 1 0 15.7 7.6" fill="none" stroke="{g}" stroke-width="1.7" '
             'stroke-linecap="round"/><path d="M13 4.5V11" stroke="{g}" stroke-width="1.7" stroke-linecap="round"/>',
}

STATES = {
    "normal": ("#fafbfc", "#d7dce2", "#6f7883", INK),
    "pressed": ("#9db3cc", "#c3d0de", "#3f4a57", INK),
    "disabled": ("#f1f2f4", "#e4e7ea", "#b3b9c0", "#a4abb4"),
}


def button(glyph, state, lamp=None):
    top, bottom, border, ink = STATES[state]
    body = ['<defs><linearGradient id="f" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            '</linearGradient></defs>',
            f'<rect x="0.5" y="0.5" width="25" height="21" rx="3" fill="url(#f)" stroke="{border}"/>']
    if state == "pressed":
        body.append('<path d="M2 2.5H24" stroke="#000000" stroke-opacity="0.25"/>')
    else:
        body.append('<path d="M3 1.5H23" stroke="#ffffff" stroke-opacity="0.9"/>')
    body.append(GLYPHS[glyph].replace("{g}", ink))
    if lamp:
        body.append(f'<circle cx="21.5" cy="4.5" r="2" fill="{lamp}" stroke="{INK}" stroke-width="0.6"/>')
    return "".join(p + "\n" for p in body)


BUTTONS = ["arrow", "mute", "lock", "pen", "stop", "playloop", "playprevious", "playcurrent",
           "playnext", "preview", "silence"]
for index, glyph in enumerate(BUTTONS):
    for state_index, state in enumerate(("normal", "pressed", "disabled")):
        write(f"{14100 + 3 * index + state_index}.svg", 26, 22, button(glyph, state))
write("14133.svg", 26, 22, button("power", "normal", lamp="#6b737d"))
write("14134.svg", 26, 22, button("power", "pressed", lamp="#ffd23a"))
