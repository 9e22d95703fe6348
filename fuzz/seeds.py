#!/usr/bin/env python3
"""Writes the hand-made seeds: the game target's whole games, and for the two console targets the
lines that short runs do not reach (longer than the console's limit of 4096 bytes). The other seeds
come from short runs, kept small by scripts/fuzz --minimise.

In the game target a byte below 0xF0 plays one of the human's candidate moves, captures first, and
0xF0 + i is command i of kCommands in GameFuzz.cpp. The inputs are at most 48 bytes: a run of zero
bytes, the human taking the most valuable piece it can, ends a game from the start or the test
position within that; each seed then uses what a finished game allows: replay, a refused take-back,
the record, saving and opening, new games.
"""
import pathlib
import random

(DRAG, MATTA, NEW, HANDICAP, TEST, FORMATION, REPLAY_START, REPLAY_ONE, REPLAY_TWO, KIFU, RESIGN,
 SAVE_OPEN) = range(0xF0, 0xFC)
TAKE = 0  # the capture of the most valuable piece, or the first candidate when there is none


def moves(rng, n):
    return [rng.randrange(0xF0) for _ in range(n)]


def game_seeds():
    rng = random.Random(15)
    yield "even-game-to-its-end", [TAKE] * 45 + [MATTA, REPLAY_START, REPLAY_ONE]
    yield "test-game-to-its-end", ([TEST] + [TAKE] * 21 + [REPLAY_START] + [REPLAY_TWO] * 3
                                   + [SAVE_OPEN, 1, REPLAY_ONE, KIFU, NEW] + moves(rng, 2))
    yield "handicap-take-back-resign", ([HANDICAP] + moves(rng, 6) + [MATTA, MATTA] + moves(rng, 4)
                                        + [RESIGN, REPLAY_START, REPLAY_ONE, SAVE_OPEN, 0, HANDICAP])
    yield "formations", ([FORMATION, 3, FORMATION, 13] + moves(rng, 2) + [FORMATION, 5, MATTA, NEW]
                         + moves(rng, 6) + [FORMATION, 9, NEW] + moves(rng, 3))
    yield "drags", [MATTA, DRAG, 77, 76, DRAG, 0, 99, DRAG, 55, 55, DRAG, 33, 34, TEST, DRAG, 33, 22]


LONG_LINES = (b"move " + b"7" * 4100 + b"\nboard\r\n" + b"x" * 4096 + b"\r\n" + b"y" * 4095 + b"\r\r\n"
              + b"formation " + "【基本形】".encode() + b"\nquit\nnew\n")


if __name__ == "__main__":
    corpus = pathlib.Path(__file__).resolve().parent / "corpus"
    (corpus / "game").mkdir(parents=True, exist_ok=True)
    for old in (corpus / "game").iterdir():
        old.unlink()
    for name, data in game_seeds():
        assert len(data) <= 48, name
        (corpus / "game" / name).write_bytes(bytes(data))
    for target in ("console", "console_parse"):
        (corpus / target / "long-lines").write_bytes(LONG_LINES)
