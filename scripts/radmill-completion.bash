# Bash completion for radmill: its options, the colour-type and log-level words, and file
# names. Installed as share/bash-completion/completions/radmill; to try it from a checkout,
# `source scripts/radmill-completion.bash`.

_radmill() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    # "--color-type=pal" reaches here as "--color-type", "=", "pal".
    if [[ $cur == = ]]; then
        cur=""
    elif [[ $prev == = && COMP_CWORD -ge 2 ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi
    case $prev in
    -t | --color-type)
        mapfile -t COMPREPLY < <(compgen -W "grayscale palette rgb float" -- "$cur")
        return
        ;;
    -l | --log-level)
        mapfile -t COMPREPLY < <(compgen -W "trace debug info warn error critical off" -- "$cur")
        return
        ;;
    -i | --ip | -o | --op | --if)
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "-h --help -v --version -l --log-level -i --ip \
            -o --op -t --color-type --if" -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}

complete -o filenames -F _radmill radmill
