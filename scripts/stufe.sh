# Sourced by the CI scripts.
# stufe NAME COMMAND...: runs COMMAND and prints "== stage NAME: <n> s", its
# wall time; a failing COMMAND ends the calling script.
stufe() {
    local name="$1" start=$SECONDS
    shift
    echo "== stage $name"
    "$@"
    echo "== stage $name: $((SECONDS - start)) s"
}
