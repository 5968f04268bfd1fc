"""One thread at a time in a process; many boards at once in processes."""

import threading
import time
from concurrent.futures import ProcessPoolExecutor

import pytest

import relaylink
from relaylink import _device


def test_second_thread_is_told_busy_at_once(boards):
    board = boards("model=remote", "--delay", "1500")
    outcome = {}

    def first():
        outcome["board"] = relaylink.read(board.address)

    thread = threading.Thread(target=first)
    thread.start()
    for _ in range(500):  # until the first thread holds the library
        if _device._lock.locked() or not thread.is_alive():
            break
        time.sleep(0.01)
    assert _device._lock.locked(), "the first read ended before the second could start"
    with pytest.raises(relaylink.Busy) as busy:
        relaylink.save(board.address, {"restore": True})
    thread.join()
    assert busy.value.code is None
    assert "one board per process" in str(busy.value)
    assert outcome["board"].address == board.address
    assert board.writes() == []


def test_many_boards_at_once_in_processes(boards):
    addresses = [boards(model).address for model in ("model=remote", "model=basic", "model=basic")]
    unreached = addresses[0].rsplit(".", 1)[0] + ".250"
    with ProcessPoolExecutor(max_workers=2) as pool:
        read = list(pool.map(relaylink.read, addresses))
        failed = pool.submit(relaylink.read, unreached).exception()
    assert [board.address for board in read] == addresses
    assert [board.model for board in read] == ["remote control", "keys", "keys"]
    assert isinstance(failed, relaylink.Unreachable) and failed.code == 1004
    assert (failed.address, str(failed)) == (unreached, f"{unreached}: Can not connect to the device. (1004)")
