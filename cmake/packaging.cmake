# What `cmake --install` puts where, and the packages that `cpack` builds from it: a Debian package in
# a Linux build, a zip holding PELKWARDT.EXE in the Windows cross build. scripts/package.sh builds both.
include(GNUInstallDirs)

if(WIN32)
  # Flat, as it is unpacked on Windows: PELKWARDT.EXE beside its README.
  install(TARGETS pelkwardt RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
else()
  install(TARGETS pelkwardt RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES doc/pelkwardt.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # A cron line is active as soon as it lies in /etc/cron.d, so it ships as an example only. The systemd
  # units are templates: nothing runs until an instance's timer is enabled (see their comments).
  install(FILES contrib/pelkwardt.cron DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
  install(FILES contrib/pelkwardt@.service contrib/pelkwardt@.timer DESTINATION lib/systemd/system)
endif()

set(CPACK_PACKAGE_NAME pelkwardt)
set(CPACK_PACKAGE_VENDOR VELMORA)
set(CPACK_PACKAGE_CONTACT VELMORA)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "log maintenance tool of QUARDELIN: free-space check and log rotation")
# One line per line of the package's description: CPack keeps line ends and does not wrap.
set(CPACK_PACKAGE_DESCRIPTION [[
pelkwardt is started by a scheduler with the path of one log file and three
limits. It checks that the volume of the current directory still has a minimum
of free space, in megabytes or in percent, and ends with status 101 or 102 when
it has not. Otherwise it rotates the log once it has reached its size limit, by
a rename cascade that deletes only the oldest copy and never replaces a file.
It never writes into a log and keeps no state between runs.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "__pycache__")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "pelkwardt-${PROJECT_VERSION}-win64")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # pelkwardt_<version>_<architecture>.deb
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER VELMORA)
  set(CPACK_DEBIAN_PACKAGE_SECTION admin)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The architecture is the one dpkg reports for this machine (CPack's default), and the dependencies
  # are what dpkg-shlibdeps (package dpkg-dev) finds the executable linked against.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
