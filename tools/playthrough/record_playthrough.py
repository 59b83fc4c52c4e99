#!/usr/bin/env python3
"""Records data/demo/playthrough.txt: the whole story played on the real data set.

The wandering characters move at random, so where they stand when the hero passes depends on
every step before. The script is therefore recorded, not written: each walk is planned with the
game's own movement rules, tried on the real program (build/tamsel --headless), and only the
part that went as planned is kept; fights are played turn by turn from the state dumps. Run it
again after a change to the game or the data set makes the playthrough test fail:

    python3 tools/playthrough/record_playthrough.py [BUILD_DIR]

It needs a built tamsel and data set in BUILD_DIR (default: build)."""
import collections
import json
import os
import struct
import subprocess
import sys
import tempfile

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(SOURCE, 'build'))
DATA = os.path.join(BUILD, 'data')
SCRIPT = os.path.join(SOURCE, 'data', 'demo', 'playthrough.txt')
WORK = tempfile.mkdtemp(prefix='tamsel_playthrough_')
MAPS = ['home', 'city', 'wood', 'f_wood', 'palace', 'shop01', 'shop02', 'shop03']
STORY_ENEMIES = (20006, 40006)  # talk ids of the tree demon and the palace master
STORIES = (99001, 99002, 99003)  # the opening, the ending, the palace gate opening
HEALS = {'2': 25, '3': 60, '4': 150, '5': 400, '@': 200, 'A': 35, 'B': 90}  # slot byte: life


# ---- what the state dump says ------------------------------------------------------------------

def hero_map(s):
    h = s['hero']
    return s['nViewCol'] * 32 + h['nX'] - s['nScrollX'], s['nViewRow'] * 32 + h['nY'] - s['nScrollY']


def view(s):
    h = s['hero']
    return h['nX'], h['nY'], s['nViewCol'], s['nViewRow'], s['nScrollX'], s['nScrollY']


def slots(s):
    return bytes.fromhex(s['hero']['szGoods'])[:16].decode('latin1')


def summary(s):
    h = s['hero']
    return 'screen %s map %d at %s level %d life %d/%d attack %d defense %d money %d goods %r' % (
        s['screen'], s['nMap'], hero_map(s), h['nLevel'], h['nLife'], h['nMaxLife'], h['nAttack'],
        h['nDefense'], h['nMoney'], slots(s))


# ---- how long a story screen types --------------------------------------------------------------

def story_wait(talk_id):
    """Milliseconds from a story screen's start until it has typed its last byte (80 ms a byte, up
    to 999 bytes, as the title's typing does), and one second more to read the end."""
    with open(os.path.join(DATA, 'text', 'talk.txt'), 'rb') as f:
        text = f.read()
    key = text.index(b'[%d]' % talk_id)
    start = text.index(b'\n', key) + 1
    length = min(text.index(b';', start) - start, 999)
    return length * 80 + 1000


# ---- the hero's walking, as the frame and the world drawing do it ------------------------------

class Walker:
    def __init__(self, m, npcs, target=None):
        with open(os.path.join(DATA, 'maps', MAPS[m] + '.map'), 'rb') as f:
            b = f.read()
        self.w, self.h = struct.unpack_from('<ii', b, 32)
        self.tiles = struct.unpack_from('<%dH' % (self.w * self.h), b, 48)
        # Hostile characters are not walked round: they come to fight the hero anyway.
        self.npcs = [(n['nX'], n['nY']) for n in npcs if n['bActive'] == 1 and n['bHostile'] != 1]
        # The story's enemies are kept well away from (beyond their 40-pixel reach) until the
        # hero goes after them, ready.
        self.bosses = [(n['nX'], n['nY']) for i, n in enumerate(npcs) if n['bActive'] == 1 and
                       n['bHostile'] == 1 and n['nTalkId'] in STORY_ENEMIES and i != target]

    def code(self, c, r):
        return self.tiles[r * self.w + c] if 0 <= c < self.w and 0 <= r < self.h else 0

    def step(self, t, key):
        x, y, vc, vr, sx, sy = t
        if key == 'UP':
            if vr > 0 and y <= 264:
                sy += 8
                if sy >= 0:
                    vr, sy = vr - 1, -32
            elif vr == 0 and sy != 0:
                sy += 8
            else:
                y -= 8
        elif key == 'DOWN':
            if vr < self.h - 15 and y >= 264:
                sy -= 8
                if sy <= -32:
                    vr, sy = vr + 1, 0
            else:
                y += 8
        elif key == 'LEFT':
            if vc > 0 and x <= 304:
                sx += 8
                if sx >= 0:
                    vc, sx = vc - 1, -32
            elif vc == 0 and sx != 0:
                sx += 8
            else:
                x -= 8
        else:
            if vc < self.w - 20 and x >= 304:
                sx -= 8
                if sx <= -32:
                    vc, sx = vc + 1, 0
            else:
                x += 8
        x, y = min(max(x, 0), 608), min(max(y, 32), 480)
        vc, vr = min(max(vc, 0), self.w - 20), min(max(vr, 0), self.h - 15)
        mx, my = vc * 32 + x - sx, vr * 32 + y - sy
        for px, py in ((mx + 12, my - 20), (mx + 20, my - 20), (mx + 12, my - 12), (mx + 20, my - 12)):
            if self.code(int(px / 32), int(py / 32)) >= 0xA000:
                return t
        ox, oy = t[2] * 32 + t[0] - t[4], t[3] * 32 + t[1] - t[5]
        for room, others in ((28, self.npcs), (56, self.bosses)):  # some room for wanderers
            for nx, ny in others:
                after = max(abs(mx - nx), abs(my - ny))
                if after <= room and after <= max(abs(ox - nx), abs(oy - ny)):
                    return t
        return x, y, vc, vr, sx, sy

    @staticmethod
    def feet(t):
        x, y, vc, vr, sx, sy = t
        return int((x - sx + 16) / 32) + vc, int((y - sy - 16) / 32) + vr

    def plan(self, start, goal):
        """The shortest run of arrow keys until goal holds; no event cell is entered on the way."""
        prev = {start: None}
        queue = collections.deque([start])
        while queue:
            cur = queue.popleft()
            if goal(cur):
                keys = []
                while prev[cur] is not None:
                    cur, k = prev[cur]
                    keys.append(k)
                return keys[::-1]
            for k in ('UP', 'DOWN', 'LEFT', 'RIGHT'):
                nxt = self.step(cur, k)
                if nxt in prev:
                    continue
                if 0x5000 <= self.code(*self.feet(nxt)) <= 0x5010 and not goal(nxt):
                    continue
                prev[nxt] = (cur, k)
                queue.append(nxt)
        return None


def at_cell(column, row):
    return lambda t: Walker.feet(t) == (column, row)


def near(x, y, reach):
    def goal(t):
        mx, my = t[2] * 32 + t[0] - t[4], t[3] * 32 + t[1] - t[5]
        return max(abs(mx - x), abs(my - y)) <= reach
    return goal


def facing(x, y, key):
    """A place from which the point one step ahead (towards key) lies within 8 of (x, y)."""
    dx, dy = {'UP': (0, 32), 'DOWN': (0, -32), 'LEFT': (32, 0), 'RIGHT': (-32, 0)}[key]
    return near(x + dx, y + dy, 8)


# ---- the recording -----------------------------------------------------------------------------

class Recorder:
    def __init__(self):
        self.lines = []

    def run(self, extra):
        for f in os.listdir(WORK):
            os.remove(os.path.join(WORK, f))
        path = os.path.join(WORK, 'script.txt')
        with open(path, 'w') as f:
            f.write('\n'.join(self.lines + extra) + '\n')
        subprocess.run([os.path.join(BUILD, 'tamsel'), '--headless', '--script', path, '--shots', WORK,
                        '--data', DATA], capture_output=True, text=True, timeout=900)
        states = {}
        for f in os.listdir(WORK):
            if f.startswith('probe') and f.endswith('.json'):
                with open(os.path.join(WORK, f)) as fh:
                    states[f[5:-5]] = json.load(fh)
        return states

    def state(self):
        s = self.run(['wait 10', 'state probeend.json']).get('end')
        if s is None:
            raise RuntimeError('the script stalled')
        return s

    def walk(self, goal, rounds=12, target=None):
        """Walks until goal holds, fighting whatever attacks on the way (target: the creature
        the walk goes after). Returns the state."""
        for _ in range(rounds):
            s = self.state()
            if s['screen'] != 'world':
                self.settle()
                continue
            walker = Walker(s['nMap'], s['maps'][s['nMap']]['npcs'], target)
            start = view(s)
            if goal(start):
                return s
            keys = walker.plan(start, goal)
            if keys is None:  # a wanderer in the way, most likely: let it walk on
                self.lines.append('wait 400')
                continue
            expected, t = [], start
            for k in keys:
                t = walker.step(t, k)
                expected.append(t)
            extra = []
            for k, key in enumerate(keys):
                extra += ['tap ' + key, 'state probe%05d.json' % k]
            states = self.run(extra)
            kept = 0
            for k in range(len(keys)):
                st = states.get('%05d' % k)
                arrived = k == len(keys) - 1 and st is not None  # a door leads to another map
                if st is None or not (arrived or (st['screen'] == 'world' and view(st) == expected[k])):
                    break
                kept += 1
            self.lines += ['tap ' + key for key in keys[:kept]]
            if os.environ.get('RECORD_VERBOSE'):
                st = states.get('%05d' % kept)
                print('  walk: %d of %d keys went as planned; then %s' % (
                    kept, len(keys), summary(st) if st else 'no state'), flush=True)
            if kept == len(keys):
                return self.state()
            st = states.get('%05d' % kept)
            if st is None or st['screen'] != 'world' or kept == 0:
                # Something began during that key (a fight, most likely), or a character stood
                # in the way: wait through the character tick instead, so that whatever it
                # starts starts without the key, and a character in the way walks on.
                self.lines.append('wait 500')
        raise RuntimeError('the walk never arrived')

    def door(self, column, row):
        self.walk(at_cell(column, row))
        self.lines.append('wait 1200')

    def settle(self, story_shot='story', story=None):
        """Plays talks, story screens and fights until the hero is back in the world or on the title;
        a story screen (talk id `story`, else any) is left only once it has typed to its end."""
        for _ in range(60):
            s = self.state()
            if s['screen'] in ('world', 'title'):
                return s
            if s['screen'] == 'story':
                wait = story_wait(story) if story else max(story_wait(k) for k in STORIES)
                self.lines += ['wait %d' % wait, 'state %s.json' % story_shot, 'shot ' + story_shot,
                               'tap RETURN', 'wait 300']
            elif s['screen'] == 'talk':
                self.lines += ['tap RETURN', 'wait 300']
            elif s['screen'] == 'battle':
                self.battle_turn(s)
            else:
                raise RuntimeError('unexpected screen: ' + summary(s))
        raise RuntimeError('never back in the world')

    def battle_turn(self, s):
        fight, hero = s['battle'], s['hero']
        if fight is None or fight['enemy']['nLife'] <= 0:
            self.lines += ['tap RETURN', 'wait 800']  # the victory and its messages
            return
        base = 2 * fight['enemy']['nAttack'] - hero['nDefense']
        worst = 2 * base if base > 10 else 10
        cures = [(HEALS[c], i) for i, c in enumerate(slots(s)) if c in HEALS]
        if hero['nLife'] <= worst + 2 and cures:
            enough = sorted(c for c in cures if c[0] > worst + 2 - hero['nLife'])
            _, slot = enough[0] if enough else max(cures)
            self.lines += ['tap DOWN'] * ((2 - fight['cursor']) % 4) + ['tap RETURN', 'wait 300']
            self.lines += ['tap RIGHT'] * slot + ['tap CONTROL', 'wait 300', 'tap ESCAPE', 'wait 3600']
        else:
            self.lines += ['tap UP'] * fight['cursor'] + ['wait 200', 'tap RETURN', 'wait 3100']

    def fight(self, i, rounds=24, **story):
        """Goes after creature i of the current map until it has been beaten."""
        for _ in range(rounds):
            s = self.state()
            if s['screen'] != 'world':
                s = self.settle(**story)
                if s['screen'] == 'title':
                    return s
                continue
            npc = s['maps'][s['nMap']]['npcs'][i]
            if npc['bActive'] != 1:
                return s
            mx, my = hero_map(s)
            if os.environ.get('RECORD_VERBOSE'):
                print('after creature %d at (%d, %d): %s' % (i, npc['nX'], npc['nY'], summary(s)), flush=True)
            if max(abs(mx - npc['nX']), abs(my - npc['nY'])) <= 40:
                self.lines.append('wait 400')
                continue
            try:
                self.walk(near(npc['nX'], npc['nY'], 32), rounds=1, target=i)
            except RuntimeError:
                self.lines.append('wait 400')
        raise RuntimeError('creature %d was never beaten' % i)

    def chest(self, column, row, key):
        """Walks up to the chest, turns to it (the step is refused) and opens it."""
        self.walk(at_cell(column, row))
        self.lines += ['tap ' + key, 'tap RETURN', 'wait 300', 'tap RETURN', 'wait 300']

    def until(self, screen):
        for _ in range(12):
            if self.state()['screen'] == screen:
                return
            self.lines += ['tap RETURN', 'wait 300']
        raise RuntimeError('never reached ' + screen)

    def shop(self, x, y, want):
        """Talks to the keeper at (x, y) from below; in the shop, CTRL on each slot of want in turn
        (stock slots when buying, the hero's when selling)."""
        self.walk(facing(x, y, 'UP'))
        self.lines += ['tap UP', 'wait 100', 'tap RETURN', 'wait 300']
        self.until('shop')
        self.lines.append('wait 200')
        cursor = 0
        for slot in want:
            self.lines += ['tap RIGHT'] * ((slot - cursor) % 16) + ['tap CONTROL', 'wait 200']
            cursor = slot
        self.lines += ['tap ESCAPE', 'wait 300']
        self.until('world')

    def use(self, goods):
        """Uses goods from the in-game menu's goods window, each named by its slot byte."""
        held = list(slots(self.state()))
        self.lines += ['tap ESCAPE', 'wait 300', 'tap DOWN', 'tap RETURN', 'wait 300']
        cursor = 0
        for byte in goods:
            if byte not in held:
                continue  # not found, or not bought for want of money
            slot = held.index(byte)
            self.lines += ['tap RIGHT'] * ((slot - cursor) % 16) + ['tap CONTROL', 'wait 300']
            held[slot], cursor = ' ', slot
        self.lines += ['tap ESCAPE', 'wait 300']

    def milestone(self, name):
        self.lines += ['state %s.json' % name, 'shot ' + name]

    def note(self, text):
        self.lines.append('# ' + text)


def route(r):
    r.lines = ['# The whole story from a new game, recorded by tools/playthrough/record_playthrough.py.',
               '# Each milestone leaves a state dump and a screenshot.',
               'wait 1000', 'shot 00_title', 'tap RETURN               # new game',
               'wait %d              # the opening story types itself' % story_wait(99001),
               'shot 00_the_opening', 'tap RETURN', 'wait 1000']
    r.settle()
    r.note('home: the herb chest')
    r.chest(16, 10, 'RIGHT')
    r.milestone('01_home')
    r.note('the city: the bun and the money chests')
    r.door(13, 13)
    r.chest(31, 18, 'RIGHT')
    r.chest(1, 2, 'DOWN')
    r.note('the smithy: a wooden sword and a leather vest, put on at once')
    r.door(3, 14)
    r.shop(288, 256, [0, 5])
    r.use('69')
    r.door(9, 13)
    r.note('the market: the crony and his leader')
    r.walk(facing(480, 544, 'DOWN'))
    r.lines += ['tap DOWN', 'wait 100', 'tap RETURN', 'wait 300']
    r.settle()
    r.milestone('02_market_won')
    r.note('the pawnshop buys the bun (or a herb); the general store sells two herbs')
    r.door(26, 12)
    held = slots(r.state())
    r.shop(192, 256, [held.index('2') if '2' in held else held.index('3')])
    r.door(6, 13)
    r.door(26, 6)
    r.shop(288, 256, [3, 4])
    r.door(9, 13)
    r.milestone('03_city_done')
    r.note('the south gate: the guard lets the hero through')
    r.walk(at_cell(17, 25))
    r.settle()
    r.door(17, 25)
    r.milestone('04_wood')
    r.note('the wood, north of the river: creatures and two chests')
    for i in (1, 3, 2, 5):
        r.fight(i)
    r.chest(32, 1, 'RIGHT')
    r.chest(32, 10, 'RIGHT')
    r.use('<')
    r.note('south of the river')
    for i in (7, 8):
        r.fight(i)
    r.chest(27, 21, 'RIGHT')
    r.use(';')
    r.chest(20, 18, 'DOWN')
    for i in (9, 4, 6, 10):
        r.fight(i)
    r.chest(1, 15, 'UP')
    r.chest(6, 23, 'DOWN')
    r.note('back to the city: the ring sold, the iron sword, potions as the money allows')
    r.door(2, 0)
    if '>' in slots(r.state()):
        r.door(26, 12)
        r.shop(192, 256, [slots(r.state()).index('>')])
        r.door(6, 13)
    r.door(3, 14)
    r.shop(288, 256, [2])
    r.use('7')
    r.door(9, 13)
    r.door(26, 6)
    r.shop(288, 256, [7, 8, 9])
    r.door(9, 13)
    r.door(17, 25)
    r.milestone('05_before_the_demon')
    r.note('the old tree demon')
    r.fight(11, story_shot='06_the_gate_opens', story=99003)
    r.milestone('06_tree_demon_beaten')
    r.note('to the palace')
    r.door(33, 23)
    r.milestone('07_palace')
    r.chest(16, 30, 'RIGHT')
    r.use('=')
    for i in (9, 3):
        r.fight(i)
    r.chest(3, 28, 'LEFT')
    r.use('?')
    r.fight(4)
    r.chest(17, 21, 'RIGHT')
    r.chest(2, 21, 'LEFT')
    for i in (1, 2, 10):
        r.fight(i)
    r.milestone('08_before_the_master')
    r.note('the masked lord of the palace; the ending; the title again')
    r.fight(0, story_shot='09_the_ending', story=99002)
    r.lines += ['wait 2000']
    r.milestone('10_title')


if __name__ == '__main__':
    recorder = Recorder()
    try:
        route(recorder)
    except RuntimeError:
        with open(os.path.join(WORK, 'unfinished.txt'), 'w') as f:
            f.write('\n'.join(recorder.lines) + '\n')
        print('the recording so far: ' + os.path.join(WORK, 'unfinished.txt'))
        raise
    with open(SCRIPT, 'w') as f:
        f.write('\n'.join(recorder.lines) + '\n')
    print('recorded %d lines into %s' % (len(recorder.lines), SCRIPT))
    print(summary(recorder.state()))
