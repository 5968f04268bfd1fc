"""What the action plugins and the inventory plugin share: finding relayctl,
running it on the controller, and turning its JSON output into results, the
password masked."""

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json
import os
import subprocess

from ansible.module_utils.common.process import get_bin_path

MASK = '********'

# A new password, masked too, yet told apart from the board's in a plan.
MASK_CHANGED = MASK + ' (changed)'

# relayctl --check exits with this status when something would change.
CHECK_WOULD_CHANGE = 5

# relayctl's status of a usage error, also board_config's for settings that
# cannot reach relayctl.
USAGE = 64

# settings-tables: begin
# relayctl's names of the settings, in the order they are written, and
# board_config's options for them. A str option whose name looks secret
# to Ansible says whether it is one.
KEYS = ['key{0}'.format(n) for n in range(1, 9)]
SETTINGS = ['ip', 'mask', 'gateway', 'keys'] + KEYS + ['restore', 'remote', 'dns', 'server', 'password']
KEY_MODE = dict(type='str', choices=['keep', 'follow', 'jog'])
SETTINGS_SPEC = dict(
    ip=dict(type='str'),
    mask=dict(type='str'),
    gateway=dict(type='str'),
    keys=dict(type='str', no_log=False),
    restore=dict(type='bool'),
    remote=dict(type='bool'),
    dns=dict(type='str'),
    server=dict(type='str'),
    password=dict(type='str', no_log=True),
    **dict((name, KEY_MODE) for name in KEYS)
)
# settings-tables: end

# The options of every module: the board, and the relayctl that reaches it.
BOARD_SPEC = dict(
    address=dict(type='str'),
    relayctl=dict(type='str', default='relayctl'),
)

# relayctl reads typed values in the locale's encoding. In a UTF-8 locale a
# character U+0000..U+00FF is the board byte of the same number, as in
# relayctl's JSON.
LOCALE = {'LC_ALL': 'C.UTF-8'}


def find_relayctl(given):
    """relayctl's path: GIVEN itself when it is a path, else GIVEN (or
    "relayctl") looked up on PATH. Raises ValueError when it is not there."""
    name = given or 'relayctl'
    if os.path.sep in name:
        if not os.access(name, os.X_OK):
            raise ValueError('relayctl not found or not executable: {0}'.format(name))
        return name
    return get_bin_path(name)


def run(relayctl, args, stdin=None):
    """Runs relayctl with ARGS, a list, and STDIN (a text or None) on its
    standard input; no shell. Returns (status, stdout, stderr)."""
    env = dict(os.environ, **LOCALE)
    done = subprocess.run([relayctl] + args, input=stdin or '', capture_output=True, env=env,
                          encoding='utf-8', errors='replace', check=False)
    return done.returncode, done.stdout, done.stderr


def setting_lines(settings):
    """relayctl set's NAME=VALUE lines (for --from) of the settings given,
    those that are None left out. Raises ValueError, naming the setting but
    not its value, for a value with a line break: it would end the line and
    start another assignment (a board's server text, written back, could
    name a password)."""
    lines = []
    for name in SETTINGS:
        value = settings.get(name)
        if value is None:
            continue
        if isinstance(value, bool):
            value = 'on' if value else 'off'
        value = '{0}'.format(value)
        if '\n' in value or '\r' in value:
            raise ValueError('settings.{0} holds a line break, which no setting takes'.format(name))
        lines.append('{0}={1}\n'.format(name, value))
    return ''.join(lines)


def config_command(params, check_mode):
    """relayctl's arguments and standard input for board_config's PARAMS: set
    (the settings on standard input, so that no value is in an argument) or
    restore, with --json, and --check in check mode or the verification and
    guard options of a run."""
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


def json_lines(text):
    """The objects relayctl prints with --json on set, restore and apply, one
    a line: returns (the boards' objects, the summary or None). Raises
    ValueError on a line that is not a JSON object."""
    boards = []
    summary = None
    for line in text.splitlines():
        line = line.strip()
        if not line:
            continue
        item = json.loads(line)
        if not isinstance(item, dict):
            raise ValueError('not a JSON object: {0}'.format(line))
        if 'summary' in item:
            summary = item['summary']
        else:
            boards.append(item)
    return boards, summary


def stderr_message(stderr):
    """relayctl's messages on standard error as one text."""
    return ' '.join(line.strip() for line in stderr.splitlines() if line.strip())


def config_result(address, status, out, err, check_mode):
    """board_config's result of a relayctl set or restore that exited with
    STATUS, printing OUT and ERR: failed with msg and status unless relayctl
    succeeded (or, in check mode, found something to change)."""
    try:
        boards = json_lines(out)[0]
    except ValueError:
        boards = []
    if not boards:
        # Usage errors and unreadable files are reported before any board is.
        return dict(failed=True, changed=False, status=status,
                    msg=stderr_message(err) or 'relayctl exited with status {0} and reported no board'.format(status))

    board = boards[0]
    address = board.get('address', address)
    changes = mask_changes(board.get('changes'))
    result = dict(
        changed=bool(board.get('changed')),
        changes=changes,
        diff=diff(address, changes),
        restarted=bool(board.get('restarted')),
        message=board.get('message', ''),
        result=board.get('result'),
    )
    # Nothing written and nothing read back is nothing verified; a plan
    # (no "verified" at all) neither.
    if 'verified' in board and (board.get('changed') or board.get('verified')):
        result['verified'] = bool(board['verified'])
    if status != 0 and not (check_mode and status == CHECK_WOULD_CHANGE):
        # relayctl's message of a partial write names what the board holds
        # and what it does not, and that it was not restarted.
        result.update(failed=True, status=status,
                      msg='{0}: {1}'.format(address, result['message'] or stderr_message(err)))
    return result


def info_result(status, out, err, with_password):
    """board_info's result of a relayctl show --json: the board, its settings
    as board_config takes them (the password left out unless WITH_PASSWORD),
    or failed with msg and status."""
    if status != 0:
        return dict(failed=True, changed=False, status=status,
                    msg=stderr_message(err) or 'relayctl show exited with status {0}'.format(status))
    try:
        board = json.loads(out)
    except ValueError:
        board = None
    if not isinstance(board, dict):
        return dict(failed=True, changed=False, status=status, msg='relayctl show printed no JSON object')
    if isinstance(board.get('settings'), dict) and not with_password:
        board['settings'] = dict((name, value) for name, value in board['settings'].items() if name != 'password')
    return dict(changed=False, board=board)


def mask_changes(changes):
    """A copy of a board's changes with the password's values masked: the
    board's as MASK, the new one as MASK_CHANGED, so that a password change
    shows as one."""
    masked = []
    for change in changes or []:
        change = dict(change)
        if change.get('setting') == 'password':
            for side, mask in (('before', MASK), ('after', MASK_CHANGED)):
                if change.get(side) is not None:
                    change[side] = mask
        masked.append(change)
    return masked


def _text(value):
    if isinstance(value, bool):
        return 'on' if value else 'off'
    if value is None:
        return '(none)'
    return '{0}'.format(value)


def diff(address, changes):
    """Ansible's diff of a board's (masked) changes: a line per setting."""
    return {
        'before_header': address,
        'after_header': address,
        'before': ''.join('{0}: {1}\n'.format(c.get('setting'), _text(c.get('before'))) for c in changes),
        'after': ''.join('{0}: {1}\n'.format(c.get('setting'), _text(c.get('after'))) for c in changes),
    }
