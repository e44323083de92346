# What `cmake --install` puts in place and what `cpack -G DEB` packs: the
# plug-in with its soname, the public header, a CMake package and a
# pkg-config file for host builds, the substitute host and the simulated
# card agent, and the host integration guide with its example.

# Debian's loader looks in lib/<multiarch> under /usr and /usr/local alike;
# the same relative layout under every prefix lets the installed host find
# the installed plug-in from its own bin directory. (Qt's CMake files have
# already included GNUInstallDirs, which gives plain "lib" outside /usr.)
option(T740_INSTALL_MULTIARCH "Install libraries into lib/<multiarch> under any prefix" ON)
if(T740_INSTALL_MULTIARCH AND CMAKE_LIBRARY_ARCHITECTURE AND CMAKE_INSTALL_LIBDIR STREQUAL "lib")
  set(CMAKE_INSTALL_LIBDIR "lib/${CMAKE_LIBRARY_ARCHITECTURE}" CACHE PATH
      "Object code libraries (lib/<multiarch>)" FORCE)
endif()
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(t740 PROPERTIES VERSION ${PROJECT_VERSION}
                      SOVERSION ${PROJECT_VERSION_MAJOR})
target_compile_features(t740 INTERFACE cxx_std_17)

set(T740_PLUGIN_SONAME "libt740.so.${PROJECT_VERSION_MAJOR}")
file(RELATIVE_PATH T740_BIN_TO_LIB ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
# The installed host looks for the installed plug-in relative to itself.
target_compile_definitions(t740_host_core PUBLIC
                           T740_INSTALLED_PLUGIN="${T740_BIN_TO_LIB}/${T740_PLUGIN_SONAME}"
                           T740_PLUGIN_SONAME="${T740_PLUGIN_SONAME}")

install(TARGETS t740 EXPORT t740Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/t740/abi.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/t740)
install(TARGETS t740-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET t740-sim)
  install(TARGETS t740-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/docs/host-integration.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/examples/
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(T740_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/t740)
install(EXPORT t740Targets NAMESPACE t740:: DESTINATION ${T740_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/t740Config.cmake.in
                              ${PROJECT_BINARY_DIR}/t740Config.cmake
                              INSTALL_DESTINATION ${T740_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/t740ConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/t740Config.cmake ${PROJECT_BINARY_DIR}/t740ConfigVersion.cmake
        DESTINATION ${T740_CMAKE_DIR})

# The .pc file finds the prefix from where it lies, so that it holds under
# any --prefix and inside the package alike.
set(T740_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
function(t740_path_from_pkgconfig variable to)
  file(RELATIVE_PATH relative ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${to})
  string(REGEX REPLACE "/$" "" relative "${relative}")
  set(${variable} "\${pcfiledir}/${relative}" PARENT_SCOPE)
endfunction()
t740_path_from_pkgconfig(T740_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
t740_path_from_pkgconfig(T740_PC_LIBDIR ${CMAKE_INSTALL_FULL_LIBDIR})
t740_path_from_pkgconfig(T740_PC_INCLUDEDIR ${CMAKE_INSTALL_FULL_INCLUDEDIR})
configure_file(${PROJECT_SOURCE_DIR}/cmake/t740.pc.in ${PROJECT_BINARY_DIR}/t740.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/t740.pc DESTINATION ${T740_PKGCONFIG_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
