"""A board's texts as Python str: code points up to U+00FF, each the byte of
the same number, both ways."""

import pytest
from conftest import show_json

import relaylink


def test_bytes_above_127_are_read_as_their_code_points(boards):
    board = boards("model=remote", b"server=caf\xe9.\xff")
    assert relaylink.read(board.address).settings["server"] == "caf\u00e9.\u00ff"


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
