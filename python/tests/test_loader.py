"""Where the library is looked for and what is said when it is not found.
Python for Windows cannot run here, so the Windows search order is checked
with the platform, environment and loader handed in."""

import ctypes.util
import os
import subprocess
import sys
from pathlib import Path

import pytest

import relaylink
from relaylink import _library

PACKAGE = r"C:\relaylink-1.0-windows\x64\bin\relaylink"
CURRENT = {"win32": r"C:\work", "linux": "/work"}


def opener_finding(found):
    """A loader that records what it is given and loads only `found`."""
    tried = []

    def open_library(target):
        tried.append(target)
        if target != found:
            raise OSError(f"could not find {target}")
        return "library"

    return open_library, tried


def test_windows_order_beside_the_package_then_dll_search_then_path():
    places = _library.search_places("win32", {"PATH": r"C:\Windows\system32;;D:\tools"}, PACKAGE, CURRENT["win32"])
    assert [place.target for place in places] == [
        r"C:\relaylink-1.0-windows\x64\bin\relaylink.dll", "relaylink.dll",
        r"C:\Windows\system32\relaylink.dll", r"D:\tools\relaylink.dll"]


@pytest.mark.parametrize("found", [r"C:\relaylink-1.0-windows\x64\bin\relaylink.dll", "relaylink.dll",
                                   r"D:\tools\relaylink.dll"])
def test_windows_takes_the_first_place_that_loads(found):
    places = _library.search_places("win32", {"PATH": r"C:\Windows\system32;D:\tools"}, PACKAGE, CURRENT["win32"])
    open_library, tried = opener_finding(found)
    assert _library.open_first(places, open_library) == "library"
    assert tried == [place.target for place in places][:tried.index(found) + 1]


def test_windows_error_names_every_place():
    places = _library.search_places("win32", {"PATH": r"C:\Windows\system32;D:\tools"}, PACKAGE, CURRENT["win32"])
    open_library, tried = opener_finding(None)
    with pytest.raises(relaylink.LibraryNotFound) as missing:
        _library.open_first(places, open_library)
    assert isinstance(missing.value, OSError)
    message = str(missing.value)
    for place in places:
        assert f"{place.where}: could not find {place.target}" in message
    assert "(beside the package)" in message and "os.add_dll_directory" in message and "(PATH)" in message
    assert "RELAYLINK_LIBRARY" in message


@pytest.mark.parametrize("platform, given, file", [
    ("win32", r"D:\relaylink.dll", r"D:\relaylink.dll"),
    ("linux", "/opt/relaylink.so", "/opt/relaylink.so"),
    ("win32", "relaylink.dll", r"C:\work\relaylink.dll"),
    ("linux", "librelaylink.so.1", "/work/librelaylink.so.1"),
    ("linux", "lib/librelaylink.so.1", "/work/lib/librelaylink.so.1"),
])
def test_environment_variable_names_the_only_file_tried(platform, given, file):
    places = _library.search_places(platform, {"RELAYLINK_LIBRARY": given, "PATH": "C:\\x"}, PACKAGE,
                                    CURRENT[platform])
    assert [(place.target, place.where) for place in places] == [(file, f"{file} (from RELAYLINK_LIBRARY={given})")]


def test_linux_looks_through_the_dynamic_linker():
    places = _library.search_places("linux", {"RELAYLINK_LIBRARY": "", "PATH": "/usr/bin"}, "/x/relaylink", "/work")
    assert [place.target for place in places] == ["librelaylink.so.1"]
    assert "LD_LIBRARY_PATH" in places[0].where


def test_real_loader_tells_each_place_and_why(tmp_path):
    absent = str(tmp_path / "librelaylink.so.1")
    other = ctypes.util.find_library("m")  # a library, but not relaylink's
    places = [_library.Place(absent, f"{absent} (first)"), _library.Place(other, f"{other} (second)")]
    with pytest.raises(relaylink.LibraryNotFound) as missing:
        _library.open_first(places, _library.open_library)
    message = str(missing.value)
    assert f"{absent} (first): {absent}: cannot open shared object file" in message
    assert f"{other} (second): it lacks the export ReadDeviceCfg: not relaylink's library" in message


def test_missing_library_is_reported_on_first_use(tmp_path):
    absent = str(tmp_path / "nowhere" / "librelaylink.so.1")
    script = ("import relaylink\n"
              "board = relaylink.Board.from_backup({'format': 'relayctl-backup', 'format_version': 1,"
              " 'capabilities': {'remote_control': False, 'keys': False}, 'settings': {}})\n"
              "try:\n    relaylink.read('127.50.0.1')\n"
              "except relaylink.LibraryNotFound as error:\n    print(error)\n")
    run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                         env={**os.environ, "RELAYLINK_LIBRARY": absent},
                         cwd=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    assert run.stderr == ""
    assert run.stdout.startswith(
        f"127.50.0.1: cannot load relaylink's library; looked at:\n  {absent} (from RELAYLINK_LIBRARY={absent}): ")


def test_library_path_is_the_file_loaded():
    assert relaylink.library_path() == os.path.abspath(os.environ["RELAYLINK_LIBRARY"])


def test_library_is_found_by_name_through_the_dynamic_linker():
    folder = os.path.dirname(os.path.abspath(os.environ["RELAYLINK_LIBRARY"]))
    environment = {name: value for name, value in os.environ.items() if name != "RELAYLINK_LIBRARY"}
    run = subprocess.run([sys.executable, "-c", "import relaylink; print(relaylink.library_path())"],
                         capture_output=True, text=True, env={**environment, "LD_LIBRARY_PATH": folder},
                         cwd=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    assert (run.stderr, run.stdout) == ("", os.path.join(folder, "librelaylink.so.1") + "\n")


def test_every_export_is_bound():
    exports = Path(__file__).resolve().parents[2] / "relaylink" / "exports.txt"
    assert sorted(_library.PROTOTYPES) == exports.read_text().split()


@pytest.mark.parametrize("beside", [True, False])
def test_bare_name_in_the_variable_is_the_file_in_the_current_folder(tmp_path, beside):
    library = os.path.abspath(os.environ["RELAYLINK_LIBRARY"])
    folder = os.path.dirname(library) if beside else str(tmp_path)
    script = ("import relaylink\ntry:\n    print(relaylink.library_path())\n"
              "except relaylink.LibraryNotFound as error:\n    print(error)\n")
    package = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, cwd=folder,
                         env={**os.environ, "RELAYLINK_LIBRARY": os.path.basename(library),
                              "LD_LIBRARY_PATH": os.path.dirname(library), "PYTHONPATH": package})
    expected = os.path.join(folder, os.path.basename(library))
    assert run.stderr == ""
    assert run.stdout.startswith(expected + "\n" if beside else "cannot load relaylink's library; looked at:\n"
                                 f"  {expected} (from RELAYLINK_LIBRARY={os.path.basename(library)}): ")
