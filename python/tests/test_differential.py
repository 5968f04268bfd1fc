"""plan() against what the library writes: seeded random boards and requests
drawn from tests/cases/random-boards.json, which relayctl's PlanWriteTest
draws from too. For each case a stand-in board (relaysim) is given the drawn
values: what its settings take on its command line, and the others (addresses
with leading zeros, key modes that are no digit 1..3, a password with a blank)
written to it frame by frame. The plan, then a save of the same request, must
agree: planned changes = frames the board received = SaveResult.changes, and
a refusal in plan is the same refusal in save with no frame sent. The cases
run one after another in one process, so every save follows another board's
(often a refused one), and the board of the case before must receive nothing
more.

RELAYLINK_DIFFERENTIAL_SEED replays a run (the seed is printed on failure);
RELAYLINK_DIFFERENTIAL_CASES makes it longer or shorter.
"""

import os
import random
import socket

from cases import description
from conftest import Board

import relaylink
from relaylink._settings import SETTINGS

CASES = int(os.environ.get("RELAYLINK_DIFFERENTIAL_CASES", "300"))
DRAWN = description("random-boards")
COMMANDS = DRAWN["commands"]
RESTART = COMMANDS["restart"]
# Values the board is given by writes: relaysim's settings take only the normal
# forms of addresses, key modes and passwords.
WRITTEN = tuple(setting.name for setting in SETTINGS if setting.kind in ("address", "keys", "password"))


def text(value, address):
    """A drawn value: a long text spelt out, the board's own address in place of BOARD0 and BOARD."""
    if isinstance(value, dict):
        return value.get("before", "") + value["repeat"] * value["times"] + value.get("after", "")
    if isinstance(value, str):
        padded = ".".join(f"{int(part):03d}" for part in address.split("."))
        return value.replace("BOARD0", padded).replace("BOARD", address)
    return value


def draw(rng, pool, address):
    rare = pool.get("rare") and rng.randrange(100) < DRAWN["rare_percent"]
    return text(rng.choice(pool["rare"] if rare else pool["values"]), address)


def random_board(rng, address):
    """A board's state: the values of what its model has, by name ("keys" empty when it has none)."""
    capabilities = {**rng.choice(DRAWN["models"]), None: True}
    state = {name: draw(rng, pool, address) for name, pool in DRAWN["board"].items()
             if capabilities[pool.get("needs")]}
    return {"keys": "", **state}


def arguments(state):
    """relaysim's settings for `state`, but for the values WRITTEN."""
    flag = {True: "on", False: "off"}
    given = ["model=" + ("remote" if "id" in state else "basic"), "restore=" + flag[state["restore"]],
             "keys=" + ("12312312" if state["keys"] else "none")]
    if "id" in state:
        given += ["version=" + state["version"], "id=" + state["id"], "remote=" + flag[state["remote"]]]
        given.append(b"server=" + state["server"].encode("latin-1"))
    return given


def give_values(board, state):
    """Writes the values WRITTEN into the board; the number of frames that took."""
    frames = [f"#{COMMANDS[name]}0,{state[name]};" for name in WRITTEN if state.get(name)]
    with socket.create_connection((board.address, 5111), timeout=10) as link:
        link.sendall("".join(frames).encode("latin-1"))
        replies = b""
        while replies.count(b";") < len(frames):
            replies += link.recv(256)
    return len(frames)


def random_request(rng, state, address):
    """Up to four settings, mostly ones the board has (another is refused),
    with values equal to the board's in other forms, new ones, and now and
    then one the library rejects."""
    capabilities = {"keys": bool(state["keys"]), "remote_control": "id" in state, None: True}
    has = [name for name, pool in DRAWN["request"].items() if capabilities[pool.get("needs")]]
    names = rng.sample(has, min(len(has), rng.randrange(5)))
    if rng.random() < 0.1:
        names.append(rng.choice(sorted(DRAWN["request"])))
    request = {}
    for name in names:
        value = draw(rng, DRAWN["request"][name], address)
        if name == "key":  # the binding takes 1..3 as numbers too
            name, value = f"key{rng.randrange(1, 9)}", int(value) if value.isdigit() and rng.random() < 0.5 else value
        request[name] = value
    return request


def frames(board):
    """(command code, value or None) of each frame the board received but reads."""
    received = []
    for line in board.writes()[board.given:]:
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
    if board.state.get("id") and texts != {"firmware": "1.0." + board.state["version"], "server": board.state["server"],
                                           "password": read.settings["password"] if refused_command == COMMANDS[
                                               "password"] else board.state["password"]}:
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
            address = f"{block}.{case % 250 + 1}"
            state = random_board(rng, address)
            refused_command = rng.choice("23456A89B7") if rng.random() < 0.1 else None
            running.append(Board(address, arguments(state) + (["--refuse", refused_command] if refused_command else []),
                                 tmp_path / f"case-{case}.log"))
            board = running[-1]
            board.given = give_values(board, state)
            board.state, board.request = state, random_request(rng, state, address)
            others = [frames(other) for other in running[:-1]]
            disagreement = check_case(board, refused_command)
            assert disagreement is None, (
                f"seed {seed}, case {case}: board {state!r}, refusing {refused_command}, "
                f"request {board.request!r}: {disagreement}")
            assert [frames(other) for other in running[:-1]] == others, (
                f"seed {seed}, case {case}: a frame reached the board of the case before")
            if len(running) > 1:
                running.pop(0).stop()
    finally:
        for board in running:
            board.stop()
