"""Prints a Standard MIDI File as read by mido, one event per line with its absolute tick.

Usage: smf_dump.py FILE
Texts of meta events must be UTF-8; anything that mido or the decoding refuses fails the run
with a message on standard error and exit status 1.
"""
import sys

import mido


def text_of(msg):
    # mido decodes meta texts as Latin-1; the bytes themselves must be UTF-8. Track and
    # instrument names are kept as "name", the other texts as "text".
    text = msg.name if msg.type in ("track_name", "instrument_name") else msg.text
    text = text.encode("latin-1").decode("utf-8")
    # Line ends inside a text would split the dump's lines: shown as \r and \n.
    return text.replace("\r", "\\r").replace("\n", "\\n")


def describe(msg):
    t = msg.type
    if t in ("note_on", "note_off"):
        return "%s ch=%d note=%d vel=%d" % (t, msg.channel, msg.note, msg.velocity)
    if t == "control_change":
        return "control_change ch=%d control=%d value=%d" % (msg.channel, msg.control, msg.value)
    if t == "program_change":
        return "program_change ch=%d program=%d" % (msg.channel, msg.program)
    if t == "pitchwheel":
        return "pitchwheel ch=%d pitch=%d" % (msg.channel, msg.pitch)
    if t == "aftertouch":
        return "aftertouch ch=%d value=%d" % (msg.channel, msg.value)
    if t == "polytouch":
        return "polytouch ch=%d note=%d value=%d" % (msg.channel, msg.note, msg.value)
    if t == "set_tempo":
        return "set_tempo %d" % msg.tempo
    if t == "time_signature":
        return "time_signature %d/%d clocks=%d n32=%d" % (
            msg.numerator, msg.denominator, msg.clocks_per_click,
            msg.notated_32nd_notes_per_beat)
    if t == "key_signature":
        return "key_signature %s" % msg.key
    if t in ("text", "copyright", "track_name", "lyrics", "instrument_name"):
        return "%s [%s]" % (t, text_of(msg))
    if t == "midi_port":
        return "midi_port %d" % msg.port
    if t == "end_of_track":
        return "end_of_track"
    return "other %s" % msg


def main():
    try:
        f = mido.MidiFile(sys.argv[1])
        if len(sys.argv) > 2 and sys.argv[2] == "--length":
            # Only the playing time in seconds, as mido works it out from the tempo map.
            sys.stdout.write("%.3f\n" % f.length)
            return 0
        lines = ["type=%d ticks=%d tracks=%d" % (f.type, f.ticks_per_beat, len(f.tracks))]
        for i, track in enumerate(f.tracks):
            lines.append("track %d" % i)
            tick = 0
            for msg in track:
                tick += msg.time
                lines.append("%d %s" % (tick, describe(msg)))
    except Exception as e:  # any refusal is a failure of the file
        sys.stderr.write("unreadable: %s\n" % repr(e)[:300])
        return 1
    sys.stdout.buffer.write(("\n".join(lines) + "\n").encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
