from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json

import pytest
from ansible.utils.unsafe_proxy import AnsibleUnsafe

from ansible_collections.relaylink.boards.plugins.inventory.scan import hosts, read_scan, safe_group_name, scan_options

SETTINGS = {'ip': '10.0.0.10', 'mask': '255.255.255.0', 'gateway': '10.0.0.1', 'keys': '12312312',
            'restore': False, 'remote': True, 'dns': '10.0.0.53', 'server': 'relay.example.net'}


def board(address, model='remote control', device_id=None, remote=True, keys=True, firmware=None):
    return {
        'address': address,
        'model': model,
        'firmware': firmware,
        'device_id': device_id,
        'capabilities': {'remote_control': remote, 'keys': keys},
        'settings': dict(SETTINGS, ip=address),
    }


def names(boards, **options):
    return [name for name, variables, groups in hosts(boards, **options)[0]]


def texts(value):
    """Every text in a value, keys and items included."""
    if isinstance(value, dict):
        return [text for key, item in value.items() for text in texts(key) + texts(item)]
    if isinstance(value, (list, tuple)):
        return [text for item in value for text in texts(item)]
    return [value] if isinstance(value, str) else []


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
    [(name, variables, groups)], warnings = hosts([dict(REMOTE, settings=dict(SETTINGS, password='123456'))])
    assert name == 'RB002130706442'
    assert variables == {
        'ansible_host': '10.0.0.10',
        'relay_model': 'remote control',
        'relay_firmware': '1.0.7',
        'relay_device_id': 'RB002130706442',
        'relay_capabilities': {'remote_control': True, 'keys': True},
        'relay_current_settings': SETTINGS,
    }
    assert groups == ['relay_remote_control', 'relay_keys']
    assert warnings == []


def test_boards_without_a_device_id_are_named_by_their_address():
    found = hosts([KEYS, BASIC])[0]
    assert [(name, groups) for name, variables, groups in found] == [
        ('10.0.0.11', ['relay_keys']),
        ('10.0.0.12', ['relay_basic']),
    ]
    assert found[1][1]['relay_capabilities'] == {'remote_control': False, 'keys': False}
    assert found[1][1]['relay_device_id'] is None


def test_a_board_found_in_two_ranges_is_one_host():
    assert names([REMOTE, KEYS, REMOTE, KEYS]) == ['RB002130706442', '10.0.0.11']


def test_boards_sharing_a_device_id_are_named_by_their_addresses():
    twin = dict(REMOTE, address='10.0.0.20')
    assert names([REMOTE, twin]) == ['10.0.0.10', '10.0.0.20']


def compose(expression, variables):
    """A stand-in for the plugin's expressions: a name from the model, none, or no plain name."""
    return {'model': variables['relay_model'].replace(' ', '_'), 'none': None, 'dotted': 'a.b'}[expression]


@pytest.mark.parametrize('hostnames, taken, expected, warned', [
    # a host of another source or a static one has the name at another address
    (['device_id', 'address'], {'RB002130706442': '10.0.9.9'}, ['10.0.0.10', '10.0.0.11'],
     ['the board at 10.0.0.10 is not named RB002130706442: that is the host at 10.0.9.9; named 10.0.0.10']),
    # the same boards, already in the inventory (by a name of their own, static or scanned)
    (['address'], {'RB002130706442': '10.0.0.10', 'door': '10.0.0.11'}, ['RB002130706442', 'door'], []),
    # a host named by the board's address is another board's: left out, its address kept
    (['device_id', 'address'], {'10.0.0.11': '10.0.9.9'}, ['RB002130706442'],
     ['the board at 10.0.0.11 is left out: the host 10.0.0.11 is at 10.0.9.9']),
    (['address', 'device_id'], {}, ['10.0.0.10', '10.0.0.11'], []),
    (['none', 'device_id', 'model'], {}, ['RB002130706442', 'keys'], []),
    (['device_id', 'model'], {'RB002130706442': '10.0.9.9'}, ['remote_control', 'keys'],
     ['the board at 10.0.0.10 is not named RB002130706442: that is the host at 10.0.9.9; named remote_control']),
    (['dotted', 'model'], {}, ['remote_control', 'keys'], []),
    (['model'], {}, ['10.0.0.10', '10.0.0.11'], []),  # both offer the same name: neither takes it
])
def test_hostnames_are_taken_in_order_when_free(hostnames, taken, expected, warned):
    keys_twin = dict(KEYS, model='remote control') if hostnames == ['model'] else KEYS
    found, warnings = hosts([REMOTE, keys_twin], hostnames, compose, taken)
    assert [name for name, variables, groups in found] == expected
    assert warnings == warned


def test_a_board_found_again_is_its_host_and_contests_no_name():
    impostor = dict(REMOTE, address='10.0.0.20')
    found, warnings = hosts([REMOTE, impostor], taken={'RB002130706442': '10.0.0.10'})
    assert [name for name, variables, groups in found] == ['RB002130706442', '10.0.0.20']
    assert warnings == ['the board at 10.0.0.20 is not named RB002130706442: that is the host at 10.0.0.10; named 10.0.0.20']


@pytest.mark.parametrize('device_id', ['', 'RB 0021307064', '../../etc/pass', 'RB00213070644\u00e9', 'a.b', 'RB\x1b[2J'])
def test_device_ids_that_are_no_plain_name_leave_the_address(device_id):
    [(name, variables, groups)], warnings = hosts([dict(REMOTE, device_id=device_id)])
    assert name == '10.0.0.10'
    assert variables['relay_device_id'] == device_id


def test_board_text_is_kept_as_relayctl_gives_it():
    odd = dict(REMOTE, firmware='1.0.\u00ff', model='remote control')
    [(name, variables, groups)], warnings = hosts(read_scan(json.dumps([odd])))
    assert variables['relay_firmware'] == '1.0.\u00ff'


def test_every_text_that_could_be_a_template_is_unsafe_and_no_other():
    hostile = dict(REMOTE, firmware="1.0.{{ lookup('pipe', 'id') }}", device_id='RB{{7*7}}xxxxx',
                   settings=dict(SETTINGS, server='{% if 1 %}x{% endif %}', dns='{#'))
    found, warnings = hosts([hostile, KEYS], ['model', 'address'], compose)
    values = texts([(name, variables) for name, variables, groups in found])
    assert [text for text in values if isinstance(text, AnsibleUnsafe) != ('{' in text)] == []
    assert len([text for text in values if isinstance(text, AnsibleUnsafe)]) == 4


@pytest.mark.parametrize('name, safe', [
    ('firmware_1.0.7', 'firmware_1_0_7'),
    ("firmware_1.0.{{ lookup('pipe', 'id') }}", 'firmware_1_0____lookup__pipe____id_____'),
    ('server_../../etc', 'server_______etc'),
    ('server_a b/c', 'server_a_b_c'),
    ('7up', '_up'),
    ('model_caf\u00e9', 'model_caf_'),
])
def test_group_names_from_board_text_are_safe_names(name, safe):
    assert safe_group_name(name) == safe


def test_scan_options():
    assert scan_options(None, 8, ['127.0.0.5', '127.1.0.0/24']) == [
        '--json', '--parallel', '8', '--exclude', '127.0.0.5', '--exclude', '127.1.0.0/24']
