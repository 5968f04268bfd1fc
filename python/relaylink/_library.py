"""Finding, loading and binding the shared library relaylink: its 28 exports
with the prototypes of relaylink.h (``__stdcall`` on 32-bit Windows)."""

from __future__ import annotations

import ctypes
import ntpath
import os
import posixpath
import sys
import threading
from dataclasses import dataclass
from typing import Callable, List, Mapping, Optional, Tuple

from ._errors import LibraryNotFound
from ._settings import SETTINGS

LIBRARY_VARIABLE = "RELAYLINK_LIBRARY"
LINUX_NAME = "librelaylink.so.1"
WINDOWS_NAME = "relaylink.dll"

_short, _ushort, _text = ctypes.c_short, ctypes.c_ushort, ctypes.c_char_p
# (result, arguments) of a setting's getter and setter, by its kind.
_GETTER_OF_KIND = {"flag": (_short, []), "keys": (_short, [_short])}
_SETTER_OF_KIND = {"flag": (_short, [_short]), "keys": (_short, [_short, _short])}
_TEXT_GETTER = (_short, [_text, _ushort])
_TEXT_SETTER = (_short, [_text])
# Name: (result, arguments) of each export.
PROTOTYPES = {
    "ReadDeviceCfg": (_short, [_text]),
    "SaveDeviceCfg": (_short, []),
    "GetErrorCode": (_short, []),
    "GetErrorMsg": (ctypes.c_void_p, [_text, _ushort]),
    **{name: (_short, []) for name in ("DeviceCfgReady", "CanCfgWeb", "CanCfgButton", "CanCfgMisc")},
    "GetVersion": _TEXT_GETTER,
    "GetDeviceId": _TEXT_GETTER,
    **{setting.getter: _GETTER_OF_KIND.get(setting.kind, _TEXT_GETTER) for setting in SETTINGS},
    **{setting.setter: _SETTER_OF_KIND.get(setting.kind, _TEXT_SETTER) for setting in SETTINGS},
}


@dataclass(frozen=True)
class Place:
    """One place the library is looked for: what the loader is given, and how
    an error names it."""

    target: str
    where: str


def search_places(platform: str, environ: Mapping[str, str], package_folder: str,
                  current_folder: str) -> List[Place]:
    """Where the library is looked for, in order, on `platform` (sys.platform).

    The file named by RELAYLINK_LIBRARY, when set, and nothing else: a name
    without a folder is the file of that name in `current_folder`, never one
    the system's loader would search for. Otherwise on Windows: relaylink.dll
    in the folder that holds the package folder (the ZIP's bin folder), then
    by name through Windows' DLL search (the program's folder, System32,
    folders given to os.add_dll_directory), then in each folder of PATH;
    elsewhere librelaylink.so.1 through the dynamic linker (LD_LIBRARY_PATH,
    the ld.so cache, the system's library folders).
    """
    paths = ntpath if platform == "win32" else posixpath
    override = environ.get(LIBRARY_VARIABLE)
    if override:
        file = paths.join(current_folder, override)  # an absolute override stays as it is
        return [Place(file, f"{file} (from {LIBRARY_VARIABLE}={override})")]
    if platform != "win32":
        return [Place(LINUX_NAME, f"{LINUX_NAME} through the dynamic linker "
                      "(LD_LIBRARY_PATH, the ld.so cache, the system's library folders)")]
    beside = ntpath.join(ntpath.dirname(package_folder), WINDOWS_NAME)
    places = [Place(beside, f"{beside} (beside the package)"),
              Place(WINDOWS_NAME, f"{WINDOWS_NAME} through Windows' DLL search "
                    "(the program's folder, System32, folders given to os.add_dll_directory)")]
    for folder in environ.get("PATH", "").split(";"):
        if folder:
            path = ntpath.join(folder, WINDOWS_NAME)
            places.append(Place(path, f"{path} (PATH)"))
    return places


def bind(library: ctypes.CDLL) -> ctypes.CDLL:
    """`library` with the prototype of every export set; OSError naming the
    first export it lacks."""
    for name, (result, arguments) in PROTOTYPES.items():
        try:
            function = getattr(library, name)
        except AttributeError:
            raise OSError(f"it lacks the export {name}: not relaylink's library") from None
        function.restype = result
        function.argtypes = arguments
    return library


def open_library(target: str) -> ctypes.CDLL:
    """Loads and binds the library at `target` (a path or a name)."""
    if sys.platform == "win32":  # __stdcall on 32-bit Windows
        return bind(ctypes.WinDLL(target))
    return bind(ctypes.CDLL(target))


def open_first(places: List[Place], opener: Callable[[str], ctypes.CDLL]) -> ctypes.CDLL:
    """The library at the first of `places` that `opener` loads;
    LibraryNotFound naming each place with the reason it failed when none does."""
    failures = []
    for place in places:
        try:
            return opener(place.target)
        except OSError as error:
            failures.append(f"  {place.where}: {error}")
    hint = (f"set {LIBRARY_VARIABLE} to the library's file, or put {WINDOWS_NAME} beside the package folder"
            if any(place.target == WINDOWS_NAME for place in places) else
            f"set {LIBRARY_VARIABLE} to the library's file, or install it (Debian package librelaylink1)")
    raise LibraryNotFound("cannot load relaylink's library; looked at:\n" + "\n".join(failures) + "\n" + hint)


class _DlInfo(ctypes.Structure):
    _fields_ = [("dli_fname", ctypes.c_char_p), ("dli_fbase", ctypes.c_void_p),
                ("dli_sname", ctypes.c_char_p), ("dli_saddr", ctypes.c_void_p)]


def loaded_file(library: ctypes.CDLL) -> str:
    """The file from which `library` was loaded, as the system's loader tells it."""
    if sys.platform == "win32":
        get_name = ctypes.windll.kernel32.GetModuleFileNameW
        get_name.argtypes = [ctypes.c_void_p, ctypes.c_wchar_p, ctypes.c_uint32]
        get_name.restype = ctypes.c_uint32
        buffer = ctypes.create_unicode_buffer(32768)
        get_name(library._handle, buffer, len(buffer))
        return buffer.value
    dladdr = ctypes.CDLL(None).dladdr
    dladdr.argtypes = [ctypes.c_void_p, ctypes.POINTER(_DlInfo)]
    dladdr.restype = ctypes.c_int
    info = _DlInfo()
    dladdr(ctypes.cast(library.ReadDeviceCfg, ctypes.c_void_p), ctypes.byref(info))
    return os.path.abspath(os.fsdecode(info.dli_fname))


_loaded: Optional[Tuple[ctypes.CDLL, str]] = None
_loading = threading.Lock()


def _load() -> Tuple[ctypes.CDLL, str]:
    global _loaded
    with _loading:
        if _loaded is None:
            package_folder = os.path.dirname(os.path.abspath(__file__))
            places = search_places(sys.platform, os.environ, package_folder, os.getcwd())
            library = open_first(places, open_library)
            _loaded = library, loaded_file(library)
        return _loaded


def library() -> ctypes.CDLL:
    """The bound library, loaded on first use."""
    return _load()[0]


def library_path() -> str:
    """The file of the library in use (loading it on first use):
    LibraryNotFound, naming every place looked at, when there is none."""
    return _load()[1]
