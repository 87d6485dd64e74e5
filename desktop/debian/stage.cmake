# Run by cpack on the staged tree before the package is made: compresses the manual pages and adds
# the changelog and copyright every Debian package carries.
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT EXISTS ${root}/bin/zelkchart)
  message(FATAL_ERROR "the staged tree has no ${CPACK_PACKAGING_INSTALL_PREFIX}/bin/zelkchart")
endif()

function(gzip_into source target)
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${target} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip ${source} failed: ${result}")
  endif()
  file(CHMOD ${target} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

file(GLOB pages ${root}/share/man/man*/*.[1-9])
foreach(page IN LISTS pages)
  gzip_into(${page} ${page}.gz)
  file(REMOVE ${page})
endforeach()

# The changelog names the version being packaged; a version bump without an entry is an error.
file(STRINGS ${CPACK_ZELK_DEBIAN_DIR}/changelog first LIMIT_COUNT 1)
if(NOT first MATCHES "^zelk \\(${CPACK_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "desktop/debian/changelog has no entry for ${CPACK_PACKAGE_VERSION}: ${first}")
endif()
set(doc ${root}/share/doc/zelk)
file(MAKE_DIRECTORY ${doc})
gzip_into(${CPACK_ZELK_DEBIAN_DIR}/changelog ${doc}/changelog.gz)
file(COPY_FILE ${CPACK_ZELK_DEBIAN_DIR}/copyright ${doc}/copyright)
file(CHMOD ${doc}/copyright PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# The lintian tags accepted for this package, each with its reason.
if(EXISTS ${CPACK_ZELK_DEBIAN_DIR}/lintian-overrides)
  set(overrides ${root}/share/lintian/overrides)
  file(MAKE_DIRECTORY ${overrides})
  file(COPY_FILE ${CPACK_ZELK_DEBIAN_DIR}/lintian-overrides ${overrides}/zelk)
  file(CHMOD ${overrides}/zelk PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()
