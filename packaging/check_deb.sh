#!/usr/bin/env bash
# Builds the .deb from a build tree with cpack and checks what it holds and
# what it depends on.
#   bash packaging/check_deb.sh BUILD-DIR OUTPUT-DIR
set -euo pipefail
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log"
    exit 1
}
deb=$(ls "$out"/beugungsbilder_*.deb)
echo "package: $deb"

failed=0
fail() {
    echo "FAILED: $*"
    failed=1
}

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/beugungsbilder ./usr/share/applications/beugungsbilder.desktop \
    ./usr/share/icons/hicolor/scalable/apps/beugungsbilder.svg; do
    grep -q " $path\$" <<<"$contents" || fail "$path missing from the package"
done
grep -q '^-rwxr-xr-x .* ./usr/bin/beugungsbilder$' <<<"$contents" || fail "the program is not executable"

[ "$(dpkg-deb -f "$deb" Package)" = beugungsbilder ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
for package in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation fonts-urw-base35 libc6 libstdc++6; do
    grep -qxF "$package" <<<"$names" || fail "does not depend on $package"
done

dpkg-deb -x "$deb" "$out/root"
desktop="$out/root/usr/share/applications/beugungsbilder.desktop"
for line in 'Name=Beugungsbilder' 'Exec=beugungsbilder' 'Icon=beugungsbilder' 'Categories=Education;Science;' \
    'Type=Application'; do
    grep -qx "$line" "$desktop" || fail "the desktop entry lacks $line"
done
grep -q '^Comment=.\+' "$desktop" || fail "the desktop entry has no comment"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
file "$out/root/usr/bin/beugungsbilder" | grep -q 'ELF 64-bit.*executable\|ELF 64-bit.*pie' || fail "not a program"

((failed == 0)) && echo "the package is complete"
exit $failed
