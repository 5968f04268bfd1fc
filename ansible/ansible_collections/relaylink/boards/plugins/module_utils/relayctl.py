"""What the action plugins and the inventory plugin share: finding relayctl,
running it on the controller (the one way the collection calls it), turning
its JSON output into results with the password masked and a board's texts
escaped, and keeping backups."""

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import errno
import json
import os
import re
import subprocess
import time

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
BOARD_OPTIONS = dict(
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


def run(relayctl, command, options=(), operands=(), stdin=None):
    """Runs `relayctl COMMAND OPTIONS -- OPERANDS`, no shell, with STDIN (a
    text or None) on its standard input. The operands (addresses, ranges,
    files: texts from the inventory or a board) come after "--", so that none
    is ever read as an option. Returns (status, stdout, stderr)."""
    env = dict(os.environ, **LOCALE)
    done = subprocess.run([relayctl, command] + list(options) + ['--'] + list(operands), input=stdin or '',
                          capture_output=True, env=env, encoding='utf-8', errors='replace', check=False)
    return done.returncode, done.stdout, done.stderr


def failure(status, err, otherwise):
    """The result of a relayctl run that gave no result: relayctl's status and
    its message, else OTHERWISE; never ok, whatever the status."""
    return dict(failed=True, changed=False, status=status, msg=stderr_message(err) or otherwise)


# What relayctl shows as \xNN on a terminal: C0 controls, DEL and C1 controls.
CONTROL = re.compile('[\x00-\x1f\x7f-\x9f]')


def shown(text):
    """A board's text (its bytes as the characters U+0000..U+00FF, as in
    relayctl's JSON) as relayctl shows it on a UTF-8 terminal: control
    characters as \\xNN, so that it can never clear a screen or retitle a
    terminal. Other values come back as they are."""
    if not isinstance(text, str):
        return text
    return CONTROL.sub(lambda found: '\\x{0:02x}'.format(ord(found.group())), text)


def board_address(address, task_vars, template):
    """The board's address: ADDRESS when given, else the host's ansible_host
    (which may itself be a template, so TEMPLATE makes it a text), else its
    inventory name (which is not)."""
    if address:
        return address
    if 'ansible_host' in task_vars:
        return template(task_vars['ansible_host'])
    return task_vars['inventory_hostname']


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
    """relayctl's command, options, operands and standard input for
    board_config's PARAMS: set (the settings on standard input, so that no
    value is in an argument) or restore, with --json, and --check in check
    mode or the verification and guard options of a run."""
    stdin = None
    if params['src'] is not None:
        command, options, operands = 'restore', [], [params['address'], params['src']]
        if params['other_board']:
            options.append('--other-board')
    else:
        command, options, operands = 'set', ['--from', '-'], [params['address']]
        stdin = setting_lines(params['settings'])
    options.append('--json')
    if check_mode:
        options.append('--check')
    elif params['verify']:
        options += ['--verify', '--wait', '{0:g}'.format(params['wait'])]
    if params['force']:
        options.append('--force')
    return command, options, operands, stdin


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
        return failure(status, err, 'relayctl exited with status {0} and reported no board'.format(status))

    board = boards[0]
    address = board.get('address', address)
    changes = shown_changes(board.get('changes'))
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


def printed_object(status, out):
    """The JSON object that a relayctl run which exited with STATUS 0 printed
    as OUT; None for any other status or output."""
    try:
        printed = json.loads(out) if status == 0 else None
    except ValueError:
        return None
    return printed if isinstance(printed, dict) else None


def info_result(status, out, err, with_password):
    """board_info's result of a relayctl show --json: the board, its settings
    as board_config takes them (the password left out unless WITH_PASSWORD),
    or failed with msg and status."""
    board = printed_object(status, out)
    if board is None:
        return failure(status, err, 'relayctl show exited with status {0} and printed no JSON object'.format(status))
    if isinstance(board.get('settings'), dict) and not with_password:
        board['settings'] = dict((name, value) for name, value in board['settings'].items() if name != 'password')
    return dict(changed=False, board=board)


def shown_changes(changes):
    """A copy of a board's changes as the collection prints them: the
    password's values masked (the board's as MASK, the new one as
    MASK_CHANGED, so that a password change shows as one), every text as
    relayctl shows it."""
    masked = []
    for change in changes or []:
        change = dict(change)
        for side in ('before', 'after'):
            if change.get('setting') == 'password' and change.get(side) is not None:
                change[side] = MASK if side == 'before' else MASK_CHANGED
            change[side] = shown(change.get(side))
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


def backup_file_name(host, now=None):
    """The default backup file name: the inventory name HOST made a plain file
    name (characters other than letters, digits, ".", "_" and "-" as "_", no
    leading dot), "_board.", the date and time and ".json"."""
    stem = re.sub(r'[^A-Za-z0-9._-]', '_', host).lstrip('.') or 'board'
    return '{0}_board.{1}.json'.format(stem, time.strftime('%Y-%m-%d@%H:%M:%S', time.localtime(now)))


def checked_file_name(name):
    """NAME when it names a file inside a folder: not empty, no path
    separator, not "." or "..", so not absolute. Raises ValueError."""
    separators = [os.sep] + ([os.altsep] if os.altsep else [])
    if name in ('', '.', '..') or '\0' in name or any(separator in name for separator in separators):
        raise ValueError('backup_options.filename must name a file inside dir_path, without a path separator'
                         ' or "..": {0}'.format(shown(name)))
    return name


def numbered(name, number):
    """NAME for the NUMBER-th file of that name: NAME itself first, then
    "-2", "-3" ... before its extension."""
    if number == 1:
        return name
    stem, extension = os.path.splitext(name)
    return '{0}-{1}{2}'.format(stem, number, extension)


# A folder holding this many files of one name is a fault, not a reason to go on.
MAX_NUMBERED = 10000


def write_new_file(folder, name, text):
    """Writes TEXT to a new file in FOLDER, readable and writable by its owner
    only: NAME, or the first numbered() name not taken, so that no file (a
    backup of another run or host, a link planted at the name) is ever
    replaced or followed. The folder is made (owner only) when missing.
    Returns the path; raises OSError, leaving no partial file."""
    os.makedirs(folder, mode=0o700, exist_ok=True)
    flags = os.O_WRONLY | os.O_CREAT | os.O_EXCL | getattr(os, 'O_NOFOLLOW', 0) | getattr(os, 'O_CLOEXEC', 0)
    for number in range(1, MAX_NUMBERED + 1):
        path = os.path.join(folder, numbered(name, number))
        try:
            descriptor = os.open(path, flags, 0o600)
        except OSError as e:
            if e.errno == errno.EEXIST:
                continue
            raise
        try:
            with os.fdopen(descriptor, 'w', encoding='utf-8') as f:
                f.write(text)
                f.flush()
                os.fsync(f.fileno())
        except BaseException:
            os.unlink(path)
            raise
        return path
    raise OSError(errno.EEXIST, 'every name up to {0} is taken'.format(numbered(name, MAX_NUMBERED)))


def take_backup(relayctl, address, folder, name, runner=run):
    """relayctl's backup of the board at ADDRESS, written by write_new_file
    as NAME in FOLDER: the result with backup_path, or failed."""
    status, out, err = runner(relayctl, 'backup', ['-o', '-'], [address])
    if printed_object(status, out) is None:
        return failure(status, err, 'relayctl backup exited with status {0} and printed no backup'.format(status))
    try:
        return dict(backup_path=write_new_file(folder, name, out))
    except OSError as e:
        return dict(failed=True, changed=False, msg='cannot write the backup in {0}: {1}'.format(
            shown(folder), shown(e.strerror or '{0}'.format(e))))


def configure(params, relayctl, check_mode, backup_folder, backup_name, runner=run):
    """board_config's result for PARAMS (validated, address resolved): the
    backup first when asked for (also in check mode), then relayctl set or
    restore. BACKUP_FOLDER and BACKUP_NAME say where the backup goes."""
    if params['settings'] is None and params['src'] is None and not params['backup']:
        return dict(failed=True, msg='one of settings, src or backup is required')
    if params['settings'] is not None:
        try:
            lines = setting_lines(params['settings'])
        except ValueError as e:
            return dict(failed=True, changed=False, status=USAGE, msg='{0}'.format(e))
        if not lines:
            return dict(failed=True, msg='settings names no setting to write')

    result = {}
    if params['backup']:
        try:
            backup_name = checked_file_name(backup_name)
        except ValueError as e:
            return dict(failed=True, changed=False, status=USAGE, msg='{0}'.format(e))
        result = take_backup(relayctl, params['address'], backup_folder, backup_name, runner)
        if result.get('failed') or (params['settings'] is None and params['src'] is None):
            return dict(result, changed=False)

    command, options, operands, stdin = config_command(params, check_mode)
    status, out, err = runner(relayctl, command, options, operands, stdin)
    result.update(config_result(params['address'], status, out, err, check_mode))
    return result
