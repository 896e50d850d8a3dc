# The Debian package: `cpack -G DEB` in a build folder packs what `cmake --install` lays out.
# The libraries the programs link are found by dpkg-shlibdeps; the rest is what they start or
# load at run time: FFmpeg's libraries (opened when a file first needs them, in the major
# versions the program was built against), the separation worker's Python modules,
# GStreamer's WAV support for the instrumental, and Qt's own translations.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvara)
set(CPACK_PACKAGE_VENDOR "Kelvara")
set(CPACK_PACKAGE_CONTACT "Kelvara developers <kelvara@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Waveform of the track your music player is playing")
set(CPACK_PACKAGE_DESCRIPTION "Kelvara follows the track an MPRIS music player is playing, \
analyses its local audio file and shows a three-band waveform with a beat grid, cues and loops \
in a small window made for playing music to an audience.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(ffmpeg_packages)
foreach(library libavformat libavcodec libavutil libswresample)
  string(REGEX MATCH "^[0-9]+" major "${FFMPEG_${library}_VERSION}")
  list(APPEND ffmpeg_packages "${library}${major}")
endforeach()
list(JOIN ffmpeg_packages ", " ffmpeg_packages)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "${ffmpeg_packages}, python3-numpy, python3-scipy, gstreamer1.0-plugins-good, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mpv-mpris")
include(CPack)
