# The installed CMake package: find_package(Zelk) gives Zelk::automation, Zelk::host,
# Zelk::xvaxtool and the layers they link.
include(CMakePackageConfigHelpers)

get_property(zelk_exported GLOBAL PROPERTY ZELK_EXPORTED_TARGETS)
if(zelk_exported)
  install(EXPORT ZelkTargets NAMESPACE Zelk:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Zelk)
endif()
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ZelkConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/ZelkConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Zelk)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/ZelkConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/ZelkConfig.cmake ${CMAKE_BINARY_DIR}/ZelkConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Zelk)
