# Debian's hardening flags (dpkg-buildflags with every hardening feature: fortified string and
# memory functions, stack protector, format-string errors, read-only relocations bound at start),
# on by default in release builds on a machine with dpkg-dev, so the installed program and the
# Debian package are built the way Debian builds its own. The build type still chooses the
# optimisation and the debug information. Debug, sanitizer and fuzz builds leave them out:
# _FORTIFY_SOURCE wants optimisation and gets in the sanitizers' way.
find_program(MARKWRIGHT_DPKG_BUILDFLAGS dpkg-buildflags)
set(hardening_default OFF)
if(MARKWRIGHT_DPKG_BUILDFLAGS AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
   AND NOT MARKWRIGHT_SANITIZE AND NOT MARKWRIGHT_FUZZ)
  set(hardening_default ON)
endif()
option(MARKWRIGHT_DEBIAN_BUILDFLAGS "Build with the hardening flags dpkg-buildflags gives"
       ${hardening_default})

if(MARKWRIGHT_DEBIAN_BUILDFLAGS)
  if(NOT MARKWRIGHT_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "MARKWRIGHT_DEBIAN_BUILDFLAGS needs dpkg-buildflags (Debian: dpkg-dev)")
  endif()
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    # Run in the source folder, so -ffile-prefix-map makes file names in the binaries relative.
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${MARKWRIGHT_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g|O.?)$")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${flags})
    else()
      add_compile_options(${flags})
    endif()
    set(MARKWRIGHT_DEBIAN_${kind} "${flags}")
  endforeach()
  message(STATUS "Debian build flags: ${MARKWRIGHT_DEBIAN_CPPFLAGS} ${MARKWRIGHT_DEBIAN_CXXFLAGS}"
                 " ${MARKWRIGHT_DEBIAN_LDFLAGS}")
endif()
