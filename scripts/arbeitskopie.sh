# Sourced by the scripts that start Velmo under Xvfb.
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
    {
        printf '12345\nlocalhost\n70\n0\n'
        for _ in $(seq 10); do printf 'M1\nLok\n0\n-1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n'; done
    } > "$work/Data/parmc.dat"
    echo "$work"
}

# fensterlauf ROOT BUILD BINARY: installs what a real window under Xvfb
# needs, builds BINARY and sets `work` to a work copy of it (arbeitskopie)
# that is removed when the calling script ends.
fensterlauf() {
    "$1/scripts/deps.sh" --window
    cmake --build "$2" -j"$(nproc)" --target "$3" >/dev/null
    work="$(arbeitskopie "$2" "$3")"
    trap 'rm -rf "$work"' EXIT
}
