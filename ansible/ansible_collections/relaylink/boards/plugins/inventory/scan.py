from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
name: scan
short_description: Network relay boards found by relayctl scan
version_added: 1.0.0
description:
  - Finds network relay boards with C(relayctl scan RANGE --json), one run per range, on the
    controller, and makes each board a host.
  - A board is named by the first of I(hostnames) that gives it a name of its own; by default its
    device ID when that is a plain name (letters, digits, C(-) and C(_)) that no other board found
    has, otherwise its address.
  - A board already in the inventory (a host of a source read before, static hosts included,
    whose C(ansible_host) is the board's address) is that host. Another board never takes the name
    of a host already in the inventory; it then has the next name of I(hostnames), at last its
    address, and a warning names both addresses. No host's address is replaced; a board whose
    address names a host at another address is left out with a warning. List static inventories
    before scan sources.
  - Each host gets C(ansible_host) (the board's address), C(relay_model), C(relay_firmware),
    C(relay_device_id), C(relay_capabilities) (C(remote_control) and C(keys), booleans) and
    C(relay_current_settings).
  # settings-tables: begin
  - C(relay_current_settings) holds the settings the board held when scanned (C(ip), C(mask),
    C(gateway), C(restore), on boards with key modes C(keys), and on boards with remote control
    C(remote), C(dns) and C(server); never the password).
  # settings-tables: end
  - Every text a board gives that could be read as a template (one with C({) or C(})) is marked
    unsafe, so that Ansible never templates it; host names are plain names or addresses, which
    hold no template. I(compose), I(groups) and I(keyed_groups) use these texts as data. Other
    texts stay plain, so that C(ansible-inventory --list) shows them as they are.
  - Group names made by I(keyed_groups) and I(groups) are safe names, whatever
    C(TRANSFORM_INVALID_GROUP_CHARS) says, every character other than ASCII letters, digits and
    C(_) (and a digit first) becomes C(_), so a board's text never puts a C(/), C(..), a space or
    a template into a group name (C(firmware_1.0.7) is the group C(firmware_1_0_7)).
  - relayctl is run with C(--) before each range, so that no range is read as an option.
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
  exclude:
    description:
      - Address ranges, in the forms of I(ranges), whose addresses are never probed.
    type: list
    elements: str
    default: []
  hostnames:
    description:
      - The names a board may have, in order of preference; the first that is free names it.
      - C(device_id) is the board's device ID, C(address) its address, anything else a Jinja2
        expression over the host variables, as in I(compose); its result must be a plain name.
      - A board that none of them names is named by its address.
    type: list
    elements: str
    default: [device_id, address]
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
# site_a.relay_scan.yml: every board of two networks but the lab's corner of one
plugin: relaylink.boards.scan
ranges:
  - 10.1.0.0/24
  - 10.1.1.5-40
exclude:
  - 10.1.0.200-254
timeout: 300

---
# lab.relay_scan.yml: named by device ID, else lab_ and the address's last number;
# groups by model, firmware and restore, a variable from the device ID,
# and the scan kept for an hour
plugin: relaylink.boards.scan
ranges:
  - 127.40.1.0/24
hostnames:
  - device_id
  - "'lab_' ~ ansible_host.split('.')[-1]"
keyed_groups:
  - key: relay_model | replace(' ', '_')
    prefix: model
  - key: relay_firmware
    prefix: firmware
    default_value: none
  - key: "'on' if relay_current_settings.restore else 'off'"
    prefix: restore
compose:
  relay_site: "'lab'"
groups:
  relay_old_firmware: relay_firmware is not none and relay_firmware is version('1.0.7', '<')
  relay_remote_off: relay_capabilities.remote_control and not relay_current_settings.remote
cache: true
cache_plugin: ansible.builtin.jsonfile
cache_connection: ~/.cache/relay-inventory
cache_timeout: 3600
'''

import json
import re
from collections import Counter

from ansible.errors import AnsibleParserError
from ansible.module_utils.common.text.converters import to_text
from ansible.plugins.inventory import BaseInventoryPlugin, Cacheable, Constructable
from ansible.utils.unsafe_proxy import wrap_var
from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import find_relayctl, run, shown, stderr_message

PLAIN_NAME = re.compile(r'^[A-Za-z0-9_-]+$')
# Jinja2's delimiters ({{, {%, {#) all hold a brace: a text without one is
# never templated.
TEMPLATE_CHARACTERS = re.compile(r'[{}]')


def make_unsafe(value):
    """The value (a text, or a dict of them) with every text that holds a
    brace marked unsafe, so that Ansible never templates it; other texts stay
    plain, as ansible-inventory --list and its readers expect them."""
    if isinstance(value, dict):
        return dict((key, make_unsafe(item)) for key, item in value.items())
    if isinstance(value, str) and TEMPLATE_CHARACTERS.search(value):
        return wrap_var(value)
    return value


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


def board_variables(board):
    """The host variables of a board, made unsafe: what a board says is data,
    and Ansible never templates it."""
    capabilities = board.get('capabilities') or {}
    settings = dict(board.get('settings') or {})
    settings.pop('password', None)  # relayctl leaves it out; it never becomes a variable
    return make_unsafe({
        'ansible_host': board['address'],
        'relay_model': board.get('model'),
        'relay_firmware': board.get('firmware'),
        'relay_device_id': board.get('device_id'),
        'relay_capabilities': {
            'remote_control': bool(capabilities.get('remote_control')),
            'keys': bool(capabilities.get('keys')),
        },
        'relay_current_settings': settings,
    })


def offered_names(board, variables, hostnames, compose):
    """The names a board offers, in the order of `hostnames`: its device ID,
    its address, or what compose(expression, variables) makes of an
    expression; None where it has none."""
    names = []
    for entry in hostnames:
        if entry == 'device_id':
            names.append(board.get('device_id'))
        elif entry == 'address':
            names.append(board['address'])
        else:
            names.append(compose(entry, variables))
    return names


def hosts(boards, hostnames=('device_id', 'address'), compose=None, taken=None):
    """The hosts of the boards found, in the order found, each board once, and
    the warnings for the inventory: ([(name, variables, groups)], [text]).

    A board at the address of a host of `taken` (name: address, the hosts
    already in the inventory) is that host. Another takes the first name it
    offers (offered_names) that is its address, or a plain name that no other
    board offers and that no host of `taken` has; otherwise its address. A
    board whose address names a host at another address is left out: no
    host's address is replaced."""
    taken = taken or {}
    known = {}
    for name, host_address in taken.items():
        known.setdefault(host_address, name)
    unique = []
    seen = set()
    for board in boards:
        if board['address'] not in seen:
            seen.add(board['address'])
            unique.append(board)

    offers = []
    for board in unique:
        variables = board_variables(board)
        offers.append((board, variables, offered_names(board, variables, hostnames, compose)))
    # Boards that are hosts already take no new name, so they contest none.
    offered = Counter(name for board, variables, names in offers if board['address'] not in known
                      for name in set(names) if isinstance(name, str))

    found = []
    warnings = []
    for board, variables, names in offers:
        address = board['address']
        groups = board_groups(variables['relay_capabilities'])
        if address in known:
            found.append((known[address], variables, groups))
            continue
        passed_over = []
        name = address
        for candidate in names:
            if candidate == address:
                break
            if not isinstance(candidate, str) or not PLAIN_NAME.match(candidate) or offered[candidate] != 1:
                continue
            if candidate not in taken:
                name = candidate
                break
            if candidate not in passed_over:
                passed_over.append(candidate)
        for candidate in passed_over:
            warnings.append('the board at {0} is not named {1}: that is the host at {2}; named {3}'.format(
                address, candidate, taken[candidate], name))
        if name in taken:  # the address, as the name of a host at another address
            warnings.append('the board at {0} is left out: the host {1} is at {2}'.format(address, name, taken[name]))
            continue
        found.append((name, variables, groups))
    return found, warnings


def scan_options(timeout, parallel, exclude):
    """relayctl scan's options for the source's timeout, parallel and
    exclude (the ranges themselves are operands)."""
    options = ['--json']
    for option, value in (('timeout', timeout), ('parallel', parallel)):
        if value is not None:
            options += ['--' + option, str(value)]
    for excluded in exclude:
        options += ['--exclude', excluded]
    return options


# What a group name may hold: ASCII letters, digits and "_", not a digit first.
GROUP_NAME_UNSAFE = re.compile(r'^[^A-Za-z_]|[^A-Za-z0-9_]')


def safe_group_name(name):
    """A group name made of a board's texts (keyed_groups) as a safe name:
    every character but ASCII letters, digits and "_" (and a digit first) as
    "_", as Ansible's own transformation makes it, whatever
    TRANSFORM_INVALID_GROUP_CHARS says. It then holds no template, no "/",
    ".." or space."""
    return GROUP_NAME_UNSAFE.sub('_', name)


class InventoryModule(BaseInventoryPlugin, Constructable, Cacheable):

    NAME = 'relaylink.boards.scan'

    _sanitize_group_name = staticmethod(safe_group_name)

    def verify_file(self, path):
        return super(InventoryModule, self).verify_file(path) and path.endswith(('relay_scan.yml', 'relay_scan.yaml'))

    def _scan(self):
        try:
            relayctl = find_relayctl(self.get_option('relayctl'))
        except ValueError as e:
            raise AnsibleParserError(to_text(e))
        options = scan_options(self.get_option('timeout'), self.get_option('parallel'), self.get_option('exclude'))
        boards = []
        for address_range in self.get_option('ranges'):
            status, out, err = run(relayctl, 'scan', options, [address_range])
            try:
                if status != 0:
                    raise ValueError('exited with status {0}: {1}'.format(status, stderr_message(err)))
                boards += read_scan(out)
            except ValueError as e:
                raise AnsibleParserError('relayctl scan {0}: {1}'.format(shown(address_range), to_text(e)))
        return boards

    def _compose_name(self, expression, variables):
        """A hostnames expression's name for a board; None when it fails,
        unless strict."""
        try:
            return self._compose(expression, variables)
        except Exception as e:
            if self.get_option('strict'):
                raise AnsibleParserError('hostnames entry {0}: {1}'.format(expression, shown(to_text(e))))
            return None

    def _populate(self, boards):
        strict = self.get_option('strict')
        taken = dict((name, to_text(host.vars.get('ansible_host', name))) for name, host in self.inventory.hosts.items())
        found, warnings = hosts(boards, self.get_option('hostnames'), self._compose_name, taken)
        for warning in warnings:
            self.display.warning('{0}: {1}'.format(self.NAME, warning))
        for name, variables, groups in found:
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
