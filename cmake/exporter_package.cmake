# prometheus-t740-exporter, as Debian ships Prometheus exporters: the
# binary under Debian's name, a systemd unit, its arguments in
# /etc/default, an example configuration in /etc/prometheus (both
# conffiles), a manual page, and the alerting rules and scrape
# configuration among its examples. t740-alerter comes in the same package,
# as prometheus-t740-alerter with the same four pieces: it reads the same
# configuration file, loads the same plug-in, links the same libraries and
# lines its alerts up with the same rules, so a package of its own would
# hold one binary and depend on this one. The files outside /usr go only
# into the package (EXCLUDE_FROM_ALL): `cmake --install` into a prefix
# leaves /etc and /lib alone.
if(NOT TARGET t740-exporter OR NOT TARGET t740-alerter)
  return()
endif()
set(T740_EXPORTER_PACKAGE prometheus-t740-exporter)
set(T740_EXPORTER_DEBIAN_DIR ${T740_DEBIAN_DIR}/exporter)

# The programs under Debian's names, each with its manual page.
foreach(program IN ITEMS t740-exporter t740-alerter)
  set(installed_name prometheus-${program})
  install(PROGRAMS $<TARGET_FILE:${program}> DESTINATION ${CMAKE_INSTALL_BINDIR}
          RENAME ${installed_name} COMPONENT exporter)
  # As t740-host's: the installed binary finds the installed plug-in
  # itself. Renamed, it is no target CMake strips, so it is stripped here
  # when the install strips (cpack does).
  set(installed_path "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${installed_name}")
  install(CODE "file(RPATH_REMOVE FILE \"${installed_path}\")
                if(CMAKE_INSTALL_DO_STRIP)
                  execute_process(COMMAND \"${CMAKE_STRIP}\" \"${installed_path}\"
                                  COMMAND_ERROR_IS_FATAL ANY)
                endif()"
          COMPONENT exporter)
  t740_gzip(${PROJECT_SOURCE_DIR}/docs/man/${installed_name}.1
            ${PROJECT_BINARY_DIR}/${installed_name}.1.gz)
  install(FILES ${PROJECT_BINARY_DIR}/${installed_name}.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT exporter)
endforeach()
set(T740_EXPORTER_DOC_DIR ${T740_DOC_ROOT}/${T740_EXPORTER_PACKAGE})
install(FILES ${T740_DEBIAN_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${T740_EXPORTER_DOC_DIR} COMPONENT exporter)
install(FILES ${PROJECT_SOURCE_DIR}/exporter/examples/prometheus.yml
              ${PROJECT_SOURCE_DIR}/exporter/examples/t740-exporter.yml
              ${PROJECT_SOURCE_DIR}/exporter/examples/t740-alerter.yml
              ${PROJECT_SOURCE_DIR}/exporter/examples/alertmanager.yml
              ${PROJECT_SOURCE_DIR}/exporter/rules/t740-alerts.yml
        DESTINATION ${T740_EXPORTER_DOC_DIR}/examples COMPONENT exporter)

install(FILES ${T740_EXPORTER_DEBIAN_DIR}/${T740_EXPORTER_PACKAGE}.service
        DESTINATION /lib/systemd/system COMPONENT exporter EXCLUDE_FROM_ALL)
install(FILES ${T740_EXPORTER_DEBIAN_DIR}/${T740_EXPORTER_PACKAGE}.default
        DESTINATION /etc/default RENAME ${T740_EXPORTER_PACKAGE} COMPONENT exporter
        EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/exporter/examples/t740-exporter.yml
        DESTINATION /etc/prometheus COMPONENT exporter EXCLUDE_FROM_ALL)
install(FILES ${T740_EXPORTER_DEBIAN_DIR}/prometheus-t740-alerter.service
        DESTINATION /lib/systemd/system COMPONENT exporter EXCLUDE_FROM_ALL)
install(FILES ${T740_EXPORTER_DEBIAN_DIR}/prometheus-t740-alerter.default
        DESTINATION /etc/default RENAME prometheus-t740-alerter COMPONENT exporter
        EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/exporter/examples/t740-alerter.yml
        DESTINATION /etc/prometheus COMPONENT exporter EXCLUDE_FROM_ALL)

list(APPEND CPACK_COMPONENTS_ALL exporter)
set(CPACK_COMPONENT_EXPORTER_DEPENDS runtime)
set(CPACK_DEBIAN_EXPORTER_PACKAGE_NAME ${T740_EXPORTER_PACKAGE})
set(CPACK_DEBIAN_EXPORTER_PACKAGE_SECTION net)
set(CPACK_COMPONENT_EXPORTER_DESCRIPTION
    "Prometheus exporter and alerter for t740 SDH line cards
prometheus-t740-exporter reads the alarm and performance status of t740
cards over SNMP, decodes them with the card plug-in libt740.so.1 and serves
them to Prometheus as metrics: one series per alarm and per performance
counter, for each card probed (/probe?target=...&card=...).
.
prometheus-t740-alerter receives the cards' SNMP notifications, probes the
card through the same plug-in and posts each alarm's raise and clear to
Alertmanager at once, under the labels of the shipped alerting rules.")
set(CPACK_DEBIAN_EXPORTER_PACKAGE_CONTROL_EXTRA
    ${T740_EXPORTER_DEBIAN_DIR}/conffiles ${T740_EXPORTER_DEBIAN_DIR}/postinst
    ${T740_EXPORTER_DEBIAN_DIR}/prerm ${T740_EXPORTER_DEBIAN_DIR}/postrm)
set(CPACK_DEBIAN_EXPORTER_PACKAGE_CONTROL_STRICT_PERMISSION ON)
