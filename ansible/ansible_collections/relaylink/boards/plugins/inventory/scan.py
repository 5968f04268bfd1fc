from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
name: scan
short_description: Network relay boards found by relayctl scan
version_added: 1.0.0
description:
  - Finds network relay boards with C(relayctl scan RANGE --json), one run per range, on the
    controller, and makes each board a host.
  - A board is named by its device ID when it has one that is a plain name (letters, digits,
    C(-) and C(_)) no other board found has; otherwise by its address.
  - Each host gets C(ansible_host) (the board's address), C(relay_model), C(relay_firmware),
    C(relay_device_id) and C(relay_capabilities) (C(remote_control) and C(keys), booleans).
  - Boards with remote control are in the group C(relay_remote_control), boards with key modes in
    C(relay_keys) (a remote-control board can be in both), boards with neither in C(relay_basic).
  - The inventory source is a YAML file whose name ends in C(relay_scan.yml) or
    C(relay_scan.yaml).
author:
  - relaylink authors (@relaylink)
requirements:
  - relayctl on the controller
extends_documentation_fragment:
  - constructed
  - inventory_cache
options:
  plugin:
    description: The name of this plugin; the file is a source for it only then.
    required: true
    type: str
    choices: [relaylink.boards.scan]
  ranges:
    description:
      - Address ranges to scan, each as relayctl scan takes it, CIDR block (C(10.0.0.0/24)),
        range (C(10.0.0.5-10.0.0.40) or C(10.0.0.5-40)) or a single address; at most 65,536
        addresses each.
      - A board in more than one range is one host.
    required: true
    type: list
    elements: str
  timeout:
    description: The connect bound per address in milliseconds (relayctl's default is 500).
    type: int
  parallel:
    description: The addresses probed at once (relayctl's default is 256).
    type: int
  relayctl:
    description: The relayctl program, as a path or a name looked up on C(PATH).
    type: str
    default: relayctl
'''

EXAMPLES = r'''
# site_a.relay_scan.yml: every board of two networks
plugin: relaylink.boards.scan
ranges:
  - 10.1.0.0/24
  - 10.1.1.5-40
timeout: 300

---
# lab.relay_scan.yml: groups by model and firmware, a variable from the device ID,
# and the scan kept for an hour
plugin: relaylink.boards.scan
ranges:
  - 127.40.1.0/24
keyed_groups:
  - key: relay_model | replace(' ', '_')
    prefix: model
  - key: relay_firmware
    prefix: firmware
    default_value: none
compose:
  relay_site: "'lab'"
groups:
  relay_old_firmware: relay_firmware is not none and relay_firmware is version('1.0.7', '<')
cache: true
cache_plugin: ansible.builtin.jsonfile
cache_connection: ~/.cache/relay-inventory
cache_timeout: 3600
'''

import json
import re
import subprocess
from collections import Counter

from ansible.errors import AnsibleParserError
from ansible.module_utils.common.text.converters import to_text
from ansible.plugins.inventory import BaseInventoryPlugin, Cacheable, Constructable
from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import find_relayctl

PLAIN_NAME = re.compile(r'^[A-Za-z0-9_-]+$')


def read_scan(text):
    """The boards of one relayctl scan --json output: a list of objects, each
    with an address. Raises ValueError otherwise."""
    boards = json.loads(text)
    if not isinstance(boards, list) or not all(isinstance(b, dict) and b.get('address') for b in boards):
        raise ValueError('relayctl scan --json printed no list of boards')
    return boards


def board_groups(capabilities):
    """The groups of a board with these capabilities."""
    groups = []
    if capabilities.get('remote_control'):
        groups.append('relay_remote_control')
    if capabilities.get('keys'):
        groups.append('relay_keys')
    return groups or ['relay_basic']


def hosts(boards):
    """The hosts of the boards found, in the order found, each board once:
    a list of (name, variables, groups)."""
    unique = []
    seen = set()
    for board in boards:
        if board['address'] not in seen:
            seen.add(board['address'])
            unique.append(board)

    ids = Counter(b.get('device_id') for b in unique)
    found = []
    for board in unique:
        device_id = board.get('device_id')
        plain = isinstance(device_id, str) and PLAIN_NAME.match(device_id) and ids[device_id] == 1
        capabilities = board.get('capabilities') or {}
        variables = {
            'ansible_host': board['address'],
            'relay_model': board.get('model'),
            'relay_firmware': board.get('firmware'),
            'relay_device_id': device_id,
            'relay_capabilities': {
                'remote_control': bool(capabilities.get('remote_control')),
                'keys': bool(capabilities.get('keys')),
            },
        }
        found.append((device_id if plain else board['address'], variables, board_groups(capabilities)))
    return found


class InventoryModule(BaseInventoryPlugin, Constructable, Cacheable):

    NAME = 'relaylink.boards.scan'

    def verify_file(self, path):
        return super(InventoryModule, self).verify_file(path) and path.endswith(('relay_scan.yml', 'relay_scan.yaml'))

    def _scan(self):
        try:
            relayctl = find_relayctl(self.get_option('relayctl'))
        except ValueError as e:
            raise AnsibleParserError(to_text(e))
        options = []
        for option in ('timeout', 'parallel'):
            if self.get_option(option) is not None:
                options += ['--' + option, str(self.get_option(option))]

        boards = []
        for address_range in self.get_option('ranges'):
            # No AnsibleModule runs on the controller, so no run_command: a
            # plain list of arguments, no shell.
            done = subprocess.run([relayctl, 'scan', address_range, '--json'] + options,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
            if done.returncode != 0:
                raise AnsibleParserError('relayctl scan {0} exited with status {1}: {2}'.format(
                    address_range, done.returncode, to_text(done.stderr).strip()))
            try:
                boards += read_scan(done.stdout)
            except ValueError as e:
                raise AnsibleParserError('relayctl scan {0}: {1}'.format(address_range, to_text(e)))
        return boards

    def _populate(self, boards):
        strict = self.get_option('strict')
        for name, variables, groups in hosts(boards):
            self.inventory.add_host(name)
            for group in groups:
                self.inventory.add_group(group)
                self.inventory.add_child(group, name)
            for key, value in variables.items():
                self.inventory.set_variable(name, key, value)
            self._set_composite_vars(self.get_option('compose'), variables, name, strict=strict)
            self._add_host_to_composed_groups(self.get_option('groups'), variables, name, strict=strict)
            self._add_host_to_keyed_groups(self.get_option('keyed_groups'), variables, name, strict=strict)

    def parse(self, inventory, loader, path, cache=True):
        super(InventoryModule, self).parse(inventory, loader, path, cache)
        self._read_config_data(path)

        # The scan's boards are what is cached; hosts and groups are made
        # from them on every run, so that compose and groups can change.
        cache_key = self.get_cache_key(path)
        use_cache = self.get_option('cache') and cache
        update_cache = self.get_option('cache') and not cache
        boards = None
        if use_cache:
            try:
                boards = self._cache[cache_key]
            except KeyError:
                update_cache = True
        if boards is None:
            boards = self._scan()
        if update_cache:
            self._cache[cache_key] = boards
        self._populate(boards)
