#!/bin/sh
# The screenshot tool draws every picture `make screenshots` promises, each a real PNG.
# usage: screenshots_test.sh QUILLET_SCREENSHOTS QUILLET_CLI DEMO_LOOP_WAV
set -eu
tool=$1 cli=$2 wave=$3
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
"$cli" slice "$wave" -o "$folder/demo.lx2" --force --sensitivity 50 --bars 2 --sign 4/4 --preview on > /dev/null
"$tool" "$folder/shots" "$folder/demo.lx2" > /dev/null 2> "$folder/log" || { cat "$folder/log"; exit 1; }
"$tool" "$folder/shots" "$folder/demo.lx2" --scale 2 > /dev/null 2>> "$folder/log" || { cat "$folder/log"; exit 1; }
status=0
for name in empty-window loop-window loop-window-changed loop-window@2x menu-file menu-edit menu-edit-after-a-change \
            menu-view menu-process menu-window menu-help close-conversation alert-cannot-read-file about preferences \
            open-dialog open-dialog-unsupported length-dialog progress-window waveform-whole waveform-loop waveform-single-frames \
            waveform-stereo-as-sum loop-window-toolbars toolbars-no-loop-length toolbars-preview-off \
            toolbars-effects-off \
            convert-sample-format convert-to-mono normalize-question loop-information export-save-dialog \
            export-settings export-too-many-slices export-replace-question export-nothing-to-export \
            $(for t in top second envelope transient equalizer; do
                echo toolbar-$t toolbar-$t-disabled toolbar-$t@2x toolbar-$t-disabled@2x; done); do
  file="$folder/shots/$name.png"
  if ! head -c 8 "$file" 2> /dev/null | od -An -c | grep -q 'P   N   G'; then
    echo "screenshots_test: $name.png is missing or not a PNG" >&2
    status=1
  fi
done
exit $status
