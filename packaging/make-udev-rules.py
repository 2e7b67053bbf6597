#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the udev rule that lets the logged-in user open the supported mice.

For every catalogue line of config.xml (a mouse by cable or its receiver) the rule grants the
seat's user (TAG+="uaccess") read and write access to exactly two hidraw nodes: the
configuration interface (the line's hid_interface) and the boot-loader interface used for
firmware upgrades. Nothing else of the mouse (its keyboard and pointer collections) and no
other device is touched, and nothing becomes world-writable (MODE="0660").

Usage: make-udev-rules.py CONFIG_XML [OUTPUT]   (standard output without OUTPUT)
"""
import sys
import xml.etree.ElementTree as ElementTree

# The boot-loader collection (usage page 0xFFEF) of the family's mice and receivers sits on
# the USB interface after the configuration interface.
BOOT_LOADER_OFFSET = 1


def catalogue_lines(config_path):
    """(model name, mode description, vid, pid, configuration interface) per <mode>."""
    root = ElementTree.parse(config_path).getroot()
    if root.tag != "config":
        raise ValueError(f"{config_path}: the root element is <{root.tag}>, not <config>")
    lines = []
    for mouse in root.iter("mouse"):
        for mode in mouse.iter("mode"):
            vid = int(mode.get("vid", ""), 16)
            pid = int(mode.get("pid", ""), 16)
            interface = int(mode.get("hid_interface") or "2")
            lines.append((mouse.get("name", ""), mode.get("desc", ""), vid, pid, interface))
    return lines


def rule(vid, pid, interface):
    # The hidraw node's device path holds the USB interface ("<bus>-<port>:<config>.<n>") and
    # the HID device ("0003:VVVV:PPPP.nnnn", upper-case hex) it belongs to.
    return (f'SUBSYSTEM=="hidraw", DEVPATH=="*:*.{interface}/0003:{vid:04X}:{pid:04X}.*", '
            f'TAG+="uaccess", MODE="0660"')


def rules_text(config_path):
    out = ["# Kestrix: access for the logged-in user to the configuration and boot-loader",
           "# interfaces of the supported mice and receivers. Generated from config.xml by",
           "# packaging/make-udev-rules.py; install as 70-kestrix.rules (before 73-seat-late.rules).",
           ""]
    for name, desc, vid, pid, interface in catalogue_lines(config_path):
        out.append(f"# {name} ({desc})")
        out.append(rule(vid, pid, interface))
        out.append(rule(vid, pid, interface + BOOT_LOADER_OFFSET))
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    try:
        text = rules_text(argv[1])
    except (OSError, ValueError, ElementTree.ParseError) as error:
        sys.stderr.write(f"make-udev-rules: {error}\n")
        return 1
    if len(argv) == 3:
        with open(argv[2], "w", encoding="utf-8") as output:
            output.write(text)
    else:
        sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
