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
    ${DATADIR}/applications/zelkchart.desktop
    ${DATADIR}/applications/zelkspec.desktop
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
find_program(validate desktop-file-validate)
if(validate)
  foreach(entry zelkchart zelkspec)
    execute_process(COMMAND ${validate} ${PREFIX}/${DATADIR}/applications/${entry}.desktop
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${entry}.desktop is not a valid launcher entry")
    endif()
  endforeach()
endif()
# The installed program finds its libraries and its chart control without the build tree.
execute_process(COMMAND ${PREFIX}/${BINDIR}/zelkchart --version RESULT_VARIABLE result
                OUTPUT_VARIABLE version)
if(NOT result EQUAL 0 OR NOT version MATCHES "^zelkchart ")
  message(FATAL_ERROR "the installed zelkchart does not run: ${result} ${version}")
endif()
file(REMOVE_RECURSE ${PREFIX})
