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
  - With C(backup), relayctl's backup of the board is written to the controller first; with
    C(backup) alone nothing else is done, which is the way to keep a backup that C(src) restores.
  - An action plugin runs relayctl on the controller, once per board; nothing is copied to or run
    on the inventory hosts, so no C(delegate_to) or local connection is needed.
author:
  - relaylink authors (@relaylink)
requirements:
  - relayctl with C(--check), C(--json) and C(--from) on set and restore, on the controller
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
      - The C(settings) that M(relaylink.boards.board_info) returns are taken as they are.
      - A value with a line break fails the host (C(status) 64) before relayctl is run; the message
        names the setting, not the value.
      - At most one of C(settings) and C(src) is given, and one of them unless C(backup) is set.
    type: dict
    suboptions:
      # settings-tables: begin
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
        # settings-tables: end
  src:
    description:
      - A relayctl backup file (C(relayctl backup), or this module's C(backup)) on the controller,
        written to the board as C(relayctl restore) does.
      - relayctl refuses a backup of a board with another device ID unless C(other_board) is set.
      - At most one of C(settings) and C(src) is given, and one of them unless C(backup) is set.
    type: path
  backup:
    description:
      - Before anything is written (also in check mode), save relayctl's backup of the board to a
        file on the controller, readable by its owner only; its path is returned as C(backup_path).
      - The file is always a new one; a backup never replaces another file. When the name is taken
        (a backup of the same second, another host whose name reduces to the same one, or anything
        else, a link included, which is never followed), C(-2), C(-3) ... goes before the name's
        extension (C(rack_1_board.2026-12-09@21:30:00-2.json)).
      - The file holds the board's password, so that C(src) restores the board completely.
      - Given alone (without C(settings) and C(src)), only the backup is made.
    type: bool
    default: false
  backup_options:
    description:
      - Where C(backup) writes. Without C(backup) these are not used.
    type: dict
    suboptions:
      dir_path:
        description:
          - The folder of the backup, made (readable by its owner only) when missing.
          - The default is the folder C(backup) beside the playbook.
        type: path
      filename:
        description:
          - The file's name, inside C(dir_path). A name with a path separator, C(.), C(..) or an
            absolute path fails the host (C(status) 64) before anything is read or written.
          - The default is the inventory name (characters other than letters, digits, C(.), C(_)
            and C(-) as C(_)), C(_board.), the date and time and C(.json).
        type: str
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
    arguments, so no value (the password least of all) is in the process list. The address and
    C(src) come after C(--), so that an inventory name such as C(--help) is refused as an address,
    never read as an option.
  - A board's texts in C(changes), C(diff) and messages are shown as relayctl shows them, control
    characters as C(\xNN), so that a board can never clear or retitle the terminal.
  - The action group C(relaylink.boards.boards) holds both modules, so that
    C(module_defaults) with C(group/relaylink.boards.boards) sets options such as C(relayctl)
    once.
seealso:
  - module: relaylink.boards.board_info
'''

EXAMPLES = r'''
- name: Plan first (run the play with --check --diff), then write the changes to the host's board
  relaylink.boards.board_config:
    settings:
      gateway: 10.0.0.1
      keys: "12312312"
      restore: true
    backup: true

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

- name: Keep a backup of the board that src restores, and nothing else
  relaylink.boards.board_config:
    backup: true
    backup_options:
      dir_path: /var/backups/relay
      filename: "{{ inventory_hostname }}.json"

- name: Restore a board from its backup
  relaylink.boards.board_config:
    address: 10.0.0.7
    src: /var/backups/relay/RB002130706442.json

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
    - False when something was written but not read back (C(verify) off, a partial write) or did not match.
      A board without a device ID cannot be told apart from another, so it is never verified.
  returned: when something was written (not in check mode)
  type: bool
backup_path:
  description: The backup file that C(backup) wrote on the controller.
  returned: when C(backup) is set and the backup was made
  type: str
  sample: backup/RB002130706442_board.2026-12-09@21:30:00.json
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
      did not take, 4 partly written and not restarted, 64 a usage error (an address that is no
      IPv4 address included), an unreadable file, a value with a line break or a C(filename)
      outside C(dir_path).
    - With C(backup), the status of relayctl's backup when it failed (nothing else was run).
  returned: failure
  type: int
  sample: 1
'''

from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import BOARD_OPTIONS, SETTINGS_SPEC

# The options, for the action plugin that runs board_config on the controller.
ARGUMENT_SPEC = dict(
    BOARD_OPTIONS,
    settings=dict(type='dict', options=SETTINGS_SPEC),
    src=dict(type='path'),
    other_board=dict(type='bool', default=False),
    verify=dict(type='bool', default=True),
    wait=dict(type='float', default=20),
    force=dict(type='bool', default=False),
    backup=dict(type='bool', default=False),
    backup_options=dict(type='dict', options=dict(dir_path=dict(type='path'), filename=dict(type='str'))),
)
MUTUALLY_EXCLUSIVE = [('settings', 'src')]
REQUIRED_IF = [('other_board', True, ['src'])]
