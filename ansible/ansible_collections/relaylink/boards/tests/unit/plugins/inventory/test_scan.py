from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json

import pytest

from ansible_collections.relaylink.boards.plugins.inventory.scan import hosts, read_scan


def board(address, model='remote control', device_id=None, remote=True, keys=True, firmware=None):
    return {
        'address': address,
        'model': model,
        'firmware': firmware,
        'device_id': device_id,
        'capabilities': {'remote_control': remote, 'keys': keys},
    }


REMOTE = board('10.0.0.10', device_id='RB002130706442', firmware='1.0.7')
KEYS = board('10.0.0.11', model='keys', remote=False)
BASIC = board('10.0.0.12', model='basic', remote=False, keys=False)


def test_read_scan_takes_relayctls_array():
    text = json.dumps([REMOTE, KEYS, BASIC], indent=2)
    assert read_scan(text) == [REMOTE, KEYS, BASIC]
    assert read_scan(text.encode('utf-8')) == [REMOTE, KEYS, BASIC]
    assert read_scan('[]') == []


@pytest.mark.parametrize('text', [
    '',
    'ADDRESS  MODEL',
    '{"address": "10.0.0.10"}',
    '[{"model": "basic"}]',
    '[{"address": ""}]',
    '["10.0.0.10"]',
])
def test_read_scan_refuses_what_is_no_list_of_boards(text):
    with pytest.raises(ValueError):
        read_scan(text)


def test_board_with_a_device_id_is_named_by_it():
    [(name, variables, groups)] = hosts([REMOTE])
    assert name == 'RB002130706442'
    assert variables == {
        'ansible_host': '10.0.0.10',
        'relay_model': 'remote control',
        'relay_firmware': '1.0.7',
        'relay_device_id': 'RB002130706442',
        'relay_capabilities': {'remote_control': True, 'keys': True},
    }
    assert groups == ['relay_remote_control', 'relay_keys']


def test_boards_without_a_device_id_are_named_by_their_address():
    found = hosts([KEYS, BASIC])
    assert [(name, groups) for name, variables, groups in found] == [
        ('10.0.0.11', ['relay_keys']),
        ('10.0.0.12', ['relay_basic']),
    ]
    assert found[1][1]['relay_capabilities'] == {'remote_control': False, 'keys': False}
    assert found[1][1]['relay_device_id'] is None


def test_a_board_found_in_two_ranges_is_one_host():
    assert [name for name, variables, groups in hosts([REMOTE, KEYS, REMOTE, KEYS])] == ['RB002130706442', '10.0.0.11']


def test_boards_sharing_a_device_id_are_named_by_their_addresses():
    twin = dict(REMOTE, address='10.0.0.20')
    assert [name for name, variables, groups in hosts([REMOTE, twin])] == ['10.0.0.10', '10.0.0.20']


@pytest.mark.parametrize('device_id', ['', 'RB 0021307064', '../../etc/pass', 'RB00213070644\u00e9', 'a.b', 'RB\x1b[2J'])
def test_device_ids_that_are_no_plain_name_leave_the_address(device_id):
    [(name, variables, groups)] = hosts([dict(REMOTE, device_id=device_id)])
    assert name == '10.0.0.10'
    assert variables['relay_device_id'] == device_id


def test_board_text_is_kept_as_relayctl_gives_it():
    odd = dict(REMOTE, firmware='1.0.\u00ff', model='remote control')
    [(name, variables, groups)] = hosts(read_scan(json.dumps([odd])))
    assert variables['relay_firmware'] == '1.0.\u00ff'
