#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the tree; runs the
# installed stelo on an installed example, on a display of its own, from a
# folder outside the source and build trees (hidden from it where the system
# allows), until its toolbar images show on the screen; validates the desktop
# entry, metainfo and MIME type; builds the Debian package and reads its
# control data and contents. Nothing is installed on the system.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd -P)
source=$(cd "$2" && pwd -P)
here=$(cd "$(dirname "$0")" && pwd -P)
work=$(mktemp -d)
pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do  # the program first, then its display
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Runs "$@" until it succeeds, at most about $1 seconds.
await() {
  local limit=$1; shift
  for _ in $(seq $((limit * 5))); do "$@" && return 0; sleep 0.2; done
  return 1
}

echo "== the installed tree"
# Installed to one prefix, then moved: nothing may depend on where it went first.
cmake --install "$build" --prefix "$work/staged" --strip >/dev/null
mv "$work/staged" "$work/usr"
prefix=$work/usr
share=$prefix/share
files=(bin/stelo bin/stelo-batch share/applications/org.stelo.Stelo.desktop
       share/metainfo/org.stelo.Stelo.metainfo.xml share/mime/packages/stelo.xml
       share/icons/hicolor/scalable/apps/stelo.svg
       share/man/man1/stelo.1.gz share/man/man1/stelo-batch.1.gz)
for name in $(grep -o '"[a-z0-9_]*\.png"' "$source/resources/resource_files.h" | tr -d '"'); do
  files+=("share/stelo/resources/$name")
done
for example in "$source"/examples/*.slo; do files+=("share/stelo/examples/$(basename "$example")"); done
for size in 16 32 48 64 128 256; do
  icon=share/icons/hicolor/${size}x${size}/apps/stelo.png
  files+=("$icon")
  read -r b0 b1 b2 b3 <<<"$(od -An -tu1 -j16 -N4 "$prefix/$icon")"  # the PNG's width
  [ $(((b0 << 24) | (b1 << 16) | (b2 << 8) | b3)) = "$size" ] || fail "$icon is not $size pixels wide"
done
for file in "${files[@]}"; do [ -s "$prefix/$file" ] || fail "not installed: $file"; done
gzip -t "$share"/man/man1/*.gz
# (Outputs are read whole before they are searched: grep -q would end a
# pipe early.)
version=$("$prefix/bin/stelo" --version)
[[ $version == *2.0.002* ]] || fail "stelo --version: $version"
rows=$("$prefix/bin/stelo-batch" "$share/stelo/examples/figure-eight.slo" --until 0.01)
grep -q '^0\.01' <<<"$rows" || fail "stelo-batch does not run an installed example: $rows"

echo "== desktop entry, metainfo, MIME type"
report=$(desktop-file-validate "$share/applications/org.stelo.Stelo.desktop" 2>&1) || fail "$report"
! grep -Ei "error|warning" <<<"$report" || fail "$report"
appstreamcli validate --no-net "$share/metainfo/org.stelo.Stelo.metainfo.xml"
xmllint --noout "$share/mime/packages/stelo.xml" "$share/metainfo/org.stelo.Stelo.metainfo.xml" \
  "$share/icons/hicolor/scalable/apps/stelo.svg"
# The desktop's own MIME database accepts the type with its glob and magic.
update-mime-database "$share/mime" >/dev/null
[ -f "$share/mime/application/x-stelo-scene.xml" ] || fail "MIME type not in the database"
grep -q "application/x-stelo-scene:\*\.slo" "$share/mime/globs2" || fail "no *.slo glob"
grep -q "2\.0\.002" "$share/mime/magic" || fail "no 2.0.002 magic"

echo "== the installed stelo on the screen"
elsewhere=$work/elsewhere
mkdir "$elsewhere"
# No window manager places the windows: a settings file puts them apart.
echo "10 30 330 30 330 450 500 360 500 360" >"$elsewhere/stelo20.ini"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
await 30 test -s "$work/display" || fail "no virtual display: $(cat "$work/xvfb.log")"
display=:$(cat "$work/display")
run=(env -u STELO_RESOURCES -u WAYLAND_DISPLAY DISPLAY="$display" QT_QPA_PLATFORM=xcb
     "$prefix/bin/stelo" "$share/stelo/examples/solar-system.slo")
# In a mount namespace of its own the source and build trees are empty folders.
mkdir "$work/probe"
if unshare --user --map-root-user --mount sh -c 'mount -t tmpfs none "$0"' "$work/probe" 2>/dev/null; then
  hide='for tree in "$0" "$1"; do [ ! -d "$tree" ] || mount -t tmpfs none "$tree" || exit 97; done; shift; exec "$@"'
  run=(unshare --user --map-root-user --mount sh -c "$hide" "$source" "$build" "${run[@]}")
else
  echo "(no user namespaces here: the source and build trees stay visible)"
fi
(cd "$elsewhere" && exec "${run[@]}" >"$work/stelo.log" 2>&1) &
pids+=($!)
stelo=$!
shows_toolbar() {
  kill -0 "$stelo" 2>/dev/null || fail "stelo ended: $(cat "$work/stelo.log")"
  xwd -display "$display" -root -silent | python3 "$here/toolbar_on_screen.py" "$source/resources" >"$work/seen"
}
await 60 shows_toolbar || fail "$(cat "$work/seen"); stelo said: $(cat "$work/stelo.log")"
cat "$work/seen"

echo "== the Debian package"
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb=$(echo "$work"/package/stelo_*.deb)
[ -f "$deb" ] || fail "no package"
depends=$(dpkg-deb --field "$deb" Depends)
for dependency in qt6-qpa-plugins libgl1-mesa-dri libqt6widgets6 libqt6gui6 libqt6core6 libglu1-mesa libc6; do
  grep -q "\b$dependency\b" <<<"$depends" || fail "$dependency is not in Depends: $depends"
done
info=$(dpkg-deb --info "$deb")
grep -q "Package: stelo$" <<<"$info" || fail "not the stelo package: $info"
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for file in "${files[@]}"; do
  grep -qx "\./usr/$file" <<<"$contents" || fail "not in the package: /usr/$file"
done
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, installed size $(dpkg-deb --field "$deb" Installed-Size) KiB"
echo "Depends: $depends"
