"""The exceptions of the binding: the library's status codes as Python errors."""

from __future__ import annotations

from contextlib import contextmanager
from typing import Iterator, Optional

from ._settings import REJECTED_SETTING

# Status codes of relaylink.h.
READ_TIMEOUT = 1001
WRITE_REFUSED = 1002
WRITE_TIMEOUT = 1003
CONNECT_FAILED = 1004
SAVED_AND_RESTARTED = 3001
SAVED = 3002


class RelayLinkError(Exception):
    """A failure, with the library's status code and message and the
    ``address`` of the board it concerns, which the text names first.

    ``code`` is None for failures the binding finds itself (a value refused
    before anything is sent, the library busy or not found); ``address`` is
    None where no board is concerned: library_path, Board.from_backup, an
    address text that names no board. Pickling keeps every attribute, so errors come back whole from
    other processes.
    """

    def __init__(self, code: Optional[int], message: str, address: Optional[str] = None) -> None:
        super().__init__(code, message)
        self.code = code
        self.message = message
        self.address = address

    def __str__(self) -> str:
        text = self.message if self.code is None else f"{self.message} ({self.code})"
        return f"{self.address}: {text}" if self.address else text


class Unreachable(RelayLinkError, ConnectionError):
    """No connection to the board (1004)."""


class Timeout(RelayLinkError, TimeoutError):
    """The board did not answer a read (1001) or a write (1003)."""


class Refused(RelayLinkError):
    """The board did not acknowledge a write (1002)."""


class InvalidValue(RelayLinkError, ValueError):
    """A value refused, named by ``setting``: by the library's check before
    anything is sent (2001..2006, ``code`` set), or by the binding (``code``
    None: an unknown setting, a value of the wrong kind, a text that is no
    board's bytes, a setting the board cannot have)."""

    def __init__(self, code: Optional[int], message: str, setting: str) -> None:
        super().__init__(code, message)
        self.args = (code, message, setting)  # what unpickling calls the class with
        self.setting = setting


class Busy(RelayLinkError):
    """Another thread of this process is using the library, which holds one
    board per process."""

    def __init__(self, message: str = "another thread of this process is using relaylink: "
                 "the library holds one board per process (use processes for many boards at once)") -> None:
        super().__init__(None, message)
        self.args = (message,)


class LibraryNotFound(RelayLinkError, OSError):
    """The shared library could not be loaded; the message names every place
    that was tried and why each failed."""

    def __init__(self, message: str) -> None:
        super().__init__(None, message)
        self.args = (message,)


def error_of(code: int, message: str) -> RelayLinkError:
    """The exception for a failure the library reported with `code`."""
    if code == CONNECT_FAILED:
        return Unreachable(code, message)
    if code in (READ_TIMEOUT, WRITE_TIMEOUT):
        return Timeout(code, message)
    if code == WRITE_REFUSED:
        return Refused(code, message)
    if code in REJECTED_SETTING:
        return InvalidValue(code, message, REJECTED_SETTING[code])
    return RelayLinkError(code, message)


@contextmanager
def about(address: Optional[str]) -> Iterator[None]:
    """Gives every RelayLinkError raised inside that names no board yet the
    `address` of the board it concerns."""
    try:
        yield
    except RelayLinkError as error:
        if error.address is None:
            error.address = address
        raise
