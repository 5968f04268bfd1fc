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
      - The default is the host's C(ansible_host), else its inventory name.
    type: str
  relayctl:
    description:
      - The relayctl program on the controller, as a path or a name looked up on C(PATH).
    type: str
    default: relayctl
'''
