#!/usr/bin/env python3
"""cp1250_literal.py - prints a UTF-8 text (standard input) as a C++ literal of Windows-1250 bytes,
one piece a line with the readable text in a comment, as the code keeps its Czech texts.
A literal backslash-r-backslash-n in the input stands for a line break."""
import sys

HEX = set("0123456789abcdefABCDEF")


def piece(text):
    out, after_escape = [], False
    for ch in text:
        b = ch.encode("cp1250")
        if ch == "\r":
            out.append("\\r"); after_escape = False
        elif ch == "\n":
            out.append("\\n"); after_escape = False
        elif ch in '"\\':
            out.append("\\" + ch); after_escape = False
        elif b[0] < 0x80:
            if after_escape and ch in HEX:
                out.append('" "')
            out.append(ch); after_escape = False
        else:
            out.append("\\x%02X" % b[0]); after_escape = True
    return '"' + "".join(out) + '"'


def chunks(text, width=44):
    words, line = text.replace("\\r\\n", "\r\n").split(" "), ""
    for i, word in enumerate(words):
        token = word + (" " if i < len(words) - 1 else "")
        if len(line) + len(token) > width and line:
            yield line
            line = ""
        line += token
        if "\n" in line:
            yield line
            line = ""
    if line:
        yield line


for part in chunks(sys.stdin.read().rstrip("\n")):
    readable = part.replace("\r\n", "\\r\\n")
    print("    %s  // %s" % (piece(part), readable))
