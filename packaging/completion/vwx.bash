# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for vwx: its options, and after -d/--restore/-t/--test only protected
# files (*.vwx) and folders.
_vwx() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} i restoring=0
    local options="-e --protect -d --restore -t --test -o --output --replace -f --force
                   --password-file --no-private-code -q --quiet -j --jobs -h --help --version
                   --store-private-code --private-code-file --forget-private-code"
    COMPREPLY=()
    case $prev in
        -o | --output | --password-file | --private-code-file)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
        -j | --jobs)
            mapfile -t COMPREPLY < <(compgen -W "1 2 4 8" -- "$cur")
            return
            ;;
    esac
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            --) break ;;
            -d | --restore | -t | --test) restoring=1 ;;
        esac
    done
    if [[ $cur == -* && $i == "$COMP_CWORD" ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif ((restoring)); then
        mapfile -t COMPREPLY < <(compgen -f -X '!*.vwx' -- "$cur"; compgen -d -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}
complete -o filenames -F _vwx vwx
