# The Debian packages made by `cpack -G DEB`, one per install component, as
# Debian splits a library: libt740-1 (the plug-in), libt740-dev (what a
# host builds against) and t740-tools (t740-host, t740-sim), so that a host
# that wants only the plug-in does not pull in net-snmp; beside them the
# exporter, prometheus-t740-exporter.
set(CPACK_PACKAGE_NAME t740)
set(CPACK_PACKAGE_VENDOR "t740 maintainers")
set(CPACK_PACKAGE_CONTACT "t740 maintainers <t740@example.org>")
# No package-wide summary: CPack would put it before each package's own.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
# The build keeps its debugging symbols; the packages do not.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE t740)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Each package depends on the plug-in of exactly its version.
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${T740_RUNTIME_PACKAGE})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "card plug-in for the t740 SDH line card
libt740.so.1 is loaded by a network-management host to manage the t740 SDH
line card with four optical STM-N ports. It decodes the card's alarm, LED
and performance status texts and shows the alarm shielding dialog and the
configuration window, which reads and writes the card through the host's
request function. Its windows are Qt 6 Widgets with Chinese texts.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${T740_DEVELOPMENT_PACKAGE})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "card plug-in for the t740 SDH line card (development files)
The public header t740/abi.h, a CMake package (find_package(t740)) and a
pkg-config file for hosts that load libt740.so.1, the host integration
guide and an example host.")
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME ${T740_TOOLS_PACKAGE})
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION net)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION
    "substitute host and simulated card for the t740 plug-in
t740-host loads libt740.so.1 as a network-management host does and drives
it against a card, in-process or over SNMP; t740-sim serves a simulated
t740 card as an SNMP agent on 127.0.0.1.")

# The windows show Chinese texts: without a CJK font they come out as
# boxes, and Qt's own dialog buttons read in Chinese from Qt's translations.
set(T740_RUNTIME_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")
find_program(T740_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(T740_DPKG_SHLIBDEPS)
  # Qt 6, net-snmp, the C++ runtime and whatever else the binaries link,
  # with the versions they need.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(APPEND T740_RUNTIME_DEPENDS ", libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), "
         "libqt6core6 (>= 6.4), libstdc++6 (>= 12), libc6 (>= 2.36)")
  set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS
      "libqt6widgets6 (>= 6.4), libqt6core6 (>= 6.4), libstdc++6 (>= 12), libc6 (>= 2.36)")
  if(TARGET t740-sim)
    string(APPEND CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS ", libsnmp40")
  endif()
  set(CPACK_DEBIAN_EXPORTER_PACKAGE_DEPENDS
      "libsnmp40, libyaml-cpp0.7, libcpp-httplib0.11, libcrypt1, libstdc++6 (>= 12), libc6 (>= 2.36)")
endif()
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "${T740_RUNTIME_DEPENDS}")
# shlibs for hosts packaged against libt740.so.1, and the ldconfig trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${T740_DEBIAN_DIR}/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(${CMAKE_CURRENT_LIST_DIR}/exporter_package.cmake)

include(CPack)
