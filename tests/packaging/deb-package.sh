#!/usr/bin/env bash
# Builds the .deb outside the build folder, checks its control fields and runs the tool it holds.
# Arguments: build folder, cpack, 1 if the window was built.
set -euo pipefail
build=$1 cpack=$2 gui=$3
for tool in dpkg-deb dpkg-shlibdeps file; do
  command -v $tool >/dev/null || { echo "skipped: $tool is missing (packages dpkg-dev, file)"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/log" 2>&1 ||
  { cat "$scratch/log"; exit 1; }
deb=$(echo "$scratch"/*.deb)
dpkg-deb -I "$deb"
failed=0
fail() { echo "FAIL: $*"; failed=1; }
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = lockvale ] || fail "Package"
# Worked out by dpkg-shlibdeps from the libraries the programs link.
needs=(libc6 libstdc++6)
[ "$gui" = 1 ] && needs+=(libqt6widgets6 libqt6network6)
for package in "${needs[@]}"; do
  field Depends | tr ',' '\n' | awk '{ print $1 }' | grep -qxF "$package" || fail "Depends lacks $package"
done

dpkg-deb -x "$deb" "$scratch/root"
version=$("$scratch/root/usr/bin/lockvale-cli" --version | head -n1) || fail "lockvale-cli --version failed"
echo "lockvale-cli --version: $version"
[[ $version == "lockvale-cli "* ]] || fail "lockvale-cli --version does not start with 'lockvale-cli'"
# The package carries the version the program reports.
[ "$(field Version)" = "${version#lockvale-cli }" ] || fail "Version is not the program's"
exit $failed
