#!/usr/bin/env bash
# Builds the Debian package into a scratch folder and checks its name, its control
# fields, that it depends on the Qt and font packages the program loads, and that
# its files are owned by root with the program executable.
# Usage: check-deb.sh <build-dir> <version>
set -euo pipefail
build=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$out/voltra_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = voltra ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
# dpkg and apt expect a maintainer as "Name <address>".
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"
[ -n "$(field Description)" ] || fail "Description missing"

depends=$(field Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6charts6 libstdc++6 libc6 fonts-liberation libngspice0; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

contents=$(dpkg-deb -c "$deb")
if grep -v " root/root " <<<"$contents"; then fail "files above are not owned by root"; fi
grep -Eq "^-rwxr-xr-x .* \./usr/bin/voltra$" <<<"$contents" || fail "/usr/bin/voltra is not mode 755"
for file in usr/share/man/man1/voltra.1.gz usr/share/bash-completion/completions/voltra; do
  grep -Eq " \./$file$" <<<"$contents" || fail "the package does not hold /$file"
done
