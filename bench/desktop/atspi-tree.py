#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints what a screen reader finds in a running program.

    atspi-tree.py [--program NAME] [--window TITLE] [--tab N] [--focus]

Default: every accessible object of every window of the program (default vaultwise),
indented, with its role, name, description, value, actions, the labels it is related to and
its states; objects not on the screen are marked "(hidden)". --window keeps the windows whose
title contains TITLE (is TITLE, for =TITLE). --focus prints only the object that has the
focus. --tab N presses Tab N times with xdotool and prints the focused object after each
press (the focus order).
Run it inside bench/desktop/session.sh, or wherever DISPLAY and the accessibility bus are
those of the program. Uses the system's python3-pyatspi (run it with /usr/bin/python3).
"""
import argparse
import subprocess
import time

import pyatspi

STATES = [
    (pyatspi.STATE_FOCUSABLE, 'focusable'),
    (pyatspi.STATE_FOCUSED, 'FOCUSED'),
    (pyatspi.STATE_CHECKED, 'checked'),
    (pyatspi.STATE_EDITABLE, 'editable'),
    (pyatspi.STATE_IS_DEFAULT, 'default'),
    (pyatspi.STATE_MODAL, 'modal'),
    (pyatspi.STATE_ACTIVE, 'active'),
]

RELATIONS = [
    (pyatspi.RELATION_LABELLED_BY, 'labelled-by'),
    (pyatspi.RELATION_LABEL_FOR, 'label-for'),
]


def related(node):
    parts = []
    try:
        relations = node.getRelationSet()
    except Exception:
        return parts
    for relation in relations:
        for kind, word in RELATIONS:
            if relation.getRelationType() == kind:
                targets = [relation.getTarget(i) for i in range(relation.getNTargets())]
                parts.append('%s=%s' % (word, ','.join(
                    '"%s"' % (t.name if t is not None else '?') for t in targets)))
    return parts


def describe(node):
    states = node.getState()
    text = '%s "%s"' % (node.getRoleName(), node.name)
    if node.description:
        text += ' desc="%s"' % node.description
    try:
        value = node.queryValue()
        text += ' value=%g [%g..%g]' % (value.currentValue, value.minimumValue,
                                        value.maximumValue)
    except NotImplementedError:
        pass
    try:
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if names:
            text += ' actions=' + ','.join(names)
    except NotImplementedError:
        pass
    parts = related(node)
    parts += [word for state, word in STATES if states.contains(state)]
    if not states.contains(pyatspi.STATE_ENABLED):
        parts.append('disabled')
    if not states.contains(pyatspi.STATE_SHOWING):
        parts.append('(hidden)')
    return ' '.join([text] + parts)


def walk(node, depth):
    print('  ' * depth + describe(node))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1)


def focused(node):
    if node.getState().contains(pyatspi.STATE_FOCUSED):
        return node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            found = focused(child)
            if found is not None:
                return found
    return None


def matches(name, title):
    if title is None:
        return True
    if title.startswith('='):
        return name == title[1:]
    return title in name


def windows(program, title):
    for application in pyatspi.Registry.getDesktop(0):
        if application is None or application.name != program:
            continue
        for i in range(application.childCount):
            window = application.getChildAtIndex(i)
            if window is not None and matches(window.name, title):
                yield window


def report_focus(program, title):
    for window in windows(program, title):
        node = focused(window)
        if node is not None:
            print('[%s] %s' % (window.name, describe(node)))
            return
    print('(nothing focused)')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--program', default='vaultwise')
    parser.add_argument('--window')
    parser.add_argument('--tab', type=int, default=0)
    parser.add_argument('--focus', action='store_true')
    args = parser.parse_args()
    if args.tab:
        report_focus(args.program, args.window)
        for _ in range(args.tab):
            subprocess.run(['xdotool', 'key', 'Tab'], check=True)
            time.sleep(0.4)
            report_focus(args.program, args.window)
    elif args.focus:
        report_focus(args.program, args.window)
    else:
        for window in windows(args.program, args.window):
            walk(window, 0)


main()
