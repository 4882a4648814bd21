#!/bin/bash
# Loads radmill's bash completion and completes command lines as bash would: the words typed,
# the last one being completed, against the candidates expected.
# Usage: completion_test.sh COMPLETION-SCRIPT
set -u
source "$1"
status=0

expect() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _radmill
    if [[ ${COMPREPLY[*]} != "$expected" ]]; then
        echo "FAIL: '$*' gave '${COMPREPLY[*]}', expected '$expected'"
        status=1
    fi
}

[[ $(complete -p radmill) == *"-F _radmill radmill" ]] || { echo "FAIL: not registered"; status=1; }
expect "grayscale palette rgb float" radmill -t ""
expect "palette" radmill -i in.pb -t p
expect "rgb" radmill --color-type = r
expect "" radmill -t Palette
expect "--color-type" radmill --col
exit $status
