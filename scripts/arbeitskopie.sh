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
