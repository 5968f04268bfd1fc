"""board_info on the controller: relayctl show --json."""

from __future__ import absolute_import, division, print_function
__metaclass__ = type

from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import info_result, run
from ansible_collections.relaylink.boards.plugins.modules.board_info import ARGUMENT_SPEC
from ansible_collections.relaylink.boards.plugins.plugin_utils.board_action import BoardAction


class ActionModule(BoardAction):
    ARGUMENT_SPEC = ARGUMENT_SPEC

    def board_run(self, params, relayctl, task_vars):
        status, out, err = run(relayctl, 'show', ['--json'], [params['address']])
        return info_result(status, out, err, params['password'])
