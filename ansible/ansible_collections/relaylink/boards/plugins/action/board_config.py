"""board_config on the controller: relayctl backup (with backup), then
relayctl set or restore."""

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import os
import re
import time

from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import (
    USAGE, config_command, config_result, run, setting_lines, stderr_message)
from ansible_collections.relaylink.boards.plugins.modules.board_config import (
    ARGUMENT_SPEC, MUTUALLY_EXCLUSIVE, REQUIRED_IF)
from ansible_collections.relaylink.boards.plugins.plugin_utils.board_action import BoardAction


def backup_file_name(host):
    """The default backup_options.filename: the inventory name HOST (a
    board's device ID, from the scan inventory) made a plain file name, the
    date and time."""
    stem = re.sub(r'[^A-Za-z0-9._-]', '_', host).lstrip('.') or 'board'
    return '{0}_board.{1}.json'.format(stem, time.strftime('%Y-%m-%d@%H:%M:%S'))


class ActionModule(BoardAction):
    ARGUMENT_SPEC = ARGUMENT_SPEC
    RULES = dict(mutually_exclusive=MUTUALLY_EXCLUSIVE, required_if=REQUIRED_IF)

    def backup_path(self, params, task_vars):
        options = params['backup_options'] or {}
        folder = options.get('dir_path') or os.path.join(self._loader.get_basedir(), 'backup')
        return os.path.join(folder, options.get('filename') or backup_file_name(task_vars['inventory_hostname']))

    def board_run(self, params, relayctl, task_vars):
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
            path = self.backup_path(params, task_vars)
            try:
                os.makedirs(os.path.dirname(path) or '.', mode=0o700, exist_ok=True)
            except OSError as e:
                return dict(failed=True, msg='cannot make the backup folder: {0}'.format(e))
            status, dummy, err = run(relayctl, ['backup', params['address'], '-o', path])
            if status != 0:
                return dict(failed=True, changed=False, status=status, msg=stderr_message(err))
            result['backup_path'] = path
            if params['settings'] is None and params['src'] is None:
                result['changed'] = False
                return result

        check_mode = self._play_context.check_mode
        args, stdin = config_command(params, check_mode)
        status, out, err = run(relayctl, args, stdin)
        result.update(config_result(params['address'], status, out, err, check_mode))
        return result
