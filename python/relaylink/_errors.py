"""The exceptions of the binding: the library's status codes as Python errors."""

from __future__ import annotations

from typing import Optional

# Status codes of relaylink.h.
READ_TIMEOUT = 1001
WRITE_REFUSED = 1002
WRITE_TIMEOUT = 1003
CONNECT_FAILED = 1004
SAVED_AND_RESTARTED = 3001
SAVED = 3002

# The setting whose pending value each code 2001..2006 rejects.
REJECTED_SETTING = {
    2001: "ip",
    2002: "mask",
    2003: "gateway",
    2004: "dns",
    2005: "server",
    2006: "password",
}

# The library's message of each code 2001..2006 (relaylink.h), for plans,
# which judge values without calling the library.
REJECTED_MESSAGE = {
    2001: "Wrong IP address.",
    2002: "Subnet mask is wrong.",
    2003: "Gateway is wrong.",
    2004: "DNS is wrong.",
    2005: "Please enter the server for remote control.",
    2006: "Password should be 6 digits.",
}


class RelayLinkError(Exception):
    """A failure, with the library's status code and message.

    ``code`` is None for failures the binding finds itself (a value refused
    before anything is sent, the library busy or not found).
    """

    def __init__(self, code: Optional[int], message: str) -> None:
        super().__init__(code, message)
        self.code = code
        self.message = message

    def __str__(self) -> str:
        return self.message if self.code is None else f"{self.message} ({self.code})"


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
        self.args = (code, message, setting)  # so that it pickles across processes
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
