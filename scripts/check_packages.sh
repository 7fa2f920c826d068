#!/usr/bin/env bash
# Checks the packages that scripts/package.sh built. The Debian package: its control fields and files
# and, as root, that `dpkg -i` installs it, the tool runs from PATH and rotates a log, `man` finds its
# page, the systemd units verify against the installed files, and `dpkg -r` leaves none of its files
# behind. The Windows zip: PELKWARDT.EXE, a 64-bit Windows console program, beside the README.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(pelkwardt VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
deb=$PWD/build/pkg-linux/pelkwardt_${version}_${arch}.deb
zip=$PWD/build/pkg-windows/pelkwardt-${version}-win64.zip

fail() {
  echo "check_packages: $*" >&2
  exit 1
}
expect_field() {
  local value
  value=$(dpkg-deb -f "$deb" "$1")
  [ "$value" = "$2" ] || fail "$1 of the package is '$value', not '$2'"
}

[ -f "$deb" ] || fail "no $deb: run scripts/package.sh first"
[ -f "$zip" ] || fail "no $zip: run scripts/package.sh first"

expect_field Package pelkwardt
expect_field Version "$version"
expect_field Architecture "$arch"
expect_field Section admin
expect_field Maintainer VELMORA
if readelf -d build/pkg-linux/pelkwardt | grep -q '(NEEDED)'; then
  dpkg-deb -f "$deb" Depends | grep -q 'libc6 (>= ' || fail "the package does not depend on the C library"
fi
contents=$(dpkg-deb -c "$deb")
grep -Eq '^-rwxr-xr-x .* \./usr/bin/pelkwardt$' <<<"$contents" || fail "no executable usr/bin/pelkwardt"
grep -q ' \./usr/share/man/man1/pelkwardt\.1$' <<<"$contents" || fail "no manual page"
echo "check_packages: $deb: fields and files as expected"

# A plain system PATH, so that a copy installed by hand in /usr/local cannot stand in for the package's.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin
if [ "$(id -u)" -ne 0 ]; then
  echo "check_packages: not root, so the package is not installed (dpkg -i and dpkg -r checks skipped)"
else
  work=$(mktemp -d)
  # Whatever fails, the machine is left without the package.
  trap 'dpkg -r pelkwardt >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
  dpkg -i "$deb" >/dev/null
  installed=$(dpkg -L pelkwardt)

  [ "$(command -v pelkwardt)" = /usr/bin/pelkwardt ] || fail "pelkwardt is not on PATH after dpkg -i"
  status=0
  pelkwardt >"$work/out" || status=$?
  [ "$status" -eq 99 ] || fail "pelkwardt without arguments exited with $status, not 99"
  grep -q 'Anzahl Parameter ungueltig!Befehlsformat: '$'\r''$' "$work/out" || fail "no usage text"

  mkdir "$work/log"
  head -c 1048576 /dev/zero >"$work/log/Vorbank.LOG"
  echo "generation 1" >"$work/log/Vorbank_00001.LOG"
  status=0
  (cd "$work/log" && pelkwardt Vorbank.LOG 3 1 0 >"$work/out") || status=$?
  [ "$status" -eq 0 ] && [ ! -s "$work/out" ] || fail "the rotation run exited with $status or printed"
  [ "$(cd "$work/log" && echo *)" = "Vorbank_00001.LOG Vorbank_00002.LOG" ] &&
    [ "$(stat -c %s "$work/log/Vorbank_00001.LOG")" -eq 1048576 ] &&
    [ "$(cat "$work/log/Vorbank_00002.LOG")" = "generation 1" ] || fail "the log was not rotated"

  [ "$(man -w pelkwardt)" = /usr/share/man/man1/pelkwardt.1 ] || fail "man -w does not find the page"
  MANPAGER=cat man pelkwardt 2>/dev/null | grep -q '^EXIT STATUS' || fail "man pelkwardt shows no page"

  # The templates as one instance: systemd-analyze checks each setting, the executable on the search
  # path and the manual page that Documentation= names.
  mkdir "$work/units"
  for unit in service timer; do
    cp "/usr/lib/systemd/system/pelkwardt@.$unit" "$work/units/pelkwardt@check.$unit"
  done
  verify=$(cd "$work/units" && systemd-analyze verify ./pelkwardt@check.service ./pelkwardt@check.timer 2>&1) ||
    fail "systemd-analyze verify: $verify"
  [ -z "$verify" ] || fail "systemd-analyze verify: $verify"

  dpkg -r pelkwardt >/dev/null
  [ "$(dpkg-query -W -f='${db:Status-Status}' pelkwardt 2>/dev/null)" != installed ] ||
    fail "still installed after dpkg -r"
  while IFS= read -r path; do
    [ -d "$path" ] || [ ! -e "$path" ] || fail "$path is left after dpkg -r"
  done <<<"$installed"
  hash -r
  ! command -v pelkwardt >/dev/null || fail "pelkwardt is still on PATH after dpkg -r"
  ! man -w pelkwardt >/dev/null 2>&1 || fail "man still finds a page after dpkg -r"
  echo "check_packages: dpkg -i, runs from PATH, rotates a log, man -w, systemd-analyze verify, dpkg -r: ok"
fi

python3 - "$zip" README.md <<'EOF'
import struct, sys, zipfile

archive, readme = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(archive) as z:
    names = {name.rsplit("/", 1)[-1]: name for name in z.namelist()}
    if "PELKWARDT.EXE" not in names or "README.md" not in names:
        sys.exit(f"check_packages: {archive} holds {sorted(z.namelist())}")
    exe = z.read(names["PELKWARDT.EXE"])
    with open(readme, "rb") as f:
        if z.read(names["README.md"]) != f.read():
            sys.exit("check_packages: the zip's README.md is not the project's")
# The PE header: machine x86-64 (0x8664), and the optional header's subsystem 3, the console.
pe = struct.unpack_from("<I", exe, 0x3C)[0]
machine = struct.unpack_from("<H", exe, pe + 4)[0]
subsystem = struct.unpack_from("<H", exe, pe + 24 + 68)[0]
if exe[:2] != b"MZ" or exe[pe:pe + 4] != b"PE\0\0" or machine != 0x8664 or subsystem != 3:
    sys.exit("check_packages: PELKWARDT.EXE in the zip is no 64-bit Windows console program")
print(f"check_packages: {archive}: {names['PELKWARDT.EXE']} and {names['README.md']}")
EOF
