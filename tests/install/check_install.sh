#!/bin/sh
# Installs a build into a scratch DESTDIR as a packager would, then checks what
# landed: the file list, the menu entry, the software-centre description, the
# manual pages, the icons, Tab completion and the version the programs give.
# Usage: check_install.sh BUILD_DIR EXPECTED_FILE_LIST VERSION
set -eu
build=$1 expected=$2 version=$3
for tool in desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$scratch/root/usr"
(cd "$scratch/root" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$scratch/files"
LC_ALL=C sort "$expected" | diff -u - "$scratch/files" || fail "the installed files differ"

desktop-file-validate "$usr"/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml >"$scratch/appstream" 2>&1 ||
    { cat "$scratch/appstream"; fail "appstreamcli validate"; }
if grep -E '^[EW]:' "$scratch/appstream"; then fail "appstreamcli warns"; fi
grep -q "<release version=\"$version\"" "$usr"/share/metainfo/*.metainfo.xml ||
    fail "the metainfo has no release $version"

for page in "$usr"/share/man/man1/*.1; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$scratch/page" 2>"$scratch/warnings"
    [ ! -s "$scratch/warnings" ] || { cat "$scratch/warnings"; fail "man warns on $page"; }
    grep -q "Marrowick $version" "$scratch/page" || fail "$page does not give version $version"
done

# Each PNG's width and height (big-endian, bytes 17 to 24) match its folder.
for png in "$usr"/share/icons/hicolor/*x*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    set -- $(od -An -tu1 -j16 -N8 "$png")
    [ "$(($1 << 24 | $2 << 16 | $3 << 8 | $4))x$(($5 << 24 | $6 << 16 | $7 << 8 | $8))" = "$size" ] ||
        fail "$png is not $size"
done

[ "$("$usr/bin/marrowick-inspect" --version)" = "marrowick-inspect $version" ] ||
    fail "marrowick-inspect --version does not say $version"

# Tab completion: options after a dash, then folders, object files and archives
# only; nothing for the text after --find.
mkdir -p "$scratch/objects/sub"
touch "$scratch/objects/chair.IFF" "$scratch/objects/game.Far" "$scratch/objects/notes.txt"
completed=$(cd "$scratch/objects" && bash -c '
    . "$1"
    complete_words() {
        COMP_WORDS=("$@") COMP_CWORD=$(($# - 1))
        _marrowick_inspect
        echo "[$(printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd " ")]"
    }
    complete_words marrowick-inspect --w
    complete_words marrowick-inspect --json ""
    complete_words marrowick-inspect --help ""
    complete_words marrowick-inspect --find ""' sh "$usr/share/bash-completion/completions/marrowick-inspect")
[ "$completed" = "[--walk-chunks]
[chair.IFF game.Far sub]
[]
[]" ] || fail "completion gave: $completed"
echo "installed files, validators, manual pages, icons, version and completion are right"
