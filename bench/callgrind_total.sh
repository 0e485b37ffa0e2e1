# Sourced by the instruction-counting scripts: what they share.
#
#   . "$(dirname "$0")/callgrind_total.sh"
#   require_program NAME PROGRAM     # valgrind and PROGRAM are there, or exit 1
#   callgrind_total PROGRAM ARGS...  # the instructions PROGRAM ARGS ran

require_program() {
    if ! command -v valgrind >/dev/null 2>&1; then
        echo "$1: valgrind is not installed" >&2
        exit 1
    fi
    if [ ! -x "$2" ]; then
        echo "$1: $2 is missing; build it first" >&2
        exit 1
    fi
}

callgrind_total() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 |
        sed -n 's/.*Collected : *\([0-9][0-9]*\).*/\1/p'
}
