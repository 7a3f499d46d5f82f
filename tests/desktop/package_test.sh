#!/bin/sh
# Builds the Debian package with CPack into a temporary folder and looks into it as dpkg would:
# its control fields (name, version, architecture, the dependencies dpkg-shlibdeps found, a
# description), the files it installs, and the programs unpacked from it running from there.
# Usage: package_test.sh CPACK BUILD_DIR VERSION DEMO_LOOP_WAV
set -eu
cpack=$1 build=$2 version=$3 demo=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
architecture=$(dpkg --print-architecture)
deb=$work/out/quillet_${version}_$architecture.deb
[ -f "$deb" ] || { ls "$work/out"; fail "no quillet_${version}_$architecture.deb"; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quillet ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$architecture" ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Section)" = sound ] || fail "Section is '$(field Section)'"
# A synopsis and an extended description below it.
description=$(field Description)
[ "$(printf '%s\n' "$description" | head -n 1)" = "editor for drum and music loops" ] ||
  fail "the synopsis is '$(printf '%s\n' "$description" | head -n 1)'"
[ "$(printf '%s\n' "$description" | wc -l)" -ge 5 ] || fail "no extended description"
[ "$(printf '%s\n' "$description" | sed -n 2p)" != " editor for drum and music loops" ] || fail "the synopsis twice"
depends=$(field Depends)
for library in libc6 libstdc++6 libsndfile1 libportaudio2 libasound2 libqt6core6 libqt6gui6 libqt6widgets6; do
  printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//' | grep -q "^$library\( \|$\)" ||
    fail "Depends lacks $library: $depends"
done
# The registration is left to the triggers of the desktop and MIME packages.
dpkg-deb --info "$deb" | grep -Eq '^ +[0-9]+ bytes, +[0-9]+ lines +\*? *(postinst|prerm|postrm|preinst)' &&
  fail "the package has maintainer scripts"

dpkg-deb --contents "$deb" >"$work/contents"
paths=$(awk '{ print $NF }' "$work/contents")
for file in usr/bin/quillet usr/bin/quillet-cli usr/share/applications/quillet.desktop \
            usr/share/mime/packages/quillet.xml usr/share/man/man1/quillet.1.gz usr/share/man/man1/quillet-cli.1.gz \
            usr/share/bash-completion/completions/quillet-cli usr/share/doc/quillet/README.md \
            usr/share/icons/hicolor/scalable/apps/quillet.svg \
            usr/share/icons/hicolor/scalable/mimetypes/application-x-quillet-loop.svg \
            usr/share/icons/hicolor/48x48/apps/quillet.png \
            usr/share/icons/hicolor/256x256/mimetypes/application-x-quillet-loop.png; do
  printf '%s\n' "$paths" | grep -qx "\./$file" || fail "$file is not in the package"
done
printf '%s\n' "$paths" | grep -v '^\./$' | grep -v '^\./usr/' && fail "files outside /usr"
grep -E '^-rwxr-xr-x .* \./usr/bin/quillet-cli$' "$work/contents" >/dev/null || fail "quillet-cli is not executable"

dpkg-deb -x "$deb" "$work/root"
cli=$work/root/usr/bin/quillet-cli
answer=$("$cli" --version) || fail "the unpacked quillet-cli --version"
[ "$answer" = "quillet-cli $version" ] || fail "the unpacked quillet-cli says '$answer'"
"$cli" slice "$demo" -o "$work/demo.lx2" --sensitivity 50 --bars 2 --sign 4/4 >"$work/slice.log" 2>&1 ||
  { cat "$work/slice.log"; fail "the unpacked quillet-cli slice"; }
"$cli" info "$work/demo.lx2" | grep -qx 'original tempo: [0-9]*\.[0-9][0-9][0-9]' || fail "the sliced loop has no tempo"
# The installed programs carry no debugging sections.
if command -v objdump >/dev/null; then
  objdump -h "$cli" | grep -q '\.debug_info' && fail "quillet-cli is not stripped"
fi
LC_ALL=C man --warnings=w -l "$work/root/usr/share/man/man1/quillet-cli.1.gz" >/dev/null 2>"$work/man.log" &&
  [ ! -s "$work/man.log" ] || { cat "$work/man.log"; fail "the packaged manual page"; }
echo "package: $(basename "$deb"), $(wc -l <"$work/contents") entries; Depends: $depends"
