# Installs the build into a scratch prefix and checks that programs, libraries, launcher entries,
# icons and manual pages land where GNUInstallDirs puts them, and that the entries are valid.
# Run with -DBUILD_DIR=... -DPREFIX=... -DBINDIR=... -DLIBDIR=... -DDATADIR=... -DMANDIR=...
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected
    ${BINDIR}/zelkchart
    ${LIBDIR}/libKVPLOTAX.so
    ${LIBDIR}/libXVAXTool.so
    ${DATADIR}/applications/org.zelk.Zelkchart.desktop
    ${DATADIR}/applications/org.zelk.Zelkspec.desktop
    ${DATADIR}/metainfo/org.zelk.Zelkchart.metainfo.xml
    ${DATADIR}/metainfo/org.zelk.Zelkspec.metainfo.xml
    ${DATADIR}/mime/packages/zelk.xml
    lib/systemd/user/zelkchart-record@.service
    ${DATADIR}/icons/hicolor/scalable/apps/zelkchart.svg
    ${DATADIR}/icons/hicolor/scalable/apps/zelkspec.svg
    ${MANDIR}/man1/zelkchart.1
    ${BINDIR}/zelkspec
    ${MANDIR}/man1/zelkspec.1
    ${DATADIR}/zelk/forms/zelkchart.bag
    ${DATADIR}/zelk/forms/zelkspec.bag)
foreach(path IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
# The forms folder holds the forms' settings only.
file(GLOB strays ${PREFIX}/${DATADIR}/zelk/forms/*.h ${PREFIX}/${BINDIR}/forms)
if(strays)
  message(FATAL_ERROR "not meant to be installed: ${strays}")
endif()
# A hint counts as much as an error: it names an entry menus list twice or not at all.
find_program(validate desktop-file-validate)
if(validate)
  file(GLOB entries ${PREFIX}/${DATADIR}/applications/*.desktop)
  foreach(entry IN LISTS entries)
    execute_process(COMMAND ${validate} ${entry} RESULT_VARIABLE result OUTPUT_VARIABLE out
                    ERROR_VARIABLE out)
    if(NOT result EQUAL 0 OR NOT out STREQUAL "")
      message(FATAL_ERROR "${entry} is not a valid launcher entry: ${out}")
    endif()
  endforeach()
endif()
# The recording service starts the installed recorder.
file(STRINGS ${PREFIX}/lib/systemd/user/zelkchart-record@.service exec REGEX "^ExecStart=")
if(NOT exec MATCHES "^ExecStart=${PREFIX}/${BINDIR}/zelkchart ")
  message(FATAL_ERROR "the recording service does not start the installed recorder: ${exec}")
endif()
# The installed program finds its libraries and its chart control without the build tree.
execute_process(COMMAND ${PREFIX}/${BINDIR}/zelkchart --version RESULT_VARIABLE result
                OUTPUT_VARIABLE version)
if(NOT result EQUAL 0 OR NOT version MATCHES "^zelkchart ")
  message(FATAL_ERROR "the installed zelkchart does not run: ${result} ${version}")
endif()
file(REMOVE_RECURSE ${PREFIX})
