from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json

import pytest

from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import config_result, setting_lines

SUMMARY = {'summary': {'boards': 1, 'took': 1, 'not_started': 0, 'exit_status': 0}}
SERVER = {'setting': 'server', 'before': 'relay.example.net', 'after': 'summary.example.net'}


def output(board):
    return json.dumps(board) + '\n' + json.dumps(SUMMARY) + '\n'


# relayctl's board object, its exit status, whether in check mode, and what
# of board_config's result follows.
@pytest.mark.parametrize('board, status, check_mode, expected', [
    pytest.param({'result': 'would-change', 'changed': True, 'changes': [SERVER]}, 5, True,
                 {'changed': True, 'changes': [SERVER], 'verified': None, 'failed': None}, id='a server named summary'),
    pytest.param({'result': 'rejected', 'changed': False, 'changes': [SERVER], 'restarted': False, 'verified': False}, 1,
                 False, {'changed': False, 'verified': None, 'failed': True, 'status': 1}, id='refused, changes listed'),
    pytest.param({'result': 'ok', 'changed': False, 'changes': [], 'restarted': False, 'verified': False}, 0, False,
                 {'changed': False, 'verified': None, 'failed': None}, id='nothing to write, nothing read back'),
    pytest.param({'result': 'ok', 'changed': True, 'changes': [SERVER], 'restarted': True, 'verified': True}, 0, False,
                 {'changed': True, 'verified': True, 'restarted': True}, id='written and verified'),
    pytest.param({'result': 'ok', 'changed': True, 'changes': [SERVER], 'restarted': True, 'verified': False}, 0, False,
                 {'changed': True, 'verified': False}, id='written, not verified'),
    pytest.param({'result': 'partly', 'changed': True, 'changes': [SERVER], 'restarted': False, 'verified': False}, 4,
                 False, {'changed': True, 'verified': False, 'failed': True, 'status': 4}, id='partly written'),
    pytest.param({'result': 'would-change', 'changed': True,
                  'changes': [{'setting': 'password', 'before': '********', 'after': '********'}]}, 5, True,
                 {'changes': [{'setting': 'password', 'before': '********', 'after': '******** (changed)'}]},
                 id='a new password'),
])
def test_config_result(board, status, check_mode, expected):
    board = dict(board, address='10.0.0.7', message='relayctl says')
    result = config_result('10.0.0.7', status, output(board), '', check_mode)
    assert dict((key, result.get(key)) for key in expected) == expected


@pytest.mark.parametrize('settings, lines', [
    ({'restore': True, 'key3': 'jog', 'password': '012345', 'dns': None}, 'key3=jog\nrestore=on\npassword=012345\n'),
    ({'server': 'relay.example.net\npassword=000000'}, None),
    ({'server': 'relay.example.net\r'}, None),
])
def test_setting_lines(settings, lines):
    if lines is not None:
        assert setting_lines(settings) == lines
        return
    with pytest.raises(ValueError) as raised:
        setting_lines(settings)
    assert str(raised.value) == 'settings.server holds a line break, which no setting takes'
