#!/usr/bin/env python3
"""A corpus of input data files and a differential runner for two torva hosts.

  corpus.py gen OUTDIR [--count N] [--seed S]
      writes N input data files (default 320) and their manifest corpus.json: hand-written
      families of models that once went wrong, then models drawn by a seeded sampler across
      the p-y criteria, 2-D and 3-D, caps, soil movement, load steps, pile tolerances, loads
      and units. The same seed writes the same files.
  corpus.py check --host H CORPUSDIR OUTDIR [-j N] [-k REGEX]
      runs every file once and lists each one that the reader refuses or warns about (a
      fault of the generator) or that ends with an engine error; exit 1 when there is any.
  corpus.py run --host A [--base B] CORPUSDIR... OUTDIR [-j N] [--timeout S] [-k REGEX]
                [--reuse-base]
      runs every file of the CORPUSDIRs (examples/ may be one) through host A, and through
      base B when given, each run in its own folder OUTDIR/new/<name>/ (OUTDIR/base/<name>/)
      with OMP_NUM_THREADS=1. It reads the host's exit status, the outcome of every analysis
      (<name>.cas), the final cap displacements (Table L of <name>.out) and checks that the
      pile-head forces of every completed analysis (Table M, a 2-D row times its piles) and
      the cap's passive force balance the cap load. The report (stdout, OUTDIR/report.json,
      OUTDIR/report.csv) gives the runs by status for each host; every file whose outcome
      differs; the largest changes of a cap displacement among the analyses that complete on
      both; the files whose every output file is byte-identical apart from date and time
      lines; the largest imbalances; the spread of the cap displacements of a model run at
      several load steps or pile tolerances (files named alike but for _step<f> or _tol<t>);
      and, with a manifest, the files that do not complete by family and feature.
      Exit 1 when a file or an analysis that completes on the base does not on the new host.
  corpus.py report OUTDIR
      writes the report again from the results of an earlier run.

Standard library only.
"""
import argparse
import concurrent.futures
import csv
import json
import math
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

# ==========================================================================================
# Units
# ==========================================================================================


def sig(x, n=4):
    """x rounded to n significant digits (as a designer writes a converted value)."""
    if x == 0 or not math.isfinite(x):
        return x
    return round(x, n - 1 - int(math.floor(math.log10(abs(x)))))


class Units:
    """Values chosen in US customary units, written in the file's units.

    Lengths of the model go through L() (ft, or m rounded to 5 cm): every length that must
    agree with another (the ground and the top of the first layer, section ends and the pile
    length) is derived after the conversion, from converted values."""

    def __init__(self, si):
        self.si = si
        self.iunits = 2 if si else 1

    def L(self, ft):  # lengths of the model: ft | m
        return round(ft * 0.3048 * 20) / 20 if self.si else ft

    def dim(self, inch):  # cross-section dimensions: in | mm
        return sig(inch * 25.4, 5) if self.si else inch

    def area(self, in2):
        return sig(in2 * 645.16, 5) if self.si else in2

    def inertia(self, in4):
        return sig(in4 * 416231.4, 5) if self.si else in4

    def gamma(self, pcf):
        return round(pcf * 0.15709, 1) if self.si else pcf

    def coh(self, psf):  # cohesion, side friction, tip resistance: psf | kPa
        return sig(psf * 0.047880, 3) if self.si else psf

    def psi(self, v):  # qu of rock, moduli: psi | kPa
        return sig(v * 6.894757, 4) if self.si else v

    def k(self, pci):  # subgrade modulus: pci | kN/m3
        return sig(pci * 271.447, 3) if self.si else pci

    def force(self, lb):
        return sig(lb * 4.448222e-3, 4) if self.si else lb

    def moment(self, lbin):
        return sig(lbin * 1.129848e-4, 4) if self.si else lbin

    def ei(self, lbin2):  # GJ: lb in2 | kN m2
        return sig(lbin2 * 2.869815e-6, 5) if self.si else lbin2

    def dload(self, lbpin):  # distributed load, p of p-y curves: lb/in | kN/m
        return sig(lbpin * 0.1751268, 4) if self.si else lbpin

    def disp(self, inch):  # displacements, y, tolerances: in | m
        return sig(inch * 0.0254, 6) if self.si else inch

    def stiff(self, lbpin2):  # cap hyperbolic k50: lb/in2 | kN/m2
        return sig(lbpin2 * 6.894757, 4) if self.si else lbpin2


def fnum(x):
    """A real as the file writes it: up to 6 significant digits, always with a point."""
    x = float(x)
    if x == 0:
        return '0.0'
    s = '%.6g' % x
    if 'e' in s:
        mant, exp = s.split('e')
        if '.' not in mant:
            mant += '.0'
        return '%sE%d' % (mant, int(exp))
    if '.' not in s:
        s += '.0'
    return s


def line(*vals):
    out = []
    for v in vals:
        if isinstance(v, bool):
            v = int(v)
        if isinstance(v, int):
            out.append(str(v))
        elif isinstance(v, float):
            out.append(fnum(v))
        else:
            out.append(str(v))
    return ' '.join(out)


# ==========================================================================================
# Cross sections (properties worked out in US units, converted by the writer)
# ==========================================================================================

G_STEEL, E_STEEL, FY_STEEL = 11.2e6, 29.0e6, 50000.0


def pipe(D, t):
    d = D - 2 * t
    A = math.pi / 4 * (D ** 2 - d ** 2)
    I = math.pi / 64 * (D ** 4 - d ** 4)
    Z = (D ** 3 - d ** 3) / 6
    return dict(name=('PIPE {} X {}', (D, t)), shape=1, dims=[D, d, 0, 0, 0, 0, 0, 0],
                G=G_STEEL, A=A, Iz=I, Iy=I, GJ=G_STEEL * 2 * I, Mn=FY_STEEL * Z,
                Vn=0.6 * FY_STEEL * A / 2, E=E_STEEL, fam=0, wall=t, extdia=1, name2='NONE')


# HP shapes: depth, flange width, flange and web thickness, area, Ix, Iy, J, Zx
HP = {
    'HP10X42': (9.70, 10.1, 0.420, 0.415, 12.4, 210.0, 71.7, 0.81, 48.3),
    'HP12X53': (11.8, 12.0, 0.435, 0.435, 15.5, 393.0, 127.0, 1.12, 74.0),
    'HP14X73': (13.6, 14.6, 0.505, 0.505, 21.4, 729.0, 261.0, 2.01, 118.0),
    'HP14X89': (13.8, 14.7, 0.615, 0.615, 26.1, 904.0, 326.0, 3.59, 146.0),
}


def hpile(name):
    d, bf, tf, tw, A, Ix, Iy, J, Zx = HP[name]
    return dict(name=name, shape=4, dims=[bf, 0, bf, d, 0, 0, tf, tw], G=G_STEEL, A=A,
                Iz=Ix, Iy=Iy, GJ=G_STEEL * J, Mn=FY_STEEL * Zx, Vn=0.6 * FY_STEEL * d * tw,
                E=E_STEEL, fam=3, wall=0.0, extdia=0, name2=name)


def concrete_square(b, fc=5000.0):
    E = 57000 * math.sqrt(fc)
    return dict(name=('PRESTRESSED SQUARE {}', (b,)), shape=0, dims=[b, 0, 0, 0, 0, 0, 0, 0],
                G=E / 2.4, A=b * b, Iz=b ** 4 / 12, Iy=b ** 4 / 12, GJ=E / 2.4 * 0.1406 * b ** 4,
                Mn=0.16 * fc * b ** 3, Vn=4 * math.sqrt(fc) * 0.8 * b * b, E=E, fam=0,
                wall=0.0, extdia=0, name2='NONE')


def concrete_round(D, fc=4000.0, label='DRILLED SHAFT'):
    E = 57000 * math.sqrt(fc)
    A = math.pi * D * D / 4
    I = math.pi * D ** 4 / 64
    return dict(name=(label + ' {}', (D,)), shape=0, dims=[D, 0, 0, 0, 0, 0, 0, 0],
                G=E / 2.4, A=A, Iz=I, Iy=I, GJ=E / 2.4 * 2 * I, Mn=0.12 * fc * D ** 3,
                Vn=3.2 * math.sqrt(fc) * 0.8 * A, E=E, fam=0, wall=0.0, extdia=1,
                name2='NONE')


def timber_tapered(butt, tip):
    """A round timber pile tapering from its butt to its tip (values at both ends)."""
    E, G = 1.5e6, 0.1e6

    def vals(D):
        A = math.pi * D * D / 4
        I = math.pi * D ** 4 / 64
        return [G, A, I, I, 0.0, G * 2 * I, 2400 * math.pi * D ** 3 / 32, 180 * A, E, 0.0]

    top = vals(butt)
    s = dict(name=('TIMBER {}-{}', (butt, tip)), shape=0, dims=[butt, 0, 0, 0, 0, 0, 0, 0],
             G=top[0], A=top[1], Iz=top[2], Iy=top[3], GJ=top[5], Mn=top[6], Vn=top[7],
             E=top[8], fam=0, wall=0.0, extdia=1, name2='NONE')
    s['taper'] = ([tip, 0, 0, 0, 0, 0, 0, 0], vals(tip))
    return s


# Lateral and vertical service loads per pile (lb) that a designer would give each section.
SECTIONS = {
    'pipe16': (lambda: pipe(16.0, 0.5), 20000.0, 150000.0),
    'pipe24': (lambda: pipe(24.0, 0.5), 40000.0, 250000.0),
    'pipe12': (lambda: pipe(12.75, 0.375), 12000.0, 100000.0),
    'hp12': (lambda: hpile('HP12X53'), 14000.0, 120000.0),
    'hp14': (lambda: hpile('HP14X73'), 20000.0, 150000.0),
    'hp14x89': (lambda: hpile('HP14X89'), 24000.0, 180000.0),
    'sq14': (lambda: concrete_square(14.0), 15000.0, 120000.0),
    'sq18': (lambda: concrete_square(18.0), 25000.0, 180000.0),
    'shaft30': (lambda: concrete_round(30.0), 60000.0, 400000.0),
    'shaft36': (lambda: concrete_round(36.0), 80000.0, 500000.0),
}


def section_name(u, name):
    """A cross section's name with its dimensions in the file's units: a catalogue name as it
    stands, else a template and the dimensions in inches."""
    if isinstance(name, str):
        return name
    template, dims = name
    vals = ['%g' % (sig(u.dim(d), 3) if u.si else d) for d in dims]
    return template.format(*vals) + (' MM' if u.si else ' IN')


def section_values(u, s):
    """The 8 dimensions and the 10 values of record 4 of a cross section in the file's units."""
    dims = [u.dim(v) for v in s['dims']]
    vals = [u.psi(s['G']), u.area(s['A']), u.inertia(s['Iz']), u.inertia(s['Iy']), 0.0,
            u.ei(s['GJ']), u.moment(s['Mn']), u.force(s['Vn']), u.psi(s['E']), 0.0]
    return dims, vals


# ==========================================================================================
# Soil
# ==========================================================================================

CRITERIA = {1: 'soft clay', 2: 'stiff clay with free water', 3: 'stiff clay without free water',
            4: 'sand', 5: 'user p-y curves', 6: 'vuggy limestone', 7: 'silt', 8: 'API sand',
            9: 'weak rock', 10: 'stiff clay with initial k', 11: 'liquefied sand',
            12: 'elastic subgrade', 13: 'soft clay with J', 14: 'modified soft clay with k'}


def soil_values(crit, rnd, depth_ft=0.0):
    """Top and bottom rows (9 values each, US units) of a layer of this criterion."""
    r = rnd.uniform
    g = 0.0
    top = [0.0] * 9
    if crit in (1, 13, 14):
        c = round(r(250, 800), -1)
        e50 = rnd.choice([0.02, 0.01])
        g = rnd.choice([55.0, 60.0, 100.0, 105.0])
        top[:] = [g, c, 0, 0, 0, e50, 0, 0, 0]
        if crit in (13, 14):
            top[6] = rnd.choice([0.25, 0.5])
        if crit == 14:
            top[3] = rnd.choice([30.0, 50.0, 100.0])
        bot = list(top)
        bot[1] = round(c * r(1.2, 1.8), -1)
    elif crit in (2, 3, 10):
        c = round(r(1000, 4000), -2)
        e50 = 0.007 if c < 2000 else (0.005 if c < 4000 else 0.004)
        g = 60.0 if crit == 2 else rnd.choice([115.0, 120.0, 125.0])
        top[:] = [g, c, 0, 0, 0, e50, 0, 0, 0]
        if crit == 2:
            top[3] = 500.0 if c < 2000 else (1000.0 if c < 4000 else 2000.0)
        if crit == 10:
            top[3] = rnd.choice([400.0, 500.0, 1000.0])
        bot = list(top)
        bot[1] = round(c * r(1.0, 1.5), -2)
    elif crit in (4, 8):
        phi = round(r(30, 38))
        wet = rnd.random() < 0.5
        g = rnd.choice([55.0, 60.0, 65.0]) if wet else rnd.choice([110.0, 115.0, 120.0])
        k = (20.0 if phi < 32 else 60.0 if phi < 36 else 125.0) if wet else \
            (25.0 if phi < 32 else 90.0 if phi < 36 else 225.0)
        top[:] = [g, 0, phi, k, 0, 0, 0, 0, 0]
        bot = list(top)
    elif crit == 7:
        top[:] = [rnd.choice([100.0, 110.0]), round(r(200, 600), -1), round(r(20, 28)),
                  rnd.choice([50.0, 100.0]), 0, 0.01, 0, 0, 0]
        bot = list(top)
    elif crit == 6:
        top[:] = [135.0, round(r(1000, 3000), -2), 0, 0, 0, 0, 0, 6000.0, 60000.0]
        bot = list(top)
    elif crit == 9:
        qu = round(r(500, 1500), -1)
        top[:] = [135.0, qu, 0, 0, round(r(50000, 200000), -3), rnd.choice([0.0005, 0.0001]),
                  round(r(30, 70)), 4000.0, 40000.0]
        bot = list(top)
    elif crit == 11:
        top[:] = [55.0, 0, 0, 0, 0, 0, 0, 200.0, 0]
        bot = list(top)
    elif crit == 12:
        k = rnd.choice([50.0, 100.0, 150.0, 300.0])
        top[:] = [110.0, rnd.choice([0.0, 0.0, 3000.0]), 0, k, 0, 0, 0, 800.0, 20000.0]
        bot = list(top)
    elif crit == 5:
        top[:] = [110.0, 1000.0, 30.0, 0, 0, 0.007, 0, 0, 0]
        bot = list(top)
    else:
        raise ValueError(crit)
    return top, bot


def soil_row(u, crit, v):
    """One row of layer values (US units, as soil_values gives them) in the file's units."""
    strength = u.psi(v[1]) if crit in (6, 9) else u.coh(v[1])
    return [u.gamma(v[0]), strength, v[2], u.k(v[3]), u.psi(v[4]), v[5], v[6], u.coh(v[7]),
            u.coh(v[8])]


# ==========================================================================================
# The model and its writer
# ==========================================================================================


class Model:
    """One input data file. Every value is held in the file's units."""

    def __init__(self, name, title, si=False, ndim=3):
        self.name = name
        self.title1 = title[:80]
        self.title2 = ''
        self.u = Units(si)
        self.ndim = ndim
        self.icapopt = 0
        self.cap = (0.0, 0.0, 0.0)
        self.caprec2 = None  # (ICAPSPR, ICAPMOD, NCAPINC, CAPK50, CAPFULT, CAPYMAX)
        self.iredfac = 0
        self.ibatter = 0
        self.cases = []
        self.combos = []
        self.curves = []      # load-versus-depth curves: [(distance, intensity)]
        self.rows = []
        self.props = []
        self.xsecs = []
        self.layers = []      # dict(crit, top, bot, rows=[9 values]*2), in the file's units
        self.pysets = []      # [(depth, [(p, y)])]
        self.lsgen = []
        self.trgen = []
        self.lscurves = []    # [(load, movement)]
        self.trcurves = []    # [(torque, rotation)]
        self.movement = None  # [(depth, my, mz)]

    # ---- building helpers --------------------------------------------------------------

    def add_xsec(self, s):
        self.xsecs.append(s)
        return len(self.xsecs)

    def add_prop(self, length, nseg, sections, kind=1):
        """sections: [(from, to, cross-section number)] along the pile, in the file's units."""
        self.props.append(dict(length=length, nseg=nseg, kind=kind, sections=sections))
        return len(self.props)

    def add_row(self, **kw):
        row = dict(cony=2, conz=2, npile=1, prop=1, pyset=0, lsno=0, trno=0, pmod=0,
                   lsgno=0, trgno=0, spz=0.0, spy=0.0, spacing=0.0, pm=1.0, ym=1.0,
                   x=0.0, y=0.0, z=0.0, alpha=0.0, beta=90.0, theta=0.0, free=0.0)
        row.update(kw)
        self.rows.append(row)
        return len(self.rows)

    def add_case(self, name, loads=(), facinc=1.0, tolpile=None, **kw):
        c = dict(name=name[:80], loads=list(loads), facinc=facinc,
                 tolpile=self.u.disp(1.0e-6) if tolpile is None else tolpile,
                 tolcap=1.0e-4, facmin=None, maxitfnd=100, maxitllp=500, istatic=1,
                 cycles=1, ltype=0, idisp=None, dist=[], iprt=1, nprstep=1, scale=1.0,
                 iaxvar=0, skip=0)
        c.update(kw)
        self.cases.append(c)
        return len(self.cases)

    def add_combo(self, name, members, facinc=1.0, tolpile=None):
        self.combos.append(dict(name=name[:80], members=members, facinc=facinc,
                                tolpile=self.u.disp(1.0e-6) if tolpile is None else tolpile))

    def gen_axial(self):
        """Generated load-settlement curves for every row without a user curve (one per row);
        torque-rotation curves (3-D) one per pile property."""
        self.lsgen = []
        for g, row in enumerate(self.rows, 1):
            if row['lsno'] == 0:
                self.lsgen.append(g)
                row['lsgno'] = len(self.lsgen)
        self.trgen = []
        if self.ndim == 3:
            first = {}
            for g, row in enumerate(self.rows, 1):
                if row['trno'] == 0:
                    if row['prop'] not in first:
                        self.trgen.append(g)
                        first[row['prop']] = len(self.trgen)
                    row['trgno'] = first[row['prop']]

    # ---- writer ------------------------------------------------------------------------

    def text(self):
        u = self.u
        out = [self.title1, self.title2 or ('CORPUS MODEL %s' % self.name)[:80]]
        w = out.append
        ipyuser = 1 if self.pysets else 0
        iusrls = 1 if self.lscurves else 0
        itruser = 1 if self.trcurves else 0
        ismove = 1 if self.movement is not None else 0
        w('CONTROL RECORD')
        w(line(u.iunits, self.ndim, self.icapopt, 0, ipyuser, iusrls, itruser, self.iredfac,
               0, 0, 0, 0, 0, self.ibatter, 1, 1, 0, ismove, 0, 0))
        w('PILE CAP')
        w(line(float(self.cap[0]), float(self.cap[1]), float(self.cap[2]), 0.0, 0.0, 0))
        if self.icapopt > 1:
            s, mod, n, k50, fult, ymax = self.caprec2
            w(line(s, mod, n, float(k50), float(fult), float(ymax)))
        w('LOAD CASES')
        w(line(len(self.cases), 0, 0, 0, 0))
        for c in self.cases:
            facmin = c['facmin'] if c['facmin'] is not None else min(0.01, c['facinc'] / 4)
            w(line(0, 0, 0, c['istatic'], c['cycles'], c['maxitfnd'], c['maxitllp']))
            w(line(float(c['tolcap']), float(c['tolpile']), float(c['facinc']), float(facmin)))
            w(c['name'])
            w(line(c['ltype'], 0, 0, 0, 0, 0, 0, 1 if c['idisp'] else 0))
            w(line(c['iprt'], c['nprstep'], float(c['scale']), 0, 0.0, 0.0, c['iaxvar'],
                   c['skip'], 0))
            w('0')
            w(line(*([1] * 25)))
            w(str(len(c['loads'])))
            for ld in c['loads']:
                w(line(*[float(v) for v in ld]))
            w(str(len(c['dist'])))
            for d in c['dist']:
                w(line(0, d[0], d[1], d[2], d[3], d[4], float(d[5]), d[6], float(d[7])))
            w('0')
            if c['idisp']:
                icond, spval, point = c['idisp']
                w(line(*icond))
                w(line(*[float(v) for v in spval[:6]]))
                w(line(*[float(v) for v in spval[6:12]]))
                w(line(*[float(v) for v in point]))
        w('LOAD COMBINATIONS')
        w(line(len(self.combos), 0, 0, 0, 0))
        for cb in self.combos:
            w(line(0, 0, 0, 1, 1, 100, 500))
            w(line(1.0e-4, float(cb['tolpile']), float(cb['facinc']),
                   min(0.01, cb['facinc'] / 4)))
            w(cb['name'])
            w(line(1.0, 1.0, len(cb['members'])))
            w(line(1, 1, 0, 0.0, 0.0, 0, 0, 0))
            w('0')
            w(line(*([1] * 25)))
            w(str(len(cb['members'])))
            for case, fac in cb['members']:
                w(line(case, float(fac)))
        w('LOAD VERSUS DEPTH CURVES')
        w(str(len(self.curves)))
        for cv in self.curves:
            w(str(len(cv)))
            for d, v in cv:
                w(line(float(d), float(v)))
        w('PILE GROUP ROWS')
        w(str(len(self.rows)))
        for r in self.rows:
            if self.ndim == 3:
                w(line(r['cony'], r['conz'], r['prop'], r['pyset'], r['lsno'], r['trno'],
                       r['pmod'], 0, r['lsgno'], r['trgno']))
                w(line(float(r['spz']), float(r['spy']), float(r['pm']), float(r['ym']),
                       float(r['pm']), float(r['ym']), 1.0))
                w(line(float(r['x']), float(r['y']), float(r['z']), float(r['alpha']),
                       float(r['beta']), float(r['theta']), float(r['free'])))
            else:
                w(line(r['cony'], r['npile'], r['prop'], r['pyset'], r['lsno'], r['pmod'],
                       r['lsgno']))
                w(line(float(r['spz']), float(r['spacing']), float(r['pm']), float(r['ym']),
                       1.0))
                w(line(float(r['x']), float(r['y']), float(r['alpha']), float(r['free'])))
        w('PILE PROPERTIES')
        w(str(len(self.props)))
        for t, p in enumerate(self.props, 1):
            w(line(t, len(p['sections'])))
            w(line(p['nseg'], float(p['length']), p['kind']))
            for a, b, k in p['sections']:
                w(line(float(a), float(b), k))
        w('CROSS SECTIONS')
        w(str(len(self.xsecs)))
        for k, s in enumerate(self.xsecs, 1):
            w(line(k, 0, s['shape'], 0))
            w("'%s'" % section_name(u, s['name']))
            dims, vals = section_values(u, s)
            w(line(*[float(v) for v in dims]))
            w(line(*[float(v) for v in vals], 1 if 'taper' in s else 0))
            if 'taper' in s:
                tdims, tvals = s['taper']
                w(line(*[float(u.dim(v)) for v in tdims]))
                tv = [u.psi(tvals[0]), u.area(tvals[1]), u.inertia(tvals[2]),
                      u.inertia(tvals[3]), 0.0, u.ei(tvals[5]), u.moment(tvals[6]),
                      u.force(tvals[7]), u.psi(tvals[8]), 0.0]
                w(line(*[float(v) for v in tv]))
            w(line(s['fam'], 0, float(u.dim(s['wall'])), s['extdia'], 0))
            w("'%s'" % s['name2'])
        w('SOIL LAYERS')
        w(str(len(self.layers)))
        for n, L in enumerate(self.layers, 1):
            w(line(n, L['crit']))
            w(line(float(L['top']), float(L['bot'])))
            w(line(2, 9))
            for v in L['rows']:
                w(line(*[float(x) for x in v]))
        if self.pysets:
            w('USER P-Y CURVES')
            w(str(len(self.pysets)))
            for s, curves in enumerate(self.pysets, 1):
                w(line(s, len(curves)))
                for depth, pts in curves:
                    w(fnum(depth))
                    w(str(len(pts)))
                    for p, y in pts:
                        w(line(float(p), float(y)))
        def row_list(title, rows):
            w(title)
            w(str(len(rows)))
            out.extend(str(g) for g in rows)

        def curve_list(title, curves):
            w(title)
            w(str(len(curves)))
            for i, cv in enumerate(curves, 1):
                w(line(i, len(cv)))
                out.extend(line(float(a), float(b)) for a, b in cv)

        row_list('ROWS WITH GENERATED LOAD-SETTLEMENT CURVES', self.lsgen)
        if self.ndim == 3:
            row_list('ROWS WITH GENERATED TORQUE-ROTATION CURVES', self.trgen)
        if self.lscurves:
            curve_list('USER LOAD-SETTLEMENT CURVES', self.lscurves)
        if self.trcurves:
            curve_list('USER TORQUE-ROTATION CURVES', self.trcurves)
        w('MOMENT-CURVATURE CURVES OF THE NONLINEAR CROSS SECTIONS')
        w('0')
        if self.movement is not None:
            w('SOIL MOVEMENT')
            w(str(len(self.movement)))
            for d, my, mz in self.movement:
                w(line(float(d), float(my), float(mz)))
        return '\n'.join(out) + '\n'


# ==========================================================================================
# Building a model from a designer's description (US units; converted on the way)
# ==========================================================================================

HEADS = {'fixed': (2, 0.0), 'pinned': (1, 0.0), 'spring': (3, 5.0e8)}


def user_py_set(u, ground, length, D):
    """A user p-y set for a pile of width D (in): curves stiffening with depth, as a
    designer reads them off a load test. Depths are X coordinates."""
    curves = []
    for dft in (0.0, 10.0, 25.0, length + 10.0):
        pult = (6.0 + 1.2 * dft) * D * 10.0   # lb/in
        y50 = 0.02 * D / 16.0 * 8.0           # in
        pts = [(0.0, 0.0)]
        for f in (0.1, 0.25, 0.5, 1.0, 3.0, 8.0, 20.0):
            y = y50 * f
            pts.append((u.dload(sig(pult * 0.5 * (y / y50) ** (1 / 3) if y < 8 * y50
                                    else pult, 4)), u.disp(sig(y, 4))))
        curves.append((round(ground + u.L(dft), 2), pts))
    return curves


def build(plan):
    """A Model from a description:

    name, title, si, ndim; sec (a SECTIONS key, a list of (key, fraction of the length) for
    several sections, or ('taper', butt, tip)); length (ft), nseg, kind; rows: 3-D
    [(y, z, alpha, beta)] in ft and degrees, 2-D [(y, batter deg, npile, spacing ft)];
    head ('fixed', 'pinned', 'spring'); level (ft of the heads above the ground, negative
    below); soil [(criterion, thickness ft or None for the rest, values or None)]; userpy;
    axial ('gen' or 'user'); cap (dict opt, dims ft, rec2); movement [(depth below the ground
    ft, y in, z in)]; cases [dict]; combos [(name, [(case, factor)])]; seed (for the soil
    values); iredfac; pmult."""
    rnd = random.Random(plan.get('seed', 1))
    si = plan.get('si', False)
    ndim = plan.get('ndim', 3)
    m = Model(plan['name'], plan['title'], si=si, ndim=ndim)
    u = m.u
    # cross sections and the pile property
    length = u.L(plan.get('length', 50.0))
    nseg = plan.get('nseg', 50)
    sec = plan.get('sec', 'pipe16')
    if isinstance(sec, tuple) and sec[0] == 'taper':
        k = m.add_xsec(timber_tapered(sec[1], sec[2]))
        sections = [(0.0, length, k)]
        width = sec[1]
        vert_ref = 60000.0
    elif isinstance(sec, list):
        sections, a = [], 0.0
        for i, (key, frac) in enumerate(sec):
            k = m.add_xsec(SECTIONS[key][0]())
            b = length if i == len(sec) - 1 else u.L(round(plan.get('length', 50.0) * frac))
            sections.append((a, b, k))
            a = b
        width = m.xsecs[0]['dims'][0]
        vert_ref = SECTIONS[sec[0][0]][2]
    else:
        k = m.add_xsec(SECTIONS[sec][0]())
        sections = [(0.0, length, k)]
        width = m.xsecs[0]['dims'][0]
        vert_ref = SECTIONS[sec][2]
    m.add_prop(length, nseg, sections, plan.get('kind', 1))
    # the ground and the heads
    level = u.L(plan.get('level', 0.0))
    ground = level
    # soil layers, from the ground down below every tip
    soil = plan.get('soil', [(4, None, None)])
    x = ground
    for i, (crit, thick, vals) in enumerate(soil):
        if vals is None:
            vals = soil_values(crit, rnd)
        last = i == len(soil) - 1
        bot = x + u.L(thick) if not last else max(x + u.L(thick or 0.0),
                                                   ground + length + u.L(15.0),
                                                   length + u.L(15.0))
        m.layers.append(dict(crit=crit, top=round(x, 3), bot=round(bot, 3),
                             rows=[soil_row(u, crit, v) for v in vals]))
        x = bot
    if plan.get('userpy') or any(c == 5 for c, _, _ in soil):
        m.pysets.append(user_py_set(u, ground, plan.get('length', 50.0), width))
    # user axial curves
    axial = plan.get('axial', 'gen')
    if axial == 'user':
        q = vert_ref * 2.5
        m.lscurves.append([(u.force(-0.6 * q), u.disp(-1.0)), (u.force(-0.3 * q), u.disp(-0.1)),
                           (0.0, 0.0), (u.force(0.6 * q), u.disp(0.15)),
                           (u.force(q), u.disp(1.0))])
        if ndim == 3:
            t = 2.0e6 * (width / 16.0) ** 2
            m.trcurves.append([(u.moment(-t), -0.02), (0.0, 0.0), (u.moment(t), 0.02)])
    # rows
    head = plan.get('head', 'fixed')
    con, spring = HEADS[head]
    spring = u.moment(spring)
    pm = plan.get('pmult', 1.0)
    pyset = 1 if m.pysets else 0
    for r in plan['rows']:
        if ndim == 3:
            y, z, alpha, beta = r
            m.add_row(cony=con, conz=con, spz=spring, spy=spring, pyset=pyset,
                      lsno=1 if axial == 'user' else 0, trno=1 if axial == 'user' else 0,
                      x=0.0, y=u.L(y), z=u.L(z), alpha=alpha, beta=beta, free=level, pm=pm)
        else:
            y, batter, npile, spacing = r
            m.add_row(cony=con, npile=npile, spz=spring, spacing=u.L(spacing), pyset=pyset,
                      lsno=1 if axial == 'user' else 0, x=0.0, y=u.L(y), alpha=batter,
                      free=level, pm=pm)
    m.iredfac = plan.get('iredfac', 0)
    m.gen_axial()
    # the cap
    cap = plan.get('cap')
    if cap:
        m.icapopt = cap['opt']
        m.cap = tuple(u.L(v) for v in cap['dims'])
        if cap['opt'] > 1:
            s, mod, n, k50, fult, ymax = cap['rec2']
            m.caprec2 = (s, mod, n, u.stiff(k50), u.dload(fult), u.disp(ymax))
    else:
        m.cap = tuple(u.L(v) for v in plan.get('capdims', (0.0, 0.0, 0.0)))
    # soil movement
    if plan.get('movement') is not None:
        m.movement = [(round(ground + u.L(d), 3), u.disp(my), u.disp(mz))
                      for d, my, mz in plan['movement']]
    # load-versus-depth curves
    for cv in plan.get('curves', []):
        m.curves.append([(u.L(d), u.dload(q)) for d, q in cv])
    # load cases
    tol_in = plan.get('tol', 1.0e-6)
    for c in plan['cases']:
        c = dict(c)
        loads = []
        V, H, Hz = c.pop('V', 0.0), c.pop('H', 0.0), c.pop('Hz', 0.0)
        M, My, Mx = c.pop('M', 0.0), c.pop('My', 0.0), c.pop('Mx', 0.0)
        at = c.pop('at', (0.0, 0.0, 0.0))
        if any((V, H, Hz, M, My, Mx)):
            loads.append([u.force(V), u.force(H), u.moment(M), u.force(Hz), u.moment(My),
                          u.moment(Mx), u.L(at[0]), u.L(at[1]), u.L(at[2])])
        disp = c.pop('disp', None)
        idisp = None
        if disp is not None:
            # dof order X, Y, rotation about Z, Z, rotation about Y, rotation about X
            keys = ['X', 'Y', 'RZ', 'Z', 'RY', 'RX']
            icond, spval = [], []
            lv = {'X': u.force(V), 'Y': u.force(H), 'RZ': u.moment(M), 'Z': u.force(Hz),
                  'RY': u.moment(My), 'RX': u.moment(Mx)}
            for kk in keys:
                if kk in disp:
                    icond.append(0)
                    dv = disp[kk] if kk.startswith('R') else u.disp(disp[kk])
                    spval += [dv, 0.0]
                else:
                    icond.append(1)
                    spval += [0.0, lv[kk]]
            idisp = (icond, spval, [u.L(v) for v in disp.get('point', (0.0, 0.0, 0.0))])
            loads = []
        tol = c.pop('tol', tol_in)
        name = c.pop('name')
        facinc = c.pop('facinc', 1.0)
        m.add_case(name, loads, facinc=facinc, tolpile=u.disp(tol), idisp=idisp, **c)
    for name, members in plan.get('combos', []):
        m.add_combo(name, members, facinc=plan.get('combo_facinc', 1.0),
                    tolpile=u.disp(tol_in))
    return m


# ==========================================================================================
# Hand-written families: models that once went wrong
# ==========================================================================================

STEPS = [1.0, 0.5, 0.25, 0.1, 0.05, 0.02]
SOFT_CLAY_600 = [[55.0, 600.0, 0, 0, 0, 0.02, 0, 0, 0]] * 2
STIFF_CLAY = [[120.0, 2000.0, 0, 0, 0, 0.005, 0, 0, 0], [125.0, 3000.0, 0, 0, 0, 0.005, 0, 0, 0]]
STIFF_CLAY_K = [[120.0, 2000.0, 0, 500.0, 0, 0.005, 0, 0, 0],
                [125.0, 3000.0, 0, 500.0, 0, 0.005, 0, 0, 0]]
SAND = [[115.0, 0, 34.0, 90.0, 0, 0, 0, 0, 0]] * 2
ELASTIC150 = [[110.0, 0, 0, 150.0, 0, 0, 0, 800.0, 20000.0]] * 2


def grid(ny, nz, sy, sz):
    return [((j - (ny - 1) / 2) * sy, (i - (nz - 1) / 2) * sz, 0.0, 90.0)
            for i in range(nz) for j in range(ny)]


def kips(v):
    return ('%g' % (v / 1000.0)).replace('-', 'MINUS ')


def families():
    """The hand-written models: (file stem, plan)."""
    out = []

    def add(stem, **plan):
        plan.setdefault('name', stem)
        out.append((stem, plan))

    # A 2-D row of one fixed-head 16 in pipe, 40 ft, in soft clay c 600 psf, lateral alone,
    # either way, head at and below the ground; the 3-D twin.
    for H in (5000.0, 20000.0, 60000.0):
        for sgn in (1, -1):
            for lev in (0.0, -3.0):
                add('f_2d_pipe16_softclay_H%d%s_lev%g'
                    % (H / 1000, 'p' if sgn > 0 else 'n', abs(lev)),
                    title='2-D SINGLE 16 IN PIPE 40 FT FIXED HEAD IN SOFT CLAY, %s KIPS LATERAL'
                    % kips(sgn * H), ndim=2, sec='pipe16', length=40, nseg=60,
                    rows=[(0.0, 0.0, 1, 0.0)], level=lev, soil=[(1, None, SOFT_CLAY_600)],
                    cases=[dict(name='LATERAL %s KIPS' % kips(sgn * H), H=sgn * H)])
    for H in (10000.0, 40000.0):
        add('f_3d_pipe16_softclay_H%d' % (H / 1000),
            title='3-D TWIN: SINGLE 16 IN PIPE 40 FT FIXED HEAD IN SOFT CLAY, %s KIPS' % kips(H),
            ndim=3, sec='pipe16', length=40, nseg=60, rows=[(0.0, 0.0, 0.0, 90.0)],
            soil=[(1, None, SOFT_CLAY_600)], cases=[dict(name='LATERAL', H=H)])
    # 2-D 2 x 2 bent of 24 in / 16 in pipe sections in clay over sand; a tapered pile; a
    # three-section pile.
    clay_sand = [(1, 12.0, [[55.0, 500.0, 0, 0, 0, 0.02, 0, 0, 0],
                            [55.0, 700.0, 0, 0, 0, 0.02, 0, 0, 0]]),
                 (4, None, [[60.0, 0, 34.0, 60.0, 0, 0, 0, 0, 0]] * 2)]
    for st in (1.0, 0.25):
        add('f_2d_bent2x2_pipe24_16_step%g' % st,
            title='2-D BENT OF 2 ROWS OF 2 PIPES 24 IN OVER 16 IN, CLAY OVER SAND', ndim=2,
            sec=[('pipe24', 0.4), ('pipe16', 1.0)], length=60, nseg=60,
            rows=[(-4.0, 0.0, 2, 6.0), (4.0, 0.0, 2, 6.0)], soil=clay_sand,
            cases=[dict(name='300 KIPS DOWN, 40 KIPS LATERAL', V=300000.0, H=40000.0,
                        facinc=st)])
    add('f_2d_timber_tapered', title='2-D BENT OF TAPERED TIMBER PILES IN CLAY OVER SAND',
        ndim=2, sec=('taper', 14.0, 9.0), length=35, nseg=50,
        rows=[(-3.0, 0.0, 3, 4.0), (3.0, 0.0, 3, 4.0)], soil=clay_sand,
        cases=[dict(name='90 KIPS DOWN, 8 KIPS LATERAL', V=90000.0, H=8000.0)])
    add('f_2d_three_sections', title='2-D ROW OF PILES WITH THREE SECTIONS IN CLAY OVER SAND',
        ndim=2, sec=[('pipe24', 0.25), ('pipe16', 0.6), ('pipe12', 1.0)], length=60, nseg=60,
        rows=[(0.0, 0.0, 2, 6.0)], soil=clay_sand,
        cases=[dict(name='100 KIPS DOWN, 20 KIPS LATERAL', V=100000.0, H=20000.0)])
    # 2-D movement that is zero everywhere, or only along Z, against no movement at all.
    b = math.degrees(math.atan(0.25))
    for mv, tag in ((None, 'none'), ([(0.0, 0.0, 0.0), (30.0, 0.0, 0.0)], 'zero'),
                    ([(0.0, 0.0, 0.5), (20.0, 0.0, 0.0)], 'alongz')):
        for rows, rtag in (([(-4.0, 0.0, 2, 6.0), (4.0, 0.0, 2, 6.0)], 'vertical'),
                           ([(-4.0, -b, 2, 6.0), (4.0, b, 2, 6.0)], 'battered')):
            for V in (0.0, 200000.0):
                add('f_2d_movement_%s_%s_V%d' % (tag, rtag, V / 1000),
                    title='2-D BENT, %s ROWS, CLAY OVER SAND, SOIL MOVEMENT: %s'
                    % (rtag.upper(), tag.upper()), ndim=2, sec='pipe16', length=50, nseg=50,
                    rows=rows, soil=clay_sand, movement=mv,
                    cases=[dict(name='%s KIPS DOWN, 20 KIPS LATERAL' % kips(V), V=V,
                                H=20000.0)])
    # Symmetric groups in stiff clay without free water, heads 3 ft below the ground,
    # vertical load alone, at every load step; twins in clay with an initial k and in sand.
    for st in STEPS:
        for crit, vals, tag in ((3, STIFF_CLAY, 'c3'), (10, STIFF_CLAY_K, 'c10'),
                                (4, SAND, 'sand')):
            if tag != 'c3' and st not in (1.0, 0.25, 0.05):
                continue
            add('f_stiffclay_2x2_hp14_%s_step%g' % (tag, st),
                title='2 X 2 HP14X73 IN %s, HEADS 3 FT BELOW GROUND, VERTICAL ALONE'
                % CRITERIA[crit].upper(), sec='hp14', length=50, nseg=50,
                rows=grid(2, 2, 5.0, 5.0), level=-3.0, soil=[(crit, None, vals)],
                cases=[dict(name='600 KIPS DOWN', V=600000.0, facinc=st)])
        add('f_stiffclay_3x3_pipe16_step%g' % st,
            title='3 X 3 16 IN PIPES IN STIFF CLAY W/O FREE WATER, HEADS 3 FT DOWN, VERTICAL',
            sec='pipe16', length=50, nseg=40, rows=grid(3, 3, 4.0, 4.0), level=-3.0,
            soil=[(3, None, STIFF_CLAY)], cases=[dict(name='1200 KIPS DOWN', V=1.2e6, facinc=st)])
        b = math.degrees(math.atan(4.0))
        six = [(-5.0, -2.5, 180.0, b), (0.0, -2.5, 0.0, 90.0), (5.0, -2.5, 0.0, b),
               (-5.0, 2.5, 180.0, b), (0.0, 2.5, 0.0, 90.0), (5.0, 2.5, 0.0, b)]
        add('f_stiffclay_six_battered_step%g' % st,
            title='SIX HP14X73, OUTER LINES BATTERED 1:4 OUTWARD, STIFF CLAY, VERTICAL ALONE',
            sec='hp14', length=50, nseg=50, rows=six, level=-3.0,
            soil=[(3, None, STIFF_CLAY)], cases=[dict(name='800 KIPS DOWN', V=8.0e5, facinc=st)])
        add('f_stiffclay_si_2x2_pipe_step%g' % st,
            title='SI: 2 X 2 PIPES 406 MM IN STIFF CLAY W/O FREE WATER, HEADS 1 M DOWN',
            si=True, sec='pipe16', length=50, nseg=50, rows=grid(2, 2, 5.0, 5.0), level=-3.3,
            soil=[(3, None, STIFF_CLAY)], cases=[dict(name='2700 KN DOWN', V=6.0e5, facinc=st)])
    for tol, tag in ((1.0e-8, 'tol100'),):
        for st in (1.0, 0.25):
            add('f_stiffclay_2x2_hp14_c3_%s_step%g' % (tag, st),
                title='2 X 2 HP14X73 IN STIFF CLAY W/O FREE WATER, 1/100 PILE TOLERANCE',
                sec='hp14', length=50, nseg=50, rows=grid(2, 2, 5.0, 5.0), level=-3.0,
                soil=[(3, None, STIFF_CLAY)], tol=tol,
                cases=[dict(name='600 KIPS DOWN', V=600000.0, facinc=st)])
    # Embedded cap in that clay: vertical alone at several steps; 1 kip lateral; lateral with
    # a moment at step 0.02.
    for st in (1.0, 0.5, 0.1):
        add('f_embcap_stiffclay_vert_step%g' % st,
            title='2 X 2 HP14X73 UNDER A CAP EMBEDDED 3 FT IN STIFF CLAY, VERTICAL ALONE',
            sec='hp14', length=50, nseg=50, rows=grid(2, 2, 5.0, 5.0), level=-3.0,
            cap=dict(opt=1, dims=(9.0, 9.0, 3.0)), soil=[(3, None, STIFF_CLAY)],
            cases=[dict(name='600 KIPS DOWN', V=600000.0, facinc=st)])
    for st in (1.0, 0.25):
        add('f_embcap_stiffclay_lat1k_step%g' % st,
            title='2 X 2 HP14X73 UNDER A CAP EMBEDDED 3 FT IN STIFF CLAY, 1 KIP LATERAL',
            sec='hp14', length=50, nseg=50, rows=grid(2, 2, 5.0, 5.0), level=-3.0,
            cap=dict(opt=1, dims=(9.0, 9.0, 3.0)), soil=[(3, None, STIFF_CLAY)],
            cases=[dict(name='1 KIP LATERAL', H=1000.0, facinc=st)])
    add('f_embcap_stiffclay_latmom_step0.02',
        title='2 X 2 HP14X73, CAP EMBEDDED 3 FT IN STIFF CLAY, LATERAL WITH MOMENT',
        sec='hp14', length=50, nseg=50, rows=grid(2, 2, 5.0, 5.0), level=-3.0,
        cap=dict(opt=1, dims=(9.0, 9.0, 3.0)), soil=[(3, None, STIFF_CLAY)],
        cases=[dict(name='400 KIPS DOWN, 20 KIPS LATERAL, 1200 KIP-IN', V=4.0e5, H=20000.0,
                    M=1.2e6, facinc=0.02)])
    # 3 x 3 HP group in that clay with soil movement along Y and Z; twins.
    for st in (1.0, 0.5, 0.25, 0.1):
        for crit, vals, tag in ((3, STIFF_CLAY, 'c3'), (10, STIFF_CLAY_K, 'c10'),
                                (4, SAND, 'sand')):
            if tag != 'c3' and st not in (1.0, 0.25):
                continue
            add('f_move_3x3_hp14_%s_step%g' % (tag, st),
                title='3 X 3 HP14X73 IN %s, SOIL MOVING ALONG Y AND Z' % CRITERIA[crit].upper(),
                sec='hp14', length=50, nseg=40, rows=grid(3, 3, 4.5, 4.5), level=0.0,
                soil=[(crit, None, vals)], movement=[(0.0, 1.0, 0.6), (15.0, 0.0, 0.0)],
                cases=[dict(name='900 KIPS DOWN, MOVING SOIL', V=9.0e5, facinc=st)])
    # A pile in an elastic subgrade with a uniform soil movement of 0.3 in.
    for nseg in (20, 60, 100):
        add('f_2d_elastic_uniform_move_seg%d' % nseg,
            title='2-D 16 IN PIPE 40 FT IN ELASTIC SUBGRADE, SOIL MOVING 0.3 IN UNIFORMLY',
            ndim=2, sec='pipe16', length=40, nseg=nseg, rows=[(0.0, 0.0, 1, 0.0)],
            soil=[(12, None, ELASTIC150)], axial='user',
            movement=[(0.0, 0.3, 0.0), (60.0, 0.3, 0.0)],
            cases=[dict(name='NO LOAD ON THE CAP', V=1000.0)])
    for mv, H, tag in ((None, -20000.0, 'load'),
                       ([(0.0, 0.3, 0.0), (60.0, 0.3, 0.0)], 0.0, 'movey'),
                       ([(0.0, 0.3, 0.0), (60.0, 0.3, 0.0)], -20000.0, 'movey_load'),
                       ([(0.0, 0.0, 0.3), (60.0, 0.0, 0.3)], -20000.0, 'movez_load')):
        add('f_3d_elastic_%s' % tag,
            title='16 IN PIPE IN ELASTIC SUBGRADE, UNIFORM SOIL MOVEMENT 0.3 IN: %s' % tag.upper(),
            sec='pipe16', length=40, nseg=60, rows=[(0.0, 0.0, 0.0, 90.0)],
            soil=[(12, None, ELASTIC150)], axial='user', movement=mv,
            cases=[dict(name='20 KIPS ALONG -Y' if H else 'NO LATERAL LOAD', H=H, V=1000.0)])
    for crit, vals, tag in ((4, SAND, 'sand'), (1, SOFT_CLAY_600, 'softclay')):
        add('f_3d_%s_movez_load' % tag,
            title='16 IN PIPE IN %s, SOIL MOVING 0.3 IN ALONG Z, 20 KIPS ALONG -Y' % tag.upper(),
            sec='pipe16', length=40, nseg=60, rows=[(0.0, 0.0, 0.0, 90.0)],
            soil=[(crit, None, vals)], movement=[(0.0, 0.0, 0.3), (60.0, 0.0, 0.3)],
            cases=[dict(name='20 KIPS ALONG -Y', H=-20000.0)])
    for head in ('fixed', 'pinned'):
        add('f_3d_userpy_move_%s' % head,
            title='2 X 2 PIPES ON USER P-Y CURVES, SOIL MOVING 0.3 IN, %s HEADS' % head.upper(),
            sec='pipe16', length=40, nseg=40, rows=grid(2, 2, 5.0, 5.0), head=head,
            soil=[(5, None, None)], axial='user', movement=[(0.0, 0.3, 0.2), (60.0, 0.3, 0.2)],
            cases=[dict(name='400 KIPS DOWN', V=4.0e5)])
    for head, lev in (('pinned', 0.0), ('fixed', 5.0), ('pinned', 5.0)):
        add('f_3d_elastic_2x2_uniform_move_%s_lev%g' % (head, lev),
            title='2 X 2 PIPES IN ELASTIC SUBGRADE, SOIL MOVING 0.3 IN ALONG Y AND Z, %s HEADS'
            % head.upper(), sec='pipe16', length=40, nseg=40, rows=grid(2, 2, 5.0, 5.0),
            head=head, level=lev, soil=[(12, None, ELASTIC150)], axial='user',
            movement=[(0.0, 0.3, 0.3), (60.0, 0.3, 0.3)],
            cases=[dict(name='200 KIPS DOWN', V=2.0e5)])
    add('f_2d_userpy_move', title='2-D ROW ON USER P-Y CURVES, SOIL MOVING 0.3 IN',
        ndim=2, sec='pipe16', length=40, nseg=40, rows=[(0.0, 0.0, 2, 6.0)],
        soil=[(5, None, None)], axial='user', movement=[(0.0, 0.3, 0.0), (60.0, 0.3, 0.0)],
        cases=[dict(name='200 KIPS DOWN', V=2.0e5)])
    return out


# ==========================================================================================
# The seeded sampler
# ==========================================================================================

SEC_KEYS = ['pipe16', 'pipe24', 'pipe12', 'hp12', 'hp14', 'hp14x89', 'sq14', 'sq18', 'shaft30',
            'shaft36']
TOLS = [1.0e-6, 1.0e-6, 1.0e-8, 1.0e-5]   # the recommended one, 1/100 of it, a coarser one
BEARING = {1: 4, 13: 4, 14: 4, 11: 4, 7: 4, 12: 12, 5: 5, 6: 6, 9: 9, 2: 3, 3: 3, 10: 10,
           4: 4, 8: 8}


def layouts_3d(rnd, sp):
    b = math.degrees(math.atan(4.0))
    opts = {
        'single': [(0.0, 0.0, 0.0, 90.0)],
        '2x2': grid(2, 2, sp, sp),
        '3x3': grid(3, 3, sp, sp),
        '3x2': grid(3, 2, sp, sp),
        '2x1': grid(2, 1, sp, sp),
        '3x2batter': [(-sp, -sp / 2, 180.0, b), (0.0, -sp / 2, 0.0, 90.0), (sp, -sp / 2, 0.0, b),
                      (-sp, sp / 2, 180.0, b), (0.0, sp / 2, 0.0, 90.0), (sp, sp / 2, 0.0, b)],
        '3x3batter': [(y, z, (180.0 if y < 0 else 0.0) if y else (270.0 if z < 0 else 90.0),
                       b if (y or z) and not (y and z) else 90.0)
                      for y, z, _, _ in grid(3, 3, sp, sp)],
        'asym': [(-sp, -sp / 2, 0.0, 90.0), (0.0, -sp / 2, 0.0, 90.0), (sp, -sp / 2, 0.0, 90.0),
                 (-sp, sp / 2, 0.0, 90.0), (0.0, sp / 2, 0.0, 90.0)],
        'asym_batter': [(-sp, 0.0, 180.0, b), (0.0, -sp / 2, 0.0, 90.0), (0.0, sp / 2, 0.0, 90.0),
                        (sp * 1.5, 0.0, 0.0, 90.0)],
    }
    key = rnd.choice(sorted(opts))
    return key, opts[key]


def layouts_2d(rnd, sp):
    b = math.degrees(math.atan(0.25))
    n = rnd.choice([1, 2, 3, 4])
    opts = {
        'one': [(0.0, 0.0, n, sp)],
        'two': [(-sp / 2, 0.0, n, sp), (sp / 2, 0.0, n, sp)],
        'three': [(-sp, 0.0, n, sp), (0.0, 0.0, n, sp), (sp, 0.0, n, sp)],
        'two_batter': [(-sp / 2, -b, n, sp), (sp / 2, b, n, sp)],
        'three_batter': [(-sp, -b, n, sp), (0.0, 0.0, n, sp), (sp, b, n, sp)],
        'asym': [(-sp, 0.0, n, sp), (0.0, 0.0, n, sp), (sp * 1.5, b, 1, sp)],
        'one_batter': [(0.0, b, n, sp), (sp, 0.0, n, sp)],
    }
    key = rnd.choice(sorted(opts))
    return key, opts[key]


def axial_capacity(soil, length, D, level, square=False):
    """A designer's estimate of the axial capacity of one pile (lb, US values): side friction
    (alpha method in clay, beta method in sand, the layer's own values where given) over the
    embedded length, and the tip resistance."""
    emb = length - max(level, 0.0)
    perim = (4.0 if square else math.pi) * D / 12.0
    area = (D * D if square else math.pi * D * D / 4) / 144.0
    layers, top = [], 0.0
    for crit, thick, vals in soil:
        bot = top + thick if thick is not None else 1.0e9
        layers.append((crit, top, bot, vals))
        top = bot

    def unit(z, sv):
        for crit, a, b, vals in layers:
            if a <= z < b:
                v = [(x + y) / 2 for x, y in zip(*vals)]
                c, phi = v[1], v[2]
                if crit in (1, 2, 3, 10, 13, 14):
                    alpha = 1.0 if c <= 500 else 0.5 if c >= 2000 else 1.0 - (c - 500) / 3000
                    fs, qb = alpha * c, 9 * c
                elif crit in (4, 8):
                    fs = min(0.8 * sv * math.tan(math.radians(phi - 5)), 2000.0)
                    qb = min(40 * sv, 100000.0)
                elif crit == 7:
                    fs = min(0.6 * c + 0.4 * sv * math.tan(math.radians(phi)), 1500.0)
                    qb = 9 * c + 10 * sv
                else:
                    fs, qb = 500.0, 10000.0
                if v[7] > 0:
                    fs = v[7]
                if v[8] > 0:
                    qb = v[8]
                return fs, qb, v[0] if v[0] < 80 else v[0] - 62.4
        return 500.0, 10000.0, 60.0

    side, sv, z = 0.0, 0.0, 0.25
    while z < emb:
        fs, qb, g = unit(z, sv)
        side += fs * perim * 0.5
        sv += g * 0.5
        z += 0.5
    _, qb, _ = unit(emb - 0.01, sv)
    return side, side + qb * area


def sample(i, rnd):
    """One sampled model: (file stem, plan). Loads are those a designer would put on the
    group: the vertical load within the piles' estimated axial capacity over 2.5, the
    lateral load within a share of the section's, less in soft soils."""
    crit = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14][i % 14]
    ndim = 2 if rnd.random() < 0.4 else 3
    si = rnd.random() < 0.3
    seck = rnd.choice(SEC_KEYS)
    if crit in (6, 9):
        seck = rnd.choice(['shaft30', 'shaft36', 'pipe24'])
    multi = rnd.random() < 0.15 and seck in ('pipe24', 'shaft36', 'hp14x89')
    sec = seck
    if multi:
        sec = {'pipe24': [('pipe24', 0.4), ('pipe16', 1.0)],
               'shaft36': [('shaft36', 0.5), ('shaft30', 1.0)],
               'hp14x89': [('hp14x89', 0.3), ('hp14', 1.0)]}[seck]
    lat_ref, vert_ref = SECTIONS[seck][1:]
    length = float(rnd.choice([35, 40, 50, 60, 70]))
    xs = SECTIONS[seck][0]()
    width = xs['dims'][0]
    width_ft = width / 12.0
    sp = round(max(3.0 * width_ft, 3.0) * 2) / 2
    if ndim == 3:
        lay, rows = layouts_3d(rnd, sp)
        npiles = len(rows)
        arms = [(r[0], 1) for r in rows]
    else:
        lay, rows = layouts_2d(rnd, sp)
        npiles = sum(r[2] for r in rows)
        arms = [(r[0], r[2]) for r in rows]
    nseg = rnd.choice([30, 40, 50, 60, 80] if npiles <= 4 else [30, 40, 40])
    head = rnd.choice(['fixed', 'fixed', 'fixed', 'pinned', 'spring'])
    if head == 'pinned' and (npiles == 1 or (ndim == 3 and lay in ('2x1',)) or
                             (ndim == 2 and len(rows) == 1)):
        head = 'fixed'
    level = rnd.choice([0.0, 0.0, 0.0, 3.0, 8.0, -2.0, -3.0, -5.0])
    # the soil: the criterion on top, a bearing layer below
    soil = []

    def lay_soil(c, thick):
        soil.append((c, thick, list(soil_values(c, rnd))))

    if crit in (6, 9):
        if rnd.random() < 0.5:
            lay_soil(4, float(rnd.choice([5, 8])))
        lay_soil(crit, None)
    elif crit == 11:
        lay_soil(4, 5.0)
        lay_soil(11, float(rnd.choice([6, 10])))
        lay_soil(4, None)
    elif crit in (5, 12):
        lay_soil(crit, None)
    else:
        lay_soil(crit, float(rnd.choice([10, 15, 25])))
        lay_soil(rnd.choice([BEARING[crit], 4, 3, crit]), None)
    axial = 'user' if crit in (5, 12) or rnd.random() < 0.15 else 'gen'
    # cap options (embedded caps need the heads below the ground)
    cap = None
    capkind = rnd.choice(['free'] * 5 + ['embedded', 'embedded', 'springs', 'hyper'])
    if capkind != 'free' and crit not in (5, 6, 9) and npiles > 1 and \
            (ndim == 3 or len(rows) > 1):
        if ndim == 2:
            capkind = 'embedded'   # a 2-D cap takes only the passive resistance
        emb = rnd.choice([2.0, 3.0])
        level = -emb
        ylen = max(abs(r[0]) for r in rows) * 2 + 2 * width_ft + 2.0
        if ndim == 3:
            zlen = max(abs(r[1]) for r in rows) * 2 + 2 * width_ft + 2.0
        else:
            zlen = max(r[2] * r[3] for r in rows)
        dims = (round(ylen, 1), round(zlen, 1), emb + rnd.choice([0.0, 1.0]))
        if capkind == 'embedded':
            cap = dict(opt=1, dims=dims)
        elif capkind == 'springs':
            cap = dict(opt=2, dims=dims, rec2=(1, 0, rnd.choice([4, 6, 10]), 0.0, 0.0, 0.0))
        else:
            cap = dict(opt=2, dims=dims, rec2=(0, 2, 1, 2000.0, 4000.0, 1.0))
    else:
        capkind = 'free'
    # soil movement
    move = rnd.choice(['none'] * 6 + ['y', 'z', 'yz', 'zero'])
    movement = None
    if move != 'none' and crit not in (6, 9):
        m0 = rnd.choice([0.2, 0.5, 1.0])
        d0 = float(rnd.choice([10, 20]))
        my = m0 if move in ('y', 'yz') else 0.0
        mz = m0 * (0.6 if move == 'yz' else 1.0) if move in ('z', 'yz') else 0.0
        if move == 'zero':
            movement = [(0.0, 0.0, 0.0), (d0, 0.0, 0.0)]
        elif rnd.random() < 0.3:
            movement = [(0.0, my, mz), (length + 10.0, my, mz)]
        else:
            movement = [(0.0, my, mz), (d0, 0.0, 0.0)]
    else:
        move = 'none'
    # loads
    if axial == 'user':
        side = total = vert_ref * 2.5
    else:
        side, total = axial_capacity(soil, length, width, level,
                                     square=seck.startswith(('sq', 'hp')))
    vpp = min(vert_ref, total / 2.5)
    soft = 0.4 if crit in (1, 11, 13, 14) else 0.7 if crit in (7, 12) else 1.0
    Hmax = lat_ref * soft * npiles
    Vmax = vpp * npiles
    step = rnd.choice(STEPS)
    if capkind == 'springs':
        # the cap springs write their reactions at every iteration into the results report:
        # small steps would make it tens of megabytes
        step = max(step, 0.25)
    if step <= 0.05 and npiles > 4:
        nseg = min(nseg, 40)
    tol = rnd.choice(TOLS)
    kinds = ['vert', 'lat', 'latmom', 'vertlat', 'disp', 'combo', 'dist', 'cyclic']
    kind = rnd.choice(kinds)
    f = rnd.choice([0.3, 0.6, 1.0])
    sgn = rnd.choice([1.0, -1.0])
    V = round(Vmax * rnd.choice([0.5, 0.75, 1.0]), -3)
    H = round(sgn * Hmax * f, -2)
    Hz = round(Hmax * f * rnd.choice([0.0, 0.5]), -2) if ndim == 3 else 0.0
    # a moment that pulls the edge piles by at most a third of their side resistance
    ymax = max(abs(y) for y, _ in arms)
    sum_y2 = sum(n * y * y for y, n in arms)
    mlim = 0.3 * side * sum_y2 / ymax * 12.0 if ymax > 0 else 0.0
    M = round(min(abs(H) * rnd.choice([12.0, 36.0, 60.0]), mlim) * sgn, -3)
    cases, combos, curves = [], [], []
    if kind == 'vert':
        cases.append(dict(name='VERTICAL LOAD ALONE', V=V))
    elif kind == 'lat':
        cases.append(dict(name='LATERAL LOAD ALONE', H=H, Hz=Hz))
    elif kind == 'latmom':
        cases.append(dict(name='LATERAL LOAD WITH A MOMENT', V=round(V * 0.5, -3), H=H, M=M,
                          Hz=Hz))
    elif kind == 'vertlat':
        cases.append(dict(name='VERTICAL AND LATERAL LOAD', V=V, H=H, Hz=Hz))
    elif kind == 'cyclic':
        cases.append(dict(name='CYCLIC LATERAL LOAD WITH VERTICAL', V=V, H=H, Hz=Hz, istatic=0,
                          cycles=rnd.choice([10, 100])))
    elif kind == 'disp':
        d = rnd.choice([0.1, 0.25, 0.5]) * (0.5 if soft < 1 else 1.0)
        cases.append(dict(name='VERTICAL LOAD, PRESCRIBED %g IN ALONG Y' % d, V=V,
                          disp={'Y': d * sgn}))
        if ndim == 3 and rnd.random() < 0.5:
            cases.append(dict(name='PRESCRIBED %g IN ALONG Z, VERTICAL LOAD' % d, V=V,
                              disp={'Z': d}))
        else:
            cases.append(dict(name='VERTICAL AND LATERAL LOAD', V=V, H=H * 0.5))
    elif kind == 'combo':
        cases.append(dict(name='DEAD LOAD', V=round(V * 0.6, -3)))
        cases.append(dict(name='LATERAL LOAD', H=round(H * 0.75, -2), M=round(M * 0.5, -3),
                          Hz=round(Hz * 0.75, -2)))
        combos.append(('1.0 DEAD + 1.0 LATERAL', [(1, 1.0), (2, 1.0)]))
        combos.append(('0.9 DEAD + 1.3 LATERAL', [(1, 0.9), (2, 1.3)]))
    elif kind == 'dist':
        q = round(lat_ref * soft / 10.0 / 12.0, 0)   # lb/in over the upper 10 ft
        curves.append([(0.0, q), (10.0, 0.0)])
        nrows = len(rows)
        cases.append(dict(name='DISTRIBUTED LOAD ON THE UPPER 10 FT, VERTICAL LOAD', V=V,
                          dist=[(1, 1, nrows, 1, 1, 1.0, 1 if ndim == 3 else 0,
                                 0.5 if ndim == 3 else 0.0)]))
    for c in cases:
        c['facinc'] = step
    stem = 's%04d_%dd_%s_c%d_%s%s_%s_%s_%s_%s_step%g_%s' % (
        i, ndim, lay, crit, seck, '_multi' if multi else '', head, capkind, 'mv' + move, kind,
        step, 'si' if si else 'us')
    title = 'SAMPLE %d: %s %s IN %s' % (i, lay.upper(), seck.upper(), CRITERIA[crit].upper())
    plan = dict(name=stem, title=title, si=si, ndim=ndim, sec=sec, length=length, nseg=nseg,
                rows=rows, head=head, level=level, soil=soil, axial=axial, cap=cap,
                movement=movement, cases=cases, combos=combos, curves=curves, tol=tol,
                combo_facinc=step, iredfac=1 if (rnd.random() < 0.15 and npiles > 1) else 0)
    return stem, plan


def generate(outdir, count=320, seed=1):
    os.makedirs(outdir, exist_ok=True)
    rnd = random.Random(seed)
    items = families()
    i = 0
    while len(items) < count:
        items.append(sample(i, rnd))
        i += 1
    for name in os.listdir(outdir):
        if name.endswith('.dat'):
            os.remove(os.path.join(outdir, name))
    manifest = {}
    for stem, plan in items[:count] if count < len(items) else items:
        text = build(plan).text()
        with open(os.path.join(outdir, stem + '.dat'), 'w') as f:
            f.write(text)
        manifest[stem] = plan_tags(stem, plan)
    with open(os.path.join(outdir, 'corpus.json'), 'w') as f:
        json.dump(dict(seed=seed, count=len(manifest), files=manifest), f, indent=1,
                  sort_keys=True)
    return sorted(manifest)


def plan_tags(stem, plan):
    """What a model holds, for the report's break-downs."""
    fam = 'sampled' if stem.startswith('s') and stem[1:5].isdigit() else \
        re.sub(r'_(step|H|V|lev|seg|tol)[^_]*', '', stem)
    cap = plan.get('cap')
    capkind = 'free' if not cap else ('embedded' if cap['opt'] == 1 else
                                      'springs' if cap['rec2'][0] == 1 else 'hyperbolic')
    mv = plan.get('movement')
    if mv is None:
        move = 'none'
    else:
        ys = any(p[1] for p in mv)
        zs = any(p[2] for p in mv)
        move = 'yz' if ys and zs else 'y' if ys else 'z' if zs else 'zero'
    cases = plan['cases']
    kinds = set()
    for c in cases:
        if 'disp' in c:
            kinds.add('disp')
        elif c.get('dist'):
            kinds.add('dist')
        elif c.get('istatic', 1) == 0:
            kinds.add('cyclic')
        elif c.get('M'):
            kinds.add('latmom')
        elif c.get('H') or c.get('Hz'):
            kinds.add('lat' if not c.get('V') else 'vertlat')
        else:
            kinds.add('vert')
    if plan.get('combos'):
        kinds.add('combo')
    return dict(family=fam, ndim=plan.get('ndim', 3), units='SI' if plan.get('si') else 'US',
                criterion=plan.get('soil', [(4,)])[0][0], cap=capkind, movement=move,
                step=cases[0].get('facinc', 1.0), tol=plan.get('tol', 1.0e-6),
                loads='+'.join(sorted(kinds)), head=plan.get('head', 'fixed'),
                rows=len(plan['rows']))


# ==========================================================================================
# Reading a run's reports
# ==========================================================================================

NUMTOK = re.compile(r'^[-+]?(\d+\.?\d*|\.\d+)([EeDd]?[-+]?\d+)?$|^\*+$')


def tofloat(tok):
    t = tok.replace('D', 'E').replace('d', 'E')
    try:
        return float(t)
    except ValueError:
        m = re.match(r'^([-+]?\d*\.\d*)([-+]\d+)$', t)   # 1.234-100
        if m:
            return float(m.group(1) + 'E' + m.group(2))
        return float('nan')


def numbers(ln):
    """The numbers of a line made only of numbers, else None."""
    toks = ln.split()
    if not toks or not all(NUMTOK.match(t) for t in toks):
        return None
    return [tofloat(t) for t in toks]


def read_control(datpath):
    """(IUNITS, NDIM) from the control record of an input data file ((1, 3) when it cannot
    be read)."""
    try:
        with open(datpath, errors='replace') as f:
            lines = f.read().splitlines()
        vals = []
        for ln in lines[3:8]:
            vals += ln.replace(',', ' ').split()
            if len(vals) >= 2:
                return int(vals[0]), int(vals[1])
    except (OSError, ValueError):
        pass
    return 1, 3


def parse_cas(text):
    """The outcome list: [(heading, label, code, text)] in order."""
    out, heading, label = [], '', ''
    for ln in text.splitlines():
        s = ln.strip()
        if not s:
            continue
        if re.match(r'^LOAD (CASE|COMB\.)', s):
            heading = ' '.join(s.split())
            label = ''
            continue
        m = re.match(r'^(\d+)\s+(.*)$', s)
        if m and heading:
            out.append((heading, label, int(m.group(1)), ' '.join(m.group(2).split())))
        elif ln.startswith('      ') and heading:
            label = ' '.join(s.split())
    return out


def collect(lines, i, count):
    """count numbers from the numeric lines after line i; (numbers, next line)."""
    vals = []
    while i < len(lines) and len(vals) < count:
        s = lines[i].strip()
        if s.startswith('*') and 'TABLE' in s:
            break
        n = numbers(lines[i])
        if n is not None:
            vals += n
        i += 1
    return vals, i


def parse_out(text, ndim):
    """Tables L (and the pile-head forces of Table M) of every analysis of a results report:
    {key: dict(load, disp, passive, piles {group: forces})}. The key is the case heading
    ('LOAD CASE : 1', 'LOAD COMB. : 2'); the Tables L of a stiffness estimation that come
    before the case's own analysis get ' / TABLE L n' after it. Envelopes are left out."""
    lines = text.splitlines()
    per_heading = []      # [(heading, [tables])]
    cur = None
    nload = 3 if ndim == 2 else 6
    i = 0
    group = None
    while i < len(lines):
        s = lines[i].strip()
        m = re.match(r'^LOAD (CASE|COMB\.)\s*(ENV)?\s*:\s*(\d+)$', s)
        if m:
            if m.group(2):
                per_heading.append((None, []))
            else:
                per_heading.append(('LOAD %s : %s' % (m.group(1), m.group(3)), []))
            cur = None
            i += 1
            continue
        if not per_heading or per_heading[-1][0] is None:
            i += 1
            continue
        if '* TABLE L *' in s:
            cur = dict(load=None, disp=None, passive=None, piles={})
            per_heading[-1][1].append(cur)
        elif cur is not None and 'EQUIVALENT CONCENTRATED LOAD AT ORIGIN' in s:
            cur['load'], i = collect(lines, i + 1, nload)
            continue
        elif cur is not None and 'DISPLACEMENT OF GROUPED PILE FOUNDATION AT ORIGIN' in s:
            cur['disp'], i = collect(lines, i + 1, nload)
            continue
        elif cur is not None and 'PASSIVE RESISTANCE IN PILE CAP' in s:
            # 3-D: the magnitudes along Y and Z and the depth; 2-D: the signed force and
            # the depth. The depth's unit is read from the heading.
            unit = ''
            for ln2 in lines[i + 1:i + 4]:
                m2 = re.search(r'POSITION,\s*(\S+)', ln2)
                if m2:
                    unit = m2.group(1).upper()
            cur['passive'], i = collect(lines, i + 1, 2 if ndim == 2 else 3)
            cur['passive_lf'] = 12.0 if unit == 'FT' else 1.0
            continue
        elif cur is not None and s.startswith('* PILE GROUP *'):
            try:
                group = int(s.split('*')[-1])
            except ValueError:
                group = None
        elif cur is not None and group is not None and \
                s.startswith('THE GLOBAL STRUCTURAL COORDINATE SYSTEM'):
            vals, i = collect(lines, i + 1, 7 if ndim == 2 else 12)
            cur['piles'][group] = vals[3:6] if ndim == 2 else vals[6:12]
            group = None
            continue
        i += 1
    res = {}
    for heading, tables in per_heading:
        if heading is None:
            continue
        for n, t in enumerate(tables, 1):
            key = heading if n == len(tables) else '%s / TABLE L %d' % (heading, n)
            res[key] = t
    return res


def parse_echo(text, ndim):
    """From the input echo: the pile heads (group: (x, y, z, npile)), the factor that turns
    their coordinates into the unit of the moments (12 for ft), and whether the cap's
    resistance is a spring (not printed with the results)."""
    lines = text.splitlines()
    heads, npile, lf = {}, {}, 1.0

    def table(i):
        """The numeric lines after line i, up to the first other line."""
        for ln2 in lines[i + 1:]:
            n = numbers(ln2)
            if n is None:
                return
            yield n

    for i, ln in enumerate(lines):
        s = ln.strip()
        if not s.startswith('GROUP'):
            continue
        if ndim == 3 and 'CorX' in s:
            lf = 12.0 if 'FT' in s.upper() else 1.0
            heads.update((int(n[0]), (n[1], n[2], n[3], 1)) for n in table(i))
        elif ndim == 2 and 'VERT,' in s:
            lf = 12.0 if 'FT' in s.upper() else 1.0
            heads.update((int(n[0]), (n[1], n[2], 0.0, 1)) for n in table(i))
        elif ndim == 2 and 'NO OF PILE' in s:
            for ln2 in lines[i + 1:]:   # the connection is a word: not a numeric line
                t = ln2.split()
                if len(t) < 3 or not t[0].isdigit() or not t[2].isdigit():
                    break
                npile[int(t[0])] = int(t[2])
    if ndim == 2:
        heads = {g: (x, y, z, npile.get(g, 1)) for g, (x, y, z, _) in heads.items()}
    springs = 'USING EQUIVALENT LATERAL SPRING' in text
    return heads, lf, springs


def equilibrium(t, heads, lf, ndim):
    """The imbalance of the pile-head forces (and the cap's passive force) against the cap
    load: (largest force residual over the largest load component, moment residual over the
    largest load moment plus the largest force times the largest head distance), or None
    when the tables are incomplete."""
    load, piles = t.get('load'), t.get('piles') or {}
    if not load or not heads or set(piles) != set(heads):
        return None
    if ndim == 2:
        if len(load) < 3 or any(len(v) < 3 for v in piles.values()):
            return None
        F, Mz = [0.0, 0.0], 0.0
        rmax = 0.0
        for g, (fx, fy, bm) in piles.items():
            x, y, _, n = heads[g]
            x, y = x * lf, y * lf
            F[0] += n * fx
            F[1] += n * fy
            Mz += n * (bm + x * fy - y * fx)
            rmax = max(rmax, math.hypot(x, y))
        p = t.get('passive')
        if p and len(p) >= 2:
            F[1] += p[0]
            Mz += p[1] * t.get('passive_lf', 1.0) * p[0]
        rf = [load[0] - F[0], load[1] - F[1]]
        rm = [load[2] - Mz]
        LF, LM = load[:2], load[2:3]
    else:
        if len(load) < 6 or any(len(v) < 6 for v in piles.values()):
            return None
        F, M = [0.0] * 3, [0.0] * 3
        rmax = 0.0
        for g, (fx, fy, fz, mx, my, mz) in piles.items():
            x, y, z, _ = heads[g]
            x, y, z = x * lf, y * lf, z * lf
            F = [F[0] + fx, F[1] + fy, F[2] + fz]
            M = [M[0] + mx + y * fz - z * fy, M[1] + my + z * fx - x * fz,
                 M[2] + mz + x * fy - y * fx]
            rmax = max(rmax, math.sqrt(x * x + y * y + z * z))
        p = t.get('passive')
        if p and len(p) >= 3:
            # printed as magnitudes: the soil resists the cap's sideways movement
            disp = t.get('disp') or [0.0] * 6
            py = math.copysign(p[0], disp[1]) if len(disp) > 1 else p[0]
            pz = math.copysign(p[1], disp[2]) if len(disp) > 2 else p[1]
            x = p[2] * t.get('passive_lf', 1.0)
            F[1] += py
            F[2] += pz
            M[1] += -x * pz
            M[2] += x * py
        rf = [load[i] - F[i] for i in range(3)]
        rm = [load[3 + i] - M[i] for i in range(3)]
        LF, LM = load[:3], load[3:6]
    lf_max = max(abs(v) for v in LF)
    if lf_max == 0:
        lf_max = max([abs(v) for pl in piles.values() for v in pl[:len(LF)]] + [1e-30])
    lm_ref = max(abs(v) for v in LM) + lf_max * max(rmax, lf)
    return (max(abs(v) for v in rf) / lf_max, max(abs(v) for v in rm) / lm_ref)


# ==========================================================================================
# Running a host
# ==========================================================================================

VOLATILE = re.compile(r'Date:|Time:|Execution Time|processing\s*:')
OWN_FILES = ('_host.txt', '_result.json')
# What the run log says of an input that the reader refuses or warns about, or of a row whose
# ground is not the top of the soil: a generated file that draws any of these is a fault of
# the generator.
INPUT_PROBLEM = re.compile(r'INPUT ERROR|INPUT WARNINGS|\*\* WARNING \*\* LINE|'
                           r'HEAD DEPTH \+ FREE LENGTH|ERROR IN ANALYSIS')


def normalized_digest(path, folder):
    """A digest of a report with its date, time and timing lines left out and the run
    folder's path replaced, so that two runs of the same analysis give the same digest."""
    import hashlib
    h = hashlib.sha256()
    with open(path, 'rb') as f:
        data = f.read()
    data = data.replace(os.path.abspath(folder).encode(), b'<RUN>')
    for ln in data.split(b'\n'):
        if VOLATILE.search(ln.decode('latin-1')):
            continue
        h.update(ln)
        h.update(b'\n')
    return h.hexdigest()


def run_one(host, datpath, folder, timeout):
    """Runs one input in its own folder and reads its reports; the result as a dict, also
    written to the folder's _result.json."""
    stem = os.path.splitext(os.path.basename(datpath))[0]
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    shutil.copy(datpath, folder)
    fem = os.path.splitext(datpath)[0] + '.fem'
    if os.path.exists(fem):
        shutil.copy(fem, folder)
    env = dict(os.environ, OMP_NUM_THREADS='1')
    t0 = time.time()
    timed_out = False
    with open(os.path.join(folder, '_host.txt'), 'wb') as log:
        p = subprocess.Popen([os.path.abspath(host), stem + '.dat'], cwd=folder, env=env,
                             stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                             start_new_session=True)
        try:
            rc = p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            timed_out = True
            p.send_signal(signal.SIGTERM)    # the host ends the run cleanly (status 4)
            try:
                rc = p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
                rc = p.wait()
    elapsed = time.time() - t0
    iunits, ndim = read_control(datpath)

    def read(ext):
        try:
            with open(os.path.join(folder, stem + ext), errors='replace') as f:
                return f.read()
        except OSError:
            return ''

    outcomes = parse_cas(read('.cas'))
    tables = parse_out(read('.out'), ndim)
    heads, lf, springs = parse_echo(read('.echo'), ndim)
    final = {}
    for heading, label, code, text in outcomes:
        if label == 'ANALYSIS DUE TO TOTAL LOAD':
            final[heading] = (code, text)
    analyses = {}
    for key, t in tables.items():
        heading = key.split(' / ')[0]
        code, text = final.get(heading, (None, ''))
        a = dict(disp=t['disp'], load=t['load'], outcome=code, text=text)
        if code == 1 and ' / ' not in key:
            if springs:
                a['eq'] = 'cap springs'
            else:
                e = equilibrium(t, heads, lf, ndim)
                a['eq'] = list(e) if e else None
        analyses[key] = a
    for heading, (code, text) in final.items():
        analyses.setdefault(heading, dict(disp=None, load=None, outcome=code, text=text))
    problems = [ln.strip() for ln in read('.log').splitlines() if INPUT_PROBLEM.search(ln)]
    digests = {}
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if name in OWN_FILES or not os.path.isfile(path):
            continue
        digests[name] = normalized_digest(path, folder)
    res = dict(file=stem, host=os.path.abspath(host), exit=rc, timeout=timed_out,
               elapsed=round(elapsed, 3), ndim=ndim, si=iunits == 2,
               outcomes=[list(o) for o in outcomes], analyses=analyses, digests=digests,
               input_problems=problems[:10], dat=digests.get(stem + '.dat'))
    with open(os.path.join(folder, '_result.json'), 'w') as f:
        json.dump(res, f, indent=1, sort_keys=True)
    return res


def completed(res):
    return res is not None and res['exit'] == 0 and not res['timeout']


def done_analyses(res):
    """The analyses (keys) that completed in full."""
    if res is None:
        return set()
    return {k for k, a in res['analyses'].items() if a['outcome'] == 1}


def status_of(res):
    if res is None:
        return 'not run'
    if res['timeout']:
        return 'timeout'
    if res['exit'] < 0:
        return 'signal %d' % -res['exit']
    return 'exit %d' % res['exit']


def outcome_summary(res):
    if res is None:
        return ''
    parts = []
    for k, a in sorted(res['analyses'].items()):
        if ' / ' in k or a['outcome'] == 1:
            continue
        parts.append('%s: %s %s' % (k, a['outcome'], a['text']))
    return '; '.join(parts)


# ==========================================================================================
# Comparing two hosts
# ==========================================================================================

COMPONENTS = {2: ['X', 'Y', 'RZ'], 3: ['X', 'Y', 'Z', 'RX', 'RY', 'RZ']}
EQ_LIMIT = 1.0e-4   # TOLCAP of the corpus's cases


def disp_change(a, b, ndim, si):
    """The largest change of a cap displacement between two analyses: (relative, absolute,
    component). Translations are measured against the largest translation of the two (at
    least 1.0E-4 in, 2.54E-6 m: a cap that barely moves has no figure to compare with),
    rotations against the largest rotation, or the largest translation over a lever of
    120 in (3 m) when the rotations are smaller than that (a cap that barely turns)."""
    names = COMPONENTS[ndim]
    if not a or not b or len(a) < len(names) or len(b) < len(names):
        return None
    unit_len, floor = (3.0, 2.54e-6) if si else (120.0, 1.0e-4)
    rot = [i for i, n in enumerate(names) if n.startswith('R')]
    tr = [i for i in range(len(names)) if i not in rot]
    tmax = max([abs(v) for i in tr for v in (a[i], b[i])] + [floor])
    rmax = max(max(abs(v) for i in rot for v in (a[i], b[i])), tmax / unit_len)
    best = (0.0, 0.0, names[0])
    for i, n in enumerate(names):
        d = abs(a[i] - b[i])
        ref = rmax if i in rot else tmax
        rel = d / ref if ref > 0 else (0.0 if d == 0 else float('inf'))
        if (rel, d) > best[:2]:
            best = (rel, d, n)
    return best


def load_results(outdir, label, only=None):
    res = {}
    base = os.path.join(outdir, label)
    if not os.path.isdir(base):
        return res
    for stem in sorted(os.listdir(base)):
        if only is not None and stem not in only:
            continue
        path = os.path.join(base, stem, '_result.json')
        if os.path.exists(path):
            with open(path) as f:
                res[stem] = json.load(f)
    return res


def worst_eq(results):
    """[(imbalance, kind, file, analysis)] of the completed analyses, largest first."""
    out = []
    for stem, r in results.items():
        for k, a in r['analyses'].items():
            e = a.get('eq')
            if isinstance(e, list):
                out.append((e[0], 'force', stem, k))
                out.append((e[1], 'moment', stem, k))
    out.sort(reverse=True)
    return out


def eq_counts(results):
    n = {'checked': 0, 'cap springs (not checked)': 0, 'tables incomplete': 0,
         'above %g' % EQ_LIMIT: 0}
    for r in results.values():
        for k, a in r['analyses'].items():
            if 'eq' not in a:
                continue
            e = a['eq']
            if e == 'cap springs':
                n['cap springs (not checked)'] += 1
            elif e is None:
                n['tables incomplete'] += 1
            else:
                n['checked'] += 1
                if max(e) > EQ_LIMIT:
                    n['above %g' % EQ_LIMIT] += 1
    return n


def breakdown(results, tags):
    """Per tag value, the files that did not complete: {tag: {value: [failed, total]}}."""
    out = {}
    for stem, r in results.items():
        t = tags.get(stem)
        if not t:
            continue
        for key, val in t.items():
            if key in ('rows',):
                continue
            cell = out.setdefault(key, {}).setdefault(str(val), [0, 0])
            cell[1] += 1
            if not completed(r):
                cell[0] += 1
    return out


def step_spread(results):
    """For the files that differ only in their load step or pile tolerance (a name that ends
    in _step<f> or holds _tol<...>_), the largest difference of a cap displacement between any
    two runs that complete, measured as disp_change does, largest first."""
    groups = {}
    for stem, r in results.items():
        key = re.sub(r'_tol[^_]*', '', re.sub(r'_step[0-9.]+', '', stem))
        if key != stem:
            groups.setdefault(key, []).append(r)
    out = []
    for key, rs in sorted(groups.items()):
        if len(rs) < 2:
            continue
        done = [r for r in rs if completed(r)]
        best = None
        for i, a in enumerate(done):
            for b in done[i + 1:]:
                for k in sorted(done_analyses(a) & done_analyses(b)):
                    c = disp_change(a['analyses'][k]['disp'], b['analyses'][k]['disp'],
                                    a['ndim'], a.get('si'))
                    if c and (best is None or c[:2] > best[0][:2]):
                        best = (c, k)
        entry = dict(model=key, runs=len(rs), completed=len(done), rel=0.0, abs=0.0,
                     component='', analysis='')
        if best:
            (rel, ab, comp), k = best
            entry.update(rel=rel, abs=ab, component=comp, analysis=k)
        out.append(entry)
    out.sort(key=lambda e: (e['rel'], e['abs'], e['runs'] - e['completed']), reverse=True)
    return out


def report(outdir, out=sys.stdout, only=None):
    """Writes the report of the runs in outdir (of the files in only, when given); returns
    the exit status (1 when a file or an analysis that completes on the base does not
    complete on the new host)."""
    new = load_results(outdir, 'new', only)
    base = load_results(outdir, 'base', only)
    tags = {}
    mpath = os.path.join(outdir, 'corpus.json')
    if os.path.exists(mpath):
        with open(mpath) as f:
            tags = json.load(f).get('files', {})
    hosts = {}
    for label, rs in (('base', base), ('new', new)):
        if rs:
            hosts[label] = sorted({r['host'] for r in rs.values()})
    p = lambda *a: print(*a, file=out)
    rep = dict(hosts=hosts, files=len(new), status={}, timing={})
    p('corpus run in %s: %d files' % (outdir, len(new)))
    for label, rs in (('base', base), ('new', new)):
        if not rs:
            continue
        counts = {}
        for r in rs.values():
            counts[status_of(r)] = counts.get(status_of(r), 0) + 1
        ana = sum(len(done_analyses(r)) for r in rs.values())
        tot = sum(len(r['analyses']) for r in rs.values())
        rep['status'][label] = counts
        secs = sum(r['elapsed'] for r in rs.values())
        slow = max(rs.values(), key=lambda r: r['elapsed'])
        rep['timing'][label] = dict(total_run_seconds=round(secs, 1),
                                    slowest=[slow['file'], slow['elapsed']])
        p('%-4s %s' % (label, ', '.join(hosts[label])))
        p('     status: %s' % ', '.join('%s: %d' % kv for kv in sorted(counts.items())))
        p('     analyses completed in full: %d of %d; run time %.1f s in all, slowest %s %.2f s'
          % (ana, tot, secs, slow['file'], slow['elapsed']))
        probs = [s for s, r in rs.items() if r.get('input_problems')]
        if probs:
            p('     input refused or warned about: %d files (%s)' % (len(probs),
                                                                       ', '.join(probs[:5])))
        rep.setdefault('input_problems', {})[label] = probs
    # every file whose outcome differs
    rows_csv = []
    diffs, regress, changes, identical, differing = [], [], [], [], []
    for stem in sorted(set(new) | set(base)):
        a, b = base.get(stem), new.get(stem)
        row = dict(file=stem, base_status=status_of(a) if base else '',
                   new_status=status_of(b), base_failed=outcome_summary(a) if base else '',
                   new_failed=outcome_summary(b), change_rel='', change_abs='', component='',
                   analysis='', identical='', base_eq='', new_eq='',
                   base_seconds=a['elapsed'] if a else '', new_seconds=b['elapsed'] if b else '')
        for label, r in (('base', a), ('new', b)):
            if r:
                es = [max(x['eq']) for x in r['analyses'].values()
                      if isinstance(x.get('eq'), list)]
                row[label + '_eq'] = '%.3g' % max(es) if es else ''
        rows_csv.append(row)
        if not base or a is None or b is None:
            continue
        da, db = done_analyses(a), done_analyses(b)
        lost = sorted(da - db)
        if status_of(a) != status_of(b) or da != db:
            diffs.append(dict(file=stem, base=status_of(a), new=status_of(b),
                              base_failed=outcome_summary(a), new_failed=outcome_summary(b),
                              lost=lost, gained=sorted(db - da)))
        if (completed(a) and not completed(b)) or lost:
            regress.append(stem)
        best = None
        for k in sorted(da & db):
            c = disp_change(a['analyses'][k]['disp'], b['analyses'][k]['disp'], a['ndim'],
                            a.get('si'))
            if c and (best is None or c[:2] > best[0][:2]):
                best = (c, k)
        if best:
            (rel, ab, comp), k = best
            changes.append(dict(file=stem, analysis=k, component=comp, rel=rel, abs=ab,
                                base=a['analyses'][k]['disp'], new=b['analyses'][k]['disp']))
            row.update(change_rel='%.3g' % rel, change_abs='%.6g' % ab, component=comp,
                       analysis=k)
        same = a['digests'] == b['digests']
        row['identical'] = 'yes' if same else 'no'
        (identical if same else differing).append(stem)
    changes.sort(key=lambda c: (c['rel'], c['abs']), reverse=True)
    if base:
        p('')
        p('files whose outcome differs: %d' % len(diffs))
        for d in diffs:
            p('  %s: base %s -> new %s' % (d['file'], d['base'], d['new']))
            if d['base_failed']:
                p('      base: %s' % d['base_failed'])
            if d['new_failed']:
                p('      new:  %s' % d['new_failed'])
            if d['gained'] and not d['base_failed']:
                p('      completed on the new host only: %s' % '; '.join(d['gained']))
        p('')
        p('completed on the base, not on the new host: %d%s' % (
            len(regress), (' (%s)' % ', '.join(regress)) if regress else ''))
        p('')
        moved = [c for c in changes if c['abs'] > 0]
        p('largest change of a cap displacement among the analyses completed on both '
          '(%d files compared, %d with a change), top 20:' % (len(changes), len(moved)))
        if moved:
            p('  %10s %12s %-3s  %s' % ('relative', 'absolute', 'dof', 'file / analysis'))
        for c in moved[:20]:
            p('  %10.3g %12.5g %-3s  %s / %s' % (c['rel'], c['abs'], c['component'], c['file'],
                                               c['analysis']))
        p('')
        p('byte-identical apart from date and time lines: %d of %d files run on both'
          % (len(identical), len(identical) + len(differing)))
        if differing:
            p('  differing: %s%s' % (', '.join(differing[:30]),
                                     ' ...' if len(differing) > 30 else ''))
    for label, rs in (('base', base), ('new', new)):
        if not rs:
            continue
        w = worst_eq(rs)
        cnt = eq_counts(rs)
        p('')
        p('equilibrium of the pile heads against the cap load, %s: %s' % (
            label, ', '.join('%s %d' % kv for kv in cnt.items())))
        for e, kind, stem, k in w[:10]:
            p('  %10.3g %-6s %s / %s' % (e, kind, stem, k))
        rep.setdefault('equilibrium', {})[label] = dict(
            counts=cnt, worst=[list(x) for x in w[:20]])
    for label, rs in (('base', base), ('new', new)):
        spread = step_spread(rs)
        if not spread:
            continue
        rep.setdefault('step_spread', {})[label] = spread
        p('')
        p('the same model at several load steps or tolerances, %s: largest spread of a cap '
          'displacement among the runs that complete (%d models), top 10:' % (label,
                                                                             len(spread)))
        for sp in spread[:10]:
            p('  %10.3g %12.5g %-3s  %s / %s (%d runs complete of %d)' % (
                sp['rel'], sp['abs'], sp['component'], sp['model'], sp['analysis'],
                sp['completed'], sp['runs']))
    for label, rs in (('base', base), ('new', new)):
        if not rs or not tags:
            continue
        bd = breakdown(rs, tags)
        rep.setdefault('not_completed_by_tag', {})[label] = bd
        fams = sorted(((v[0], k) for k, v in bd.get('family', {}).items() if v[0]),
                      reverse=True)
        if fams:
            p('')
            p('files not completed on %s, by family: %s' % (
                label, ', '.join('%s %d/%d' % (k, n, bd['family'][k][1]) for n, k in fams)))
            for key in ('ndim', 'units', 'criterion', 'cap', 'movement', 'step', 'tol',
                        'loads', 'head'):
                vals = bd.get(key, {})
                txt = ', '.join('%s %d/%d' % (v, n[0], n[1]) for v, n in sorted(vals.items())
                                if n[0])
                if txt:
                    p('  by %s: %s' % (key, txt))
    rep.update(outcome_differs=diffs, regressions=regress, top_changes=changes[:20],
               changes=changes, identical=identical, differing=differing)
    with open(os.path.join(outdir, 'report.json'), 'w') as f:
        json.dump(rep, f, indent=1, sort_keys=True)
    with open(os.path.join(outdir, 'report.csv'), 'w', newline='') as f:
        wr = csv.DictWriter(f, fieldnames=list(rows_csv[0].keys()) if rows_csv else ['file'])
        wr.writeheader()
        for r in rows_csv:
            wr.writerow(r)
    p('')
    p('report: %s, %s' % (os.path.join(outdir, 'report.json'),
                          os.path.join(outdir, 'report.csv')))
    return 1 if regress else 0


# ==========================================================================================
# Command line
# ==========================================================================================


def inputs(dirs, match=None):
    """{stem: path} of the input data files of the folders (whose stem matches the regular
    expression match, when given)."""
    files = {}
    for d in dirs:
        for name in sorted(os.listdir(d)):
            if match and not re.search(match, name[:-4]):
                continue
            if name.endswith('.dat') and name != 'Names.dat':
                stem = name[:-4]
                if stem in files:
                    sys.exit('corpus.py: %s is in two folders: %s and %s'
                             % (name, files[stem], d))
                files[stem] = os.path.join(d, name)
    return files


def run_all(jobs, nproc, progress=True):
    """jobs: [(label, host, datpath, folder, timeout)]; runs them nproc at a time."""
    done = 0
    results = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=nproc) as ex:
        futs = [ex.submit(run_one, h, d, f, t) for _, h, d, f, t in jobs]
        for fut in concurrent.futures.as_completed(futs):
            results.append(fut.result())
            done += 1
            if progress and (done % 25 == 0 or done == len(jobs)):
                print('  %d of %d runs done' % (done, len(jobs)), file=sys.stderr)
    return results


def cmd_gen(a):
    stems = generate(a.outdir, a.count, a.seed)
    print('%d input files written to %s (seed %d), manifest %s' % (
        len(stems), a.outdir, a.seed, os.path.join(a.outdir, 'corpus.json')))
    return 0


def copy_manifest(dirs, outdir):
    merged = {}
    for d in dirs:
        p = os.path.join(d, 'corpus.json')
        if os.path.exists(p):
            with open(p) as f:
                merged.update(json.load(f).get('files', {}))
    with open(os.path.join(outdir, 'corpus.json'), 'w') as f:
        json.dump(dict(files=merged), f, indent=1, sort_keys=True)


def cmd_run(a):
    dirs, outdir = a.paths[:-1], a.paths[-1]
    if not dirs:
        sys.exit('corpus.py run: give at least one corpus folder and the output folder')
    files = inputs(dirs, a.match)
    os.makedirs(outdir, exist_ok=True)
    copy_manifest(dirs, outdir)
    hosts = [('new', a.host)] + ([('base', a.base)] if a.base else [])
    for _, h in hosts:
        if not os.access(h, os.X_OK):
            sys.exit('corpus.py run: %s is not an executable host' % h)
    if not a.base and os.path.isdir(os.path.join(outdir, 'base')):
        shutil.rmtree(os.path.join(outdir, 'base'))
    jobs = []
    for stem, path in sorted(files.items()):
        for label, h in hosts:
            folder = os.path.join(outdir, label, stem)
            if a.reuse_base and label == 'base':
                rp = os.path.join(folder, '_result.json')
                if os.path.exists(rp):
                    with open(rp) as f:
                        old = json.load(f)
                    if old.get('host') == os.path.abspath(h) and \
                            old.get('dat') == normalized_digest(path, folder):
                        continue
            jobs.append((label, h, path, folder, a.timeout))
    for label, _ in hosts:   # results of files no longer in the corpus
        top = os.path.join(outdir, label)
        if os.path.isdir(top) and not a.match:
            for stem in os.listdir(top):
                if stem not in files:
                    shutil.rmtree(os.path.join(top, stem))
    t0 = time.time()
    print('%d runs of %d files on %d at a time' % (len(jobs), len(files), a.jobs),
          file=sys.stderr)
    run_all(jobs, a.jobs)
    print('wall time %.1f s for %d runs at -j%d' % (time.time() - t0, len(jobs), a.jobs))
    return report(outdir, only=set(files))


def cmd_check(a):
    files = inputs([a.corpus], a.match)
    os.makedirs(a.outdir, exist_ok=True)
    jobs = [('check', a.host, p, os.path.join(a.outdir, 'check', s), a.timeout)
            for s, p in sorted(files.items())]
    results = run_all(jobs, a.jobs)
    bad = []
    for r in sorted(results, key=lambda r: r['file']):
        if r['input_problems'] or r['timeout'] or r['exit'] not in (0, 60):
            bad.append(r)
            print('%s: %s; %s' % (r['file'], status_of(r), ' | '.join(r['input_problems'][:3])))
    slow = sorted(results, key=lambda r: -r['elapsed'])[:5]
    print('%d files checked, %d refused, warned about or ended with an error; slowest: %s'
          % (len(results), len(bad), ', '.join('%s %.2f s' % (r['file'], r['elapsed'])
                                               for r in slow)))
    return 1 if bad else 0


def main(argv=None):
    ap = argparse.ArgumentParser(
        prog='corpus.py', description=__doc__.split('\n\n')[0],
        formatter_class=argparse.RawDescriptionHelpFormatter,
        epilog='\n'.join(__doc__.split('\n')[1:]))
    sub = ap.add_subparsers(dest='cmd', required=True)
    g = sub.add_parser('gen', help='write the corpus')
    g.add_argument('outdir')
    g.add_argument('--count', type=int, default=320, help='number of files (default 320)')
    g.add_argument('--seed', type=int, default=1, help='seed of the sampler (default 1)')
    c = sub.add_parser('check', help='run every file once and list the ones the reader '
                       'refuses or warns about')
    c.add_argument('--host', required=True)
    c.add_argument('corpus')
    c.add_argument('outdir')
    c.add_argument('-j', '--jobs', type=int, default=3)
    c.add_argument('--timeout', type=float, default=60.0)
    r = sub.add_parser('run', help='run the corpus through one host or two and compare',
                       description='Runs every .dat file of the CORPUSDIRs (the examples '
                       'folder may be one of them) through --host, and through --base when '
                       'given, and writes the report.')
    r.add_argument('--host', required=True, help='the host under test (results in OUTDIR/new)')
    r.add_argument('--base', help='the host to compare with (results in OUTDIR/base)')
    r.add_argument('paths', nargs='+', metavar='DIR',
                   help='the corpus folders (CORPUSDIR...), then the output folder (OUTDIR)')
    r.add_argument('-j', '--jobs', type=int, default=3, help='parallel runs (default 3)')
    r.add_argument('--timeout', type=float, default=60.0,
                   help='seconds per run before the host is asked to stop (default 60)')
    for sp in (c, r):
        sp.add_argument('-k', '--match', metavar='REGEX',
                        help='only the files whose name (without .dat) matches REGEX')
    r.add_argument('--reuse-base', action='store_true',
                   help='keep the base results already in OUTDIR for the same host and file')
    p = sub.add_parser('report', help='write the report again from OUTDIR')
    p.add_argument('outdir')
    a = ap.parse_args(argv)
    if a.cmd == 'gen':
        return cmd_gen(a)
    if a.cmd == 'check':
        return cmd_check(a)
    if a.cmd == 'run':
        return cmd_run(a)
    return report(a.outdir)


if __name__ == '__main__':
    sys.exit(main())
