#!/usr/bin/env python3
"""Checks the character tables in this folder the way the program reads them.

Each table is read as a stream of tab/line-feed separated fields, four to a record (label, source,
print, cells); an empty print or cell field ends the file. The records are then loaded into the
print sets and key sets in the program's load order, and the script reports:

  - records read per file, and records lost after an early end;
  - cell characters outside NABCC (0x20..0x5F);
  - print texts loaded twice into one set (same cells: an extra key; other cells: an alternate);
  - source keys that do not reach their entry because another entry holds the key already,
    in the print sets (typed keys in MATH and BRAILLE, text conversion) and in the key sets
    (braille display input);
  - the pairs of ../tests/data/required_pairs.tsv that `find`/`findOrDefault` does not resolve to
    an entry with exactly that print text and those cells;
  - a few typing expectations (single keys that must commit at once, keys that must reach a
    particular character).

Usage: check_tables.py [TABLE_DIR] [--pairs FILE] [--verbose]
Exit status 0 when nothing needs attention, 1 otherwise.
"""
import os
import sys

TEXT_FILES = ['kana.txt', 'bi_text.txt', 'jtext_symbol.txt', 'alphabet_capital.txt', 'alphabet_small.txt',
              'calligraphy.txt', 'german.txt', 'latin.txt', 'number.txt', 'gaiji.txt']
PRINT_PASS = [
    (2, TEXT_FILES),
    (3, ['kana.txt', 'math.txt', 'number.txt', 'alphabet_capital.txt', 'alphabet_small.txt', 'bi_math.txt']),
    (4, ['gaiji.txt']),
]
KEY_PASS = [
    (2, TEXT_FILES),
    (3, ['math.txt', 'number.txt', 'alphabet_capital.txt', 'alphabet_small.txt', 'bi_math.txt']),
    (4, ['gaiji.txt']),
    (6, ['kana.txt']), (7, ['number.txt']), (8, ['alphabet_small.txt']), (9, ['alphabet_capital.txt']),
    (10, ['math.txt', 'bi_math.txt', 'number.txt', 'kana.txt']), (11, ['number.txt']),
    (12, ['alphabet_small.txt', 'math.txt', 'bi_math.txt']),
    (13, ['alphabet_capital.txt', 'math.txt', 'bi_math.txt']),
]
ALL_FILES = TEXT_FILES + ['math.txt', 'bi_math.txt']
SIX_DOT_FILE = 'gaiji_sixpoints.txt'

# Print texts that are meant to have more than one cell string in a set (print, set).
INTENDED_ALTERNATES = {
    ('√', 3),  # square root ">" and the radical sign "]" used when the root has an index
}

DEFAULT_PRINT = '\u2612'


def pua(cells):
    return ''.join(chr(0xE000 + ord(c) - 0x20) for c in cells)


class Entry:
    def __init__(self, set_no, prt, cells, origin):
        self.set, self.print, self.nabcc, self.origin = set_no, prt, cells, origin

    def __repr__(self):
        return f'({self.set} {self.print!r} {self.nabcc!r} {self.origin})'


class CharSet:
    def __init__(self, n):
        self.n = n
        self.by_print = {}
        self.alternates = {}
        self.by_source = {}  # key -> list of entries, first registered first
        self.entries = []

    def create(self, prt, cells, origin):
        e = Entry(self.n, prt, cells, origin)
        self.entries.append(e)
        return e

    def add(self, source, prt, cells, origin):
        e = self.by_print.get(prt)
        if e is None:
            e = self.create(prt, cells, origin)
            self.by_print[prt] = e
        self.by_source.setdefault(source, []).append(e)
        return e

    def first(self, key):
        lst = self.by_source.get(key)
        return lst[0] if lst else None


def fields(path):
    """The field stream of one table file: None stands for an absent (empty) field."""
    with open(path, 'rb') as f:
        data = f.read().decode('utf-8', errors='replace')
    data = data.replace('\r', '').replace('\ufeff', '')
    out, cur = [], ''
    for ch in data:
        if ch in '\t\n':
            out.append(cur if cur else None)
            cur = ''
        else:
            cur += ch
    if cur:
        out.append(cur)
    return out


def read_records(path):
    """(records, dropped fields after an early end, description of the end)."""
    if not os.path.exists(path):
        return [], 0, 'missing'
    fs = fields(path)
    recs, i = [], 0
    while True:
        group = fs[i:i + 4] + [None] * max(0, i + 4 - len(fs))
        label, source, prt, cells = group
        if prt is None or cells is None:
            rest = [f for f in fs[i + 4:] if f is not None]
            if i >= len(fs):
                return recs, 0, 'end of file'
            return recs, len(rest), f'record {len(recs) + 1} has no print or cells field'
        recs.append((label, source, prt, cells))
        i += 4


class Report:
    def __init__(self, verbose):
        self.verbose = verbose
        self.problems = 0

    def section(self, title):
        print(f'\n== {title}')

    def bad(self, msg):
        self.problems += 1
        print('  PROBLEM', msg)

    def note(self, msg):
        print('  ', msg)


def build(table_dir, rep):
    records = {}
    rep.section('records read')
    for name in ALL_FILES:
        recs, dropped, end = read_records(os.path.join(table_dir, name))
        records[name] = recs
        line = f'{name:22} {len(recs):5} records'
        if dropped:
            rep.bad(f'{line}; reading stops early ({end}), {dropped} later fields are ignored')
        elif end == 'missing':
            rep.bad(f'{line}; file missing')
        else:
            rep.note(line)
        for k, (label, source, prt, cells) in enumerate(recs, 1):
            bad = [c for c in cells if not 0x20 <= ord(c) <= 0x5F]
            if bad:
                rep.bad(f'{name} record {k} ({label}): cells {cells!r} hold non-NABCC {bad!r}')
            if label is None:
                rep.note(f'{name} record {k}: no label')

    six = []
    path = os.path.join(table_dir, SIX_DOT_FILE)
    if os.path.exists(path):
        fs = fields(path)
        for i in range(64):
            p = fs[2 * i] if 2 * i < len(fs) else None
            c = fs[2 * i + 1] if 2 * i + 1 < len(fs) else None
            six.append((p, c))
        extra = [f for f in fs[128:] if f is not None]
        rep.note(f'{SIX_DOT_FILE:22} {sum(1 for p, c in six if p and c):5} pairs'
                 + (f' ({len(extra)} fields after the 64th record are ignored)' if extra else ''))
        for i, (p, c) in enumerate(six, 1):
            if p and c and not all(0x20 <= ord(x) <= 0x5F for x in c):
                rep.bad(f'{SIX_DOT_FILE} record {i}: cells {c!r} are not NABCC')
    else:
        rep.bad(f'{SIX_DOT_FILE} missing')

    # dictionary before the tables
    printsets = {n: CharSet(n) for n in range(14)}
    keysets = {n: CharSet(n) for n in range(14)}
    special_set = printsets[1]
    defaults = {}
    for n in (2, 3):
        e = printsets[n].create(DEFAULT_PRINT, ' ', 'default')
        printsets[n].by_print[DEFAULT_PRINT] = e
        printsets[n].by_source.setdefault('', []).append(e)
        defaults[n] = e
    special_set.add('\n', '\u21b2', '\n', 'line break')
    special_set.add(' ', '\u25a1', ' ', 'blank')
    special_set.add('\u3000', '\u25a1', ' ', 'blank')
    special_set.add('\ufeff', '*', ' ', 'end marker')
    for code in range(0x20, 0x60):
        for n in (2, 3):
            printsets[n].add(pua(chr(code)), pua(chr(code)), chr(code), 'raw cell')

    rep.section('print texts loaded more than once into a set')
    printset_source_clash = []
    for n, files in PRINT_PASS:
        cs = printsets[n]
        dup_same = 0
        for name in files:
            for k, (label, source, prt, cells) in enumerate(records[name], 1):
                origin = f'{name}:{k}'
                e = cs.by_print.get(prt)
                if e is None:
                    e = cs.create(prt, cells, origin)
                    cs.by_print[prt] = e
                if e.nabcc == cells:
                    if e.origin != origin and e.origin not in ('raw cell',):
                        dup_same += 1
                    cs.by_source.setdefault(prt, []).append(e)
                    target = e
                else:
                    target = cs.create(prt, cells, origin)
                    cs.alternates.setdefault(prt, []).append(target)
                    msg = (f'set {n}: {prt!r} {cells!r} ({origin}) becomes an alternate of '
                           f'{e.nabcc!r} ({e.origin})')
                    if (prt, n) in INTENDED_ALTERNATES:
                        rep.note('intended: ' + msg)
                    else:
                        rep.bad(msg)
                if source is not None:
                    holder = cs.first(source)
                    if holder is None:
                        cs.by_source.setdefault(source, []).append(target)
                    elif holder is not target:
                        printset_source_clash.append((n, name, k, label, source, prt, holder))
        rep.note(f'set {n}: {dup_same} records repeat a print text with the same cells (extra keys)')
    # the comma alternates added after the tables
    for n in (2, 3):
        e = printsets[n].create('，', "'", 'comma alternate')
        printsets[n].alternates.setdefault('，', []).append(e)

    rep.section('source keys that do not reach their entry (print sets)')
    gaiji_in_text = [c for c in printset_source_clash if c[0] == 2 and c[1] == 'gaiji.txt']
    for n, name, k, label, source, prt, holder in printset_source_clash:
        if (n, name) == (2, 'gaiji.txt'):
            continue
        rep.bad(f'set {n}: {name}:{k} {label}: key {source!r} for {prt!r} is held by '
                f'{holder.print!r} ({holder.origin})')
    rep.note(f'set 2: {len(gaiji_in_text)} gaiji.txt keys are already used by the text tables '
             '(the gaiji keys are meant for set 4; in set 2 they only fill gaps)')
    if rep.verbose:
        for n, name, k, label, source, prt, holder in gaiji_in_text:
            rep.note(f'    {source!r} -> {holder.print!r} ({holder.origin})')

    rep.section('key sets (braille display input, stored characters)')
    for n, files in KEY_PASS:
        cs = keysets[n]
        src_by_src, src_by_cells, cells_shadowed, alt_with_keys = [], [], 0, []
        kind = {}
        for name in files:
            for k, (label, source, prt, cells) in enumerate(records[name], 1):
                origin = f'{name}:{k}'
                e = cs.by_print.get(prt)
                if e is None:
                    e = cs.create(prt, cells, origin)
                    cs.by_print[prt] = e
                if source is not None:
                    for key, what in ((source, 'source'), (cells, 'cells')):
                        holder = cs.first(key)
                        if holder is None:
                            cs.by_source.setdefault(key, []).append(e)
                            kind[key] = (what, origin)
                        elif holder is not e:
                            if what == 'cells':
                                cells_shadowed += 1
                            elif kind[key][0] == 'source':
                                src_by_src.append((origin, label, source, prt, holder))
                            else:
                                src_by_cells.append((origin, label, source, prt, holder, kind[key][1]))
                if e.nabcc != cells:
                    cs.create(prt, cells, origin)
                    if source is not None:
                        alt_with_keys.append((origin, label, prt, cells, e))
        rep.note(f'key set {n:2}: {len(cs.by_source):4} keys; {cells_shadowed} cell keys already '
                 f'taken; {len(src_by_cells)} source keys taken by cell keys')
        for origin, label, source, prt, holder in src_by_src:
            if (n, origin.split(':')[0]) == (2, 'gaiji.txt'):
                continue
            rep.bad(f'key set {n}: {origin} {label}: key {source!r} for {prt!r} is held by '
                    f'{holder.print!r} ({holder.origin})')
        for origin, label, prt, cells, e in alt_with_keys:
            rep.bad(f'key set {n}: {origin} {label}: keys of {prt!r} {cells!r} lead to the first entry '
                    f'with cells {e.nabcc!r}')
        if rep.verbose:
            for origin, label, source, prt, holder, korigin in src_by_cells:
                rep.note(f'    {origin}: source {source!r} of {prt!r} -> {holder.print!r} '
                         f'(cells of {korigin})')
    return printsets, keysets, defaults, six


def find(printsets, n, prt, cells):
    cs = printsets.get(n)
    if cs is None:
        return None
    e = cs.by_print.get(prt)
    if e is not None and e.nabcc == cells:
        return e
    if e is not None:
        s = cs.first(cells)
        if s is not None and s.print == prt:
            return s
    alts = cs.alternates.get(prt)
    return alts[0] if alts else None


def find_or_default(printsets, defaults, n, prt, cells):
    return find(printsets, n, prt, cells) or find(printsets, 1, prt, cells) or defaults.get(n)


def candidates(cs, pending):
    """The keys of a print set that begin with the typed text (as the candidate lists show them)."""
    out = []
    for key, entries in cs.by_source.items():
        if key.startswith(pending):
            out += [(key, e) for e in entries]
    return sorted(out, key=lambda ke: [ord(c) for c in ke[0]])


def longest_match(cs, text):
    best = None
    for key in cs.by_source:
        if key and text.startswith(key) and (best is None or len(key) > len(best)):
            best = key
    return (best, cs.first(best)) if best else (None, None)


def convert_text(cs, text):
    out, i = [], 0
    while i < len(text):
        key, e = longest_match(cs, text[i:])
        if e is None:
            i += 1
            continue
        out.append(e)
        i += len(key)
    return out


def check_pairs(path, printsets, defaults, rep):
    rep.section(f'required pairs ({os.path.relpath(path)})')
    if not os.path.exists(path):
        rep.bad('file missing')
        return
    with open(path, encoding='utf-8', newline='') as f:
        lines = f.read().split('\n')
    n_ok = 0
    for number, line in enumerate(lines[1:], 2):
        if not line:
            continue
        cols = line.split('\t')
        if len(cols) < 3:
            rep.bad(f'line {number}: fewer than three columns')
            continue
        s, prt, cells = int(cols[0]), cols[1], cols[2]
        where = cols[3] if len(cols) > 3 else ''
        e = find_or_default(printsets, defaults, s, prt, cells)
        if e is None or e is defaults.get(s) or e.print != prt or e.nabcc != cells:
            got = 'nothing' if e is None else ('the default entry' if e is defaults.get(s) else repr(e))
            rep.bad(f'line {number}: set {s} {prt!r} {cells!r} ({where}) resolves to {got}')
        else:
            n_ok += 1
    rep.note(f'{n_ok} pairs resolve exactly')


def check_typing(printsets, keysets, six, rep):
    rep.section('typing expectations')

    def expect(cond, msg):
        if cond:
            rep.note('ok   ' + msg)
        else:
            rep.bad(msg)

    math, text, gaiji = printsets[3], printsets[2], printsets[4]
    # MATH: a single key that no other key extends is inserted at once (F7 types "(" and ")").
    for key in ['(', ')', '+', '-', '=', '<', '>', '/', '*', '|', ',', '.'] + list('0123456789'):
        c = candidates(math, key)
        expect(len(c) == 1, f'MATH key {key!r} commits at once -> '
               + (repr(c[0][1].print) if len(c) == 1 else f'{len(c)} candidates'))
    for key, want in [('a', 'ａ'), ('z', 'ｚ'), ('A', 'Ａ'), ('5', '５'), ('alpha', ' α '), ('leq', ' ≦ '),
                      ('sqrt', '√'), ('in', '∈'), ('int', '∫')]:
        c = candidates(math, key)
        expect(bool(c) and c[0][0] == key and c[0][1].print == want,
               f'MATH key {key!r} is the first candidate and gives {want!r}')
    for key, want in [('5', '５'), ('a', 'ａ'), ('z', 'ｚ'), ('K', 'Ｋ'), ('Z', 'Ｚ')]:
        e = keysets[3].first(key)
        expect(e is not None and e.print == want, f'key set 3: {key!r} -> {want!r}')
    # In key set 3 the digits (loaded before the capitals) hold the cell keys "A".."J", so the
    # half-width capitals A..J lead to the digits there; typing in MATH uses print set 3 instead.
    e = keysets[3].first('A')
    rep.note(f'note key set 3: \'A\' -> {e.print if e else None!r} (cells of the digit 1, loaded before the capitals)')
    # TEXT with the input method closed: one ASCII character at a time through set 2.
    for key, want in [('(', '（'), (')', '）'), ('a', 'ａ'), ('A', 'Ａ'), ('5', '５'), (',', '，'), ('.', '．'),
                      ('?', '？'), ('!', '！')]:
        out = convert_text(text, key)
        expect(len(out) == 1 and out[0].print == want, f'TEXT {key!r} -> {want!r}')
    for txt, cells in [('きょうは２０２６ねんです。', '@[ C U B J B F P 0 "Q ? 4'), ('ギャ', '^*'),
                       ('ぴょ', '.!'), ('がっこう', '"* 1 [ C'), ('コーヒー', '[ 3 V 3'),
                       ('５３，０００', 'E C 1 J J J'), ('３．１４', 'C 1 A D')]:
        got = ' '.join(e.nabcc for e in convert_text(text, txt))
        expect(got == cells, f'TEXT {txt} -> {cells}' + ('' if got == cells else f' (got {got})'))
    # BRAILLE: every cell typed on a display reaches its raw cell in the gaiji set; chords too.
    missing = [chr(c) for c in range(0x21, 0x60) if (gaiji.first(chr(c)) or Entry(0, '', '', '')).nabcc != chr(c)]
    expect(not missing, 'gaiji set: every NABCC character is a key of its own cell'
           + (f' (missing {missing!r})' if missing else ''))
    for name in ['number', 'roman', 'capital', 'connect', 'open-fraction', 'close-fraction']:
        expect(gaiji.first(name) is not None, f'gaiji set: key {name!r} -> '
               + (repr(gaiji.first(name).nabcc) if gaiji.first(name) else 'nothing'))
    bad_six = []
    for m in range(1, 64):
        p, c = six[m - 1] if m - 1 < len(six) else (None, None)
        dots = ''.join(str(i + 1) for i in range(6) if m >> i & 1)
        if not p or not c or find(printsets, 4, p, c) is None or DOTS.get(dots) != c:
            bad_six.append(m)
    expect(not bad_six, 'six-dot table: record m is the cell of dot mask m, found in set 4'
           + (f' (wrong: {bad_six})' if bad_six else ''))
    # Display cells typed in TEXT: kana, numbers and letters reach their characters.
    for n, cells, want in [(6, '@[', 'きょ'), (6, 'A', 'あ'), (7, 'A', '１'), (7, '1', '．'), (8, 'A', 'ａ'),
                           (9, 'A', 'Ａ'), (11, 'J', '０'), (12, 'A', 'ａ'), (13, 'A', 'Ａ')]:
        e = keysets[n].first(cells)
        expect(e is not None and e.print == want, f'key set {n}: cells {cells!r} -> {want!r}')


DOTS = {'': ' ', '2346': '!', '5': '"', '3456': '#', '1246': '$', '146': '%', '12346': '&', '3': "'",
        '12356': '(', '23456': ')', '16': '*', '346': '+', '6': ',', '36': '-', '46': '.', '34': '/',
        '356': '0', '2': '1', '23': '2', '25': '3', '256': '4', '26': '5', '235': '6', '2356': '7',
        '236': '8', '35': '9', '156': ':', '56': ';', '126': '<', '123456': '=', '345': '>', '1456': '?',
        '4': '@', '1': 'A', '12': 'B', '14': 'C', '145': 'D', '15': 'E', '124': 'F', '1245': 'G',
        '125': 'H', '24': 'I', '245': 'J', '13': 'K', '123': 'L', '134': 'M', '1345': 'N', '135': 'O',
        '1234': 'P', '12345': 'Q', '1235': 'R', '234': 'S', '2345': 'T', '136': 'U', '1236': 'V',
        '2456': 'W', '1346': 'X', '13456': 'Y', '1356': 'Z', '246': '[', '1256': '\\', '12456': ']',
        '45': '^', '456': '_'}


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    table_dir, pairs, verbose = here, os.path.join(here, '..', 'tests', 'data', 'required_pairs.tsv'), False
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == '--pairs':
            pairs = args.pop(0)
        elif a in ('-v', '--verbose'):
            verbose = True
        elif a in ('-h', '--help'):
            print(__doc__)
            return 0
        else:
            table_dir = a
    rep = Report(verbose)
    printsets, keysets, defaults, six = build(table_dir, rep)
    check_pairs(pairs, printsets, defaults, rep)
    check_typing(printsets, keysets, six, rep)
    print(f'\n{rep.problems} problem(s)')
    return 1 if rep.problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
