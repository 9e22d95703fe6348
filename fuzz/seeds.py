#!/usr/bin/env python3
"""Writes the hand-made seeds: the game target's whole games, and for the two console targets the
lines that short runs do not reach (longer than the console's limit of 4096 bytes). The other seeds
come from short runs, kept small by scripts/fuzz --minimise.

In the game target a byte below 0xF0 plays one of the human's candidate moves and 0xF0 + i is command
i of kCommands in GameFuzz.cpp. Each seed plays a hundred and fifty move bytes, which end most games
(a refused move uses its byte too), and then uses what a finished game allows: replay, a refused
take-back, the record, new games.
"""
import pathlib
import random

DRAG, MATTA, NEW, HANDICAP, TEST, FORMATION, REPLAY_START, REPLAY_ONE, REPLAY_TWO, KIFU = range(0xF0, 0xFA)


def moves(rng, n):
    return [rng.randrange(0xF0) for _ in range(n)]


def game_seeds():
    rng = random.Random(15)
    yield "even-game-then-replay", (moves(rng, 150) + [MATTA, KIFU, REPLAY_START] + [REPLAY_ONE] * 3
                                     + [REPLAY_TWO] * 100 + [MATTA, NEW] + moves(rng, 4))
    yield "handicap-take-back-replay", ([HANDICAP] + moves(rng, 6) + [MATTA, MATTA] + moves(rng, 150)
                                         + [REPLAY_START] + [REPLAY_ONE] * 200 + [HANDICAP])
    yield "formations", ([FORMATION, 3, FORMATION, 13] + moves(rng, 2) + [FORMATION, 5, MATTA, NEW]
                         + moves(rng, 150) + [FORMATION, 9, NEW] + moves(rng, 3))
    yield "test-start-and-drags", ([MATTA, DRAG, 77, 76, DRAG, 0, 99, DRAG, 55, 55, DRAG, 33, 34, TEST]
                                   + moves(rng, 150) + [REPLAY_START, REPLAY_TWO, REPLAY_ONE, TEST])


LONG_LINES = (b"move " + b"7" * 4100 + b"\nboard\r\n" + b"x" * 4096 + b"\r\n" + b"y" * 4095 + b"\r\r\n"
              + b"formation " + "【基本形】".encode() + b"\nquit\nnew\n")


if __name__ == "__main__":
    corpus = pathlib.Path(__file__).resolve().parent / "corpus"
    (corpus / "game").mkdir(parents=True, exist_ok=True)
    for name, data in game_seeds():
        (corpus / "game" / name).write_bytes(bytes(data))
    for target in ("console", "console_parse"):
        (corpus / target / "long-lines").write_bytes(LONG_LINES)
