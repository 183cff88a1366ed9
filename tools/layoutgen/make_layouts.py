#!/usr/bin/env python3
"""Writes the keyboard layout files in data/layouts/ from the key tables below.

Run from anywhere: python3 tools/layoutgen/make_layouts.py
The output is committed; run this again after changing a table and commit both.

Geometry: positions and sizes are in key units (1u = one standard key). A key's
rectangle on the keyboard picture is its unit box scaled by the model's pixel
size, moved in by the picture margin and shrunk by a 2-pixel gap on each side.
The matrix column of a key is the unit column its centre falls in, so keys of
one row never share a cell (every key is at least 1u wide).
"""

import math
import os
from xml.sax.saxutils import quoteattr

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "data", "layouts")

# Light function bits.
BRIGHTNESS, SPEED, DIR_LR, DIR_UD = 0x001, 0x002, 0x004, 0x008
RGB, COLOR, PRESETS, PRESETS_OFF = 0x010, 0x020, 0x040, 0x080
PER_KEY, MUSIC, SCREEN, AREAS = 0x100, 0x200, 0x400, 0x800

# Text numbers of the light mode names (language section KB.DIALOG).
T_STATIC, T_BREATHING, T_WAVE, T_RIPPLE, T_RAIN, T_SPECTRUM = 400, 401, 402, 403, 404, 405
T_CUSTOM, T_MUSIC, T_SCREEN, T_AREAS, T_MUSIC_PULSE = 406, 407, 408, 409, 410

# (name, description, HID usage, x, width[, height]) per row; rows start at
# y = 0 (function row) and y = 1.5 .. 5.5 (the gap under the function row).
MAIN_ROWS = [
    [("Esc", "Escape", 0x29, 0, 1), ("F1", "F1", 0x3A, 2, 1), ("F2", "F2", 0x3B, 3, 1),
     ("F3", "F3", 0x3C, 4, 1), ("F4", "F4", 0x3D, 5, 1), ("F5", "F5", 0x3E, 6.5, 1),
     ("F6", "F6", 0x3F, 7.5, 1), ("F7", "F7", 0x40, 8.5, 1), ("F8", "F8", 0x41, 9.5, 1),
     ("F9", "F9", 0x42, 11, 1), ("F10", "F10", 0x43, 12, 1), ("F11", "F11", 0x44, 13, 1),
     ("F12", "F12", 0x45, 14, 1), ("PrtSc", "Print Screen", 0x46, 15.5, 1),
     ("ScrLk", "Scroll Lock", 0x47, 16.5, 1), ("Pause", "Pause", 0x48, 17.5, 1)],
    [("`", "Grave accent and tilde", 0x35, 0, 1)]
    + [(d, d, 0x1E + i, 1 + i, 1) for i, d in enumerate("123456789")]
    + [("0", "0", 0x27, 10, 1), ("-", "Minus and underscore", 0x2D, 11, 1),
       ("=", "Equals and plus", 0x2E, 12, 1), ("Backspace", "Backspace", 0x2A, 13, 2),
       ("Ins", "Insert", 0x49, 15.5, 1), ("Home", "Home", 0x4A, 16.5, 1),
       ("PgUp", "Page Up", 0x4B, 17.5, 1)],
    [("Tab", "Tab", 0x2B, 0, 1.5)]
    + [(c, c, 0x04 + ord(c) - ord("A"), 1.5 + i, 1) for i, c in enumerate("QWERTYUIOP")]
    + [("[", "Left bracket", 0x2F, 11.5, 1), ("]", "Right bracket", 0x30, 12.5, 1),
       ("\\", "Backslash", 0x31, 13.5, 1.5), ("Del", "Delete", 0x4C, 15.5, 1),
       ("End", "End", 0x4D, 16.5, 1), ("PgDn", "Page Down", 0x4E, 17.5, 1)],
    [("Caps Lock", "Caps Lock", 0x39, 0, 1.75)]
    + [(c, c, 0x04 + ord(c) - ord("A"), 1.75 + i, 1) for i, c in enumerate("ASDFGHJKL")]
    + [(";", "Semicolon", 0x33, 10.75, 1), ("'", "Apostrophe", 0x34, 11.75, 1),
       ("Enter", "Enter", 0x28, 12.75, 2.25)],
    [("Shift", "Left Shift", 0xE1, 0, 2.25)]
    + [(c, c, 0x04 + ord(c) - ord("A"), 2.25 + i, 1) for i, c in enumerate("ZXCVBNM")]
    + [(",", "Comma", 0x36, 9.25, 1), (".", "Period", 0x37, 10.25, 1),
       ("/", "Slash", 0x38, 11.25, 1), ("Shift", "Right Shift", 0xE5, 12.25, 2.75),
       ("Up", "Up Arrow", 0x52, 16.5, 1)],
    [("Ctrl", "Left Ctrl", 0xE0, 0, 1.25), ("Win", "Left Windows", 0xE3, 1.25, 1.25),
     ("Alt", "Left Alt", 0xE2, 2.5, 1.25), ("Space", "Space", 0x2C, 3.75, 6.25),
     ("Alt", "Right Alt", 0xE6, 10, 1.25), ("Win", "Right Windows", 0xE7, 11.25, 1.25),
     ("Menu", "Menu", 0x65, 12.5, 1.25), ("Ctrl", "Right Ctrl", 0xE4, 13.75, 1.25),
     ("Left", "Left Arrow", 0x50, 15.5, 1), ("Down", "Down Arrow", 0x51, 16.5, 1),
     ("Right", "Right Arrow", 0x4F, 17.5, 1)],
]

NUMPAD_ROWS = [
    [],
    [("Num", "Num Lock", 0x53, 19, 1), ("/", "Keypad Divide", 0x54, 20, 1),
     ("*", "Keypad Multiply", 0x55, 21, 1), ("-", "Keypad Minus", 0x56, 22, 1)],
    [("7", "Keypad 7", 0x5F, 19, 1), ("8", "Keypad 8", 0x60, 20, 1),
     ("9", "Keypad 9", 0x61, 21, 1), ("+", "Keypad Plus", 0x57, 22, 1, 2)],
    [("4", "Keypad 4", 0x5C, 19, 1), ("5", "Keypad 5", 0x5D, 20, 1),
     ("6", "Keypad 6", 0x5E, 21, 1)],
    [("1", "Keypad 1", 0x59, 19, 1), ("2", "Keypad 2", 0x5A, 20, 1),
     ("3", "Keypad 3", 0x5B, 21, 1), ("Enter", "Keypad Enter", 0x58, 22, 1, 2)],
    [("0", "Keypad 0", 0x62, 19, 2), (".", "Keypad Decimal", 0x63, 21, 1)],
]

ROW_Y = [0, 1.5, 2.5, 3.5, 4.5, 5.5]
MARGIN = 12  # pixels of picture around the keys
GAP = 2      # pixels between a key's unit box and its rectangle


def key_rows(numpad, fn_instead_of_right_win):
    rows = []
    for r, row in enumerate(MAIN_ROWS):
        keys = list(row)
        if fn_instead_of_right_win:
            keys = [("Fn", "Fn", 0xAF, k[3], k[4]) if k[2] == 0xE7 else k for k in keys]
        if numpad:
            keys += NUMPAD_ROWS[r]
        rows.append(keys)
    return rows


def light_xml(light):
    lines = ['<light rgb_keyboard="%d" default_mode="%d" default_brightness="%d" '
             'default_speed="%d" brightness_max="%d" speed_max="%d">'
             % (light["rgb"], light["default_mode"], light["brightness"], light["speed"],
                light["brightness_max"], light["speed_max"])]
    for mode, name, functions in light["modes"]:
        lines.append('<info name="%d" mode="%d" attribute="%d"/>' % (name, mode, functions))
    lines.append("</light>")
    return lines


def layout_xml(model):
    unit = model["unit"]
    rows = key_rows(model["numpad"], model["fn_key"])
    width_u = 23 if model["numpad"] else 18.5
    width = round(width_u * unit) + 2 * MARGIN
    height = round(6.5 * unit) + 2 * MARGIN
    cols = 0
    keys = []
    index = 0
    for r, row in enumerate(rows):
        for key in row:
            name, desc, code, x, w = key[:5]
            h = key[5] if len(key) > 5 else 1
            col = math.floor(x + w / 2)
            cols = max(cols, col + 1)
            px = MARGIN + round(x * unit) + GAP
            py = MARGIN + round(ROW_Y[r] * unit) + GAP
            pw = round(w * unit) - 2 * GAP
            ph = round(h * unit) - 2 * GAP
            keys.append('<key code="%02X" name=%s desc=%s key_index="%d" light_index="%d" '
                        'row_col="%d_%d" rect="%d#%d#%d#%d" icon=""/>'
                        % (code, quoteattr(name), quoteattr(desc), index, index, r, col,
                           px, py, pw, ph))
            index += 1
    assert index == model["key_count"], (model["file"], index)
    # The view sits in the key page's free area right of the profile list.
    xpos = 330 + (950 - width) // 2
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<device.info>",
             '<menu macro="1" light_mode="1"/>',
             '<function sleep_time="%d"/>' % model["sleep_time"],
             '<firmware version=%s file=%s url=%s/>'
             % (quoteattr(model["fw_version"]), quoteattr(model["fw_file"]),
                quoteattr(model["fw_url"]))]
    lines += light_xml(model["light"])
    lines.append('<Keyboard xpos="%d" ypos="105" width="%d" height="%d" image=%s '
                 'row_count="%d" col_count="%d">'
                 % (xpos, width, height, quoteattr(model["image"]), len(rows), cols))
    lines.append("<KeyItems>")
    lines += keys
    lines += ["</KeyItems>", "</Keyboard>", "</device.info>"]
    return "\r\n".join(lines) + "\r\n"


FAMILY_A_LIGHT = {
    "rgb": 1, "default_mode": 3, "brightness": 4, "speed": 3,
    "brightness_max": 4, "speed_max": 4,
    "modes": [
        (1, T_STATIC, BRIGHTNESS | RGB | COLOR | PRESETS_OFF),
        (2, T_BREATHING, BRIGHTNESS | SPEED | COLOR | PRESETS),
        (3, T_WAVE, BRIGHTNESS | SPEED | DIR_LR | COLOR),
        (4, T_RIPPLE, BRIGHTNESS | SPEED | COLOR),
        (5, T_RAIN, BRIGHTNESS | SPEED | DIR_UD),
        (6, T_CUSTOM, BRIGHTNESS | RGB | COLOR | PER_KEY),
        (7, T_MUSIC, MUSIC),
        (8, T_SCREEN, SCREEN),
        (9, T_AREAS, BRIGHTNESS | AREAS),
    ],
}

FAMILY_B_MODES = [
    (1, T_WAVE, BRIGHTNESS | SPEED | DIR_LR | PRESETS),
    (2, T_BREATHING, BRIGHTNESS | SPEED | PRESETS),
    (3, T_RIPPLE, BRIGHTNESS | SPEED | PRESETS_OFF),
    (4, T_STATIC, BRIGHTNESS | RGB | COLOR),
    (5, T_RAIN, BRIGHTNESS | SPEED | DIR_UD | PRESETS),
    (6, T_SPECTRUM, BRIGHTNESS | SPEED),
    (7, T_CUSTOM, BRIGHTNESS | RGB | COLOR | PER_KEY),
    (8, T_MUSIC, MUSIC),
    (9, T_AREAS, BRIGHTNESS | AREAS),
]

MODELS = [
    {"file": "kovrin_arc87", "key_count": 87, "numpad": False, "fn_key": False, "unit": 48,
     "image": "kovrin_arc87.png", "sleep_time": 0, "fw_version": "102", "fw_file": "",
     "fw_url": "https://updates.vendor.example/kovrin/firmware/arc87/",
     "light": FAMILY_A_LIGHT},
    {"file": "kovrin_bolt104", "key_count": 104, "numpad": True, "fn_key": False, "unit": 40,
     "image": "kovrin_bolt104.png", "sleep_time": 0, "fw_version": "105",
     "fw_file": "kovrin-bolt104-fwtool",
     "fw_url": "https://updates.vendor.example/kovrin/firmware/bolt104/",
     "light": {"rgb": 1, "default_mode": 1, "brightness": 4, "speed": 3,
               "brightness_max": 5, "speed_max": 5, "modes": FAMILY_B_MODES}},
    {"file": "kovrin_bolt87air", "key_count": 87, "numpad": False, "fn_key": True, "unit": 48,
     "image": "kovrin_bolt87air.png", "sleep_time": 1, "fw_version": "110",
     "fw_file": "kovrin-bolt87air-fwtool",
     "fw_url": "https://updates.vendor.example/kovrin/firmware/bolt87air/",
     "light": {"rgb": 1, "default_mode": 4, "brightness": 5, "speed": 3,
               "brightness_max": 5, "speed_max": 5,
               "modes": FAMILY_B_MODES + [(10, T_MUSIC_PULSE, BRIGHTNESS | MUSIC)]}},
]


def main():
    os.makedirs(OUT, exist_ok=True)
    for model in MODELS:
        path = os.path.join(OUT, model["file"] + ".xml")
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(layout_xml(model))
        print(path)


if __name__ == "__main__":
    main()
