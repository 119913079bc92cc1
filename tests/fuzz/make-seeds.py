#!/usr/bin/env python3
"""Writes the seed corpus of the sysex_sequence fuzz target, corpus/sysex_sequence/ beside this
script, in the target's step encoding (committed; run it again after changing the encoding in
SysExSequenceFuzzer.cpp). The other targets' seeds are plain files, kept as they are."""
from pathlib import Path

# Step kinds of SysExSequenceFuzzer.cpp, in their order there.
(SYSEX, SHORT, PUMP, TICKS, MILLISECONDS, PORT, EDIT, RESET_ALL, CALIBRATION, AUDITION, FIRMWARE,
 PRESET, ANSWER_BOX) = range(13)
BOX, OTHER_PORT, OFF = 0, 5, 6  # the step's port names
OK, CANCEL = 0, 1
ONE_BYTE_IMAGE, PAGE_AND_ONE_IMAGE, TOO_LARGE_IMAGE = 1, 2, 4
ORDINARY_PRESET, CLAMPED_PRESET = 0, 1


def status_reply(version=0x0C, values=(0,) * 38, tail=0):
    body = [0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x01, 1, 2, 3, 4, version, *values] + [0] * tail + [0xF7]
    return [SYSEX, 0x01 | (tail << 4)] + body + [0]


def raw_sysex(content, hold=False):
    return [SYSEX, 0x00, (len(content) - 4) >> 8, (len(content) - 4) & 0xFF, *content, int(hold)]


def short(status, data=(), hold=False): return [SHORT, status, len(data), *data, int(hold)]


def ticks(n): return [TICKS, n - 1]  # n ticks of 20 ms, 1 to 256
def edit(idx, value): return [EDIT, idx, 1, value]


CONNECT = [PORT, BOX] + ticks(1) + status_reply() + ticks(2) + status_reply() + ticks(6)
SYSEX_SEQUENCE = {
    "interface-mode": CONNECT,
    "standalone-mode": [PORT, BOX] + status_reply() + ticks(40),
    "version-too-old-then-too-new": (status_reply(version=9) + ticks(2) + [ANSWER_BOX, OK] +
                                     status_reply(version=110) + ticks(2) + [ANSWER_BOX, OK]),
    "values-above-range-and-tail": status_reply(values=[0xFF] * 38, tail=10) + ticks(20),
    "short-reply-flashes-only": raw_sysex([0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x01] + [0] * 42 + [0xF7]),
    "edit-debounced": CONNECT + edit(28, 9) + ticks(5) + edit(28, 10) + ticks(25),
    "edits-of-two-settings": CONNECT + edit(4, 3) + edit(21, 7) + ticks(25),
    "reset-and-calibrations": (CONNECT + [RESET_ALL] + ticks(3) + [CALIBRATION, 0x00] +
                               [CALIBRATION, 0x03] + [CALIBRATION, 0xFF] + ticks(10)),
    "audition": ([AUDITION, 1] + short(0x90, (0x40, 0x7F)) + short(0xC0, (5,), hold=True) +
                 short(0xF8) + [PUMP] + short(0x80, (0x40,)) + [AUDITION, 0] + short(0xB0, (7, 1)) +
                 ticks(2)),
    "firmware-one-byte": ([PORT, OTHER_PORT, FIRMWARE, 0x80 | ONE_BYTE_IMAGE] + ticks(120) +
                          [ANSWER_BOX, OK]),
    "firmware-port-change": ([PORT, BOX, FIRMWARE, PAGE_AND_ONE_IMAGE] + ticks(50) + edit(5, 2) +
                             [AUDITION, 1] + short(0x90, (1, 2)) + [PORT, OFF, ANSWER_BOX, OK] +
                             ticks(30)),
    "firmware-refused": [FIRMWARE, 0x80 | ONE_BYTE_IMAGE, FIRMWARE, TOO_LARGE_IMAGE] + ticks(2),
    "preset-loads": (CONNECT + edit(3, 1) + [PRESET, ORDINARY_PRESET] + ticks(1) +
                     [ANSWER_BOX, CANCEL, PRESET, CLAMPED_PRESET, ANSWER_BOX, OK] + ticks(30)),
    "sysex-flood": (sum((raw_sysex([0xF0] + [i] * 10 + [0xF7], hold=True) for i in range(6)), []) +
                    [PUMP] + raw_sysex([0xF0] + [0x11] * 598 + [0xF7]) + ticks(3)),
    "short-flood": sum((short(0xB0, (i, i), hold=True) for i in range(40)), []) + [PUMP] + ticks(2),
    "port-names": ([PORT, 0xF0, 12, *b"Korvo-Audio ", PORT, 2, PORT, 3, PORT, 4, MILLISECONDS, 7,
                    PUMP]),
}
folder = Path(__file__).resolve().parent / "corpus" / "sysex_sequence"
folder.mkdir(parents=True, exist_ok=True)
for name, content in SYSEX_SEQUENCE.items():
    (folder / name).write_bytes(bytes(content))
