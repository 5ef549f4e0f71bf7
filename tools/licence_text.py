#!/usr/bin/env python3
"""licence_text.py - the licence the About window shows, as UTF-8 text with LF line ends: read from
the Windows-1250 literal kAboutLicenceText in ui/forms/about_texts.cpp. LICENCE is this text;
tools/release_check.sh compares the two, so that they cannot drift apart.

Usage: licence_text.py [ABOUT_TEXTS_CPP]
"""
import ast
import re
import sys


def licence_text(source):
    body = re.search(r"kAboutLicenceText\s*=(.*?);", source, re.S).group(1)
    text = b""
    for literal in re.findall(r'"((?:[^"\\]|\\.)*)"', body):
        # A C literal's escapes (\xE8, \r, \n) as Python bytes: the same bytes.
        text += ast.literal_eval('b"' + literal + '"')
    return text.decode("cp1250").replace("\r\n", "\n")


def main(argv):
    path = argv[1] if len(argv) > 1 else "ui/forms/about_texts.cpp"
    with open(path, encoding="utf-8") as f:
        sys.stdout.write(licence_text(f.read()) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
