#!/bin/sh
# Installs the build into a temporary prefix and asks the desktop's own tools about it: the
# desktop entry is valid, a loop file made by quillet-cli is recognised by name and by content,
# and Quillet is the default application of the loop type.
# Usage: desktop_integration_test.sh BUILD_DIR QUILLET_CLI DEMO_LOOP_WAV
set -eu
build=$1 cli=$2 demo=$3
type=application/x-quillet-loop

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

for file in bin/quillet-cli share/applications/quillet.desktop share/mime/packages/quillet.xml \
            share/doc/quillet/README.md share/icons/hicolor/scalable/apps/quillet.svg \
            share/man/man1/quillet-cli.1.gz share/bash-completion/completions/quillet-cli \
            share/icons/hicolor/scalable/mimetypes/application-x-quillet-loop.svg; do
  [ -f "$prefix/$file" ] || fail "$file not installed"
done
if [ -d "$prefix/share/icons/hicolor/16x16" ]; then
  for size in 16 22 24 32 48 64 128 256; do
    for icon in apps/quillet mimetypes/application-x-quillet-loop; do
      [ -s "$prefix/share/icons/hicolor/${size}x$size/$icon.png" ] || fail "${size}x$size/$icon.png not installed"
    done
  done
  [ -x "$prefix/bin/quillet" ] || fail "bin/quillet not installed"
  [ -f "$prefix/share/man/man1/quillet.1.gz" ] || fail "share/man/man1/quillet.1.gz not installed"
fi

desktop-file-validate "$prefix/share/applications/quillet.desktop" || fail "desktop-file-validate"

# Only this install and the system's data count; no user settings of the machine.
export HOME="$work/home" XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="/usr/local/share:/usr/share"
export XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/config-dirs"
# The GNOME method reads the shared MIME database (magic included) through gio.
export XDG_CURRENT_DESKTOP=GNOME
unset KDE_SESSION_VERSION KDE_FULL_SESSION DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID || true
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CONFIG_DIRS"
update-mime-database "$XDG_DATA_HOME/mime"
update-desktop-database "$XDG_DATA_HOME/applications"

"$cli" slice "$demo" -o "$work/some.lx2" --force --sensitivity 50 --bars 2 --sign 4/4 >"$work/slice.log" 2>&1 ||
  { cat "$work/slice.log"; fail "quillet-cli slice"; }
cp "$work/some.lx2" "$work/loop-without-extension"
cp "$demo" "$work/sound.wav"

answer=$(xdg-mime query filetype "$work/some.lx2")
[ "$answer" = "$type" ] || fail "some.lx2 is '$answer', not $type"
answer=$(xdg-mime query filetype "$work/loop-without-extension")
[ "$answer" = "$type" ] || fail "a loop file without its extension is '$answer', not $type (magic)"
answer=$(xdg-mime query filetype "$work/sound.wav")
[ "$answer" != "$type" ] || fail "a WAVE file is taken for a loop file"
answer=$(xdg-mime query default "$type")
[ "$answer" = "quillet.desktop" ] || fail "the default for $type is '$answer', not quillet.desktop"
echo "desktop integration: ok"
