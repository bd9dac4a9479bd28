#!/usr/bin/env bash
# Installs the build into a scratch root under /usr and checks what a desktop
# finds there: exactly the expected files, icons of the size their folder names,
# and a menu entry whose command and icon resolve to installed files.
# Usage: check-install.sh <build-dir>. Exits 77 (skipped) without desktop-file-validate.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root=$stage/usr
sizes=(16 24 32 48 64 128 256)

expected=(bin/voltra share/applications/voltra.desktop share/doc/voltra/copyright share/doc/voltra/third-party-licences.txt
          share/doc/voltra/user-guide.md share/icons/hicolor/scalable/apps/voltra.svg
          share/man/man1/voltra.1.gz share/bash-completion/completions/voltra share/mime/packages/voltra.xml)
# The user guide's pictures go with it.
docs=$(dirname "$0")/../../docs
for picture in $(grep -o '](\([A-Za-z0-9_.-]*\.png\))' "$docs/user-guide.md" | sed 's/^](\(.*\))$/\1/' | sort -u); do
  expected+=("share/doc/voltra/$picture")
done
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/voltra.png"); done
data=$(dirname "$0")/../../data
expected+=(share/voltra/cores.json)
for device in "$data"/devices/*.json; do [ -e "$device" ] && expected+=("share/voltra/devices/$(basename "$device")"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f | sed 's|^\./||' | sort) ||
  fail "installed files differ from the expected layout"

[ -x "$root/bin/voltra" ] || fail "bin/voltra is not executable"
grep -q "MIT License" "$root/share/doc/voltra/copyright" || fail "copyright does not hold the licence"
cmp -s "$docs/user-guide.md" "$root/share/doc/voltra/user-guide.md" || fail "the installed user guide is not the guide"

# A PNG's width and height are big-endian 32-bit words at bytes 16 and 20.
for size in "${sizes[@]}"; do
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$root/share/icons/hicolor/${size}x${size}/apps/voltra.png")
  width=$(( (w0 << 24) | (w1 << 16) | (w2 << 8) | w3 )); height=$(( (h0 << 24) | (h1 << 16) | (h2 << 8) | h3 ))
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "${size}x${size} icon is ${width}x${height}"
done

gzip -t "$root/share/man/man1/voltra.1.gz" || fail "the manual page is not a gzip file"
bash -n "$root/share/bash-completion/completions/voltra" || fail "the bash completion does not parse"

entry=$root/share/applications/voltra.desktop
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -x "$root/bin/$command" ] || fail "menu command '$command' is not an installed program"
[ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "menu icon '$icon' is not installed"
grep -q '^Exec=voltra %f$' "$entry" || fail "the menu entry does not pass the file it opens"
mime=$(sed -n 's/^MimeType=\([^;]*\);$/\1/p' "$entry")
grep -q "<mime-type type=\"$mime\">" "$root/share/mime/packages/voltra.xml" || fail "the entry's type '$mime' is not installed"

command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate not installed"; exit 77; }
desktop-file-validate "$entry" || fail "desktop entry does not validate"
