"""A board as read, and relayctl's backup format (a JSON object) of it."""

from __future__ import annotations

from dataclasses import dataclass
from typing import Any, Dict, Mapping, Optional, Union

from ._errors import InvalidValue
from ._settings import BY_NAME, SETTING_NAMES, board_has

BACKUP_FORMAT = "relayctl-backup"
BACKUP_FORMAT_VERSION = 1

SettingValue = Union[str, bool, None]
MASK = "********"


def board_text(value: str, setting: str) -> str:
    """`value` when it is a board's text: code points up to U+00FF (each the
    byte of the same number) and no NUL; else InvalidValue naming `setting`
    (and, but in a password, the character)."""
    name = setting.rpartition(".")[2]
    for c in value:
        if ord(c) > 0xFF:
            character = "a character" if name == "password" else f"the character U+{ord(c):04X}"
            raise InvalidValue(None, f"{setting} has {character} above U+00FF; a board's texts are single bytes",
                               name)
        if c == "\0":
            raise InvalidValue(None, f"{setting} holds a NUL character; a board's texts are single bytes", name)
    return value


def masked(settings: Mapping[str, SettingValue]) -> Dict[str, SettingValue]:
    """`settings` with a password's digits hidden, for what is shown or logged."""
    return {name: MASK if name == "password" and value is not None else value for name, value in settings.items()}


def model_name(capabilities: Mapping[str, bool]) -> str:
    """The model's name: "remote control", "keys" or "basic"."""
    if capabilities["remote_control"]:
        return "remote control"
    return "keys" if capabilities["keys"] else "basic"


@dataclass(frozen=True)
class Board:
    """One board as read (or as a backup records it), in the JSON form of
    relayctl's ``show --json``.

    ``model`` is "remote control", "keys" or "basic"; ``firmware`` ("1.0.x")
    and ``device_id`` are None when the board reports none.
    ``capabilities`` is ``{"remote_control": bool, "keys": bool}``.
    ``settings`` has every name of relayctl: ``ip``, ``mask``, ``gateway``,
    ``dns``, ``server``, ``password`` (texts), ``keys`` (eight characters,
    key 1 first: 1 keep, 2 follow, 3 jog; any other character as the board
    reports it), ``restore`` and ``remote`` (bools); a setting the board
    cannot have is None. Texts are the board's bytes as the characters of
    the same numbers (latin-1), read whole whatever their length. Its repr
    (and str) shows the password as ``********``.
    """

    address: str
    model: str
    firmware: Optional[str]
    device_id: Optional[str]
    capabilities: Dict[str, bool]
    settings: Dict[str, SettingValue]

    def __repr__(self) -> str:  # a password's digits never go to a log
        return (f"Board(address={self.address!r}, model={self.model!r}, firmware={self.firmware!r}, "
                f"device_id={self.device_id!r}, capabilities={self.capabilities!r}, "
                f"settings={masked(self.settings)!r})")

    def to_backup(self) -> Dict[str, Any]:
        """relayctl's backup of the board (``relayctl backup``): write it with
        ``json.dump(board.to_backup(), file, indent=2, ensure_ascii=False)``.
        It holds the password, so keep the file private."""
        return {
            "format": BACKUP_FORMAT,
            "format_version": BACKUP_FORMAT_VERSION,
            "address": self.address,
            "model": self.model,
            "firmware": self.firmware,
            "device_id": self.device_id,
            "capabilities": {"remote_control": self.capabilities["remote_control"],
                             "keys": self.capabilities["keys"]},
            "settings": {name: self.settings.get(name) for name in SETTING_NAMES},
        }

    @classmethod
    def from_backup(cls, backup: Mapping[str, Any]) -> "Board":
        """The board a relayctl backup (parsed JSON) records, checked as relayctl
        checks it before a restore; InvalidValue naming the field otherwise.

        A setting that is null or left out is None (left as the board has it
        when saved); a key mode outside 1..3 is kept as the file has it, and a
        save leaves that key as the board has it. The model follows from the
        capabilities.
        """
        if not isinstance(backup, Mapping):
            raise InvalidValue(None, "a backup is a JSON object", "format")
        if backup.get("format") != BACKUP_FORMAT:
            raise InvalidValue(None, f'not a relayctl backup ("format": "{BACKUP_FORMAT}" missing)', "format")
        version = backup.get("format_version")
        if type(version) is not int or version < 1:
            raise InvalidValue(None, "format_version must be a whole number from 1", "format_version")
        if version > BACKUP_FORMAT_VERSION:
            raise InvalidValue(None, f"backup format {version} is newer than this binding reads "
                               f"({BACKUP_FORMAT_VERSION})", "format_version")
        device_id = backup.get("device_id")
        if device_id is not None:
            if not isinstance(device_id, str):
                raise InvalidValue(None, "device_id must be a text or null", "device_id")
            board_text(device_id, "device_id")
        capabilities = _capabilities(backup.get("capabilities"))
        settings = _checked_settings(backup.get("settings"), capabilities)
        address = backup.get("address")
        firmware = backup.get("firmware")
        return cls(address=address if isinstance(address, str) else "",
                   model=model_name(capabilities),
                   firmware=firmware if isinstance(firmware, str) else None,
                   device_id=device_id,
                   capabilities=capabilities,
                   settings=settings)


def _capabilities(entry: Any) -> Dict[str, bool]:
    if not isinstance(entry, Mapping):
        raise InvalidValue(None, "capabilities must be an object", "capabilities")
    capabilities = {}
    for name in ("remote_control", "keys"):
        if not isinstance(entry.get(name), bool):
            raise InvalidValue(None, f"capabilities.{name} must be true or false", "capabilities")
        capabilities[name] = entry[name]
    return capabilities


def _checked_settings(entry: Any, capabilities: Mapping[str, bool]) -> Dict[str, SettingValue]:
    if not isinstance(entry, Mapping):
        raise InvalidValue(None, "settings must be an object", "settings")
    for name in entry:
        if name not in SETTING_NAMES:
            raise InvalidValue(None, f'unknown setting "{name}"', str(name))
    settings: Dict[str, SettingValue] = {}
    for name in SETTING_NAMES:
        value = entry.get(name)
        if value is not None:
            flag = BY_NAME[name].kind == "flag"
            if not isinstance(value, bool if flag else str):
                raise InvalidValue(None, f"settings.{name} must be {'true or false' if flag else 'a text'}",
                                   name)
            if not flag:
                board_text(value, f"settings.{name}")
            if name == "keys" and len(value) != 8:
                raise InvalidValue(None, "settings.keys must be eight digits, key 1 first "
                                   "(1 keep, 2 follow, 3 jog)", name)
        settings[name] = value
    for name in SETTING_NAMES:
        if settings[name] is not None and not board_has(name, capabilities):
            raise InvalidValue(None, f"settings.{name} is given but the capabilities record the board "
                               "without it", name)
    return settings
