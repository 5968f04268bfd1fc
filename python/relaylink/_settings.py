"""The settings of a board: their names, kinds, what a board needs to have
them, the library's getter and setter of each, and the status code and
message with which the library's save rejects a value. SETTINGS is written by
scripts/settings-tables from common/BoardSettings.h."""

from __future__ import annotations

from dataclasses import dataclass
from typing import Dict, Mapping, Optional, Tuple


@dataclass(frozen=True)
class Setting:
    """One setting. Kinds: "address", "keys" (eight characters, key 1 first),
    "flag", "text" (the server name), "password"."""

    name: str
    kind: str
    needs_keys: bool
    needs_remote: bool
    getter: str
    setter: str
    rejected: Optional[Tuple[int, str]]  # (code, message) of a value the save rejects


# settings-tables: begin
# In the order in which the library's save writes them.
SETTINGS = (
    Setting("ip", "address", False, False, "GetIpAddr", "SetIpAddr", (2001, "Wrong IP address.")),
    Setting("mask", "address", False, False, "GetSubMask", "SetSubMask", (2002, "Subnet mask is wrong.")),
    Setting("gateway", "address", False, False, "GetGateway", "SetGateway", (2003, "Gateway is wrong.")),
    Setting("keys", "keys", True, False, "GetButtonCfg", "SetButtonCfg", None),
    Setting("restore", "flag", False, False, "GetRestoreState", "SetRestoreState", None),
    Setting("remote", "flag", False, True, "GetEnableWeb", "SetEnableWeb", None),
    Setting("dns", "address", False, True, "GetDns", "SetDns", (2004, "DNS is wrong.")),
    Setting("server", "text", False, True, "GetWebServer", "SetWebServer",
            (2005, "Please enter the server for remote control.")),
    Setting("password", "password", False, True, "GetPassword", "SetPassword", (2006, "Password should be 6 digits.")),
)
# settings-tables: end
SETTING_NAMES = tuple(setting.name for setting in SETTINGS)
BY_NAME: Dict[str, Setting] = {setting.name: setting for setting in SETTINGS}
# The setting whose value each code 2001..2006 rejects.
REJECTED_SETTING = {setting.rejected[0]: setting.name for setting in SETTINGS if setting.rejected}


def board_has(name: str, capabilities: Mapping[str, bool]) -> bool:
    """Whether a board with `capabilities` has the setting `name`."""
    setting = BY_NAME[name]
    return ((not setting.needs_keys or capabilities["keys"]) and
            (not setting.needs_remote or capabilities["remote_control"]))
