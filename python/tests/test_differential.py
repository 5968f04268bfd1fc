"""plan() against what the library writes: seeded random boards and requests.
For each case a stand-in board answers with a reply made for it (models,
remote control on and off, addresses with leading zeros, servers with blanks
at their ends, texts over 200 bytes, key modes that are no digit 1..3); the
plan, then a save of the same request, must agree: planned changes = frames
the board received = SaveResult.changes, and a refusal in plan is the same
refusal in save with no frame sent. The cases run one after another in one
process, so every save follows another board's (often a refused one), and the
board of the case before must receive nothing more.

RELAYLINK_DIFFERENTIAL_SEED replays a run (the seed is printed on failure);
RELAYLINK_DIFFERENTIAL_CASES makes it longer or shorter.
"""

import os
import random

from conftest import Board

import relaylink

CASES = int(os.environ.get("RELAYLINK_DIFFERENTIAL_CASES", "300"))
# The command code of each setting's write, and of the restart.
COMMANDS = {"ip": "2", "mask": "3", "gateway": "4", "keys": "5", "restore": "6", "remote": "A", "dns": "8",
            "server": "9", "password": "B"}
RESTART = "7"
LONG = "relay." + "x" * 250 + ".example"  # 264 bytes
SERVERS = ["relay.example.net", "relay.example.net  ", "\trelay.example.net ", LONG, LONG + " ", "caf\xe9.\xff"]
KEY_MODES = ["12312312", "33333333", "21321321"]
ODD_KEY_MODES = ["34\xe921131", "1231231\xe9", "01231239", "12?12312", "45678912"]
PASSWORDS = ["123456", "654321"]
# Values the library rejects.
BAD = {"address": ["127.0.0.256", "127.0.0", "127.0.0.x"], "server": ["  ", "bad,name", "relay;example"],
       "password": ["12345a", " 12345", "1234567"]}
# Addresses in the forms the library's rule reads one way or another.
ODD_ADDRESSES = ["0x7f.0..0.1", "+127.$0.0.1", "127.0.0.1.1", "127.0.0.0256", "127.0.0.-1", "127.0.0.99999999999",
                 "127.'0'.0.1", "\t127.0.0.254\r\n", "X7F.0.0.$FF"]


def quad(rng, parts):
    """A dotted quad of `parts`, each number sometimes with leading zeros."""
    return ".".join(f"{part:03d}" if rng.random() < 0.3 else str(part) for part in parts)


def random_board(rng):
    """A board's state: its reply's items, by name."""
    model = rng.choice(["remote", "remote", "remote without keys", "keys", "basic"])
    state = {"ip": quad(rng, [127, 50, rng.randrange(256), rng.randrange(1, 255)]),
             "mask": quad(rng, rng.choice([[255, 0, 0, 0], [255, 255, 255, 0]])),
             "gateway": quad(rng, [127, 0, 0, rng.choice([1, 254])]),
             "keys": rng.choice(ODD_KEY_MODES if rng.random() < 0.2 else KEY_MODES) if model in ("remote", "keys")
             else "",
             "restore": rng.choice(["0", "1"])}
    if model.startswith("remote"):
        state.update(version=rng.choice(["7", "2." + "9" * 258]), id=f"RB{rng.randrange(10 ** 12):012d}",
                     password=rng.choice([" 12345"] if rng.random() < 0.05 else PASSWORDS),
                     dns=quad(rng, [127, 0, 0, 53]), server=rng.choice(SERVERS), remote=rng.choice(["0", "1"]))
    return state


def reply(state):
    items = [state["ip"], state["mask"], state["gateway"], state["keys"], state["restore"]]
    if "id" in state:
        items += [state["version"], state["id"] + state["password"], state["dns"], state["server"], state["remote"]]
    return (">" + ",".join(items) + ";").encode("latin-1")


def random_request(rng, state):
    """Up to four settings, mostly ones the board has (another is refused),
    with values equal to the board's in other forms, new ones, and now and
    then one the library rejects."""
    def pick(good, kind):
        return rng.choice(BAD[kind] if rng.random() < 0.1 else good)

    def address(name):
        same = [int(part) for part in state.get(name, "127.0.0.1").split(".")]
        return pick([quad(rng, same), f" {quad(rng, same)}\t", quad(rng, [127, 0, 0, rng.randrange(256)]),
                     rng.choice(ODD_ADDRESSES)], "address")

    values = {
        "ip": lambda: address("ip"), "mask": lambda: address("mask"), "gateway": lambda: address("gateway"),
        "dns": lambda: address("dns"),
        "keys": lambda: rng.choice(KEY_MODES + ["".join(rng.choice("123-") for _ in range(8))]),
        "key": lambda: rng.choice(["keep", "follow", "jog", 1, 2, 3]),
        "restore": lambda: rng.random() < 0.5, "remote": lambda: rng.random() < 0.5,
        "server": lambda: pick(SERVERS + ["other.example"], "server"),
        "password": lambda: pick(PASSWORDS + [" 654321 "], "password"),
    }
    has = [name for name in values if (state["keys"] or name not in ("keys", "key")) and
           ("id" in state or name not in ("remote", "dns", "server", "password"))]
    names = rng.sample(has, min(len(has), rng.randrange(5)))
    if rng.random() < 0.1:
        names.append(rng.choice(sorted(values)))
    return {f"key{rng.randrange(1, 9)}" if name == "key" else name: values[name]() for name in names}


def frames(board):
    """(command code, value or None) of each frame the board received but reads."""
    received = []
    for line in board.writes():
        command, comma, value = line[len("<- #"):-1].partition(",")
        received.append((command[0], value if comma else None))
    return received


def frame_value(value):
    return ("1" if value else "0") if isinstance(value, bool) else value


def outcome_of(call):
    try:
        return call()
    except relaylink.RelayLinkError as error:
        return error


def check_case(board, refused_command):
    """The plan, the save and the frames of one case; a text naming the
    disagreement, or None."""
    read = relaylink.read(board.address)
    texts = {"firmware": read.firmware, "server": read.settings["server"], "password": read.settings["password"]}
    if board.state.get("id") and texts != {"firmware": "1.0." + board.state["version"],
                                           "server": board.state["server"], "password": board.state["password"]}:
        return f"read {texts!r}"
    planned = outcome_of(lambda: relaylink.plan(read, board.request))
    saved = outcome_of(lambda: relaylink.save(board.address, board.request))
    received = frames(board)
    if isinstance(planned, relaylink.RelayLinkError):
        if type(saved) is not type(planned) or saved.args != planned.args or received:
            return f"plan refused {planned!r}; save gave {saved!r}, frames {received}"
        return None
    expected = [(COMMANDS[change.setting], frame_value(change.after)) for change in planned]
    expected += [(RESTART, None)] if planned else []
    sent = [command for command, _ in expected]
    if refused_command in sent:
        expected = expected[:sent.index(refused_command) + 1]
    if received != expected:
        return f"planned {planned}, frames {received}"
    refused_write = refused_command in sent and refused_command != RESTART
    if refused_write != isinstance(saved, relaylink.Refused):
        return f"save gave {saved!r}"
    if not refused_write and (not isinstance(saved, relaylink.SaveResult) or saved.changes != planned or
                              saved.changed != bool(planned)):
        return f"planned {planned}, save reported {saved}"
    return None


def test_plan_is_what_the_library_writes(block, tmp_path):
    seed = int(os.environ.get("RELAYLINK_DIFFERENTIAL_SEED") or random.SystemRandom().randrange(2 ** 32))
    print(f"RELAYLINK_DIFFERENTIAL_SEED={seed}")  # shown by pytest when the test fails
    rng = random.Random(seed)
    running = []
    try:
        for case in range(CASES):
            state = random_board(rng)
            refused_command = rng.choice("23456A89B7") if rng.random() < 0.1 else None
            arguments = ["--raw-reply", reply(state)] + (["--refuse", refused_command] if refused_command else [])
            running.append(Board(f"{block}.{case % 250 + 1}", arguments, tmp_path / f"case-{case}.log"))
            board = running[-1]
            board.state, board.request = state, random_request(rng, state)
            others = [frames(other) for other in running[:-1]]
            disagreement = check_case(board, refused_command)
            assert disagreement is None, (
                f"seed {seed}, case {case}: board {reply(state)!r}, refusing {refused_command}, "
                f"request {board.request!r}: {disagreement}")
            assert [frames(other) for other in running[:-1]] == others, (
                f"seed {seed}, case {case}: a frame reached the board of the case before")
            if len(running) > 1:
                running.pop(0).stop()
    finally:
        for board in running:
            board.stop()
