#!/usr/bin/env python3
"""Contact sheet of every distinct talk box: each speaker's name and portrait in the talk bar (the
mother's first line as the words), the hero's, and the chest messages (money, the longest goods
names, an empty chest), tiled two abreast into one PNG.

    python3 tools/contactsheet/talkbox_sheet.py [BUILD_DIR] OUT.png

It plays build/tamsel headless on copies of the built data set: for each name, the mother's record
carries that name and picture; for each chest message, the home chest holds that content and the
hero walks to it as the recorded demo does."""
import os, re, shutil, struct, subprocess, sys, tempfile, zlib


# ---- PNG in and out (8-bit, not interlaced), enough for the game's screenshots ----------------

def read_png(path):
    data = open(path, 'rb').read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n'
    pos = 8; idat = b''; plte = None
    while pos < len(data):
        n, kind = struct.unpack('>I4s', data[pos:pos+8]); body = data[pos+8:pos+8+n]; pos += 12 + n
        if kind == b'IHDR': w, h, depth, ctype, _, _, inter = struct.unpack('>IIBBBBB', body)
        elif kind == b'PLTE': plte = body
        elif kind == b'IDAT': idat += body
    assert depth == 8 and inter == 0, (depth, inter)
    bpp = {2: 3, 6: 4, 3: 1, 0: 1}[ctype]
    raw = zlib.decompress(idat); stride = w * bpp
    rows = []; prev = bytearray(stride); p = 0
    for y in range(h):
        f = raw[p]; line = bytearray(raw[p+1:p+1+stride]); p += 1 + stride
        for i in range(stride):
            a = line[i-bpp] if i >= bpp else 0; b = prev[i]; c = prev[i-bpp] if i >= bpp else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        prev = line
        if ctype == 2: rgb = bytes(line)
        elif ctype == 6: rgb = bytes(b for i in range(w) for b in line[4*i:4*i+3])
        else: rgb = b''.join(plte[3*v:3*v+3] if ctype == 3 else bytes([v]*3) for v in line)
        rows.append(rgb)
    return w, h, rows

def write_png(path, w, h, rows):
    raw = b''.join(b'\x00' + r for r in rows)
    def chunk(k, b): return struct.pack('>I', len(b)) + k + b + struct.pack('>I', zlib.crc32(k + b) & 0xffffffff)
    open(path, 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
                           + chunk(b'IDAT', zlib.compress(raw, 6)) + chunk(b'IEND', b''))


# ---- the talk boxes ---------------------------------------------------------------------------
SRC = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
if len(sys.argv) not in (2, 3):
    sys.exit('usage: talkbox_sheet.py [BUILD_DIR] OUT.png')
OUT = sys.argv[-1]
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) == 3 else os.path.join(SRC, 'build'))
DATA = os.path.join(BUILD, 'data')
work = tempfile.mkdtemp(prefix='talksheet_')
demo = open(os.path.join(SRC, 'data/demo/playthrough.txt')).read().splitlines()
# a new game: the title's first entry, then the opening story typed out and left
opening = ['wait 1000', 'tap RETURN', 'wait 60000', 'tap RETURN']
head = opening + ['wait 1500', 'shot talk_npc', 'tap RETURN', 'wait 500', 'shot talk_hero']
# the walk to the home chest, from the recorded demo: up to the RETURN that opens it
start = demo.index('# home: the herb chest')
walk = []
for line in demo[start:]:
    walk.append(line)
    if line.startswith('tap RETURN'): break
chest = opening + ['wait 1000'] + ['tap RETURN', 'wait 300'] * 6 + walk + ['wait 500', 'shot chest']

def run(name, patch, script):
    d = os.path.join(work, name); shutil.copytree(DATA, d + '/data')
    patch(d + '/data')
    open(d + '/s.txt', 'w').write('\n'.join(script) + '\n')
    subprocess.run([os.path.join(BUILD, 'tamsel'), '--headless', '--script', d + '/s.txt', '--shots', d + '/shots',
                    '--data', d + '/data'], check=True, capture_output=True)
    return d + '/shots'

def bar(path):
    w, h, rows = read_png(path)
    return rows[384:480]

people = []
for f in sorted(os.listdir(os.path.join(DATA, 'maps'))):
    if not f.endswith('.npc'): continue
    text = open(os.path.join(DATA, 'maps', f), 'rb').read().decode('gbk')
    for pic, name in re.findall(r'picture   :(\d+);.*?name      :([^;]*);', text, re.S):
        if (name, pic) not in people and name not in [n for n, _ in people]: people.append((name, pic))

def set_speaker(name, pic):
    def patch(d):
        p = d + '/maps/home.npc'; t = open(p, 'rb').read().decode('gbk')
        t = re.sub(r'name      :[^;]*;', 'name      :%s;' % name, t, count=1)
        t = re.sub(r'picture   :\d+;', 'picture   :%s;' % pic, t, count=1)
        open(p, 'wb').write(t.encode('gbk'))
    return patch

def set_chest(k):
    def patch(d):
        p = d + '/maps/home.map'; b = bytearray(open(p, 'rb').read())
        w, h = struct.unpack_from('<ii', b, 32)
        for i in range(w * h):
            if struct.unpack_from('<H', b, 48 + 2 * i)[0] >= 0xF000: struct.pack_into('<H', b, 48 + 2 * i, 0xF000 + k)
        open(p, 'wb').write(bytes(b))
    return patch

tiles = []
for i, (name, pic) in enumerate(people):
    shots = run('p%02d' % i, set_speaker(name, pic), head)
    tiles.append(bar(shots + '/talk_npc.png'))
    if i == 0: tiles.append(bar(shots + '/talk_hero.png'))
for k in (0, 5, 14, 1):  # money, the longest goods names, an empty chest
    tiles.append(bar(run('c%02d' % k, set_chest(k), chest) + '/chest.png'))
cols = 2; rowsN = (len(tiles) + cols - 1) // cols; gap = 8
W = cols * 640 + (cols + 1) * gap; H = rowsN * 96 + (rowsN + 1) * gap
canvas = [bytearray(b'\x30' * (W * 3)) for _ in range(H)]
for n, t in enumerate(tiles):
    x0 = gap + (n % cols) * (640 + gap); y0 = gap + (n // cols) * (96 + gap)
    for y in range(96): canvas[y0 + y][3 * x0:3 * (x0 + 640)] = t[y]
write_png(OUT, W, H, [bytes(r) for r in canvas])
print(len(tiles), 'talk boxes,', len(people), 'speakers ->', OUT)
shutil.rmtree(work)
