# `cpack -G DEB` in the build folder makes kelvora_<version>_<arch>.deb from the install rules.
# The package's dependencies are read off the installed programs by dpkg-shlibdeps.

set(CPACK_PACKAGE_NAME kelvora)
set(CPACK_PACKAGE_VENDOR "The Kelvora developers")
set(CPACK_PACKAGE_CONTACT "The Kelvora developers <developers@kelvora.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "wavesample editor and transfer tool for Ensoniq EPS, EPS-16 PLUS and ASR samplers")
set(CPACK_PACKAGE_DESCRIPTION
    "Kelvora talks to an Ensoniq EPS, EPS-16 PLUS or ASR sampler through MIDI System Exclusive.
It lists the instruments, layers and wavesamples in the sampler, downloads wavesamples into
WAV files, uploads WAV files (also unattended from the command line) and edits wavesamples
remotely. A built-in simulated sampler lets everything be tried without one, and kelvora-sim
runs that simulated sampler on its own, on an ALSA sequencer port or through a pipe.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://kelvora.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CPACK_PACKAGE_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its plugins at run time, so dpkg-shlibdeps cannot see what they need: the platform
# plugins, and for audition the multimedia back-end Qt 6.4 picks, GStreamer (its plugin ships in
# libqt6multimedia6), which plays a WAV file only with GStreamer's base and good elements
# (playbin, audioconvert; wavparse, autoaudiosink).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
