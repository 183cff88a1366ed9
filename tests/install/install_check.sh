#!/usr/bin/env bash
# install_check.sh CMAKE BUILD_DIR BUILD_PROGRAM_DIR SOURCE_DIR
# Installs BUILD_DIR into a temporary prefix P and checks what landed there:
# the program and every data file it reads in P/lib/kovrin, the starters in
# P/bin, the desktop entry, icons and udev rule; that the installed programs
# load their library from P and read their own data (no KOVRIN_PROGRAM_DIR).
set -uo pipefail
CMAKE=$1 BUILD=$2 BUILD_BIN=$3 SOURCE=$4

# The installed programs must find their data from where they are.
unset KOVRIN_PROGRAM_DIR KOVRIN_SIMULATE
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
export HOME=$TMP/home XDG_CONFIG_HOME=$TMP/home/.config XDG_DATA_HOME=$TMP/home/.local/share
mkdir -p "$HOME"
P=$TMP/prefix
LIB=$P/lib/kovrin
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! "$CMAKE" --install "$BUILD" --prefix "$P" >"$TMP/install.log" 2>&1; then
  cat "$TMP/install.log"
  fail "cmake --install failed"
  exit 1
fi

# Executables and the UI library beside them.
for exe in kovrin kovrinctl; do
  [ -x "$LIB/$exe" ] && [ ! -L "$LIB/$exe" ] || fail "$LIB/$exe is not an executable file"
  [ -L "$P/bin/$exe" ] || fail "$P/bin/$exe is not a symlink"
  [ "$(readlink -f "$P/bin/$exe")" = "$(readlink -f "$LIB/$exe")" ] ||
    fail "$P/bin/$exe does not lead to $LIB/$exe"
  deps=$(ldd "$LIB/$exe" 2>&1)
  if grep -q "not found" <<<"$deps"; then
    fail "$exe: unresolved libraries: $(grep "not found" <<<"$deps" | tr -s ' \t' ' ')"
  fi
  if grep -q "libtessel" <<<"$deps" &&
     ! grep -q "libtessel[^ ]* => $LIB/libtessel" <<<"$deps"; then
    fail "$exe does not load libtessel from $LIB: $(grep libtessel <<<"$deps")"
  fi
  if readelf -d "$LIB/$exe" | grep -E "R(UN)?PATH" | grep -q "$BUILD"; then
    fail "$exe keeps a run path into the build tree"
  fi
done
ls "$LIB"/libtessel.so* >/dev/null 2>&1 || fail "libtessel is not installed in $LIB"

# Every data file the build lays out beside its executables, byte for byte
# (the build tree's bin/ also holds demo and tool executables, which are not
# installed).
count=0
while IFS= read -r -d '' f; do
  rel=${f#"$BUILD_BIN"/}
  [ -x "$f" ] && [ "${rel#*/}" = "$rel" ] && continue
  count=$((count + 1))
  cmp -s "$f" "$LIB/$rel" || fail "$LIB/$rel is missing or differs from the build tree"
done < <(find "$BUILD_BIN" -type f -print0)
for must in config.xml language/1033.lan language/2052.lan layouts/kovrin_arc87.xml \
            layouts/kovrin_bolt104.xml layouts/kovrin_bolt87air.xml; do
  [ -f "$LIB/$must" ] || fail "$LIB/$must is not installed"
done
for dir in font tessel skins/theme1; do
  [ -n "$(ls -A "$LIB/$dir" 2>/dev/null)" ] || fail "$LIB/$dir is missing or empty"
done
echo "compared $count data files"

# The installed programs read their own data.
for lcid in 1033 2052; do
  want=$("$BUILD_BIN/kovrinctl" text 60 --lcid $lcid 2>&1)
  got=$("$P/bin/kovrinctl" text 60 --lcid $lcid 2>&1)
  [ -n "$want" ] || fail "the build tree's kovrinctl printed no text 60 ($lcid)"
  [ "$got" = "$want" ] || fail "installed kovrinctl text 60 --lcid $lcid: '$got', want '$want'"
done
catalogue=$("$P/bin/kovrinctl" catalogue 2>&1) || fail "installed kovrinctl catalogue failed"
for model in "Kovrin Arc 87" "Kovrin Bolt 104" "Kovrin Bolt 87 Air"; do
  grep -q "^$model  " <<<"$catalogue" || fail "installed catalogue lacks $model: $catalogue"
done
"$P/bin/kovrin" --help >/dev/null 2>&1 || fail "installed kovrin --help failed"

# Desktop entry, icons, udev rule.
desktop=$P/share/applications/kovrin.desktop
cmp -s "$SOURCE/data/kovrin.desktop" "$desktop" || fail "$desktop is missing or differs"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
else
  echo "desktop-file-validate not found: desktop entry not validated"
fi
icon=$(sed -n 's/^Icon=//p' "$desktop")
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$P/bin/$exec_name" ] || fail "the desktop entry starts '$exec_name', not in $P/bin"
for size in 48 128 256; do
  png=$P/share/icons/hicolor/${size}x${size}/apps/$icon.png
  if [ ! -f "$png" ]; then
    fail "$png is missing"
    continue
  fi
  # PNG signature, then the IHDR width and height as big-endian 32-bit numbers.
  read -r -a head < <(od -An -tu1 -N24 "$png" | tr -s ' \n' ' ')
  [ "${head[1]} ${head[2]} ${head[3]}" = "80 78 71" ] || fail "$png is not a PNG"
  w=$(( (head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19] ))
  h=$(( (head[20] << 24) | (head[21] << 16) | (head[22] << 8) | head[23] ))
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "$png is ${w}x${h}, not ${size}x${size}"
done
cmp -s "$SOURCE/data/udev/70-kovrin.rules" "$P/lib/udev/rules.d/70-kovrin.rules" ||
  fail "lib/udev/rules.d/70-kovrin.rules is missing or differs"

if [ "$failures" -ne 0 ]; then
  echo "$failures install check(s) failed"
  exit 1
fi
echo "install tree complete"
