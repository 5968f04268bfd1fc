"""The binding's own copies of the library's and relayctl's rules, on the
cases the C++ tests run on the library and relayctl (tests/cases)."""

import pytest
from cases import cases

import relaylink
from relaylink import _board, _device, _plan, _rules

# Each table of tests/cases/rules.json: the binding's rule that its rows' inputs go to.
RULES = {
    "addresses": _rules.normal_address,
    "integers": _rules.str_to_int,
    "items": _rules.split_items,
    "trimmed": _rules.trim_control,
    "passwords": _rules.is_valid_password,
    "servers": lambda text: _rules.is_sendable_server(_rules.trim_control(text)),
    "models": lambda remote_control, keys: _board.model_name({"remote_control": remote_control, "keys": keys}),
    "password_mask": lambda: _board.MASK,
    "key_modes": lambda word: _plan.parse_settings({"key3": word})["keys"][2],
    "board_addresses": _device.board_address,
}


@pytest.mark.parametrize("table, row", [(table, row) for table in RULES for row in cases("rules", table)])
def test_rule(table, row):
    *inputs, verdict = row
    if verdict is None and table in ("key_modes", "board_addresses"):
        with pytest.raises(relaylink.InvalidValue) as refused:
            RULES[table](*inputs)
        assert (refused.value.code, refused.value.setting) == (None, "keys" if table == "key_modes" else "address")
    else:
        assert RULES[table](*inputs) == verdict


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
