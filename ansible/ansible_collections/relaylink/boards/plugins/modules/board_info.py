from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
module: board_info
short_description: Read a network relay board's settings
version_added: 1.0.0
description:
  - Reads one network relay board with C(relayctl show ADDRESS --json) and returns its model,
    firmware, device ID, capabilities and settings.
  - The board's password is returned masked.
  - Never changes anything on the board.
  - Runs relayctl on the host that runs the module; use C(delegate_to) to read a site's
    boards from that site's host.
author:
  - relaylink authors (@relaylink)
requirements:
  - relayctl on the host that runs the module
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

- name: Read each board of the inventory from the controller
  relaylink.boards.board_info:
    address: "{{ ansible_host }}"
  delegate_to: localhost

- name: Keep a backup of the board on the controller (password masked)
  ansible.builtin.copy:
    content: "{{ info.board | to_nice_json }}"
    dest: "backups/{{ inventory_hostname }}.json"
    mode: "0600"
  delegate_to: localhost
'''

RETURN = r'''
board:
  description:
    - The board as C(relayctl show --json) prints it, the password masked as C(********).
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
      description: Every setting, as in a relayctl backup file.
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
        password: "********"
status:
  description: relayctl's exit status (2 when the board was not reached, 64 for an address it refuses).
  returned: failure
  type: int
  sample: 2
'''

import json

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import (
    find_relayctl, mask_board, run, stderr_message)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            address=dict(type='str', required=True),
            relayctl=dict(type='str', default='relayctl'),
        ),
        supports_check_mode=True,
    )
    try:
        relayctl = find_relayctl(module.params['relayctl'])
    except ValueError as e:
        module.fail_json(msg='{0}'.format(e))

    status, out, err = run(module, relayctl, ['show', module.params['address'], '--json'])
    if status != 0:
        module.fail_json(msg=stderr_message(err) or 'relayctl show exited with status {0}'.format(status),
                         status=status)
    try:
        board = json.loads(out)
    except ValueError:
        board = None
    if not isinstance(board, dict):
        module.fail_json(msg='relayctl show printed no JSON object', status=status)
    module.exit_json(changed=False, board=mask_board(board))


if __name__ == '__main__':
    main()
