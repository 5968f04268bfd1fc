"""plan() without the library: a backup's board is planned in a process
that has none. (test_differential proves plan equal to the library's writes.)"""

import os
import subprocess
import sys

import relaylink


def test_plan_of_a_backup_needs_no_library(tmp_path):
    board = relaylink.Board.from_backup({
        "format": "relayctl-backup", "format_version": 1,
        "capabilities": {"remote_control": False, "keys": True},
        "settings": {"ip": "127.50.0.1", "mask": "255.0.0.0", "gateway": "127.0.0.254", "keys": "12312312",
                     "restore": False}})
    script = ("import relaylink, sys; board = relaylink.Board.from_backup(eval(sys.argv[1]));"
              "print(relaylink.plan(board, {'ip': '127.050.0.001', 'key2': 'jog', 'restore': True}))")
    run = subprocess.run([sys.executable, "-c", script, repr(board.to_backup())], capture_output=True, text=True,
                         env={**os.environ, "RELAYLINK_LIBRARY": str(tmp_path / "absent.so")},
                         cwd=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    assert run.stderr == ""
    assert run.stdout == ("[Change(setting='keys', before='12312312', after='13312312'), "
                          "Change(setting='restore', before=False, after=True)]\n")
