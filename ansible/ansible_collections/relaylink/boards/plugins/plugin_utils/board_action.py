"""What the action plugins of board_info and board_config share: their
options checked against the module's declared arguments, the board's address,
and relayctl found on the controller."""

from __future__ import absolute_import, division, print_function
__metaclass__ = type

from ansible.plugins.action import ActionBase
from ansible_collections.relaylink.boards.plugins.module_utils.relayctl import board_address, find_relayctl


class BoardAction(ActionBase):
    """Runs relayctl on the controller for one board: no module is copied to
    the host and no interpreter is started there."""

    _supports_check_mode = True
    _supports_async = False

    # Set by each action: the module's declared arguments and the options of
    # ArgumentSpecValidator beyond them.
    ARGUMENT_SPEC = {}
    RULES = {}

    def board_run(self, params, relayctl, task_vars):
        """The task's result for PARAMS (validated, address resolved)."""
        raise NotImplementedError

    def run(self, tmp=None, task_vars=None):
        result = super(BoardAction, self).run(tmp, task_vars)
        dummy, params = self.validate_argument_spec(argument_spec=self.ARGUMENT_SPEC, **self.RULES)
        params['address'] = board_address(params['address'], task_vars, self._templar.template)
        try:
            relayctl = find_relayctl(params['relayctl'])
        except ValueError as e:
            result.update(failed=True, msg='{0}'.format(e))
            return result
        result.update(self.board_run(params, relayctl, task_vars))
        return result
