"""Reading and saving one board through the library, one caller at a time."""

from __future__ import annotations

import ctypes
import os
import threading
from contextlib import contextmanager
from dataclasses import dataclass
from typing import Callable, Iterator, List, Mapping, Optional, Tuple

from . import _library, _rules
from ._board import Board, SettingValue, model_name
from ._errors import SAVED, SAVED_AND_RESTARTED, Busy, InvalidValue, about, error_of
from ._plan import Change, GivenValue, parse_settings, refuse_unsupported, saved_values, writes
from ._settings import SETTINGS, board_has

# Getters copy at most this many characters (their length is 16 bits); a
# reply is at most 64 KiB, so every text of it fits.
_LONGEST_TEXT = 65535
_FIRST_TEXT_LENGTH = 255

# The library keeps one board's state for the whole process: one caller at a
# time, and a second one is told at once rather than kept waiting.
_lock = threading.Lock()


def _fresh_lock() -> None:
    global _lock
    _lock = threading.Lock()


if hasattr(os, "register_at_fork"):  # a child forked while another thread held the lock starts free
    os.register_at_fork(after_in_child=_fresh_lock)


@contextmanager
def _using_library() -> Iterator[ctypes.CDLL]:
    library = _library.library()
    if not _lock.acquire(blocking=False):
        raise Busy()
    try:
        yield library
    finally:
        _lock.release()


@dataclass(frozen=True)
class SaveResult:
    """The outcome of a save: the library's status ``code`` and ``message``.

    ``changed``: values were written (3001, or 1002/1003 when every write was
    taken but the restart was not); ``restarted``: the board took the restart
    (3001); ``changes``: what was written, the list plan() gives for the same
    settings (empty for 3002, "Config was saved successfully.": the board
    held every value already).
    """

    address: str
    changed: bool
    restarted: bool
    code: int
    message: str
    changes: List[Change]


def board_address(address: str) -> str:
    """The normal form of a board's address, by the rule of relayctl and the
    program's connect dialog: blanks around it and empty items dropped, items
    decimal numbers (``127.0.0.010`` is 127.0.0.10). InvalidValue (setting
    "address") for text the rule refuses and for 0.0.0.0 and 255.255.255.255."""
    normal = _rules.normal_address(address)
    if normal is None or normal in ("0.0.0.0", "255.255.255.255"):
        raise InvalidValue(None, f"{address!r} is not a board's IPv4 address (four numbers 0..255 joined "
                           "by dots)", "address")
    return normal


def _text(getter: Callable[..., int]) -> Optional[str]:
    """The text a getter copies out, whole: the buffer grows until the text
    leaves room in it. None when the getter answers 0."""
    length = _FIRST_TEXT_LENGTH
    while True:
        buffer = ctypes.create_string_buffer(length + 1)
        if getter(buffer, length) != 1:
            return None
        if len(buffer.value) < length or length == _LONGEST_TEXT:
            return buffer.value.decode("latin-1")
        length = min(2 * length + 1, _LONGEST_TEXT)


def _status(library: ctypes.CDLL) -> Tuple[int, str]:
    buffer = ctypes.create_string_buffer(_LONGEST_TEXT + 1)
    library.GetErrorMsg(buffer, _LONGEST_TEXT)
    return library.GetErrorCode(), buffer.value.decode("latin-1")


def _read(library: ctypes.CDLL, address: str) -> Board:
    if library.ReadDeviceCfg(address.encode("ascii")) != 1:
        raise error_of(*_status(library))
    capabilities = {"remote_control": library.CanCfgWeb() == 1, "keys": library.CanCfgButton() == 1}
    settings: dict[str, SettingValue] = {}
    for setting in SETTINGS:
        getter = getattr(library, setting.getter)
        if not board_has(setting.name, capabilities):
            settings[setting.name] = None
        elif setting.kind == "keys":  # the board's own character: '0' plus the answer
            settings[setting.name] = "".join(chr(ord("0") + getter(key)) for key in range(1, 9))
        elif setting.kind == "flag":
            settings[setting.name] = getter() == 1
        else:
            settings[setting.name] = _text(getter)
    device_id = _text(library.GetDeviceId) if capabilities["remote_control"] else None
    return Board(address=address, model=model_name(capabilities), firmware=_text(library.GetVersion) or None,
                 device_id=device_id or None, capabilities=capabilities, settings=settings)


def _set(setter: Callable[..., int], kind: str, value: SettingValue) -> None:
    """Hands a setting's value to its setter: key modes key by key ('-' left
    as it is), flags as 1 or 0, texts as their bytes."""
    if kind == "keys":
        for key, mode in enumerate(str(value), start=1):
            if mode != "-":
                setter(key, int(mode))
    elif kind == "flag":
        setter(1 if value else 0)
    else:
        setter(str(value).encode("latin-1"))


def read(address: str) -> Board:
    """Reads the board at `address` (a dotted quad, taken in normal form, see
    board_address). Blocks up to 5 s to connect and 5 s for the reply.
    Unreachable (1004), Timeout (1001) or RelayLinkError (1005, a reply that
    is no board's) when it fails; Busy when another thread is using the
    library."""
    normal = board_address(address)
    with about(normal), _using_library() as library:
        return _read(library, normal)


def save(address: str, settings: Mapping[str, GivenValue]) -> SaveResult:
    """Saves `settings` (names and values as for plan; None leaves a setting as
    it is) onto the board at `address` through the library: it reads the
    board, hands the values to its setters and saves, which writes only what
    differs and then restarts the board.

    Raises before anything is sent: InvalidValue for settings the binding
    refuses (code None, as plan does) or the library rejects (2001..2006, nothing
    written). Raises for a failed read or write: Unreachable (1004),
    Timeout (1001, 1003) or Refused (1002); a write that fails after earlier
    ones were taken leaves those on the board, not restarted. Busy when
    another thread is using the library.
    """
    normal = board_address(address)
    with about(normal):
        changes = parse_settings(settings)
        with _using_library() as library:
            board = _read(library, normal)
            refuse_unsupported(board, changes)
            for setting in SETTINGS:
                if setting.name in changes:
                    _set(getattr(library, setting.setter), setting.kind, changes[setting.name])
            completed = library.SaveDeviceCfg() == 1
            code, message = _status(library)
        if not completed:
            raise error_of(code, message)
        written = [] if code == SAVED else writes(board, saved_values(board, changes))
    return SaveResult(address=normal, changed=code != SAVED, restarted=code == SAVED_AND_RESTARTED, code=code,
                      message=message, changes=written)
