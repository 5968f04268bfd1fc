"""What a save of some settings writes to a board: the settings checked and
turned into changes, the values the library's save holds when it decides
(rewritten, trimmed and checked as it does), and the writes it then sends.
Pure: the same decisions as the library's save, which the differential test
of the package proves on stand-in boards."""

from __future__ import annotations

from dataclasses import dataclass
from typing import Dict, List, Mapping, Optional, Union

from . import _rules
from ._board import MASK, Board, SettingValue, board_text, model_name
from ._errors import InvalidValue, about
from ._settings import BY_NAME, SETTING_NAMES, SETTINGS, board_has

KEY_MODES = {"keep": "1", "follow": "2", "jog": "3", "1": "1", "2": "2", "3": "3", 1: "1", 2: "2", 3: "3"}
SINGLE_KEYS = tuple(f"key{key}" for key in range(1, 9))

# A value given for a setting: texts, bools, and for key1..key8 also 1..3.
GivenValue = Union[str, bool, int, None]


@dataclass(frozen=True)
class Change:
    """One value a save writes: the setting and its value on the board now and
    after the save, in the kinds of ``Board.settings``. Its repr (and str)
    shows a password as ``********``."""

    setting: str
    before: SettingValue
    after: SettingValue

    def __repr__(self) -> str:
        if self.setting == "password":  # its digits never go to a log
            return f"Change(setting='password', before='{MASK}', after='{MASK}')"
        return f"Change(setting={self.setting!r}, before={self.before!r}, after={self.after!r})"


def _shown(name: str, value: object) -> str:
    """`value` as a message names it: a password only by its type."""
    return type(value).__name__ if name == "password" else repr(value)


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
        setting = BY_NAME.get(name)
        if setting is None:
            raise InvalidValue(None, f"unknown setting {name!r}: names are {', '.join(SETTING_NAMES)} "
                               "and key1..key8", str(name))
        if setting.kind == "flag":
            if not isinstance(value, bool):
                raise InvalidValue(None, f"{name} takes True or False, not {_shown(name, value)}", name)
            changes[name] = value
            continue
        if not isinstance(value, str):
            raise InvalidValue(None, f"{name} takes a text, not {_shown(name, value)}", name)
        board_text(value, name)
        if setting.kind == "keys":
            if len(value) != 8:
                raise InvalidValue(None, "keys takes eight digits, key 1 first (1 keep, 2 follow, 3 jog)", name)
            value = "".join(c if c in "123" else "-" for c in value)
        changes[name] = value
    return changes


def _merged_keys(wanted: str, current: str) -> str:
    """The key modes after a save: `wanted` where it gives a mode, else `current`."""
    return "".join(now if mode == "-" else mode for mode, now in zip(wanted, current))


def refuse_unsupported(board: Board, changes: Mapping[str, SettingValue]) -> None:
    """InvalidValue for the first change that the board cannot have."""
    for name in SETTING_NAMES:
        if name in changes and not board_has(name, board.capabilities):
            raise InvalidValue(None, f"a {model_name(board.capabilities)} board cannot take {name}", name)


def saved_values(board: Board, changes: Mapping[str, SettingValue]) -> Dict[str, SettingValue]:
    """The values the library's save holds when it decides what to write:
    the board's with `changes` over them, key modes merged per key, addresses
    in normal form, and server and password trimmed while remote control ends
    up on (only then are DNS, server and password checked). InvalidValue with
    the library's code and message (2001..2006) for the first value it
    rejects, in its order."""
    pending = {name: changes.get(name, board.settings.get(name)) for name in SETTING_NAMES}
    if "keys" in changes:
        pending["keys"] = _merged_keys(str(changes["keys"]), str(board.settings["keys"]))
    remote_on = bool(board.capabilities["remote_control"] and pending["remote"])
    for setting in SETTINGS:
        if setting.rejected is None or (setting.needs_remote and not remote_on):
            continue
        text = str(pending[setting.name] or "")
        value: Optional[str] = (_rules.normal_address(text) if setting.kind == "address" else
                                _rules.trim_control(text))
        if (value is None or (setting.kind == "text" and not _rules.is_sendable_server(value)) or
                (setting.kind == "password" and not _rules.is_valid_password(value))):
            raise InvalidValue(*setting.rejected, setting.name)
        pending[setting.name] = value
    return pending


def writes(board: Board, pending: Mapping[str, SettingValue]) -> List[Change]:
    """What the library's save sends, in its order, from the values it holds
    (saved_values): each value the board has that differs from the board's;
    DNS, server and password only while remote control is on after its own
    write."""
    remote_on = bool(board.capabilities["remote_control"] and pending["remote"])
    return [Change(setting.name, board.settings.get(setting.name), pending[setting.name])
            for setting in SETTINGS
            if board_has(setting.name, board.capabilities)
            and (not setting.needs_remote or setting.name == "remote" or remote_on)
            and pending[setting.name] != board.settings.get(setting.name)]


def error_address(board: Board) -> Optional[str]:
    """The board's address for errors that concern it: only a board's address
    in normal form (a backup's may hold any text)."""
    return board.address if _rules.normal_address(board.address) == board.address else None


def plan(board: Board, settings: Mapping[str, GivenValue]) -> List[Change]:
    """What saving `settings` onto `board` (as read) would write, setting by
    setting in the order the library writes them; empty when nothing would
    change. Pure: nothing is sent.

    It is the library's own decision: values in the normal forms it writes
    (``"127.000.040.001"`` equals 127.0.40.1), server and password trimmed
    while remote control ends up on (so a board's server with blanks at its
    ends is written back trimmed even when not asked for), ``dns``,
    ``server`` and ``password`` only while remote control ends up on, key
    modes merged per key. A value the save would reject raises InvalidValue
    with the library's code (2001..2006) and message; a setting the board
    cannot have, an unknown name or a value of the wrong kind raise InvalidValue with code
    None.
    """
    with about(error_address(board)):
        changes = parse_settings(settings)
        refuse_unsupported(board, changes)
        return writes(board, saved_values(board, changes))
