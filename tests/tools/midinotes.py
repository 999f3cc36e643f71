#!/usr/bin/python3
"""Prints what mido reads from MIDI files, one after the other, for the export tests.

Header: format, division and track count. Per track: its meta events, programs, controllers and tempos
with their ticks, then one line per note: channel (1-16), start tick, end tick, pitch, velocity. A note-on
above velocity 0 starts a note; a note-on of velocity 0 or a note-off of that channel and pitch ends it;
"-" stands for a hit that never ends. Any error of mido fails the run.
"""
import sys

import mido


def text_of(msg):
    # mido reads meta texts as Latin-1; the export writes code page 936.
    text = msg.name if msg.type == "track_name" else msg.text
    return text.encode("latin-1").decode("gbk", errors="replace")


def main(path):
    midi = mido.MidiFile(path)
    print(f"format {midi.type} division {midi.ticks_per_beat} tracks {len(midi.tracks)}")
    for number, track in enumerate(midi.tracks):
        print(f"track {number}")
        metas, programs, controls, tempos, notes = [], [], [], [], []
        sounding = {}
        tick = 0
        for msg in track:
            tick += msg.time
            if msg.type == "set_tempo":
                tempos.append(f"tempo {tick} {msg.tempo}")
            elif msg.type in ("track_name", "text", "copyright", "marker"):
                metas.append(f"meta {msg.type} {tick} {text_of(msg)}")
            elif msg.type == "time_signature":
                metas.append(f"meta time_signature {tick} {msg.numerator}/{msg.denominator}")
            elif msg.type == "key_signature":
                metas.append(f"meta key_signature {tick} {msg.key}")
            elif msg.type == "end_of_track":
                metas.append(f"meta end_of_track {tick}")
            elif msg.is_meta:
                metas.append(f"meta {msg.type} {tick}")
            elif msg.type == "program_change":
                programs.append(f"program {msg.channel + 1} {tick} {msg.program}")
            elif msg.type == "control_change":
                controls.append(f"control {msg.channel + 1} {tick} {msg.control} {msg.value}")
            elif msg.type in ("note_on", "note_off"):
                key = (msg.channel, msg.note)
                if msg.type == "note_on" and msg.velocity > 0:
                    if key in sounding:
                        notes[sounding[key]][2] = "-"
                    sounding[key] = len(notes)
                    notes.append([msg.channel + 1, tick, None, msg.note, msg.velocity])
                elif key in sounding:
                    notes[sounding.pop(key)][2] = tick
        for line in metas + programs + controls + tempos:
            print(line)
        for channel, start, end, pitch, velocity in notes:
            print(f"note {channel} {start} {'-' if end is None else end} {pitch} {velocity}")


if __name__ == "__main__":
    for argument in sys.argv[1:]:
        main(argument)
