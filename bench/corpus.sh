# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The benchmarks' data, sourced by bench/compare and bench/batch: text (the system's
# documentation, unpacked) and binary data (the system's shared libraries, end to end), each
# repeating its files, in name order, until it reaches the size asked for.

repeat_until_full() { for ((round = 0; round < 64; round++)); do "$@" || return 0; done; }
doc_text() {
    find /usr/share/doc -type f -name '*.gz' -print0 | sort -z | xargs -0 zcat 2>/dev/null
    find /usr/share/doc -type f ! -name '*.gz' \( -name '*.txt' -o -name '*.html' -o -name 'copyright' \
        -o -name '*.md' -o -name 'README*' -o -name 'NEWS*' -o -name 'changelog*' \) -print0 |
        sort -z | xargs -0 cat 2>/dev/null
}
libraries() { find /usr/lib/x86_64-linux-gnu -maxdepth 1 -name '*.so*' -type f -print0 | sort -z | xargs -0 cat; }

# corpus text|binary MIB FILE
corpus() {
    local source=doc_text
    [[ $1 == binary ]] && source=libraries
    { repeat_until_full "$source" | head -c $(($2 << 20)) >"$3"; } 2>/dev/null || true
}

# The median of the numbers given.
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# With VW_QUIET=PERCENT, waits (ten minutes at most) until the processors have been at least that
# idle for two seconds: on a machine shared with other work, a timing then measures the program
# rather than its neighbours.
wait_quiet() {
    [[ -n ${VW_QUIET:-} ]] || return 0
    local a b k total tries
    for ((tries = 0; tries < 300; tries++)); do
        read -r -a a </proc/stat
        sleep 2
        read -r -a b </proc/stat
        total=0
        for k in 1 2 3 4 5 6 7 8; do total=$((total + b[k] - a[k])); done
        ((total > 0 && (b[4] - a[4]) * 100 >= VW_QUIET * total)) && return 0
    done
    return 0 # never quiet: measured as it is
}
