"""Reading and saving one board through the library, one caller at a time."""

from __future__ import annotations

import ctypes
import os
import threading
from contextlib import contextmanager
from dataclasses import dataclass
from typing import Callable, Iterator, List, Mapping, Optional, Tuple

from . import _library, _rules
from ._board import KIND, SETTING_NAMES, Board, SettingValue, board_has, model_name
from ._errors import SAVED, SAVED_AND_RESTARTED, Busy, InvalidValue, error_of
from ._plan import Change, GivenValue, differing, expected_after_save, parse_settings, refuse_unsupported

# The library's getters and setters of each setting but the key modes.
_GETTERS = {"ip": "GetIpAddr", "mask": "GetSubMask", "gateway": "GetGateway", "restore": "GetRestoreState",
            "remote": "GetEnableWeb", "dns": "GetDns", "server": "GetWebServer", "password": "GetPassword"}
_SETTERS = {"ip": "SetIpAddr", "mask": "SetSubMask", "gateway": "SetGateway", "restore": "SetRestoreState",
            "remote": "SetEnableWeb", "dns": "SetDns", "server": "SetWebServer", "password": "SetPassword"}
# A reply is at most 64 KiB, so no text of it is longer than a getter can copy.
_TEXT_LENGTH = 65535

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
    (3001); ``changes``: what was written (empty for 3002, "Config was saved
    successfully.": the board held every value already).
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
    buffer = ctypes.create_string_buffer(_TEXT_LENGTH + 1)
    if getter(buffer, _TEXT_LENGTH) != 1:
        return None
    return buffer.value.decode("latin-1")


def _status(library: ctypes.CDLL) -> Tuple[int, str]:
    buffer = ctypes.create_string_buffer(_TEXT_LENGTH + 1)
    library.GetErrorMsg(buffer, _TEXT_LENGTH)
    return library.GetErrorCode(), buffer.value.decode("latin-1")


def _read(library: ctypes.CDLL, address: str) -> Board:
    if library.ReadDeviceCfg(address.encode("ascii")) != 1:
        raise error_of(*_status(library))
    capabilities = {"remote_control": library.CanCfgWeb() == 1, "keys": library.CanCfgButton() == 1}
    settings: dict[str, SettingValue] = {}
    for name in SETTING_NAMES:
        if not board_has(name, capabilities):
            settings[name] = None
        elif name == "keys":
            settings[name] = "".join(str(library.GetButtonCfg(key)) for key in range(1, 9))
        elif KIND[name] == "flag":
            settings[name] = getattr(library, _GETTERS[name])() == 1
        else:
            settings[name] = _text(getattr(library, _GETTERS[name]))
    device_id = _text(library.GetDeviceId) if capabilities["remote_control"] else None
    return Board(address=address, model=model_name(capabilities), firmware=_text(library.GetVersion) or None,
                 device_id=device_id or None, capabilities=capabilities, settings=settings)


def read(address: str) -> Board:
    """Reads the board at `address` (a dotted quad, taken in normal form, see
    board_address). Blocks up to 5 s to connect and 5 s for the reply.
    Unreachable (1004), Timeout (1001) or RelayLinkError (1005, a reply that
    is no board's) when it fails; Busy when another thread is using the
    library."""
    normal = board_address(address)
    with _using_library() as library:
        return _read(library, normal)


def save(address: str, settings: Mapping[str, GivenValue]) -> SaveResult:
    """Saves `settings` (names and values as for plan; None leaves a setting as
    it is) onto the board at `address` through the library: it reads the
    board, hands the values to its setters and saves, which writes only what
    differs and then restarts the board.

    Raises before anything is sent: InvalidValue for settings the binding
    refuses (code None, as plan does) or the library rejects (2001..2006,
    nothing written). Raises for a failed read or write: Unreachable (1004),
    Timeout (1001, 1003) or Refused (1002); a write that fails after earlier
    ones were taken leaves those on the board, not restarted. Busy when
    another thread is using the library.
    """
    normal = board_address(address)
    changes = parse_settings(settings)
    with _using_library() as library:
        board = _read(library, normal)
        refuse_unsupported(board, changes)
        for name, value in changes.items():
            if name == "keys":
                for key, mode in enumerate(str(value), start=1):
                    if mode != "-":
                        library.SetButtonCfg(key, int(mode))
            elif KIND[name] == "flag":
                getattr(library, _SETTERS[name])(1 if value else 0)
            else:
                getattr(library, _SETTERS[name])(str(value).encode("latin-1"))
        completed = library.SaveDeviceCfg() == 1
        code, message = _status(library)
    if not completed:
        raise error_of(code, message)
    written = [] if code == SAVED else differing(board, expected_after_save(board, changes))
    return SaveResult(address=normal, changed=code != SAVED, restarted=code == SAVED_AND_RESTARTED, code=code,
                      message=message, changes=written)
