from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
module: board_info
short_description: Read a network relay board's settings
version_added: 1.0.0
description:
  - Reads one network relay board with C(relayctl show --json -- ADDRESS) and returns its model,
    firmware, device ID, capabilities and settings.
  - The board's C(settings) are returned as M(relaylink.boards.board_config) takes them, the
    password left out unless C(password) is set.
  - Never changes anything on the board. For a backup that restores the board completely, use
    M(relaylink.boards.board_config) with C(backup).
  - An action plugin runs relayctl on the controller, once per board; nothing is copied to or run
    on the inventory hosts, so no C(delegate_to) or local connection is needed.
author:
  - relaylink authors (@relaylink)
requirements:
  - relayctl on the controller
options:
  password:
    description:
      - Return the board's password in C(settings.password), in the clear. Give the task C(no_log),
        since Ansible shows and logs what a task returns.
    type: bool
    default: false
extends_documentation_fragment:
  - ansible.builtin.action_common_attributes
  - relaylink.boards.board
attributes:
  check_mode:
    support: full
  diff_mode:
    support: none
  platform:
    platforms: posix
seealso:
  - module: relaylink.boards.board_config
'''

EXAMPLES = r'''
- name: Read the board at 10.0.0.7
  relaylink.boards.board_info:
    address: 10.0.0.7
  register: info

- name: Show its key modes
  ansible.builtin.debug:
    msg: "{{ info.board.settings['keys'] }}"

- name: Read each board of the inventory (its ansible_host, else its inventory name)
  relaylink.boards.board_info:
  register: info

- name: Write the same settings to another board (the password left as that board has it)
  relaylink.boards.board_config:
    address: 10.0.0.8
    settings: "{{ info.board.settings }}"
'''

RETURN = r'''
board:
  description:
    - The board as C(relayctl show --json) prints it, the password left out of C(settings) unless
      C(password) is set.
    - A field the board does not have is null.
  returned: success
  type: dict
  contains:
    address:
      description: The board's address in normal form.
      type: str
      sample: 10.0.0.7
    model:
      description: C(basic), C(keys) or C(remote control).
      type: str
      sample: remote control
    firmware:
      description: The firmware version; null on boards without remote control.
      type: str
      sample: 1.0.7
    device_id:
      description: The device ID; null on boards without remote control.
      type: str
      sample: RB002130706442
    capabilities:
      description: What the board has.
      type: dict
      contains:
        remote_control:
          description: Whether the board has the remote-control link (dns, server, password, remote).
          type: bool
        keys:
          description: Whether the board has key modes.
          type: bool
    settings:
      description:
        - Every setting (but the password, unless C(password) is set), as in a relayctl backup file
          and as M(relaylink.boards.board_config) takes them in its C(settings).
      type: dict
      sample:
        ip: 10.0.0.7
        mask: 255.255.255.0
        gateway: 10.0.0.1
        keys: "12312312"
        restore: false
        remote: true
        dns: 10.0.0.53
        server: relay.example.net
status:
  description: relayctl's exit status (2 when the board was not reached, 64 for an address it refuses).
  returned: failure
  type: int
  sample: 2
'''

from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import BOARD_OPTIONS

# The options, for the action plugin that runs board_info on the controller.
ARGUMENT_SPEC = dict(
    BOARD_OPTIONS,
    password=dict(type='bool', default=False, no_log=False),
)
