#!/usr/bin/env python3
"""Writes the loudspeaker model curves of this folder (see README.md).

Each curve is the complex response of a textbook loudspeaker model evaluated
at 1/48 octave from 20 Hz to 20 kHz: box alignment, baffle step, cone
break-up, voice-coil inductance, dome resonance, acoustic crossover slopes,
edge diffraction, and for the listening seats room modes, the floor bounce
and the falling power response. Nothing here uses the program's own filter
model, so the fit is checked against curves it did not make.

Run it from anywhere with Python 3 (standard library only); the output is
byte-for-byte the same on every run.
"""

import cmath
import math
import os

C = 343.0  # speed of sound, m/s
HERE = os.path.dirname(os.path.abspath(__file__))


def grid():
    step = 2.0 ** (1.0 / 48.0)
    f, out = 20.0, []
    while f <= 20000.0 * 1.0001:
        out.append(f)
        f *= step
    return out


def s_of(f):
    return 2j * math.pi * f


def hp1(s, f0):
    w = 2 * math.pi * f0
    return s / (s + w)


def lp1(s, f0):
    w = 2 * math.pi * f0
    return w / (s + w)


def hp2(s, f0, q):
    w = 2 * math.pi * f0
    return s * s / (s * s + s * w / q + w * w)


def lp2(s, f0, q):
    w = 2 * math.pi * f0
    return w * w / (s * s + s * w / q + w * w)


def butterworth4_hp(s, f0):
    # Vented box in a B4 alignment: a fourth-order Butterworth high-pass.
    return hp2(s, f0, 1 / 0.7654) * hp2(s, f0, 1 / 1.8478)


def lr4_lp(s, f0):
    return lp2(s, f0, 0.5 ** 0.5) ** 2


def lr4_hp(s, f0):
    return hp2(s, f0, 0.5 ** 0.5) ** 2


def bw3_lp(s, f0):
    return lp1(s, f0) * lp2(s, f0, 1.0)


def bw3_hp(s, f0):
    return hp1(s, f0) * hp2(s, f0, 1.0)


def baffle_step(s, f0):
    # Half space above f0, full space (-6 dB) below.
    w = 2 * math.pi * f0
    return (s / w + 0.5) / (s / w + 1.0)


def shelf(s, f0, db):
    # First-order shelf: 0 dB below f0, `db` well above it.
    g = 10 ** (db / 20)
    w = 2 * math.pi * f0
    return (s / w * g + 1.0) / (s / w + 1.0)


def reflection(s, r, metres, fade):
    # The direct sound plus one copy `metres` later (edge diffraction, floor);
    # the copy fades above `fade` Hz as the source beams and surfaces absorb.
    return 1.0 + r * lp1(s, fade) * cmath.exp(-s * metres / C)


def delay(s, metres):
    return cmath.exp(-s * metres / C)


def db(x):
    return 20 * math.log10(max(abs(x), 1e-12))


def modes(s, f, table):
    # Room modes as resonances added to the direct sound: (frequency, Q, gain).
    h = 1.0 + 0j
    for fn, q, a in table:
        wn = 2 * math.pi * fn
        h += a * (s * wn / q) / (s * s + s * wn / q + wn * wn)
    # Below the lowest mode the closed room adds pressure.
    h *= 1.0 + 0.6 * lp2(s, 25.0, 0.7)
    return h


# The two-way bookshelf speaker A: 17 cm woofer in a vented box tuned to
# 48 Hz, 25 mm dome, fourth-order acoustic crossover at 2.3 kHz, the dome
# 18 mm ahead of the cone and 1.5 dB too loud through the crossover.
# The drivers alone, as measured for an active crossover: in the box, on the
# baffle, without any filter.
def woofer_a(s):
    return (butterworth4_hp(s, 48.0) * baffle_step(s, 450.0) * lp1(s, 3500.0)
            * lp2(s, 5200.0, 5.0) * reflection(s, -0.10, 0.12, 3000.0) * delay(s, 0.018))


def tweeter_a(s):
    return hp2(s, 900.0, 1.2) * lp2(s, 24000.0, 0.6) * reflection(s, -0.15, 0.09, 6000.0)


def speaker_a(s):
    return (woofer_a(s) * lr4_lp(s, 2300.0)
            + 10 ** (1.5 / 20) * tweeter_a(s) * lr4_hp(s, 2300.0))


# The small two-way speaker B: 13 cm woofer in a closed box (75 Hz, Q 0.8),
# narrow baffle, third-order acoustic crossover at 3 kHz, tweeter 1 dB low.
def speaker_b(s):
    woofer = (hp2(s, 75.0, 0.8) * baffle_step(s, 700.0) * lp1(s, 4500.0)
              * lp2(s, 7000.0, 4.0) * bw3_lp(s, 3000.0) * reflection(s, -0.18, 0.07, 4000.0))
    tweeter = (10 ** (-1 / 20) * hp2(s, 1100.0, 1.5) * bw3_hp(s, 3000.0)
               * lp2(s, 21000.0, 0.7) * reflection(s, -0.2, 0.07, 8000.0))
    return woofer + tweeter


# Speaker A at two seats of a 5.2 x 3.9 x 2.6 m room, 2.8 m away: the axial
# and tangential modes with the seat's pressure, the floor bounce (woofer
# 1.0 m, ear 1.1 m high) and the power response falling 4 dB in the treble.
SEAT_1_MODES = [(33.0, 7.0, 0.9), (44.0, 8.0, -0.6), (66.0, 9.0, 1.4),
                (88.0, 9.0, 0.5), (99.0, 10.0, -0.8), (132.0, 10.0, 0.6),
                (165.0, 12.0, 0.4)]
SEAT_2_MODES = [(33.0, 7.0, -0.4), (44.0, 8.0, 1.2), (55.0, 8.0, 0.7),
                (66.0, 9.0, -0.7), (88.0, 9.0, 0.9), (110.0, 10.0, 0.5),
                (132.0, 10.0, -0.5), (176.0, 12.0, 0.3)]


def in_room(s, f, table, direct, bounce_metres, bounce_r):
    return (speaker_a(s) * modes(s, f, table) * reflection(s, bounce_r, bounce_metres, 500.0)
            * shelf(s, 2000.0, -4.0) * direct)


def seat_1(s, f):
    path = math.hypot(2.8, 2.1) - math.hypot(2.8, 0.1)
    return in_room(s, f, SEAT_1_MODES, 1.0, path, 0.45)


def seat_2(s, f):
    path = math.hypot(2.5, 2.0) - math.hypot(2.5, 0.15)
    return in_room(s, f, SEAT_2_MODES, 10 ** (-0.8 / 20), path, 0.5)


def write(name, title, curve, level, phase, comma=False):
    lines = ["* " + line for line in title]
    if comma:
        lines.append("Frequency (Hz),SPL (dB),Phase (degrees)")
    elif phase:
        lines.append("* Freq(Hz) SPL(dB) Phase(degrees)")
    else:
        lines.append("* Freq(Hz) SPL(dB)")
    for f in grid():
        h = curve(s_of(f), f)
        spl = level + db(h)
        if comma:
            lines.append("%.3f,%.3f,%.2f" % (f, spl, math.degrees(cmath.phase(h))))
        elif phase:
            lines.append("%.3f %.3f %.2f" % (f, spl, math.degrees(cmath.phase(h))))
        else:
            lines.append("%.3f %.3f" % (f, spl))
    with open(os.path.join(HERE, name), "w", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


MODEL = "Loudspeaker model curve made by make_model_curves.py (not a measurement)."

write("model-a-on-axis.txt",
      [MODEL, "Two-way speaker A on axis at 1 m, 2.83 V; phase without the flight time."],
      lambda s, f: speaker_a(s), 86.0, True)
write("model-b-on-axis.txt",
      [MODEL, "Small two-way speaker B on axis at 1 m, 2.83 V."],
      lambda s, f: speaker_b(s), 84.0, False)
write("model-a-seat-1.txt",
      [MODEL, "Speaker A at the first listening seat of a 5.2 x 3.9 x 2.6 m room."],
      seat_1, 78.0, True)
write("model-a-seat-2.txt",
      [MODEL, "Speaker A at a second seat of the same room, 0.8 dB further away."],
      seat_2, 78.0, True, comma=True)
write("model-a-woofer.txt",
      [MODEL, "Woofer of speaker A alone, no crossover, on the tweeter axis at 1 m, 2.83 V;",
       "same timing reference as model-a-tweeter.txt (the dome is 18 mm ahead)."],
      lambda s, f: woofer_a(s), 86.0, True)
write("model-a-tweeter.txt",
      [MODEL, "Tweeter of speaker A alone, no crossover, on axis at 1 m, 2.83 V;",
       "same timing reference as model-a-woofer.txt."],
      lambda s, f: tweeter_a(s), 90.0, True)
