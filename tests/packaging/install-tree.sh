#!/usr/bin/env bash
# Installs the build under /usr in a scratch root and checks the tree a package would ship.
# Arguments: build folder, source folder, 1 if the window was built.
set -euo pipefail
build=$1 source=$2 gui=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr failed=0
fail() { echo "FAIL: $*"; failed=1; }
have() { command -v "$1" >/dev/null || { echo "skipped: $1 is missing (package $2)"; false; }; }

# Exactly these files, so a missing one and a stray one (a test program, a library) both show.
man=packaging/lockvale-cli.1
expected=(bin/lockvale-cli)
[ -f "$source/$man" ] && expected+=(share/man/man1/lockvale-cli.1.gz)
[ "$gui" = 1 ] && expected+=(bin/lockvale share/applications/lockvale.desktop
  share/mime/packages/lockvale.xml share/icons/hicolor/scalable/apps/lockvale.svg
  share/icons/hicolor/{16x16,32x32,48x48,128x128,256x256}/apps/lockvale.png)
diff <(printf 'usr/%s\n' "${expected[@]}" | sort) <(cd "$root" && find . ! -type d | cut -c3- | sort) ||
  fail "installed files differ from the expected ones (< expected, > installed)"
for program in "$usr"/bin/*; do [ -x "$program" ] || fail "$program is not executable"; done
[ ! -f "$source/$man" ] || gzip -dc "$usr/share/man/man1/lockvale-cli.1.gz" | cmp -s - "$build/lockvale-cli.1" ||
  fail "the installed man page is not $man, configured, gzipped"
[ "$gui" = 1 ] || exit $failed

# The types the program registers for each user at start, encrypted then sealed; the package
# must name the same ones.
types=($(sed -n 's/.*k[A-Za-z]*MimeType = QStringLiteral("\([^"]*\)").*/\1/p' \
  "$source/src/gui/startup/ShellRegistration_linux.cpp"))
entry=$usr/share/applications/lockvale.desktop
! have desktop-file-validate desktop-file-utils || desktop-file-validate "$entry" ||
  fail "the desktop entry does not validate"
grep -qxF "MimeType=${types[0]};${types[1]};" "$entry" || fail "the desktop entry does not open '${types[*]}'"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$usr/bin/$program" ] || fail "the desktop entry runs '$program', which is not installed"
# Compiled as on a desktop, the globs must reach the database case-sensitive ("cs"), and a sealed
# file is known by its magic whatever its name.
! have update-mime-database shared-mime-info || {
  XDG_DATA_DIRS=$usr/share update-mime-database "$usr/share/mime"
  grep -qF ":${types[0]}:*.encr:cs" "$usr/share/mime/globs2" &&
    grep -qF ":${types[1]}:*.lkv:cs" "$usr/share/mime/globs2"; } ||
  fail "the MIME database lacks a case-sensitive *.encr or *.lkv glob for '${types[*]}'"
printf '\x89LKV\r\n\x1a\n' >"$root/renamed"
! have update-mime-database shared-mime-info || ! have gio libglib2.0-bin ||
  XDG_DATA_HOME=$root XDG_DATA_DIRS=$usr/share gio info -a standard::content-type "$root/renamed" |
  grep -qxF "  standard::content-type: ${types[1]}" || fail "the magic does not give '${types[1]}'"
exit $failed
