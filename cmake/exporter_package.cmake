# prometheus-t740-exporter, as Debian ships Prometheus exporters: the
# binary under Debian's name, a systemd unit, its arguments in
# /etc/default, an example configuration in /etc/prometheus (both
# conffiles), a manual page, and the alerting rules and scrape
# configuration among its examples. The files outside /usr go only into the
# package (EXCLUDE_FROM_ALL): `cmake --install` into a prefix leaves /etc
# and /lib alone.
if(NOT TARGET t740-exporter)
  return()
endif()
set(T740_EXPORTER_PACKAGE prometheus-t740-exporter)
set(T740_EXPORTER_DEBIAN_DIR ${T740_DEBIAN_DIR}/exporter)

install(PROGRAMS $<TARGET_FILE:t740-exporter> DESTINATION ${CMAKE_INSTALL_BINDIR}
        RENAME ${T740_EXPORTER_PACKAGE} COMPONENT exporter)
# As t740-host's: the installed binary finds the installed plug-in itself.
# Renamed, it is no target CMake strips, so it is stripped here when the
# install strips (cpack does).
set(T740_INSTALLED_EXPORTER
    "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${T740_EXPORTER_PACKAGE}")
install(CODE "file(RPATH_REMOVE FILE \"${T740_INSTALLED_EXPORTER}\")
              if(CMAKE_INSTALL_DO_STRIP)
                execute_process(COMMAND \"${CMAKE_STRIP}\" \"${T740_INSTALLED_EXPORTER}\"
                                COMMAND_ERROR_IS_FATAL ANY)
              endif()"
        COMPONENT exporter)
t740_gzip(${PROJECT_SOURCE_DIR}/docs/man/${T740_EXPORTER_PACKAGE}.1
          ${PROJECT_BINARY_DIR}/${T740_EXPORTER_PACKAGE}.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/${T740_EXPORTER_PACKAGE}.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT exporter)
set(T740_EXPORTER_DOC_DIR ${T740_DOC_ROOT}/${T740_EXPORTER_PACKAGE})
install(FILES ${T740_DEBIAN_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${T740_EXPORTER_DOC_DIR} COMPONENT exporter)
install(FILES ${PROJECT_SOURCE_DIR}/exporter/examples/prometheus.yml
              ${PROJECT_SOURCE_DIR}/exporter/examples/t740-exporter.yml
              ${PROJECT_SOURCE_DIR}/exporter/rules/t740-alerts.yml
        DESTINATION ${T740_EXPORTER_DOC_DIR}/examples COMPONENT exporter)

install(FILES ${T740_EXPORTER_DEBIAN_DIR}/${T740_EXPORTER_PACKAGE}.service
        DESTINATION /lib/systemd/system COMPONENT exporter EXCLUDE_FROM_ALL)
install(FILES ${T740_EXPORTER_DEBIAN_DIR}/${T740_EXPORTER_PACKAGE}.default
        DESTINATION /etc/default RENAME ${T740_EXPORTER_PACKAGE} COMPONENT exporter
        EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/exporter/examples/t740-exporter.yml
        DESTINATION /etc/prometheus COMPONENT exporter EXCLUDE_FROM_ALL)

list(APPEND CPACK_COMPONENTS_ALL exporter)
set(CPACK_COMPONENT_EXPORTER_DEPENDS runtime)
set(CPACK_DEBIAN_EXPORTER_PACKAGE_NAME ${T740_EXPORTER_PACKAGE})
set(CPACK_DEBIAN_EXPORTER_PACKAGE_SECTION net)
set(CPACK_COMPONENT_EXPORTER_DESCRIPTION
    "Prometheus exporter for t740 SDH line cards
prometheus-t740-exporter reads the alarm and performance status of t740
cards over SNMP, decodes them with the card plug-in libt740.so.1 and serves
them to Prometheus as metrics: one series per alarm and per performance
counter, for each card probed (/probe?target=...&card=...).")
set(CPACK_DEBIAN_EXPORTER_PACKAGE_CONTROL_EXTRA
    ${T740_EXPORTER_DEBIAN_DIR}/conffiles ${T740_EXPORTER_DEBIAN_DIR}/postinst
    ${T740_EXPORTER_DEBIAN_DIR}/prerm ${T740_EXPORTER_DEBIAN_DIR}/postrm)
set(CPACK_DEBIAN_EXPORTER_PACKAGE_CONTROL_STRICT_PERMISSION ON)
