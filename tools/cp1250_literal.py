#!/usr/bin/env python3
"""cp1250_literal.py - prints a text as a C++ literal of Windows-1250 bytes, one piece a line with
the readable text in a comment, as the code keeps its Czech texts.

Usage: tools/cp1250_literal.py [TEXT...]
  The TEXT arguments, joined by blanks, or standard input (UTF-8) when there are none or TEXT is
  "-". A literal backslash-r-backslash-n in the text stands for a line break (CR LF).
Example: tools/cp1250_literal.py 'Výstupní soubory zůstaly beze změny.'
"""
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


def main(argv):
    if any(arg in ("-h", "--help") for arg in argv):
        sys.stdout.write(__doc__)
        return 0
    text = sys.stdin.read() if argv in ([], ["-"]) else " ".join(argv)
    text = text.rstrip("\n")
    foreign = sorted({ch for ch in text if ch not in "\r\n" and not _in_cp1250(ch)})
    if foreign:
        sys.stderr.write("cp1250_literal.py: not in Windows-1250: %s\n" % " ".join(foreign))
        return 1
    for part in chunks(text):
        readable = part.replace("\r\n", "\\r\\n")
        print("    %s  // %s" % (piece(part), readable))
    return 0


def _in_cp1250(ch):
    try:
        ch.encode("cp1250")
        return True
    except UnicodeEncodeError:
        return False


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
