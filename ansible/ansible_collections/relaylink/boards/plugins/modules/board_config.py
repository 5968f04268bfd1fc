from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
module: board_config
short_description: Configure a network relay board
version_added: 1.0.0
description:
  - Writes settings to one network relay board with C(relayctl set), or a relayctl backup file
    with C(relayctl restore), and reports what changed.
  - relayctl reads the board first and writes only the settings that differ, so a value the
    board already holds, also when written in another form (C(10.0.0.010) for C(10.0.0.10)), is
    no change. The board is restarted only when something was written, and read back with
    C(verify).
  - Before anything is sent, relayctl refuses values that would leave the board unreachable
    (see C(force)); the host then fails and nothing is written.
  - In check mode relayctl reads the board and reports what would change (C(relayctl --check)),
    writing nothing and restarting nothing.
  - Runs relayctl on the host that runs the module; use C(delegate_to) to reach a site's
    boards through that site's host.
author:
  - relaylink authors (@relaylink)
requirements:
  - relayctl with C(--check) and C(--json) on set and restore, on the host that runs the module
extends_documentation_fragment:
  - ansible.builtin.action_common_attributes
  - relaylink.boards.board
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
  platform:
    platforms: posix
options:
  settings:
    description:
      - The settings to write, by relayctl's names. Settings left out are left as the board has
        them.
      - A setting the board cannot take (C(dns) on a board without remote control, C(keys) on one
        without key modes) fails the host before anything is sent.
      - DNS, server and password are written only while remote control is on.
      - Exactly one of C(settings) and C(src) is given.
    type: dict
    suboptions:
      ip:
        description: The board's IPv4 address after its restart.
        type: str
      mask:
        description: The subnet mask.
        type: str
      gateway:
        description: The gateway; C(0.0.0.0) for none.
        type: str
      keys:
        description:
          - The modes of the eight keys as eight digits, key 1 first; C(1) keep, C(2) follow,
            C(3) jog.
          - Quote it, so that YAML reads a text.
        type: str
      key1:
        description: The mode of key 1.
        type: str
        choices: [keep, follow, jog]
      key2:
        description: The mode of key 2.
        type: str
        choices: [keep, follow, jog]
      key3:
        description: The mode of key 3.
        type: str
        choices: [keep, follow, jog]
      key4:
        description: The mode of key 4.
        type: str
        choices: [keep, follow, jog]
      key5:
        description: The mode of key 5.
        type: str
        choices: [keep, follow, jog]
      key6:
        description: The mode of key 6.
        type: str
        choices: [keep, follow, jog]
      key7:
        description: The mode of key 7.
        type: str
        choices: [keep, follow, jog]
      key8:
        description: The mode of key 8.
        type: str
        choices: [keep, follow, jog]
      restore:
        description: Whether the board restores its relay state after power off.
        type: bool
      remote:
        description: Whether the remote-control link is on.
        type: bool
      dns:
        description: The DNS server of the remote-control link.
        type: str
      server:
        description: The server of the remote-control link (at most 39 characters).
        type: str
      password:
        description:
          - The remote-control password (6 digits). Never logged and never returned; a change
            shows as C(********) before and C(******** (changed)) after.
        type: str
  src:
    description:
      - A relayctl backup file (C(relayctl backup)) on the host that runs the module, written to
        the board as C(relayctl restore) does.
      - relayctl refuses a backup of a board with another device ID unless C(other_board) is set.
      - Exactly one of C(settings) and C(src) is given.
    type: path
  other_board:
    description:
      - With C(src), write a backup of a board with another device ID.
    type: bool
    default: false
  verify:
    description:
      - After the restart, wait for the board (at most C(wait) seconds), read it again, check that
        it is the same board and fail when a written value did not take.
    type: bool
    default: true
  wait:
    description:
      - Seconds to wait for the board to answer after its restart, with C(verify).
    type: float
    default: 20
  force:
    description:
      - Write settings that would leave the board unreachable (an ip of C(0.0.0.0), a mask whose ones
        are not together, a gateway outside the subnet, ...) or an ip where another board answers.
    type: bool
    default: false
notes:
  - The settings reach relayctl on its standard input (C(relayctl set --from -)), never as
    arguments, so no value (the password least of all) is in the process list.
seealso:
  - module: relaylink.boards.board_info
'''

EXAMPLES = r'''
- name: Plan first (run the play with --check --diff), then write the changes
  relaylink.boards.board_config:
    address: "{{ ansible_host }}"
    settings:
      gateway: 10.0.0.1
      keys: "12312312"
      restore: true
  delegate_to: localhost

- name: Turn on the remote-control link
  relaylink.boards.board_config:
    address: 10.0.0.7
    settings:
      remote: true
      server: relay.example.net
      dns: 10.0.0.53
      password: "{{ vault_relay_password }}"

- name: One key, without waiting for the board after its restart
  relaylink.boards.board_config:
    address: 10.0.0.7
    settings:
      key3: jog
    verify: false

- name: Restore a board from its backup on the site's host
  relaylink.boards.board_config:
    address: 10.0.0.7
    src: /var/backups/relay/RB002130706442.json
  delegate_to: site-a-gateway

- name: Give a replacement board the settings of the one it replaces
  relaylink.boards.board_config:
    address: 10.0.0.7
    src: /var/backups/relay/RB002130706442.json
    other_board: true
'''

RETURN = r'''
changed:
  description: Whether something was written (in check mode, would be).
  returned: always
  type: bool
changes:
  description:
    - Each setting that differs, with the board's value and the new one.
    - The password's values are masked, the board's as C(********), the new one as C(******** (changed)).
  returned: when relayctl reached the board
  type: list
  elements: dict
  contains:
    setting:
      description: relayctl's name of the setting.
      type: str
      sample: gateway
    before:
      description: The board's value; texts for addresses, server and key modes, booleans for restore and remote.
      type: raw
      sample: 10.0.0.254
    after:
      description: The value written (in check mode, that would be).
      type: raw
      sample: 10.0.0.1
  sample:
    - setting: gateway
      before: 10.0.0.254
      after: 10.0.0.1
    - setting: restore
      before: false
      after: true
diff:
  description: The changes as text, a line per setting, shown with C(--diff).
  returned: when relayctl reached the board
  type: dict
  sample:
    before: "gateway: 10.0.0.254\nrestore: off\n"
    after: "gateway: 10.0.0.1\nrestore: on\n"
restarted:
  description: Whether the board was restarted (only when something was written; never in check mode).
  returned: when relayctl reached the board
  type: bool
verified:
  description:
    - Whether the board was read back after its restart as the same board, holding every written value.
    - A board without a device ID cannot be told apart from another, so it is never verified.
  returned: when relayctl reached the board
  type: bool
message:
  description: relayctl's message for the board.
  returned: when relayctl reached the board
  type: str
  sample: Config was saved successfully, and device was restarted. Verified at 10.0.0.7.
result:
  description: relayctl's word for the outcome, C(ok), C(rejected), C(failed), C(not-taken), C(partly) or C(stopped).
  returned: when relayctl reached the board
  type: str
  sample: ok
status:
  description:
    - relayctl's exit status; 1 a value refused (nothing sent), 2 the board not reached, 3 a value
      did not take, 4 partly written and not restarted, 64 a usage error or an unreadable file.
  returned: failure
  type: int
  sample: 1
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import (
    CHECK_WOULD_CHANGE, diff, find_relayctl, json_lines, mask_changes, run, stderr_message)

KEY_MODE = dict(type='str', choices=['keep', 'follow', 'jog'])
KEYS = ['key{0}'.format(n) for n in range(1, 9)]
SETTINGS = ['ip', 'mask', 'gateway', 'keys'] + KEYS + ['restore', 'remote', 'dns', 'server', 'password']

SETTINGS_SPEC = dict(
    ip=dict(type='str'),
    mask=dict(type='str'),
    gateway=dict(type='str'),
    keys=dict(type='str'),
    restore=dict(type='bool'),
    remote=dict(type='bool'),
    dns=dict(type='str'),
    server=dict(type='str'),
    password=dict(type='str', no_log=True),
    **dict((name, KEY_MODE) for name in KEYS)
)


def setting_lines(settings):
    """relayctl set's NAME=VALUE lines (for --from) of the settings given."""
    lines = []
    for name in SETTINGS:
        value = settings.get(name)
        if value is None:
            continue
        if isinstance(value, bool):
            value = 'on' if value else 'off'
        lines.append('{0}={1}\n'.format(name, value))
    return ''.join(lines)


def relayctl_command(params, check_mode):
    """relayctl's arguments and standard input: set (the settings on standard
    input, so that no value is in an argument) or restore, with --json, and
    --check in check mode or the verification and guard options of a run."""
    stdin = None
    if params['src'] is not None:
        args = ['restore', params['address'], params['src']]
        if params['other_board']:
            args.append('--other-board')
    else:
        args = ['set', params['address'], '--from', '-']
        stdin = setting_lines(params['settings'])
    args.append('--json')
    if check_mode:
        args.append('--check')
    elif params['verify']:
        args += ['--verify', '--wait', '{0:g}'.format(params['wait'])]
    if params['force']:
        args.append('--force')
    return args, stdin


def main():
    module = AnsibleModule(
        argument_spec=dict(
            address=dict(type='str', required=True),
            settings=dict(type='dict', options=SETTINGS_SPEC),
            src=dict(type='path'),
            other_board=dict(type='bool', default=False),
            verify=dict(type='bool', default=True),
            wait=dict(type='float', default=20),
            force=dict(type='bool', default=False),
            relayctl=dict(type='str', default='relayctl'),
        ),
        mutually_exclusive=[('settings', 'src')],
        required_one_of=[('settings', 'src')],
        required_if=[('other_board', True, ['src'])],
        supports_check_mode=True,
    )
    params = module.params
    if params['settings'] is not None and not setting_lines(params['settings']):
        module.fail_json(msg='settings names no setting to write')
    try:
        relayctl = find_relayctl(params['relayctl'])
    except ValueError as e:
        module.fail_json(msg='{0}'.format(e))

    args, stdin = relayctl_command(params, module.check_mode)
    status, out, err = run(module, relayctl, args, stdin)
    try:
        boards, dummy = json_lines(out)
    except ValueError:
        boards = []
    if not boards:
        # Usage errors and unreadable files are reported before any board is.
        module.fail_json(msg=stderr_message(err) or 'relayctl exited with status {0} and reported no board'.format(status),
                         status=status)

    board = boards[0]
    address = board.get('address', params['address'])
    changes = mask_changes(board.get('changes'))
    result = dict(
        changed=bool(board.get('changed')),
        changes=changes,
        diff=diff(address, changes),
        restarted=bool(board.get('restarted')),
        verified=bool(board.get('verified')),
        message=board.get('message', ''),
        result=board.get('result'),
    )
    if status == 0 or (module.check_mode and status == CHECK_WOULD_CHANGE):
        module.exit_json(**result)

    # relayctl's message of a partial write names what the board holds and
    # what it does not, and that it was not restarted.
    message = result['message'] or stderr_message(err)
    module.fail_json(msg='{0}: {1}'.format(address, message), status=status, **result)


if __name__ == '__main__':
    main()
