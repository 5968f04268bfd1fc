"""board_config on the controller: relayctl backup (with backup), then
relayctl set or restore."""

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import os

from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import backup_file_name, configure
from ansible_collections.relaylink.boards.plugins.modules.board_config import (
    ARGUMENT_SPEC, MUTUALLY_EXCLUSIVE, REQUIRED_IF)
from ansible_collections.relaylink.boards.plugins.plugin_utils.board_action import BoardAction


class ActionModule(BoardAction):
    ARGUMENT_SPEC = ARGUMENT_SPEC
    RULES = dict(mutually_exclusive=MUTUALLY_EXCLUSIVE, required_if=REQUIRED_IF)

    def board_run(self, params, relayctl, task_vars):
        options = params['backup_options'] or {}
        folder = options.get('dir_path') or os.path.join(self._loader.get_basedir(), 'backup')
        name = options.get('filename') or backup_file_name(task_vars['inventory_hostname'])
        return configure(params, relayctl, self._play_context.check_mode, folder, name)
