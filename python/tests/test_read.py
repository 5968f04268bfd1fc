"""Reading boards of every model, and the failures of a read."""

import pytest
from conftest import show_json

import relaylink

MODELS = {
    "remote": ["model=remote", "keys=12312312"],
    "remote without keys": ["model=remote", "keys=none", "remote=off"],
    "keys": ["model=basic", "keys=32132132", "restore=on"],
    "basic": ["model=basic", "keys=none"],
}


@pytest.mark.parametrize("model", MODELS)
def test_read_gives_what_relayctl_shows(boards, model):
    board = boards(*MODELS[model])
    read = relaylink.read(board.address)
    shown = show_json(board.address)
    assert {"address": read.address, "model": read.model, "firmware": read.firmware, "device_id": read.device_id,
            "capabilities": read.capabilities, "settings": read.settings} == shown


def test_read_of_a_remote_board(boards):
    board = boards("model=remote", "keys=12312312", "password=654321")
    read = relaylink.read(board.address)
    assert read.model == "remote control"
    assert read.capabilities == {"remote_control": True, "keys": True}
    assert read.firmware == "1.0.7"
    assert read.device_id is not None and len(read.device_id) == 14
    assert read.settings["ip"] == board.address
    assert read.settings["keys"] == "12312312"
    assert read.settings["remote"] is True
    assert read.settings["password"] == "654321"


def test_read_of_a_basic_board_has_none_for_what_it_lacks(boards):
    read = relaylink.read(boards("model=basic", "keys=none").address)
    assert read.model == "basic"
    assert (read.firmware, read.device_id) == (None, None)
    assert [name for name, value in read.settings.items() if value is None] == [
        "keys", "remote", "dns", "server", "password"]


def test_address_is_taken_in_normal_form(boards, block):
    board = boards("model=basic")
    number = block.rsplit(".", 1)[1]
    assert relaylink.read(f" 127.050.{int(number):03d}..001 ").address == board.address


def test_board_not_reached(block):
    with pytest.raises(relaylink.Unreachable) as failure:
        relaylink.read(f"{block}.250")
    assert isinstance(failure.value, ConnectionError)
    assert failure.value.code == 1004
    assert failure.value.message == "Can not connect to the device."


def test_board_that_does_not_answer(boards):
    board = boards("model=remote", "--no-answer", "1")
    with pytest.raises(relaylink.Timeout) as failure:
        relaylink.read(board.address)
    assert isinstance(failure.value, TimeoutError)
    assert (failure.value.code, failure.value.message) == (1001, "Communication time out.")


def test_reply_that_is_no_boards(boards):
    board = boards("model=remote", "--raw-reply", ">1,2;")
    with pytest.raises(relaylink.RelayLinkError) as failure:
        relaylink.read(board.address)
    assert failure.value.code == 1005
    assert type(failure.value) is relaylink.RelayLinkError
