#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints what a screen reader finds in a running program: every accessible object of every
window, indented, with its role, name, description, value, actions and focus.

    atspi-tree.py [PROGRAM]      (default vaultwise; run inside bench/desktop/session.sh)

Objects not on the screen are marked "(hidden)". Uses the system's python3-pyatspi.
"""
import sys

import pyatspi


def describe(node):
    states = node.getState()
    text = '%s "%s"' % (node.getRoleName(), node.name)
    if node.description:
        text += ' desc="%s"' % node.description
    try:
        text += ' value=%s' % node.queryValue().currentValue
    except NotImplementedError:
        pass
    try:
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if names:
            text += ' actions=' + ','.join(names)
    except NotImplementedError:
        pass
    if states.contains(pyatspi.STATE_FOCUSABLE):
        text += ' focusable'
    if states.contains(pyatspi.STATE_FOCUSED):
        text += ' FOCUSED'
    if not states.contains(pyatspi.STATE_SHOWING):
        text += ' (hidden)'
    return text


def walk(node, depth):
    print('  ' * depth + describe(node))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1)


program = sys.argv[1] if len(sys.argv) > 1 else 'vaultwise'
for application in pyatspi.Registry.getDesktop(0):
    if application is not None and application.name == program:
        walk(application, 0)
