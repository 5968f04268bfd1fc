"""plan() against relayctl's own plan (``set ... --check --json``) on the same
boards and inputs, so that the two never drift apart. relayctl runs with
--force: its guards (a gateway outside the subnet, a taken ip, ...) are its
own policy on top of the library's save, which plan() mirrors."""

import json
import os
import subprocess
import sys

import pytest
from conftest import relayctl

import relaylink

BOARDS = {
    "remote": ("model=remote", "keys=12312312"),
    "remote off": ("model=remote", "keys=none", "remote=off"),
    "keys": ("model=basic", "keys=12312312"),
    "basic": ("model=basic", "keys=none"),
}

# (board, settings); "IP" in a value stands for the board's own address.
CASES = [
    ("remote", {"ip": " 127.050.X.001 "}),
    ("remote", {"ip": "0x7f.50..X.1"}),
    ("remote", {"ip": "+127.$32.X.1"}),
    ("remote", {"ip": "127.50.X.1.1"}),
    ("remote", {"ip": "127.50.X"}),
    ("remote", {"ip": "127.50.X.0256"}),
    ("remote", {"ip": "127.50.X.-1"}),
    ("remote", {"ip": "127.50.X.99999999999"}),
    ("remote", {"mask": "255.255.255.000"}),
    ("remote", {"mask": "255.'255'.0.0"}),
    ("remote", {"gateway": "127.0.0.9", "restore": True}),
    ("remote", {"gateway": "\t127.0.0.254\r\n"}),
    ("remote", {"keys": "12312312"}),
    ("remote", {"keys": "33333333"}),
    ("remote", {"key3": "keep", "key8": "jog"}),
    ("remote", {"key1": "keep", "key2": 2}),
    ("remote", {"dns": "127.000.000.053"}),
    ("remote", {"dns": "127.0.0.1"}),
    ("remote", {"dns": "not.an.address.at"}),
    ("remote", {"server": "  relay.example.net  "}),
    ("remote", {"server": "relay.example.org"}),
    ("remote", {"server": "r\u00e9lais.example"}),
    ("remote", {"server": "   "}),
    ("remote", {"server": "relay,example"}),
    ("remote", {"password": " 123456 "}),
    ("remote", {"password": "654321"}),
    ("remote", {"password": "12345a"}),
    ("remote", {"remote": False, "dns": "127.0.0.1", "password": "nope"}),
    ("remote", {"remote": True}),
    ("remote off", {"dns": "127.0.0.1", "server": "other.example", "password": "654321"}),
    ("remote off", {"remote": True, "password": "654321"}),
    ("remote off", {"remote": True, "password": "bad"}),
    ("remote off", {"keys": "12312312"}),
    ("keys", {"key5": "follow", "restore": True}),
    ("keys", {"dns": "127.0.0.1"}),
    ("basic", {"ip": "127.050.X.1", "restore": False}),
    ("basic", {"key1": "jog"}),
]


def relayctl_argument(name, value):
    if isinstance(value, bool):
        value = "on" if value else "off"
    return f"{name}={value}"


def relayctl_plan(address, settings):
    """relayctl's plan: the changes as (setting, before, after), or the code
    (2001..2006, or None for a setting refused by name) of a value refused."""
    arguments = [relayctl_argument(name, value) for name, value in settings.items()]
    run = relayctl("set", address, *arguments, "--check", "--json", "--force")
    result = json.loads(run.stdout.decode().splitlines()[0])
    if result["result"] == "rejected":
        assert run.returncode == 1
        message = result["message"]
        return int(message[message.rindex("(") + 1:message.rindex(")")]) if "(20" in message else None
    assert run.returncode == (5 if result["changed"] else 0)
    return [(change["setting"], change["before"], change["after"]) for change in result["changes"]]


def python_plan(board, settings):
    try:
        changes = relaylink.plan(board, settings)
    except relaylink.InvalidValue as refused:
        return refused.code
    return [(change.setting,) + (("********",) * 2 if change.setting == "password" else (change.before, change.after))
            for change in changes]


@pytest.mark.parametrize("model, settings", CASES)
def test_plan_agrees_with_relayctl(boards, model, settings):
    board = boards(*BOARDS[model])
    settings = {name: value.replace("X", board.address.split(".")[2]) if isinstance(value, str) else value
                for name, value in settings.items()}
    assert python_plan(relaylink.read(board.address), settings) == relayctl_plan(board.address, settings)
    assert board.writes() == []


def test_plan_of_a_backup_needs_no_library(tmp_path):
    board = relaylink.Board.from_backup({
        "format": "relayctl-backup", "format_version": 1,
        "capabilities": {"remote_control": False, "keys": True},
        "settings": {"ip": "127.50.0.1", "mask": "255.0.0.0", "gateway": "127.0.0.254", "keys": "12312312",
                     "restore": False}})
    script = ("import relaylink, sys; board = relaylink.Board.from_backup(eval(sys.argv[1]));"
              "print(relaylink.plan(board, {'ip': '127.050.0.001', 'key2': 'jog', 'restore': True}))")
    run = subprocess.run([sys.executable, "-c", script, repr(board.to_backup())], capture_output=True, text=True,
                         env={**os.environ, "RELAYLINK_LIBRARY": str(tmp_path / "absent.so")},
                         cwd=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    assert run.stderr == ""
    assert run.stdout == ("[Change(setting='keys', before='12312312', after='13312312'), "
                          "Change(setting='restore', before=False, after=True)]\n")
