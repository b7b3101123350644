#!/usr/bin/python3
"""Writes the MIDI import test files into the folder given, with mido (running status on)."""
import random
import sys

import mido

OUT = sys.argv[1]


def track(events, name=None):
    """events: (abs_tick, message); returns a MidiTrack with delta times."""
    t = mido.MidiTrack()
    if name:
        t.append(mido.MetaMessage('track_name', name=name, time=0))
    now = 0
    for tick, msg in sorted(events, key=lambda e: e[0]):
        t.append(msg.copy(time=tick - now))
        now = tick
    return t


def note(ch, pitch, start, end, vel=80):
    return [(start, mido.Message('note_on', channel=ch, note=pitch, velocity=vel)),
            (end, mido.Message('note_off', channel=ch, note=pitch, velocity=0))]


def save(mid, name):
    mid.save(f'{OUT}/{name}')


def type0():
    # One track: a tempo, 3/4, G major, a C-E-G chord then a held D across a bar, channel 1.
    ev = [(0, mido.MetaMessage('set_tempo', tempo=600000)),
          (0, mido.MetaMessage('time_signature', numerator=3, denominator=4)),
          (0, mido.MetaMessage('key_signature', key='G'))]
    ev += note(0, 60, 0, 96) + note(0, 64, 0, 96) + note(0, 67, 0, 96)
    ev += note(0, 62, 192, 192 + 480)
    mid = mido.MidiFile(type=0, ticks_per_beat=96)
    mid.tracks.append(track(ev, 'Solo'))
    save(mid, 'type0.mid')


def type1():
    # A conductor with a tempo map, then a piano track with two channels and lyrics.
    cond = [(0, mido.MetaMessage('set_tempo', tempo=500000)),
            (0, mido.MetaMessage('time_signature', numerator=4, denominator=4)),
            (384, mido.MetaMessage('set_tempo', tempo=1000000)),
            (0, mido.MetaMessage('key_signature', key='F'))]
    ev = []
    for i, p in enumerate([60, 62, 64, 65]):
        ev += note(0, p, i * 192, i * 192 + 180)
        ev.append((i * 192, mido.MetaMessage('lyrics', text=['Hel', 'lo ', 'dear ', 'world'][i])))
    for i, p in enumerate([36, 43]):
        ev += note(9, p, i * 384, i * 384 + 96)
    ev.append((0, mido.Message('program_change', channel=0, program=40)))
    mid = mido.MidiFile(type=1, ticks_per_beat=192)
    mid.tracks.append(track(cond, 'Conductor'))
    mid.tracks.append(track(ev, 'Violin'))
    save(mid, 'type1.mid')


def karaoke():
    ev = []
    words = ['@KMIDI KARAOKE FILE', '\\Twin', 'kle ', 'twin', 'kle ', '/lit', 'tle ', 'star']
    for i, w in enumerate(words):
        t = i * 192 if i else 0
        ev.append((t, mido.MetaMessage('text', text=w)))
        if i:
            ev += note(0, 60 + i, t, t + 150)
    mid = mido.MidiFile(type=1, ticks_per_beat=192)
    mid.tracks.append(track([(0, mido.MetaMessage('set_tempo', tempo=500000))]))
    mid.tracks.append(track(ev, 'Melody'))
    save(mid, 'song.KAR')


def quality():
    # A few hundred notes on a sixteenth grid at 192 per quarter: ties across bars, rests,
    # lyrics on every note; then the same with starts and ends jittered by up to 8 ticks.
    rng = random.Random(1234)
    notes = []
    t = 0
    while len(notes) < 300:
        length = rng.choice([48, 96, 96, 144, 192, 288, 384])
        if rng.random() < 0.2:
            t += rng.choice([48, 96, 192])  # a rest
        notes.append((t, t + length, rng.randint(55, 79)))
        t += length
    for name, jitter in (('clean.mid', 0), ('jittered.mid', 8)):
        jr = random.Random(99)
        ev = []
        for i, (s, e, p) in enumerate(notes):
            js = s + (jr.randint(-jitter, jitter) if jitter and s > 0 else 0)
            je = e + (jr.randint(-jitter, 0) if jitter else 0)
            ev += note(0, p, max(js, 0), max(je, js + 12))
            ev.append((max(js, 0), mido.MetaMessage('lyrics', text=f'w{i} ')))
        mid = mido.MidiFile(type=1, ticks_per_beat=192)
        mid.tracks.append(track([(0, mido.MetaMessage('set_tempo', tempo=500000))]))
        mid.tracks.append(track(ev, 'Voice'))
        save(mid, name)


type0()
type1()
karaoke()
quality()
