"""What a save of some settings writes to a board: the settings checked and
turned into changes, the values the board holds after the save in the form
the library writes them, and the changes that differ from the board's.
Pure: the same decisions as the library's save and relayctl's plans."""

from __future__ import annotations

from dataclasses import dataclass
from typing import Dict, List, Mapping, Optional, Union

from . import _rules
from ._board import KIND, SETTING_NAMES, Board, SettingValue, board_has, board_text, model_name
from ._errors import REJECTED_MESSAGE, REJECTED_SETTING, InvalidValue

KEY_MODES = {"keep": "1", "follow": "2", "jog": "3", "1": "1", "2": "2", "3": "3", 1: "1", 2: "2", 3: "3"}
SINGLE_KEYS = tuple(f"key{key}" for key in range(1, 9))

# A value given for a setting: texts, bools, and for key1..key8 also 1..3.
GivenValue = Union[str, bool, int, None]


@dataclass(frozen=True)
class Change:
    """One value a save writes: the setting and its value on the board now and
    after the save, in the kinds of ``Board.settings``."""

    setting: str
    before: SettingValue
    after: SettingValue

    def __repr__(self) -> str:
        if self.setting == "password":  # its digits never go to a log
            return "Change(setting='password', before='********', after='********')"
        return f"Change(setting={self.setting!r}, before={self.before!r}, after={self.after!r})"


def parse_settings(settings: Mapping[str, GivenValue]) -> Dict[str, SettingValue]:
    """The changes that `settings` asks for, by setting name; None values are
    left out. ``keys`` has eight characters, '-' for a key left as it is.

    Names: those of ``Board.settings`` and key1..key8 ("keep", "follow",
    "jog" or 1..3). Texts must be board texts; in ``keys`` a character other
    than 1..3 leaves that key as it is, as relayctl restores a backup.
    InvalidValue naming the setting otherwise.
    """
    changes: Dict[str, SettingValue] = {}
    single = [name for name in SINGLE_KEYS if settings.get(name) is not None]
    if single and settings.get("keys") is not None:
        raise InvalidValue(None, f"{single[0]} repeats keys: give the key modes one way", "keys")
    for name, value in settings.items():
        if value is None:
            continue
        if name in SINGLE_KEYS:
            mode = KEY_MODES.get(value) if isinstance(value, (str, int)) and not isinstance(value, bool) else None
            if mode is None:
                raise InvalidValue(None, f"{name} takes keep, follow, jog or 1..3, not {value!r}", "keys")
            keys = str(changes.get("keys", "--------"))
            index = int(name[3]) - 1
            changes["keys"] = keys[:index] + mode + keys[index + 1:]
            continue
        kind = KIND.get(name)
        if kind is None:
            raise InvalidValue(None, f"unknown setting {name!r}: names are {', '.join(SETTING_NAMES)} "
                               "and key1..key8", str(name))
        if kind == "flag":
            if not isinstance(value, bool):
                raise InvalidValue(None, f"{name} takes True or False, not {value!r}", name)
            changes[name] = value
            continue
        if not isinstance(value, str):
            raise InvalidValue(None, f"{name} takes a text, not {value!r}", name)
        board_text(value, name)
        if kind == "keys":
            if len(value) != 8:
                raise InvalidValue(None, "keys takes eight digits, key 1 first (1 keep, 2 follow, 3 jog)", name)
            value = "".join(c if c in "123" else "-" for c in value)
        changes[name] = value
    return changes


def refuse_unsupported(board: Board, changes: Mapping[str, SettingValue]) -> None:
    """InvalidValue for the first change that the board cannot have."""
    for name in SETTING_NAMES:
        if name in changes and not board_has(name, board.capabilities):
            raise InvalidValue(None, f"a {model_name(board.capabilities)} board cannot take {name}", name)


def refuse_rejected(board: Board, changes: Mapping[str, SettingValue]) -> None:
    """InvalidValue with its code (2001..2006) for the first value the
    library's save rejects before sending anything: it checks the values it
    would hold after the save, changed or not, the remote-control ones only
    while remote control is on."""
    def pending(name: str) -> str:
        value = changes.get(name, board.settings.get(name))
        return value if isinstance(value, str) else ""

    checks = [(2001, _rules.normal_address(pending("ip")) is not None),
              (2002, _rules.normal_address(pending("mask")) is not None),
              (2003, _rules.normal_address(pending("gateway")) is not None)]
    if board.capabilities["remote_control"] and changes.get("remote", board.settings.get("remote")):
        checks += [(2004, _rules.normal_address(pending("dns")) is not None),
                   (2005, _rules.is_sendable_server(_rules.trim_control(pending("server")))),
                   (2006, _rules.is_valid_password(_rules.trim_control(pending("password"))))]
    for code, passes in checks:
        if not passes:
            raise InvalidValue(code, REJECTED_MESSAGE[code], REJECTED_SETTING[code])


def expected_after_save(board: Board, changes: Mapping[str, SettingValue]) -> Dict[str, SettingValue]:
    """The values a save of `changes` leaves on the board, in the form the
    library writes them: addresses in normal form, server and password
    trimmed, single key modes merged into the board's. DNS, server and
    password are written only while remote control ends up on."""
    def address(name: str) -> Optional[str]:  # None also for a value the save rejects
        value = changes.get(name)
        return None if value is None else _rules.normal_address(str(value))

    expected: Dict[str, SettingValue] = {name: address(name) for name in ("ip", "mask", "gateway")}
    keys = changes.get("keys")
    if isinstance(keys, str):
        current = str(board.settings.get("keys") or "--------")
        expected["keys"] = "".join(now if wanted == "-" else wanted for wanted, now in zip(keys, current))
    expected["restore"] = changes.get("restore")
    expected["remote"] = changes.get("remote")
    remote_on = changes.get("remote", board.settings.get("remote")) or False
    if remote_on:
        expected["dns"] = address("dns")
        for name in ("server", "password"):
            value = changes.get(name)
            expected[name] = None if value is None else _rules.trim_control(str(value))
    return {name: value for name, value in expected.items() if value is not None}


def differing(board: Board, expected: Mapping[str, SettingValue]) -> List[Change]:
    """The values of `expected` that differ from the board's, in setting order."""
    return [Change(name, board.settings.get(name), expected[name])
            for name in SETTING_NAMES if name in expected and expected[name] != board.settings.get(name)]


def plan(board: Board, settings: Mapping[str, GivenValue]) -> List[Change]:
    """What saving `settings` onto `board` (as read) would write, setting by
    setting in the order the library writes them; empty when nothing would
    change. Pure: nothing is sent.

    What differs is decided as the library decides it, in the normal forms
    it writes: ``"127.000.040.001"`` equals 127.0.40.1, server and password
    are trimmed, ``dns``, ``server`` and ``password`` count only while remote
    control ends up on, and key modes are merged per key. A value the save
    would reject raises InvalidValue with the library's code (2001..2006) and
    message; a setting the board cannot have, an unknown name or a value of
    the wrong kind raises InvalidValue with code None.
    """
    changes = parse_settings(settings)
    refuse_unsupported(board, changes)
    refuse_rejected(board, changes)
    return differing(board, expected_after_save(board, changes))
