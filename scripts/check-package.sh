#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it: the files it holds, the packages
# it depends on, its desktop entry and metadata, and that apt could install it here.
# Usage: scripts/check-package.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
fail() { echo "package check: $*" >&2; exit 1; }

rm -f "$build"/tamsel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/tamsel_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack wrote no single tamsel package"
deb=${debs[0]}

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in usr/games/tamsel usr/share/games/tamsel/pic/player.bmp usr/share/games/tamsel/maps/home.map \
            usr/share/games/tamsel/text/talk.txt usr/share/games/tamsel/demo/playthrough.txt \
            usr/share/games/tamsel/voc/title.mid \
            usr/share/applications/tamsel.desktop usr/share/metainfo/tamsel.metainfo.xml \
            usr/share/icons/hicolor/48x48/apps/tamsel.png usr/share/icons/hicolor/96x96/apps/tamsel.png \
            usr/share/icons/hicolor/192x192/apps/tamsel.png usr/share/man/man6/tamsel.6.gz \
            usr/share/doc/tamsel/copyright usr/share/doc/tamsel/changelog.gz; do
  grep -qx "\./$file" <<<"$files" || fail "$file is missing"
done
outside=$(grep -v '^\./usr/' <<<"$files" | grep -vx '\./' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
! grep -q '/save/$' <<<"$files" || fail "the package holds a save folder"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libfreetype6 libfontconfig1 libpng16-16 \
               fonts-wqy-zenhei fluid-soundfont-gm; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "no dependency on $package: $depends"
done
! grep -Eq -- '-dev\b|cmake|gtest|benchmark|build-essential|ccache' <<<"$depends" ||
  fail "a build tool among the dependencies: $depends"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "not in the games section"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
desktop-file-validate "$scratch/usr/share/applications/tamsel.desktop"
# The id is a plain name until the project has a domain of its own.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
  "$scratch/usr/share/metainfo/tamsel.metainfo.xml" >/dev/null ||
  fail "the AppStream metadata does not validate"
apt-get install --simulate "./$deb" >/dev/null || fail "apt cannot install $deb here"
echo "package check: $deb is fine"
