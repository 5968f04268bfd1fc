"""relaylink from Python: read and configure network relay boards through the
shared library relaylink (librelaylink.so.1, or relaylink.dll on Windows).

    import relaylink

    board = relaylink.read("10.0.0.5")
    print(board.model, board.settings["ip"], board.capabilities["remote_control"])
    print(relaylink.plan(board, {"gateway": "10.0.0.1", "key3": "jog"}))
    result = relaylink.save("10.0.0.5", {"gateway": "10.0.0.1", "key3": "jog"})
    print(result.changed, result.restarted, result.code, result.message)

Settings are named as in relayctl's JSON (``ip``, ``mask``, ``gateway``,
``keys``, ``restore``, ``remote``, ``dns``, ``server``, ``password``, and
``key1``..``key8`` for single keys); a board's texts are Python str of code
points up to U+00FF, each the byte of the same number.

The library holds one board per process, so one thread at a time may use it:
a call while another thread's is running raises Busy at once. Many boards at
once take processes, each with its own library:

    from concurrent.futures import ProcessPoolExecutor

    import relaylink

    if __name__ == "__main__":  # the workers import this module too
        addresses = ["10.0.0.5", "10.0.0.6", "10.0.0.7"]
        with ProcessPoolExecutor(max_workers=16) as pool:
            for board in pool.map(relaylink.read, addresses):
                print(board.address, board.device_id, board.settings["ip"])

The library is loaded on first use: from the file RELAYLINK_LIBRARY names
(a name without a folder is the file in the current folder); otherwise on
Windows relaylink.dll beside the package folder, then through Windows' DLL
search and PATH; elsewhere librelaylink.so.1 through the dynamic linker.
library_path() tells which file it is.

A password never shows in the repr or str of the package's objects, nor in
its messages; every error names the board's address (``.address``).
"""

from ._board import Board
from ._device import SaveResult, read, save
from ._errors import Busy, InvalidValue, LibraryNotFound, Refused, RelayLinkError, Timeout, Unreachable
from ._library import library_path
from ._plan import Change, plan

__version__ = "1.0"

__all__ = [
    "Board",
    "Busy",
    "Change",
    "InvalidValue",
    "LibraryNotFound",
    "Refused",
    "RelayLinkError",
    "SaveResult",
    "Timeout",
    "Unreachable",
    "library_path",
    "plan",
    "read",
    "save",
]
