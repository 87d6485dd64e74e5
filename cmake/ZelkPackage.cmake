# The Debian package: `cpack` in a build configured with CMAKE_INSTALL_PREFIX=/usr writes
# zelk_VERSION_amd64.deb (scripts/package-deb.sh does both). The maintainer scripts register the
# chart control for every user of the machine; the staged install itself registers nothing.
set(ZELK_PACKAGE_MAINTAINER "Zelk developers <zelk@zelk.org>"
    CACHE STRING "Maintainer named in the Debian package")

set(zelk_package_dir ${CMAKE_BINARY_DIR}/package-control)
set(ZELK_PACKAGE_MODULE ${CMAKE_INSTALL_FULL_LIBDIR}/libKVPLOTAX.so)
# Where `zelk-regsvr --system` writes.
set(ZELK_SYSTEM_REGISTRY /etc/xdg/zelk/registry)
foreach(script postinst prerm postrm)
  configure_file(${PROJECT_SOURCE_DIR}/desktop/debian/${script}.in ${zelk_package_dir}/${script}
                 @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                 GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelk)
set(CPACK_PACKAGE_VENDOR "Zelk developers")
set(CPACK_PACKAGE_CONTACT ${ZELK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/build/package)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# DESTDIR staging is what keeps the install step from registering the staged module.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "strip-chart recorder and spectrograph for a radio receiver's signal")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zelk watches, keeps and prints the signal of a radio receiver whose audio
output is wired into a sound card: zelkchart records the mean signal level
against clock time as a scrolling strip chart with a text log, and zelkspec
shows a running spectrogram. Both run with a window or unattended, and share
the real-time chart control KVPLOTAX, which kvplotax-designer edits.

The package registers the chart control for every user of the machine and
brings a systemd user service for unattended recording.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${zelk_package_dir}/postinst ${zelk_package_dir}/prerm ${zelk_package_dir}/postrm
    ${PROJECT_SOURCE_DIR}/desktop/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Compresses the manual pages and adds the Debian changelog and copyright to the staged tree.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/desktop/debian/stage.cmake)
set(CPACK_ZELK_DEBIAN_DIR ${PROJECT_SOURCE_DIR}/desktop/debian)
include(CPack)
