"""A board's texts as Python str: code points up to U+00FF, each the byte of
the same number, both ways."""

import pytest
from conftest import show_json

import relaylink


@pytest.mark.parametrize("setting, value, read_as", [
    (b"server=caf\xe9.\xff", "caf\u00e9.\u00ff", lambda board: board.settings["server"]),
    (b"server=" + b"s" * 260, "s" * 260, lambda board: board.settings["server"]),
    (b"version=" + b"7" * 260, "1.0." + "7" * 260, lambda board: board.firmware),
])
def test_texts_are_read_whole_as_code_points(boards, setting, value, read_as):
    board = boards("model=remote", setting)
    assert read_as(relaylink.read(board.address)) == value


def test_code_points_up_to_ff_are_written_as_their_bytes(boards):
    board = boards("model=remote")
    relaylink.save(board.address, {"server": "s\u00e9rv\u00a0\u00ff.example"})
    assert any(line.endswith(",s\u00e9rv\u00a0\u00ff.example;") for line in board.writes())
    assert show_json(board.address)["settings"]["server"] == "s\u00e9rv\u00a0\u00ff.example"


@pytest.mark.parametrize("text", ["caf\u00e9\u20ac", "relay\0example", "\U0001f600"])
def test_text_that_is_no_boards_bytes_is_refused_naming_the_setting(boards, text):
    board = boards("model=remote")
    for call in (lambda: relaylink.save(board.address, {"server": text}),
                 lambda: relaylink.plan(relaylink.read(board.address), {"server": text})):
        with pytest.raises(relaylink.InvalidValue) as refused:
            call()
        assert (refused.value.code, refused.value.setting) == (None, "server")
        assert "server" in str(refused.value)
    assert board.writes() == []
