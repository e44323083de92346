# What `cmake --install` puts in place and what `cpack -G DEB` packs, in
# three components as Debian splits a library: runtime (the plug-in with
# its soname), development (the public header, the libt740.so link, a CMake
# package and a pkg-config file for host builds, the host integration guide
# with its example) and tools (the substitute host, the simulated card
# agent, the Prometheus exporter, the SNMP notes). Each has its copyright and changelog in its
# package's documentation directory.

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
target_compile_definitions(t740_host_plugin PUBLIC
                           T740_INSTALLED_PLUGIN="${T740_BIN_TO_LIB}/${T740_PLUGIN_SONAME}"
                           T740_PLUGIN_SONAME="${T740_PLUGIN_SONAME}")

set(T740_RUNTIME_PACKAGE libt740-${PROJECT_VERSION_MAJOR})
set(T740_DEVELOPMENT_PACKAGE libt740-dev)
set(T740_TOOLS_PACKAGE t740-tools)
set(T740_DOC_ROOT ${CMAKE_INSTALL_DATAROOTDIR}/doc)

install(TARGETS t740 EXPORT t740Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
                NAMELINK_COMPONENT development
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/t740/abi.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/t740 COMPONENT development)
install(TARGETS t740-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
# The build's run path (host/CMakeLists.txt) points into the build tree.
install(CODE "file(RPATH_REMOVE FILE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/t740-host\")"
        COMPONENT tools)
# The exporter, like the host, finds the build's plug-in by a build run path.
install(TARGETS t740-exporter RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
install(CODE "file(RPATH_REMOVE FILE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/t740-exporter\")"
        COMPONENT tools)
if(TARGET t740-sim)
  install(TARGETS t740-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/docs/host-integration.md
        DESTINATION ${T740_DOC_ROOT}/${T740_DEVELOPMENT_PACKAGE} COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/examples/
        DESTINATION ${T740_DOC_ROOT}/${T740_DEVELOPMENT_PACKAGE}/examples COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/docs/snmp.md
        DESTINATION ${T740_DOC_ROOT}/${T740_TOOLS_PACKAGE} COMPONENT tools)

# Debian wants changelogs and manual pages compressed, without a time stamp
# in the header.
function(t740_gzip source output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(COMMAND gzip -9nc INPUT_FILE ${source} OUTPUT_FILE ${output}
                  COMMAND_ERROR_IS_FATAL ANY)
endfunction()
set(T740_DEBIAN_DIR ${CMAKE_CURRENT_LIST_DIR}/debian)
t740_gzip(${T740_DEBIAN_DIR}/changelog ${PROJECT_BINARY_DIR}/changelog.gz)
foreach(program t740-host t740-sim t740-exporter)
  if(TARGET ${program})
    t740_gzip(${PROJECT_SOURCE_DIR}/docs/man/${program}.1 ${PROJECT_BINARY_DIR}/${program}.1.gz)
    install(FILES ${PROJECT_BINARY_DIR}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT tools)
  endif()
endforeach()
install(FILES ${T740_DEBIAN_DIR}/libt740-1.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${T740_RUNTIME_PACKAGE}
        COMPONENT runtime)
foreach(component runtime development tools)
  string(TOUPPER ${component} upper)
  install(FILES ${T740_DEBIAN_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
          DESTINATION ${T740_DOC_ROOT}/${T740_${upper}_PACKAGE} COMPONENT ${component})
endforeach()

set(T740_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/t740)
install(EXPORT t740Targets NAMESPACE t740:: DESTINATION ${T740_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/t740Config.cmake.in
                              ${PROJECT_BINARY_DIR}/t740Config.cmake
                              INSTALL_DESTINATION ${T740_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/t740ConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/t740Config.cmake ${PROJECT_BINARY_DIR}/t740ConfigVersion.cmake
        DESTINATION ${T740_CMAKE_DIR} COMPONENT development)

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
install(FILES ${PROJECT_BINARY_DIR}/t740.pc DESTINATION ${T740_PKGCONFIG_DIR} COMPONENT development)

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
