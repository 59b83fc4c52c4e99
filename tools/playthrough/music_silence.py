#!/usr/bin/env python3
"""How much of the recorded demo goes without music.

Plays the demo headless (build/tamsel --demo --headless --shots DIR), reads the music commands
and the virtual time at which each was sent from the last state dump, and counts the time in
which no piece is playing: a piece sounds from its "play" until it ends or the next "close".
The pieces' lengths are read from the MIDI files of the data set.

    python3 tools/playthrough/music_silence.py [BUILD_DIR]

Prints the stretches without music and the share of the demo they take."""
import glob
import json
import os
import struct
import subprocess
import sys
import tempfile

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else 'build')


def read_varlen(data, at):
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, at


def midi_seconds(path):
    """The length of a standard MIDI file in seconds, following its tempo changes."""
    data = open(path, 'rb').read()
    _, _, _, tracks, division = struct.unpack('>4sIHHH', data[:14])
    at, tempos, end = 14, [(0, 500000)], 0
    for _ in range(tracks):
        length = struct.unpack('>I', data[at + 4:at + 8])[0]
        pos, stop, tick, status = at + 8, at + 8 + length, 0, 0
        while pos < stop:
            delta, pos = read_varlen(data, pos)
            tick += delta
            if data[pos] >= 0x80:
                status = data[pos]
                pos += 1
            if status == 0xFF:
                kind = data[pos]
                size, pos = read_varlen(data, pos + 1)
                if kind == 0x51:
                    tempos.append((tick, int.from_bytes(data[pos:pos + 3], 'big')))
                pos += size
            elif status in (0xF0, 0xF7):
                size, pos = read_varlen(data, pos)
                pos += size
            else:
                pos += 1 if status & 0xF0 in (0xC0, 0xD0) else 2
        end = max(end, tick)
        at = stop
    seconds, last_tick, tempo = 0.0, 0, 500000
    for tick, new_tempo in sorted(tempos) + [(end, None)]:
        seconds += (tick - last_tick) * tempo / division / 1e6
        last_tick, tempo = tick, new_tempo or tempo
    return seconds


def main():
    lengths = {os.path.basename(p): midi_seconds(p) for p in glob.glob(os.path.join(BUILD, 'data', 'voc', '*.mid'))}
    shots = tempfile.mkdtemp(prefix='tamsel_music_')
    subprocess.run([os.path.join(BUILD, 'tamsel'), '--demo', '--headless', '--shots', shots],
                   check=True, stdout=subprocess.DEVNULL)
    last = sorted(glob.glob(os.path.join(shots, '*.json')))[-1]
    state = json.load(open(last))
    commands = list(zip(state['mciTimes'], state['mciCommands']))
    plays = [(t, c.split('\\')[-1]) for t, c in commands if c.startswith('play ')]
    stops = [t for t, c in commands if c.startswith('close')]
    start, finish = plays[0][0], commands[-1][0]
    sounding = []
    for t, piece in plays:
        ends = [s for s in stops if s > t] + [finish]
        sounding.append((t, min(t + lengths[piece] * 1000, min(ends))))
    silent, edge = [], start
    for begin, end in sounding:
        if begin > edge:
            silent.append((edge, begin))
        edge = max(edge, end)
    if finish > edge:
        silent.append((edge, finish))
    for piece, seconds in sorted(lengths.items()):
        print(f'{piece}: {seconds:.1f} s')
    for begin, end in silent:
        print(f'no music from {begin / 1000:.1f} s to {end / 1000:.1f} s ({(end - begin) / 1000:.1f} s)')
    quiet = sum(end - begin for begin, end in silent)
    print(f'demo from the first piece to the last command: {(finish - start) / 1000:.1f} s, '
          f'without music {quiet / 1000:.1f} s ({100 * quiet / (finish - start):.1f} %)')


if __name__ == '__main__':
    main()
