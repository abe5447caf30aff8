# Sourced by the scripts that start Velmo under Xvfb.
arbeitskopie_ort="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# einstellungen FILE PORT HOST VERSION INFO: writes a settings file: port,
# host, protocol version (70 or 80), info mode (0 or 1), ten locomotive
# blocks.
einstellungen() {
    {
        printf '%s\n%s\n%s\n%s\n' "$2" "$3" "$4" "$5"
        for _ in $(seq 10); do printf 'M1\nLok\n0\n-1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n'; done
    } > "$1"
}

# arbeitskopie BUILD BINARY: makes a temporary work directory holding the
# built BINARY, links to the generated Data/ and a settings file, so the
# program starts without the message box of a missing settings file; prints
# its path.
arbeitskopie() {
    local build="$1" binary="$2" work
    work="$(mktemp -d)"
    cp "$build/bin/$binary" "$work/"
    mkdir "$work/Data"
    ln -s "$build"/bin/Data/* "$work/Data/"
    rm -f "$work/Data/parmc.dat"
    einstellungen "$work/Data/parmc.dat" 12345 localhost 70 0
    echo "$work"
}

# pfade ROOT [BUILD] [OUT]: sets build to BUILD (ROOT/build when empty)
# and out to OUT (BUILD/screenshots when empty), both as absolute paths,
# and makes out.
pfade() {
    build="$(realpath -m "${2:-$1/build}")"
    out="$(realpath -m "${3:-$build/screenshots}")"
    mkdir -p "$out"
}

# fensterlauf ROOT BUILD BINARY [TARGET...]: installs what a real window
# under Xvfb needs, builds BINARY and the other TARGETs and sets `work` to a
# work copy of BINARY (arbeitskopie) that is removed when the calling script
# ends.
fensterlauf() {
    "$1/scripts/deps.sh" --window
    cmake --build "$2" -j"$(nproc)" --target "${@:3}" >/dev/null
    work="$(arbeitskopie "$2" "$3")"
    trap 'rm -rf "$work"' EXIT
}

# im_xvfb SCRIPT ARG...: runs SCRIPT ARG... with bash on a display of its
# own (Xvfb, 1024x768, 24 bits); FENSTERHILFEN names fensterhilfen.sh for
# the script to source.
im_xvfb() {
    FENSTERHILFEN="$arbeitskopie_ort/fensterhilfen.sh" xvfb-run -a -s "-screen 0 1024x768x24" bash "$@"
}
