# The Debian package made by `cpack -G DEB`: one package holding everything
# the install puts in place, under /usr.
set(CPACK_PACKAGE_NAME t740)
set(CPACK_PACKAGE_VENDOR "t740 maintainers")
set(CPACK_PACKAGE_CONTACT "t740 maintainers <t740@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "card plug-in for the t740 SDH line card")
set(T740_DEB_TOOLS "the substitute host t740-host")
if(TARGET t740-sim)
  string(APPEND T740_DEB_TOOLS ", the simulated card t740-sim (an SNMP agent)")
endif()
set(CPACK_PACKAGE_DESCRIPTION
    "libt740.so is loaded by a network-management host to manage the t740 SDH line card with four optical STM-N ports: it decodes the card's alarm, LED and performance status texts and shows the alarm shielding dialog and the configuration window, which reads and writes the card through the host's request function. The package also holds the public header, a CMake package and a pkg-config file for host builds, ${T740_DEB_TOOLS}, and the host integration guide with an example host.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
# The build keeps its debugging symbols; the package does not.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)

# The windows show Chinese texts; without a CJK font they come out as boxes.
set(T740_DEB_DEPENDS "fonts-wqy-microhei")
find_program(T740_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(T740_DPKG_SHLIBDEPS)
  # Qt 6, the C++ runtime and whatever else the binaries link, with the
  # versions they need.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(APPEND T740_DEB_DEPENDS ", libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), "
         "libqt6core6 (>= 6.4), libstdc++6 (>= 12), libc6 (>= 2.36)")
  if(TARGET t740-sim)
    string(APPEND T740_DEB_DEPENDS ", libsnmp40")
  endif()
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${T740_DEB_DEPENDS}")
# shlibs for hosts packaged against libt740.so.1, and the ldconfig trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

include(CPack)
