#!/usr/bin/env bash
# The Debian package, unpacked into a temporary root as dpkg would install it:
# the programs find their data in share/cfg-veltrano, keep the settings file in
# the user's folder, and a receive from the installed simulator works.
#   install_test.sh CPACK BUILD_DIR
set -euo pipefail
cpack=$1
build=$2
if ! command -v dpkg-deb >/dev/null; then
  echo "dpkg-deb is missing: the Debian package cannot be made or unpacked here"
  exit 77
fi

tmp=$(mktemp -d /tmp/cfg-package-XXXXXX)
sim=""
cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

if ! "$cpack" -G DEB -B "$tmp/pkg" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  fail "cpack did not make the package"
fi
deb=$(ls "$tmp"/pkg/*.deb)
dpkg-deb -x "$deb" "$tmp/root"
root=$tmp/root
for f in usr/bin/cfgvimo-cli usr/bin/vimo-sim usr/share/cfg-veltrano/Italiano.lng \
         usr/share/cfg-veltrano/English.lng usr/share/cfg-veltrano/DEFAULT.CY2 \
         usr/share/cfg-veltrano/LOGO_SYS.GIF usr/share/applications/cfg-veltrano.desktop; do
  [ -e "$root/$f" ] || fail "the package lacks $f"
done
if [ -e "$root/usr/bin/cfgvimo" ]; then
  [ -e "$root/usr/share/cfg-veltrano/help/en/index.html" ] || fail "the package lacks the user guide"
fi

export HOME=$tmp/home
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME" "$tmp/work"
cd "$tmp/work"
bin=$root/usr/bin

"$bin/cfgvimo-cli" --help >"$tmp/help.txt" || fail "cfgvimo-cli --help failed"
grep -q "receive BASENAME" "$tmp/help.txt" || fail "--help lists no commands"
"$bin/cfgvimo-cli" where >"$tmp/where.txt"
cat "$tmp/where.txt"
grep -qx "data: *$root/usr/share/cfg-veltrano" "$tmp/where.txt" || fail "data not found in share"
grep -qx "settings file: *$HOME/.config/cfg-veltrano/CFG-Veltrano.ini" "$tmp/where.txt" ||
  fail "the settings file is not in the user's folder"
grep -qx "backups: *$HOME/.config/cfg-veltrano/backups" "$tmp/where.txt" ||
  fail "the backups folder is not beside the settings file"

# The installed simulator serves its DEFAULT set from share.
"$bin/vimo-sim" --pty --link "$tmp/vimo" >"$tmp/sim.out" 2>"$tmp/sim.err" &
sim=$!
for _ in $(seq 50); do [ -e "$tmp/vimo" ] && break; sleep 0.1; done
[ -e "$tmp/vimo" ] || { cat "$tmp/sim.err"; fail "vimo-sim made no terminal"; }

"$bin/cfgvimo-cli" --port "$tmp/vimo" --language English receive PLANT1 >"$tmp/receive.txt" 2>&1 ||
  { cat "$tmp/receive.txt"; fail "receive from the installed simulator failed"; }
for ext in CY2 PY2 UY2 MY2; do
  [ -s "PLANT1.$ext" ] || fail "receive wrote no PLANT1.$ext"
  [ "$(stat -c %s "PLANT1.$ext")" = "$(stat -c %s "$root/usr/share/cfg-veltrano/DEFAULT.$ext")" ] ||
    fail "PLANT1.$ext is not the size of the DEFAULT set's"
done
[ -f "$HOME/.config/cfg-veltrano/CFG-Veltrano.ini" ] || fail "no settings file in the user's folder"
ls "$HOME/.config/cfg-veltrano/backups/"*_RECEIVED.CY2 >/dev/null 2>&1 ||
  fail "the receive left no backup in the user's folder"
written=$(find "$root" -newer "$deb" -type f | head -5)
[ -z "$written" ] || fail "files written inside the installed tree: $written"
echo "installed package: help, where, receive and its backup work"
