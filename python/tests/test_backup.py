"""Board.to_backup and Board.from_backup against relayctl's own backup files."""

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
