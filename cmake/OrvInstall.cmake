# Install rules and the Debian package. orv-desktop goes to bin/; the module,
# its two workbook templates and orv-print to one private folder, which the
# host finds relative to its own executable. Desktop files come from
# packaging/.

install(TARGETS orv-desktop RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS ORVUnits LIBRARY DESTINATION ${ORV_INSTALL_MODULEDIR})
install(TARGETS orv-print RUNTIME DESTINATION ${ORV_INSTALL_MODULEDIR})
install(FILES
    ${ORV_OUTPUT_DIR}/export_tmp_struct.xlsx
    ${ORV_OUTPUT_DIR}/export_tmp_values.xlsx
  DESTINATION ${ORV_INSTALL_MODULEDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orv-desktop)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ORV Desktop maintainers <orv-desktop@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal tracking of measured values")
set(CPACK_PACKAGE_DESCRIPTION
  "ORV Desktop records measured values (blood glucose readings, portions of\n\
food, ...) with date, time and notes, sums or averages them per day and per\n\
time slot against targets, and shows them as charts and tables. Values and\n\
structure export to spreadsheet workbooks.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Depends comes from the libraries the programs link (Qt 6 Widgets, SQLite,
# libzip, pugixml); the mail and open-file helpers are only recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
