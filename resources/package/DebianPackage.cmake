# `make package` (cpack -G DEB): one Debian package "quillet" of what `cmake --install` puts under
# /usr. The dependencies come from the shared libraries the programs link (dpkg-shlibdeps); the
# desktop entry, MIME type and icons are registered by the triggers of desktop-file-utils,
# shared-mime-info and the icon caches, so the package needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Moltrane Software")
set(CPACK_PACKAGE_CONTACT "Quillet developers <quillet@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for drum and music loops")
# The extended description below the summary line; CPack indents it and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillet opens a WAVE or AIFF file or a loop file, finds the transients and
cuts the audio into slices. You correct the slices and state bars, beats and
time signature; the loop then plays at any other tempo through a sequencer
and sampler voices with pitch, envelope, stretch, transient shaper, gain and
equalizer. Loops are saved as LUX2 loop files or exported as WAVE or AIFF
slices, a MIDI file, a SoundFont or a sampler program.

The package holds the Qt editor quillet and quillet-cli, which does the same
work without a window on whole sample libraries.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
