# Bash completion for morvi-cli. The commands, subcommands and options are read from the
# program's own --help texts, so that they never fall behind the program.

_morvi_cli() {
    local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} words
    if [[ $COMP_CWORD -eq 1 ]]; then
        # "  gob list|extract|..." lines under "Commands:".
        words=$("$program" --help 2>/dev/null | sed -n 's/^  \([a-z][a-z]*\) .*/\1/p')
        words+=$'\n--help\n--version'
    elif [[ $COMP_CWORD -eq 2 && $cur != -* ]]; then
        # "  morvi-cli gob list FILE ..." lines name the subcommands.
        words=$("$program" "${COMP_WORDS[1]}" --help 2>/dev/null |
            sed -n "s/^  morvi-cli ${COMP_WORDS[1]} \([a-z][a-z0-9]*\).*/\1/p")
    elif [[ $cur == -* ]]; then
        # Every --option the command's help names.
        words=$("$program" "${COMP_WORDS[1]}" --help 2>/dev/null | grep -oE -e '--[a-z][a-z0-9-]*' | sort -u)
    else
        COMPREPLY=($(compgen -f -- "$cur"))
        compopt -o filenames 2>/dev/null
        return
    fi
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
}

complete -F _morvi_cli morvi-cli
