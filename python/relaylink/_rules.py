"""The library's value rules (common/), for plans: which texts the library
takes as an address, a server name and a password, and the normal form in
which it writes them. Texts here are board texts (code points 0..255, no NUL).
"""

from __future__ import annotations

from typing import List, Optional


def trim_control(text: str) -> str:
    """`text` without the characters of code 0..32 at both ends."""
    first, last = 0, len(text)
    while first < last and ord(text[first]) <= 32:
        first += 1
    while last > first and ord(text[last - 1]) <= 32:
        last -= 1
    return text[first:last]


def split_items(text: str, separator: str) -> List[str]:
    """The items of `text` between separators; CR and LF before an item are
    skipped and end it; a ' or " quotes up to the same quote (quotes stay in
    the item); empty items are dropped."""
    items = []
    pos = 0
    while pos < len(text):
        while pos < len(text) and text[pos] in "\r\n":
            pos += 1
        start = pos
        quote = ""
        while pos < len(text):
            c = text[pos]
            if quote:
                if c == quote:
                    quote = ""
            elif c == separator or c in "\r\n":
                break
            elif c in "'\"":
                quote = c
            pos += 1
        if pos > start:
            items.append(text[start:pos])
        pos += 1  # over the character that ended the item
    return items


def str_to_int(text: str) -> Optional[int]:
    """The signed 32-bit integer of an optional sign and decimal digits, or
    hexadecimal digits after "$", "x", "X", "0x" or "0X" (eight of them wrap
    into the negative range); None for anything else."""
    digits = text
    negative = False
    if digits[:1] in ("+", "-"):
        negative = digits[0] == "-"
        digits = digits[1:]
    prefix = 2 if digits[:2] in ("0x", "0X") else 1 if digits[:1] in ("$", "x", "X") else 0
    base = 16 if prefix else 10
    digits = digits[prefix:]
    allowed = "0123456789abcdefABCDEF" if base == 16 else "0123456789"
    if not digits or any(c not in allowed for c in digits):
        return None
    limit = 0xFFFFFFFF if base == 16 else (0x80000000 if negative else 0x7FFFFFFF)
    magnitude = int(digits, base)
    if magnitude > limit:
        return None
    bits = (-magnitude if negative else magnitude) & 0xFFFFFFFF
    return bits - 0x100000000 if bits >= 0x80000000 else bits


def normal_address(text: str) -> Optional[str]:
    """The normal form of a dotted quad (four decimal numbers 0..255), or None
    when the library refuses the text as an address."""
    items = split_items(trim_control(text), ".")
    if len(items) != 4:
        return None
    parts = [str_to_int(trim_control(item)) for item in items]
    if any(part is None or not 0 <= part <= 255 for part in parts):
        return None
    return ".".join(str(part) for part in parts)


def is_sendable_server(name: str) -> bool:
    """Whether the library writes a (trimmed) server name: not empty, and
    nothing that ends the board's frame or splits its reply."""
    return bool(name) and not any(ord(c) < 32 or ord(c) == 127 or c in ",;\"'" for c in name)


def is_valid_password(text: str) -> bool:
    """Exactly six digits."""
    return len(text) == 6 and all(c in "0123456789" for c in text)
