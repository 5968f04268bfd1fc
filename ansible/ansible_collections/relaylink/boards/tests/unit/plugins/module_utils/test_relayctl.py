from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json
import os
import stat

import pytest

from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import (
    backup_file_name, board_address, config_command, config_result, configure, find_relayctl, info_result, run,
    setting_lines, shown, write_new_file)

SUMMARY = {'summary': {'boards': 1, 'took': 1, 'not_started': 0, 'exit_status': 0}}
SERVER = {'setting': 'server', 'before': 'relay.example.net', 'after': 'summary.example.net'}
HOSTILE_SERVER = {'setting': 'server', 'before': 'A\x1b[2J\x1b]0;PWNED\x07Z', 'after': 'a\x9bb'}


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
    pytest.param({'result': 'would-change', 'changed': True, 'changes': [HOSTILE_SERVER]}, 5, True,
                 {'changes': [{'setting': 'server', 'before': 'A\\x1b[2J\\x1b]0;PWNED\\x07Z', 'after': 'a\\x9bb'}],
                  'diff': {'before_header': '10.0.0.7', 'after_header': '10.0.0.7',
                           'before': 'server: A\\x1b[2J\\x1b]0;PWNED\\x07Z\n', 'after': 'server: a\\x9bb\n'}},
                 id='board controls escaped'),
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


def test_shown_escapes_what_relayctl_escapes():
    # Each code U+0000..U+00FF is a board byte: C0, DEL and C1 as \xNN, the rest as it is.
    text = ''.join(chr(code) for code in range(256))
    escaped = set(code for code in range(256) if shown(chr(code)) != chr(code))
    assert escaped == set(range(0x20)) | set(range(0x7f, 0xa0))
    assert shown(text).count('\\x') == len(escaped)
    assert shown('\x1b\x9f') == '\\x1b\\x9f'
    assert shown(True) is True


@pytest.mark.parametrize('address, task_vars, expected', [
    ('10.0.0.7', {'ansible_host': '10.0.0.8', 'inventory_hostname': 'board'}, '10.0.0.7'),
    (None, {'ansible_host': '{{ x }}', 'inventory_hostname': 'board'}, '10.0.0.9'),
    (None, {'inventory_hostname': '{{ x }}'}, '{{ x }}'),  # an inventory name is never a template
])
def test_board_address(address, task_vars, expected):
    assert board_address(address, task_vars, lambda text: text.replace('{{ x }}', '10.0.0.9')) == expected


PARAMS = dict(address='10.0.0.7', settings=None, src=None, other_board=False, verify=True, wait=20, force=False,
              backup=False)


@pytest.mark.parametrize('params, check_mode, expected', [
    (dict(settings={'restore': True}), False, ['set', '--from', '-', '--json', '--verify', '--wait', '20']),
    (dict(settings={'restore': True}), True, ['set', '--from', '-', '--json', '--check']),
    (dict(src='b.json', other_board=True, force=True), True,
     ['restore', '--other-board', '--json', '--check', '--force']),
])
def test_config_command(params, check_mode, expected):
    command, options, operands, stdin = config_command(dict(PARAMS, **params), check_mode)
    assert [command] + options == expected


def test_info_result_leaves_the_password_out_unless_asked():
    board = json.dumps({'address': '10.0.0.7', 'settings': {'restore': True, 'password': '123456'}})
    assert info_result(0, board, '', False)['board']['settings'] == {'restore': True}
    assert info_result(0, board, '', True)['board']['settings'] == {'restore': True, 'password': '123456'}
    assert info_result(0, 'usage text\n', '', False) == dict(
        failed=True, changed=False, status=0, msg='relayctl show exited with status 0 and printed no JSON object')


BACKUP = json.dumps({'format': 'relayctl-backup', 'format_version': 1, 'settings': {'restore': False}}) + '\n'


class FakeRelayctl(object):
    """relayctl as board_config's steps see it: the commands it was given."""

    def __init__(self):
        self.commands = []

    def __call__(self, relayctl, command, options=(), operands=(), stdin=None):
        self.commands.append(command)
        if command == 'backup':
            return 0, BACKUP, ''
        return 0, output({'result': 'ok', 'changed': True, 'changes': [SERVER], 'restarted': True, 'verified': True}), ''


def backup_run(folder, name, **params):
    relayctl = FakeRelayctl()
    result = configure(dict(PARAMS, backup=True, **params), 'relayctl', False, str(folder), name, relayctl)
    return result, relayctl.commands


def test_backup_then_restore(tmp_path):
    result, commands = backup_run(tmp_path / 'made', 'b.json', src='old.json')
    assert commands == ['backup', 'restore']
    assert result['changed'] and result['backup_path'] == str(tmp_path / 'made' / 'b.json')
    assert open(result['backup_path']).read() == BACKUP
    assert stat.S_IMODE(os.stat(result['backup_path']).st_mode) == 0o600
    assert stat.S_IMODE(os.stat(str(tmp_path / 'made')).st_mode) == 0o700


def test_no_backup_is_ever_replaced_or_followed(tmp_path):
    victim = tmp_path / 'victim'
    victim.write_text('mine')
    name = backup_file_name('rack 1', 0)
    assert name == backup_file_name('rack_1', 0)  # two hosts, one name
    os.symlink(str(victim), str(tmp_path / name))
    paths = [backup_run(tmp_path, name)[0]['backup_path'] for dummy in range(3)]
    stem = name[:-len('.json')]
    assert [os.path.basename(path) for path in paths] == [stem + '-2.json', stem + '-3.json', stem + '-4.json']
    assert victim.read_text() == 'mine'


def test_a_failed_write_leaves_no_file(tmp_path):
    with pytest.raises(UnicodeEncodeError):
        write_new_file(str(tmp_path), 'b.json', '\udc80')
    assert os.listdir(str(tmp_path)) == []


@pytest.mark.parametrize('name', ['../../escape', 'a/b.json', '/tmp/escape.json', '..', '.', ''])
def test_backup_name_outside_the_folder_is_refused(tmp_path, name):
    result, commands = backup_run(tmp_path, name, settings={'restore': True})
    assert result['failed'] and result['status'] == 64 and commands == []
    assert 'backup_options.filename must name a file inside dir_path' in result['msg']


@pytest.mark.parametrize('name', ['--help', '--from=/etc/shadow', '-x'])
def test_an_inventory_name_is_never_an_option(tmp_path, name):
    # The real relayctl (scripts/ansible-test puts the build's on PATH): it
    # refuses the name as an address, so nothing is connected to.
    relayctl = find_relayctl('relayctl')
    refusal = "'{0}' is not an IPv4 address".format(name)
    info = info_result(*run(relayctl, 'show', ['--json'], [name]), with_password=False)
    assert info['failed'] and info['status'] == 64 and refusal in info['msg']
    for backup in (False, True):
        result = configure(dict(PARAMS, address=name, backup=backup, settings={'restore': True}), relayctl, False,
                           str(tmp_path), 'b.json')
        assert result['failed'] and result['status'] == 64 and refusal in result['msg']
        assert 'backup_path' not in result
    assert os.listdir(str(tmp_path)) == []
