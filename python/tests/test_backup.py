"""Board.to_backup and Board.from_backup against relayctl's own backup files."""

import copy
import json

import pytest
from conftest import relayctl, show_json

import relaylink

MODELS = [("model=remote", "keys=12312312", b"server=caf\xe9.example"),
          ("model=remote", "keys=none", "remote=off"),
          ("model=basic", "keys=31231231", "restore=on"),
          ("model=basic", "keys=none")]


def relayctl_backup(address, path):
    relayctl("backup", address, "-o", str(path), check=True)
    return path.read_text(encoding="utf-8")


@pytest.mark.parametrize("arguments", MODELS)
def test_round_trip_of_relayctls_backup(boards, tmp_path, arguments):
    board = boards(*arguments)
    text = relayctl_backup(board.address, tmp_path / "board.json")
    restored = relaylink.Board.from_backup(json.loads(text))
    assert restored == relaylink.read(board.address)
    assert json.dumps(restored.to_backup(), indent=2, ensure_ascii=False) + "\n" == text


def test_restore_of_relayctls_backup(boards, tmp_path):
    board = boards("model=remote", "keys=12312312")
    text = relayctl_backup(board.address, tmp_path / "board.json")
    relaylink.save(board.address, {"gateway": "127.0.0.9", "keys": "33333333", "remote": False})
    result = relaylink.save(board.address, relaylink.Board.from_backup(json.loads(text)).settings)
    assert [change.setting for change in result.changes] == ["gateway", "keys", "remote"]
    assert result.restarted
    assert {**show_json(board.address), "format": "relayctl-backup", "format_version": 1} == json.loads(text)


def test_backup_with_some_settings_changes_only_those(boards):
    board = boards("model=remote", "keys=12312312")
    backup = {"format": "relayctl-backup", "format_version": 1,
              "capabilities": {"remote_control": True, "keys": False}, "settings": {"restore": True}}
    restored = relaylink.Board.from_backup(backup)
    assert restored.settings["restore"] is True
    assert [name for name, value in restored.settings.items() if value is not None] == ["restore"]
    result = relaylink.save(board.address, restored.settings)
    assert [(change.setting, change.after) for change in result.changes] == [("restore", True)]


def test_key_outside_1_to_3_is_kept_and_left_as_the_board_has_it(boards):
    board = boards("model=basic", "keys=12312312")
    backup = relaylink.read(board.address).to_backup()
    backup["settings"]["keys"] = "30312310"
    restored = relaylink.Board.from_backup(backup)
    assert restored.to_backup() == backup
    result = relaylink.save(board.address, restored.settings)
    assert [(change.setting, change.after) for change in result.changes] == [("keys", "32312312")]


FULL = {"format": "relayctl-backup", "format_version": 1, "address": "127.50.0.1", "model": "keys",
        "firmware": None, "device_id": None, "capabilities": {"remote_control": False, "keys": True},
        "settings": {"ip": "127.50.0.1", "mask": "255.0.0.0", "gateway": "127.0.0.254", "keys": "12312312",
                     "restore": False, "remote": None, "dns": None, "server": None, "password": None}}


def edited(path, value):
    backup = copy.deepcopy(FULL)
    *outer, last = path
    target = backup
    for name in outer:
        target = target[name]
    if value is KeyError:
        del target[last]
    else:
        target[last] = value
    return backup


@pytest.mark.parametrize("path, value, setting", [
    (("format",), "relayctl-backup-2", "format"),
    (("format_version",), 2, "format_version"),
    (("format_version",), 1.0, "format_version"),
    (("format_version",), True, "format_version"),
    (("capabilities", "keys"), KeyError, "capabilities"),
    (("settings",), [], "settings"),
    (("settings", "colour"), "red", "colour"),
    (("settings", "restore"), "off", "restore"),
    (("settings", "keys"), "1231", "keys"),
    (("settings", "gateway"), "127.0.0.\u20ac", "gateway"),
    (("settings", "gateway"), "127.0.0.\0", "gateway"),
    (("settings", "password"), "12345\u20ac", "password"),
    (("settings", "dns"), "127.0.0.53", "dns"),
    (("device_id",), 7, "device_id"),
])
def test_file_relayctl_refuses_is_refused(block, tmp_path, path, value, setting):
    assert relaylink.Board.from_backup(FULL).to_backup() == FULL
    backup = edited(path, value)
    with pytest.raises(relaylink.InvalidValue) as refused:
        relaylink.Board.from_backup(backup)
    assert refused.value.setting == setting
    assert refused.value.code is None
    assert "U+20AC" not in str(refused.value) or setting != "password"  # never a character of the password
    file = tmp_path / "edited.json"
    file.write_text(json.dumps(backup), encoding="utf-8")
    assert relayctl("restore", f"{block}.250", str(file), "--check").returncode == 64  # refused before reading
