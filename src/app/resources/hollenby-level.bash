# bash completion for hollenby-level. The commands and their options are read from the program's
# own help, so every command it has is offered, and nothing here goes stale.

_hollenby_level()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local program=${COMP_WORDS[0]}
    local commands command="" i
    commands=$("$program" --help 2>/dev/null |
        awk '/^Commands:/ { on = 1; next } /^$/ { on = 0 } on { printf "%s ", $1 }')
    for ((i = 1; i < COMP_CWORD; i++)); do
        case " help $commands " in
        *" ${COMP_WORDS[i]} "*) command=${COMP_WORDS[i]}; break ;;
        esac
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands help --help --version" -- "$cur"))
        return
    fi
    if [[ $command == help ]]; then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi
    if [[ $command == tiled-extension ]]; then
        COMPREPLY=($(compgen -W "install path" -- "$cur"))
        return
    fi
    case $prev in
    -r | --resources) local IFS=$'\n'; COMPREPLY=($(compgen -d -- "$cur")); return ;;
    --grid) COMPREPLY=($(compgen -W "play editor" -- "$cur")); return ;;
    --format) COMPREPLY=($(compgen -W "text json" -- "$cur")); return ;;
    --layer-format)
        COMPREPLY=($(compgen -W "csv base64 base64-zlib base64-gzip base64-zstd" -- "$cur"))
        return ;;
    --rows | --scale | --background | --jobs | -s | --size | --layer | --blank) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$("$program" help "$command" 2>/dev/null |
            grep -oE -- '(^|[ ,])--?[A-Za-z][A-Za-z-]*' | tr -d ' ,' | sort -u)" -- "$cur"))
        return
    fi
    # Levels, pictures and maps, and folders on the way to them; names may hold spaces.
    local IFS=$'\n'
    COMPREPLY=($(compgen -d -- "$cur"
        local pattern
        for pattern in '*.[lL][vV][lL]' '*.[pP][nN][gG]' '*.[tT][mM][xXjJ]' '*.[jJ][sS][oO][nN]'; do
            compgen -f -X "!$pattern" -- "$cur"
        done))
    compopt -o filenames 2>/dev/null
}
complete -F _hollenby_level hollenby-level
