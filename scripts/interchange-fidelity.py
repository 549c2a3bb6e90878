#!/usr/bin/env python3
"""How close filter texts come onto the device, and how close exports play.

    scripts/interchange-fidelity.py CLI DIR [--baseline OLD_CLI] [--rate HZ]

For every *.txt in DIR (Equalizer APO configurations, REW filter exports):
`CLI import` puts the text onto channel 1 of preset 1 of a fresh parameter
file; then the largest and the RMS difference (20 Hz to 20 kHz) between the text's
filters as Equalizer APO plays them and the channel as the device's model
computes it. Then `CLI export` writes that channel for Equalizer APO, REW and
CamillaDSP, and each export is played as its program plays it (APO and
CamillaDSP as biquads at --rate, REW as analog filters) against the device's
model of the channel. With --baseline the same runs with another build of
filtaro-cli (before and after a change). Prints each file and the median,
90th percentile and largest value of each column.

The filter definitions here are written out independently of the program,
from the Audio-EQ-Cookbook, Equalizer APO's configuration reference and its
corner-frequency rule for shelves, CamillaDSP's filter documentation, and
the device's model as the program's documentation states it. Python 3
with PyYAML (Debian: python3-yaml) for the CamillaDSP files.
"""

import argparse
import cmath
import glob
import math
import os
import re
import struct
import subprocess
import sys
import tempfile

import yaml

GRID = [20.0 * 10 ** (k / 1000.0) for k in range(3001)]

# --- The device's analog model -------------------------------------------


def sec2(f, f0, q, high):
    r = (f / f0) ** 2
    d = math.sqrt((1 - r) ** 2 + (f / (f0 * q)) ** 2)
    return (r if high else 1.0) / d


def sec1(f, w, high):
    return (f if high else w) / math.sqrt(f * f + w * w)


HP_TABLE = {
    1: [("1", 1.0, 1.0)], 2: [("2", 1.0, 0.71)], 3: [("2", 1.0, 1.0), ("1", 1.0, 1.0)],
    4: [("2", 0.997, 0.54), ("2", 1.0, 1.31)], 5: [("2", 0.791, 0.58)],
    6: [("2", 0.69, 0.69), ("1", 1.323, None)], 7: [("2", 0.695, 0.52), ("2", 0.626, 0.81)],
    8: [("1", 1.0, 1.0), ("1", 1.0, 1.0)], 9: [("2", 1.0, 0.71), ("2", 1.0, 0.71)],
}
LP_TABLE = {
    1: [("1", 1.0, 1.0)], 2: [("2", 1.0, 0.71)], 3: [("2", 1.0, 1.0), ("1", 1.0, 1.0)],
    4: [("2", 1.0, 0.54), ("2", 1.0, 1.31)], 5: [("2", 1.26, 0.58)],
    6: [("2", 1.446, 0.69), ("1", 1.323, None)], 7: [("2", 1.44, 0.52), ("2", 1.6, 0.81)],
    8: [("1", 1.0, 1.0), ("1", 1.0, 1.0)], 9: [("2", 1.0, 0.71), ("2", 1.0, 0.71)],
}


def crossover_db(f, fc, code, high):
    m = 1.0
    for kind, factor, q in (HP_TABLE if high else LP_TABLE).get(code, []):
        if kind == "2":
            m *= sec2(f, fc * factor, q, high)
        else:  # first order: the high-pass corner at fc / k, the low-pass at fc * k
            m *= sec1(f, fc / factor if high else fc * factor, high)
    return 20 * math.log10(m)


def band_db(f, f0, code, gain, band):
    if gain == 0 or f0 <= 0 or code <= 0:
        return 0.0
    a = 10 ** (gain / 20.0)
    if code <= 20:
        q = code / 2.0
        s = 1j * f / f0
        h = 1 + (a - 1) * (s / q) / (s * s + s / q + 1)
    else:
        q = {21: 0.3, 22: 0.5, 23: 0.7}.get(code, code)
        s = 1j * f / f0
        t = (s * s if band == 5 else 1) / (s * s + s / q + 1)
        h = 1 + (a - 1) * t
    return 20 * math.log10(abs(h))


def channel_db(rec, f, eq=True, crossovers=True, level=False):
    db = rec["level"] if level else 0.0
    if crossovers:
        db += crossover_db(f, rec["hpf"], rec["hpt"], True)
        db += crossover_db(f, rec["lpf"], rec["lpt"], False)
    if eq:
        for e, (f0, code, gain) in enumerate(rec["eq"]):
            db += band_db(f, f0, code, gain, e)
    return db


def read_channel(path):
    data = open(path, "rb").read()
    v = struct.unpack_from("<26i", data, 284)
    return {"level": v[0], "hpf": v[1], "hpt": v[2], "lpf": v[3], "lpt": v[4],
            "eq": [(v[8 + 3 * e], v[9 + 3 * e], v[10 + 3 * e]) for e in range(6)]}


# --- The Audio-EQ-Cookbook ------------------------------------------------


def cookbook_analog(kind, f0, gain, q):
    a = 10 ** (gain / 40.0)

    def h(f):
        s = 1j * f / f0
        if kind == "PK":
            return (s * s + s * a / q + 1) / (s * s + s / (a * q) + 1)
        if kind == "LS":
            return a * (s * s + s * math.sqrt(a) / q + a) / (a * s * s + s * math.sqrt(a) / q + 1)
        if kind == "HS":
            return a * (a * s * s + s * math.sqrt(a) / q + 1) / (s * s + s * math.sqrt(a) / q + a)
        if kind == "HP":
            return s * s / (s * s + s / q + 1)
        if kind == "LP":
            return 1 / (s * s + s / q + 1)
        if kind == "HP1":
            return s / (s + 1)
        return 1 / (s + 1)  # LP1
    return h


def cookbook_biquad(kind, f0, gain, q, fs):
    """b0, b1, b2, a0, a1, a2 from the cookbook's digital formulas."""
    a = 10 ** (gain / 40.0)
    w0 = 2 * math.pi * f0 / fs
    c, sn = math.cos(w0), math.sin(w0)
    if kind in ("HP1", "LP1"):
        k = math.tan(w0 / 2)
        if kind == "HP1":
            return (1, -1, 0, 1 + k, k - 1, 0)
        return (k, k, 0, 1 + k, k - 1, 0)
    al = sn / (2 * q)
    be = 2 * math.sqrt(a) * al
    if kind == "PK":
        return (1 + al * a, -2 * c, 1 - al * a, 1 + al / a, -2 * c, 1 - al / a)
    if kind == "LS":
        return (a * ((a + 1) - (a - 1) * c + be), 2 * a * ((a - 1) - (a + 1) * c),
                a * ((a + 1) - (a - 1) * c - be), (a + 1) + (a - 1) * c + be,
                -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - be)
    if kind == "HS":
        return (a * ((a + 1) + (a - 1) * c + be), -2 * a * ((a - 1) + (a + 1) * c),
                a * ((a + 1) + (a - 1) * c - be), (a + 1) - (a - 1) * c + be,
                2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - be)
    if kind == "HP":
        return ((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + al, -2 * c, 1 - al)
    return ((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + al, -2 * c, 1 - al)  # LP


def biquad_h(coefficients, fs):
    b0, b1, b2, a0, a1, a2 = coefficients

    def h(f):
        z = cmath.exp(-2j * math.pi * f / fs)
        return (b0 + b1 * z + b2 * z * z) / (a0 + a1 * z + a2 * z * z)
    return h


# --- Equalizer APO and REW text, as Equalizer APO reads it ------------------

NUMBER = r"[-+]?[0-9][0-9.,]*(?:[eE][-+]?[0-9]+)?"


def number(text):
    return float(text.replace(",", "."))


def frequency(text):
    text = text.replace(",", ".")
    value = float(text)
    if len(text) >= 5 and "e" not in text.lower() and text[-4] == ".":
        value *= 1000  # REW's thousands separator, as APO reads it
    return value


def apo_sections(text, rate=None):
    """(preamp dB, [(h, kind)]) of a text; `rate` picks "If: sampleRate ==" branches,
    without it the "Else:" branch of such blocks."""
    preamp, sections = 0.0, []
    stack = []  # per If block: [taking, done]

    def active():
        return all(taking for taking, _ in stack)
    for raw in text.splitlines():
        line = raw.strip()
        m = re.match(r"(If|ElseIf|Else|EndIf)\s*:\s*(.*)", line)
        if m:
            word, cond = m.groups()
            rate_of = re.match(r"sampleRate\s*==\s*([0-9.]+)", cond)
            holds = rate is not None and rate_of is not None and float(rate_of.group(1)) == rate
            if word == "If":
                stack.append([holds, holds])
            elif word == "ElseIf" and stack:
                stack[-1] = [holds and not stack[-1][1], stack[-1][1] or holds]
            elif word == "Else" and stack:
                stack[-1] = [not stack[-1][1], True]
            elif stack:
                stack.pop()
            continue
        if not active():
            continue
        m = re.match(r"Preamp\s*:\s*(" + NUMBER + r")\s*dB", line, re.I)
        if m:
            preamp += number(m.group(1))
            continue
        m = re.match(r"Filter\s*[0-9]*\s*:\s*ON\s+IIR\s+Order\s+2\s+Coefficients\s+(.*)", line)
        if m and rate is not None:
            sections.append((biquad_h(tuple(float(x) for x in m.group(1).split()), rate), "IIR"))
            continue
        # Case aside, as the program reads it (Equalizer APO itself wants "ON").
        m = re.match(r"Filter\s*[0-9]*\s*:\s*ON\s+([A-Za-z]+)(?:\s+(" + NUMBER + r")\s*dB)?(.*)$",
                     line, re.I)
        if not m:
            continue
        name, slope, rest = m.group(1), m.group(2), m.group(3)
        fc = re.search(r"Fc\s*(" + NUMBER + r")\s*Hz", rest)
        gain = re.search(r"Gain\s*(" + NUMBER + r")\s*dB", rest)
        q = re.search(r"\bQ\s*(" + NUMBER + r")", rest)
        bw = re.search(r"BW\s+Oct\s*(" + NUMBER + r")", rest)
        if not fc:
            continue
        f0 = frequency(fc.group(1))
        g = number(gain.group(1)) if gain else 0.0
        upper = name.upper()
        if upper in ("PK", "PEQ", "MODAL"):
            if bw:
                n = 2 ** number(bw.group(1))
                qq = math.sqrt(n) / (n - 1)
            else:
                qq = number(q.group(1))
            sections.append(("PK", f0, g, qq))
        elif upper in ("LS", "HS", "LSC", "HSC"):
            a = 10 ** (g / 40.0)
            if q:
                qq = number(q.group(1))
                s = 1 / ((1 / qq ** 2 - 2) / (a + 1 / a) + 1)
            else:
                s = number(slope) / 12.0 if slope else 0.9
                qq = 1 / math.sqrt((a + 1 / a) * (1 / s - 1) + 2)
            if not upper.endswith("C") and (q or slope):  # APO: a corner frequency
                factor = 10 ** (abs(g) / (80.0 * s))
                f0 = f0 * factor if upper == "LS" else f0 / factor
            sections.append(("LS" if upper.startswith("L") else "HS", f0, g, qq))
        elif upper in ("HP", "HPQ", "LP", "LPQ"):
            qq = number(q.group(1)) if q else math.sqrt(0.5)
            sections.append(("HP" if upper.startswith("H") else "LP", f0, 0.0, qq))
    out = []
    for s in sections:
        if s[1] == "IIR":
            out.append(s)
        elif rate is None:
            out.append((cookbook_analog(*s), s[0]))
        elif s[1] < rate / 2:
            out.append((biquad_h(cookbook_biquad(*s, rate), rate), s[0]))
    return preamp, out


def camilla_sections(text, rate):
    config = yaml.safe_load(text)
    out = []
    step = next(s for s in config["pipeline"] if s["type"] == "Filter" and s["channels"] == [0])
    for name in step["names"]:
        f = config["filters"][name]
        if f["type"] != "Biquad":
            continue
        p = f["parameters"]
        t = p["type"]
        if t == "Free":
            out.append((biquad_h((p["b0"], p["b1"], p["b2"], 1, p["a1"], p["a2"]), rate), t))
            continue
        kind = {"Peaking": "PK", "Lowshelf": "LS", "Highshelf": "HS", "Highpass": "HP",
                "Lowpass": "LP", "HighpassFO": "HP1", "LowpassFO": "LP1"}[t]
        out.append((biquad_h(cookbook_biquad(kind, p["freq"], p.get("gain", 0.0),
                                             p.get("q", 1.0), rate), rate), t))
    return out


def played_db(sections, f):
    return sum(20 * math.log10(max(abs(h(f)), 1e-30)) for h, _ in sections)


# --- Running the program ----------------------------------------------------


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True, text=True)


def import_difference(cli, text_path, work):
    base = os.path.join(work, "leer.dat")
    out = os.path.join(work, "import.dat")
    if not os.path.exists(base):
        run(cli, "new", base)
    if os.path.exists(out):
        os.remove(out)
    r = run(cli, "import", base, text_path, "--preset", "1", "--channel", "1", "--out", out)
    if r.returncode != 0 or not os.path.exists(out):
        return (None, None), None
    rec = read_channel(out)
    text = open(text_path, encoding="utf-8", errors="replace").read()
    preamp, design = apo_sections(text)
    has = {k for _, k in design}
    eq = bool(has & {"PK", "LS", "HS"})
    crossovers = bool(has & {"HP", "LP"})
    level = re.search(r"^\s*Preamp", text, re.M | re.I) is not None
    worst = squares = 0.0
    for k, f in enumerate(GRID):
        d = (preamp if level else 0.0) + played_db(design, f)
        d -= channel_db(rec, f, eq=eq, crossovers=crossovers, level=level)
        worst = max(worst, abs(d))
        if k % 10 == 0:
            squares += d * d
    return (worst, math.sqrt(squares / 301)), out


def export_differences(cli, dat, rate, work):
    """Largest difference (all, below 10 kHz) of each format against the device."""
    rec = read_channel(dat)
    result = {}
    for fmt in ("apo", "rew", "camilladsp"):
        path = os.path.join(work, "export." + fmt)
        args = ["export", dat, "--format", fmt, "--preset", "1", "--out", path]
        args += ["--channel", "1"] if fmt != "camilladsp" else []
        done = fmt != "rew" and run(cli, *args, "--rate", str(rate)).returncode == 0
        if not done and run(cli, *args).returncode != 0:  # a build without --rate for apo
            result[fmt] = (None, None)
            continue
        text = open(path, encoding="utf-8").read()
        if fmt == "camilladsp":
            played = camilla_sections(text, rate)
        else:
            played = apo_sections(text, rate if fmt == "apo" else None)[1]
        worst = below = 0.0
        for f in GRID:
            d = abs(played_db(played, f) - channel_db(rec, f))
            worst = max(worst, d)
            if f <= 10000:
                below = max(below, d)
        result[fmt] = (worst, below)
    return result


def stats(values):
    v = sorted(x for x in values if x is not None)
    if not v:
        return "-"
    median = v[len(v) // 2] if len(v) % 2 else (v[len(v) // 2 - 1] + v[len(v) // 2]) / 2
    p90 = v[min(len(v) - 1, int(math.ceil(0.9 * len(v))) - 1)]
    return "median %.2f  p90 %.2f  max %.2f  (n=%d)" % (median, p90, v[-1], len(v))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("dir")
    parser.add_argument("--baseline")
    parser.add_argument("--rate", type=int, default=48000)
    a = parser.parse_args()
    builds = [("vorher", a.baseline)] if a.baseline else []
    builds.append(("nachher", a.cli))
    columns = {}
    files = sorted(glob.glob(os.path.join(a.dir, "*.txt")))
    with tempfile.TemporaryDirectory() as work:
        for path in files:
            row = [os.path.basename(path)]
            current = None
            for label, cli in builds:
                (d, rms), dat = import_difference(cli, path, work)
                columns.setdefault("Import " + label, []).append(d)
                columns.setdefault("Import " + label + " RMS", []).append(rms)
                row.append("%s %s" % (label, "-" if d is None else "%.2f (RMS %.2f)" % (d, rms)))
                if label == "nachher":
                    current = dat
            if current:
                for label, cli in builds:
                    for fmt, (worst, below) in export_differences(cli, current, a.rate,
                                                                  work).items():
                        columns.setdefault("Export %s %s" % (fmt, label), []).append(worst)
                        columns.setdefault("Export %s %s bis 10 kHz" % (fmt, label),
                                           []).append(below)
            print("  ".join(row))
    print()
    for name in sorted(columns):
        print("%-36s %s" % (name, stats(columns[name])))


if __name__ == "__main__":
    sys.exit(main())
