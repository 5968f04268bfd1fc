"""What the modules and the inventory plugin share: finding relayctl,
running it, reading its JSON output and masking the password in it."""

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json
import os

from ansible.module_utils.common.process import get_bin_path

MASK = '********'

# A new password, masked too, yet told apart from the board's in a plan.
MASK_CHANGED = MASK + ' (changed)'

# relayctl --check exits with this status when something would change.
CHECK_WOULD_CHANGE = 5

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


def run(module, relayctl, args, stdin=None):
    """Runs relayctl with ARGS, a list, and STDIN (a text or None) on its
    standard input: no shell, and no expansion of $ or ~ inside values.
    Returns (status, stdout, stderr)."""
    return module.run_command([relayctl] + args, data=stdin, environ_update=LOCALE, expand_user_and_vars=False)


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


def mask_board(board):
    """A copy of a board's object (show --json) with its password masked."""
    masked = dict(board)
    settings = board.get('settings')
    if isinstance(settings, dict):
        masked['settings'] = dict(settings)
        if settings.get('password') is not None:
            masked['settings']['password'] = MASK
    return masked


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
