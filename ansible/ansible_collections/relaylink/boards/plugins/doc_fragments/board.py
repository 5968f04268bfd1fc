from __future__ import absolute_import, division, print_function
__metaclass__ = type


class ModuleDocFragment(object):
    # The options of every module of the collection: the board, and the
    # relayctl that reaches it.
    DOCUMENTATION = r'''
options:
  address:
    description:
      - The board's IPv4 address. Items are read as decimal numbers, so C(127.040.001.010) is
        C(127.40.1.10).
    type: str
    required: true
  relayctl:
    description:
      - The relayctl program, as a path or a name looked up on C(PATH).
    type: str
    default: relayctl
'''
