# Installs the build into a scratch prefix and checks that programs, libraries, launcher entries,
# icons and manual pages land where GNUInstallDirs puts them, that the entries are valid, and that
# an outside program builds against the installation with find_package(Zelk). Run with
# -DSOURCE_DIR=... -DBUILD_DIR=... -DPREFIX=... -DBINDIR=... -DLIBDIR=... -DDATADIR=... -DMANDIR=...
#
# The install step registers the installed control as it would for a user, but into a registry
# and configuration folder of this test's own beside the prefix: never the user's, and never the
# registry the other tests share (which would then name a module this test deletes).
set(scratch ${PREFIX}-home)
file(REMOVE_RECURSE ${PREFIX} ${scratch})
set(ENV{HOME} ${scratch}/home)
set(ENV{XDG_CONFIG_HOME} ${scratch}/config)
set(ENV{XDG_CONFIG_DIRS} ${scratch}/system)
set(ENV{ZELK_REGISTRY} ${scratch}/registry)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(control ${PREFIX}/${LIBDIR}/libKVPLOTAX.so)
file(READ ${scratch}/registry registry)
string(FIND "${registry}" "{F9285160-7EB9-11D0-AADB-0000C05F07C7} Vextrin.Plotrex.1 ${control}\n"
       at)
if(at EQUAL -1 OR NOT EXISTS ${scratch}/config/zelk/VB.INI)
  message(FATAL_ERROR "the install step did not register ${control} in its scratch registry")
endif()
set(expected
    ${BINDIR}/zelkchart
    ${LIBDIR}/libKVPLOTAX.so
    ${LIBDIR}/libXVAXTool.so
    ${LIBDIR}/libzelkchart_web.so
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
# ... and its web view's module, which only runs that serve load.
execute_process(COMMAND ${PREFIX}/${BINDIR}/zelkchart --headless --seconds 1 --serve 0
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT errors MATCHES "serving the web view at http://127.0.0.1:")
  message(FATAL_ERROR "the installed zelkchart does not serve: ${result} ${errors}")
endif()
# An outside program builds against the installation with find_package(Zelk) and runs.
set(consumer ${scratch}/consumer)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/package -B ${consumer} -G Ninja
                        -DCMAKE_PREFIX_PATH=${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(result EQUAL 0)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${consumer} RESULT_VARIABLE result
                  OUTPUT_VARIABLE errors ERROR_VARIABLE errors)
endif()
if(result EQUAL 0)
  execute_process(COMMAND ${consumer}/consumer RESULT_VARIABLE result OUTPUT_VARIABLE errors
                  ERROR_VARIABLE errors)
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "an outside program does not build and run with find_package(Zelk): "
                      "${result} ${errors}")
endif()
# With an older installation registered in the user's registry, since removed, and no explicit
# registry, the installed program draws with the control installed with it and leaves the user's
# files as they were.
unset(ENV{ZELK_REGISTRY})
set(user_registry ${scratch}/config/zelk/registry)
file(WRITE ${user_registry}
     "{F9285160-7EB9-11D0-AADB-0000C05F07C7} Vextrin.Plotrex.1 ${scratch}/old/libKVPLOTAX.so\n")
file(SHA256 ${user_registry} registry_before)
file(SHA256 ${scratch}/config/zelk/VB.INI ini_before)
execute_process(COMMAND ${PREFIX}/${BINDIR}/zelkchart --headless --input synthetic --seconds 1
                        --image ${scratch}/chart.png
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
file(SHA256 ${user_registry} registry_after)
file(SHA256 ${scratch}/config/zelk/VB.INI ini_after)
if(NOT result EQUAL 0 OR NOT EXISTS ${scratch}/chart.png)
  message(FATAL_ERROR "the installed zelkchart does not draw with its own control: ${result} ${errors}")
endif()
if(NOT registry_before STREQUAL registry_after OR NOT ini_before STREQUAL ini_after)
  message(FATAL_ERROR "the installed zelkchart changed the user's registry or VB.INI")
endif()
file(REMOVE_RECURSE ${PREFIX} ${scratch})
