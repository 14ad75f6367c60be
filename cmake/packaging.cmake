# The Debian package: "cpack -G DEB" (or plain "cpack") in a release build folder writes
# markwright_<version>_<arch>.deb with the install layout under /usr.

set(MARKWRIGHT_PACKAGE_MAINTAINER "Markwright maintainers <maintainers@markwright.invalid>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME markwright)
set(CPACK_PACKAGE_VERSION ${MARKWRIGHT_DISPLAY_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "re-time video chapter points and write them for encoders and disc authoring")
# Debian wants the long description in lines shorter than 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Markwright reads the chapters of one video title (OGG chapter text, Celltimes,"
  "Blu-ray, HD DVD and DVD playlists, Matroska and ffmpeg chapter files, WebVTT,"
  "or the chapters stored in Matroska, WebM and MP4 files), re-times them from"
  "the input frame rate to the output frame rate so that every chapter stays on"
  "its frame, and writes them for x264, x265, ffmpeg, mkvmerge, tsMuxer,"
  "dvdauthor and other encoders and authoring tools. It has a window and a"
  "command line.")
set(CPACK_PACKAGE_CONTACT "${MARKWRIGHT_PACKAGE_MAINTAINER}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MARKWRIGHT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The libraries linked in come from dpkg-shlibdeps (dpkg-dev). libmediainfo is loaded only when a
# DVD title set or a media file is read, so dpkg-shlibdeps cannot see it: it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(markwright_depends libmediainfo0v5)
find_program(MARKWRIGHT_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NOT MARKWRIGHT_DPKG_SHLIBDEPS)
  # Without the tool, Debian 12's names of what the executable and the modules link.
  list(APPEND markwright_depends libc6 libstdc++6 libgcc-s1 libpugixml1v5 libebml5 libmatroska7
       libavformat59 libavcodec59 libavutil57 libswscale6)
  if(MARKWRIGHT_UI)
    list(APPEND markwright_depends libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6)
  endif()
endif()
list(JOIN markwright_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

# Debian's place for the licence of an installed package, and for its change log: CHANGELOG.md's
# releases as Debian change log entries, compressed without a time stamp.
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
add_custom_command(
  OUTPUT changelog.gz
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/CHANGELOG.md -DOUTPUT=changelog
          -DVERSION=${MARKWRIGHT_DISPLAY_VERSION} -DMAINTAINER=${MARKWRIGHT_PACKAGE_MAINTAINER}
          -P ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
  COMMAND gzip -9nf changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
  COMMENT "Writing the Debian change log" VERBATIM)
add_custom_target(markwright_changelog ALL DEPENDS changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
