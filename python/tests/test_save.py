"""Saving through the library: nothing to change, a change and the restart,
values the library rejects, and writes the board refuses."""

import pytest
from conftest import show_json

import relaylink

REMOTE = ("model=remote", "keys=12312312")


def test_nothing_to_change(boards):
    board = boards(*REMOTE)
    number = int(board.address.rsplit(".", 1)[1])
    result = relaylink.save(board.address, {"ip": f"127.050.{board.address.split('.')[2]}.{number:03d}",
                                            "server": " relay.example.net ", "keys": "12312312",
                                            "restore": False})
    assert (result.changed, result.restarted, result.code) == (False, False, 3002)
    assert result.message == "Config was saved successfully."
    assert result.changes == []
    assert board.writes() == []


def test_change_is_written_and_the_board_restarted(boards):
    board = boards(*REMOTE)
    before = relaylink.read(board.address)
    result = relaylink.save(board.address, {"gateway": "127.0.0.9", "key3": "keep", "restore": True,
                                            "password": "654321", "dns": None})
    assert (result.changed, result.restarted, result.code) == (True, True, 3001)
    assert result.message == "Config was saved successfully, and device was restarted."
    assert result.changes == relaylink.plan(before, {"gateway": "127.0.0.9", "key3": "keep", "restore": True,
                                                     "password": "654321"})
    assert [change.setting for change in result.changes] == ["gateway", "keys", "restore", "password"]
    settings = show_json(board.address)["settings"]
    assert (settings["gateway"], settings["keys"], settings["restore"], settings["password"]) == (
        "127.0.0.9", "12112312", True, "654321")


def test_remote_values_are_written_only_while_remote_control_is_on(boards):
    board = boards(*REMOTE)
    result = relaylink.save(board.address, {"remote": False, "dns": "127.0.0.1", "password": "bad"})
    assert [change.setting for change in result.changes] == ["remote"]
    settings = show_json(board.address)["settings"]
    assert (settings["remote"], settings["dns"], settings["password"]) == (False, "127.0.0.53", "123456")


@pytest.mark.parametrize("setting, value, code, message", [
    ("ip", "127.50.0.256", 2001, "Wrong IP address."),
    ("mask", "255.255.0", 2002, "Subnet mask is wrong."),
    ("gateway", "127.0.0.one", 2003, "Gateway is wrong."),
    ("dns", "127.0.0.53.1", 2004, "DNS is wrong."),
    ("server", "relay;example", 2005, "Please enter the server for remote control."),
    ("password", "12345", 2006, "Password should be 6 digits."),
])
def test_value_the_library_rejects(boards, setting, value, code, message):
    board = boards(*REMOTE)
    before = relaylink.read(board.address)
    with pytest.raises(relaylink.InvalidValue) as rejected:
        relaylink.save(board.address, {setting: value})
    assert (rejected.value.code, rejected.value.message, rejected.value.setting) == (code, message, setting)
    assert isinstance(rejected.value, ValueError)
    assert board.writes() == []
    assert relaylink.read(board.address) == before
    with pytest.raises(relaylink.InvalidValue) as planned:
        relaylink.plan(before, {setting: value})
    assert planned.value.args == rejected.value.args


def test_setting_the_board_cannot_have_is_refused_before_sending(boards):
    board = boards("model=basic", "keys=none")
    with pytest.raises(relaylink.InvalidValue) as refused:
        relaylink.save(board.address, {"gateway": "127.0.0.9", "key1": "jog"})
    assert (refused.value.code, refused.value.setting) == (None, "keys")
    assert str(refused.value) == f"{board.address}: a basic board cannot take keys"
    assert board.writes() == []


@pytest.mark.parametrize("fault, failure, code, message", [
    ("--refuse", relaylink.Refused, 1002, "Operation failed."),
    ("--no-answer", relaylink.Timeout, 1003, "Communication time out."),
])
def test_write_the_board_fails(boards, fault, failure, code, message):
    board = boards(*REMOTE, fault, "4")
    with pytest.raises(failure) as failed:
        relaylink.save(board.address, {"gateway": "127.0.0.9"})
    assert (type(failed.value), failed.value.code, failed.value.message) == (failure, code, message)
    assert str(failed.value) == f"{board.address}: {message} ({code})"


def test_password_is_masked_in_reprs_and_messages(boards):
    board = boards(*REMOTE, "password=654321")
    read = relaylink.read(board.address)
    result = relaylink.save(board.address, {"password": "135790"})
    shown = [repr(read), str(read), repr(result), str(result)]
    for value in (135790, "13579\u20ac", b"135790"):
        with pytest.raises(relaylink.InvalidValue) as refused:
            relaylink.plan(read, {"password": value})
        shown += [repr(refused.value), str(refused.value)]
    assert "********" in shown[0] and "********" in shown[2]
    assert not [text for text in shown if "654321" in text or "13579" in text or "20AC" in text]


def test_restart_the_board_refuses(boards):
    board = boards(*REMOTE, "--refuse", "7")
    result = relaylink.save(board.address, {"gateway": "127.0.0.9"})
    assert (result.changed, result.restarted, result.code) == (True, False, 1002)
    assert [change.setting for change in result.changes] == ["gateway"]
    assert show_json(board.address)["settings"]["gateway"] == "127.0.0.9"


def test_board_not_reached(block):
    with pytest.raises(relaylink.Unreachable):
        relaylink.save(f"{block}.250", {"gateway": "127.0.0.9"})


@pytest.mark.parametrize("settings, setting", [
    ({"colour": "red"}, "colour"),
    ({"restore": "on"}, "restore"),
    ({"ip": 2130706433}, "ip"),
    ({"keys": "1231"}, "keys"),
    ({"key9": "jog"}, "key9"),
    ({"keys": "12312312", "key1": "jog"}, "keys"),
])
def test_settings_of_the_wrong_shape_are_refused_before_reading(block, settings, setting):
    with pytest.raises(relaylink.InvalidValue) as refused:
        relaylink.save(f"{block}.250", settings)  # no board there: nothing is tried
    assert (refused.value.code, refused.value.setting) == (None, setting)
