#!/bin/sh
# Builds the Debian package from the build folder given, unpacks it into a scratch root and
# checks where its files lie, its computed dependencies and its desktop entry and metainfo.
set -eu
BUILD="$1"
OUT="$(mktemp -d)"
trap 'rm -rf "$OUT"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$BUILD" && cpack -G DEB -B "$OUT" >"$OUT/cpack.log" 2>&1) || { cat "$OUT/cpack.log"; fail "cpack"; }
DEB="$(ls "$OUT"/marlo_*.deb)"
ROOT="$OUT/root"
dpkg-deb -x "$DEB" "$ROOT"

for f in usr/bin/marlo usr/bin/marlo-cd usr/share/marlo/readme.txt \
  usr/share/marlo/Bilder/Corro/Background.bmp usr/share/marlo/Bilder/Vantel/Play2.bmp \
  usr/share/applications/marlo.desktop usr/share/icons/hicolor/scalable/apps/marlo.svg \
  usr/share/icons/hicolor/48x48/apps/marlo.png usr/share/icons/hicolor/256x256/apps/marlo.png; do
  [ -f "$ROOT/$f" ] || fail "$f is not in the package"
done
METAINFO="$(ls "$ROOT"/usr/share/metainfo/*.metainfo.xml)" || fail "no metainfo"
# The screenshot the metainfo names is the picture the build took of the main window, and comes
# along: a whole window of the default skin, not an empty one.
SHOT="$ROOT/usr/share/marlo/screenshots/main-window.png"
[ -f "$SHOT" ] || fail "no screenshot in the package"
SIZE="$(identify -format '%wx%h' "$SHOT")"
grep -q "<image type=\"source\" width=\"${SIZE%x*}\" height=\"${SIZE#*x}\">https://.*/main-window.png</image>" \
  "$METAINFO" || fail "the metainfo does not name the ${SIZE} screenshot"
[ "$(identify -format '%k' "$SHOT")" -gt 20 ] || fail "the screenshot is nearly blank"
# Nothing of the build or the tests comes along.
[ "$(ls "$ROOT/usr/bin")" = "$(printf 'marlo\nmarlo-cd')" ] || fail "bin holds $(ls "$ROOT/usr/bin")"

# Computed from the linked libraries, plus the ones loaded at run time.
DEPENDS="$(dpkg-deb -f "$DEB" Depends)"
for d in libqt6widgets6 libopenmpt0 libpulse0 libzip4 libcdio-paranoia2 libmpv2 libfluidsynth3; do
  echo "$DEPENDS" | grep -q "$d" || fail "Depends lacks $d: $DEPENDS"
done

DESKTOP="$ROOT/usr/share/applications/marlo.desktop"
desktop-file-validate "$DESKTOP" || fail "desktop-file-validate"
appstreamcli validate --no-net "$METAINFO" || fail "appstreamcli validate"
appstreamcli validate-tree --no-net "$ROOT" || fail "appstreamcli validate-tree"
grep -qx 'Exec=marlo %F' "$DESKTOP" || fail "Exec"
grep -qx 'Categories=AudioVideo;Audio;Player;' "$DESKTOP" || fail "Categories"
grep -q '^Comment\[de\]=' "$DESKTOP" || fail "no German comment"
for t in audio/mpeg audio/x-wav audio/x-mod audio/x-xm audio/midi video/x-msvideo image/jpeg \
  image/png; do
  grep '^MimeType=' "$DESKTOP" | tr ';=' '\n\n' | grep -qx "$t" || fail "MimeType lacks $t"
done
echo "package ok: $DEPENDS"
