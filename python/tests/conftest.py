"""Stand-in boards (relaysim) on loopback and relayctl for the binding's tests.

The programs and the library come from the build tree (build/), or from
RELAYSIM, RELAYCTL and RELAYLINK_LIBRARY. Every board listens on 127.50.T.N,
T a block of its own for each test.
"""

from __future__ import annotations

import itertools
import json
import os
import subprocess
import time
from pathlib import Path
from typing import Any, Callable, Dict, Iterator, List, Union

import pytest

BUILD = Path(__file__).resolve().parents[2] / "build"
os.environ.setdefault("RELAYLINK_LIBRARY", str(BUILD / "relaylink" / "librelaylink.so.1"))
RELAYSIM = os.environ.get("RELAYSIM", str(BUILD / "relaysim" / "relaysim"))
RELAYCTL = os.environ.get("RELAYCTL", str(BUILD / "relayctl" / "relayctl"))

_blocks = itertools.count(1)


class Board:
    """One relaysim board; `log` holds every frame it received and sent."""

    def __init__(self, address: str, arguments: List[Union[str, bytes]], log: Path) -> None:
        self.address = address
        self.log = log
        self._output = log.open("wb")
        self.process = subprocess.Popen([RELAYSIM, "--address", address, *arguments],
                                        stdout=self._output, stderr=subprocess.STDOUT)
        for _ in range(1000):  # up to 10 s on a loaded machine
            if b"listening" in log.read_bytes():
                return
            if self.process.poll() is not None:
                break
            time.sleep(0.01)
        self.stop()
        raise RuntimeError(f"relaysim on {address} did not start: {log.read_text(errors='replace')}")

    def writes(self) -> List[str]:
        """The frames the board received other than the read command ("#1...")."""
        lines = self.log.read_text(encoding="latin-1").splitlines()
        return [line for line in lines if line.startswith("<- #") and not line.startswith("<- #1")]

    def stop(self) -> None:
        self.process.terminate()
        self.process.wait()
        self._output.close()


@pytest.fixture
def block() -> str:
    """The test's own address block: "127.50.T"."""
    number = next(_blocks)
    assert number < 256, "more tests than address blocks in 127.50.0.0/16"
    return f"127.50.{number}"


@pytest.fixture
def boards(block: str, tmp_path: Path) -> Iterator[Callable[..., Board]]:
    """Starts boards for one test: ``boards("model=remote", "--refuse", "2")``
    gives a Board on the next address of the test's block."""
    started: List[Board] = []

    def start(*arguments: Union[str, bytes]) -> Board:
        number = len(started) + 1
        started.append(Board(f"{block}.{number}", list(arguments), tmp_path / f"relaysim-{number}.log"))
        return started[-1]

    yield start
    for board in started:
        board.stop()


def relayctl(*arguments: str, check: bool = False) -> subprocess.CompletedProcess:
    """Runs relayctl in a UTF-8 locale (a typed é is the byte 0xE9)."""
    environment = {**os.environ, "LC_ALL": "C.UTF-8"}
    return subprocess.run([RELAYCTL, *arguments], capture_output=True, env=environment, check=check)


def show_json(address: str) -> Dict[str, Any]:
    """relayctl's show --json of the board."""
    return json.loads(relayctl("show", address, "--json", check=True).stdout)
