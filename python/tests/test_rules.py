"""The binding's own copies of the library's and relayctl's rules, on the
cases the C++ tests run on the library and relayctl (tests/cases)."""

import pytest
from cases import cases

import relaylink
from relaylink import _board, _device, _plan, _rules


@pytest.mark.parametrize("text, normal", cases("rules", "addresses"))
def test_address(text, normal):
    assert _rules.normal_address(text) == normal


@pytest.mark.parametrize("text, normal", cases("rules", "board_addresses"))
def test_board_address(text, normal):
    if normal is not None:
        assert _device.board_address(text) == normal
        return
    with pytest.raises(relaylink.InvalidValue) as refused:
        _device.board_address(text)
    assert (refused.value.code, refused.value.setting) == (None, "address")


@pytest.mark.parametrize("text, value", cases("rules", "integers"))
def test_integer(text, value):
    assert _rules.str_to_int(text) == value


@pytest.mark.parametrize("text, separator, items", cases("rules", "items"))
def test_items(text, separator, items):
    assert _rules.split_items(text, separator) == items


@pytest.mark.parametrize("text, trimmed", cases("rules", "trimmed"))
def test_trimmed(text, trimmed):
    assert _rules.trim_control(text) == trimmed


@pytest.mark.parametrize("text, accepted", cases("rules", "passwords"))
def test_password(text, accepted):
    assert _rules.is_valid_password(text) == accepted


@pytest.mark.parametrize("text, accepted", cases("rules", "servers"))
def test_server(text, accepted):
    assert _rules.is_sendable_server(_rules.trim_control(text)) == accepted


@pytest.mark.parametrize("word, digit", cases("rules", "key_modes"))
def test_key_mode(word, digit):
    if digit is not None:
        assert _plan.parse_settings({"key3": word}) == {"keys": f"--{digit}-----"}
        return
    with pytest.raises(relaylink.InvalidValue) as refused:
        _plan.parse_settings({"key3": word})
    assert (refused.value.code, refused.value.setting) == (None, "keys")


@pytest.mark.parametrize("remote_control, keys, name", cases("rules", "models"))
def test_model_name(remote_control, keys, name):
    assert _board.model_name({"remote_control": remote_control, "keys": keys}) == name


def test_password_mask():
    assert [[_board.MASK]] == cases("rules", "password_mask")


@pytest.mark.parametrize("case", cases("backups"))
def test_backup(case):
    if case["refused"] is None:
        settings = relaylink.Board.from_backup(case["file"]).settings
        assert settings == {name: case["file"]["settings"].get(name) for name in settings}
        return
    with pytest.raises(relaylink.InvalidValue) as refused:
        relaylink.Board.from_backup(case["file"])
    assert case["refused"] in refused.value.message
    assert (refused.value.code, refused.value.setting) == (None, case["setting"])
