# One self-contained program folder, as the program finds its Data/ and its
# printing module beside its own file: DIR/velmo, DIR/libvelmo_drucker.so,
# DIR/srcpsim, DIR/Data/ (catalogue and pictures; never the settings of a
# build's runs), DIR/examples/, DIR/doc/ and
# DIR/desktop.sh, which gives the folder a menu entry and the plan file type.
#   cmake --install build --prefix DIR        cpack -G TGZ (in build/)
install(TARGETS velmo srcpsim RUNTIME DESTINATION .)
install(TARGETS velmo_drucker LIBRARY DESTINATION .)
install(DIRECTORY ${VELMO_DATA_DIR}/ DESTINATION Data
        PATTERN "parmc.dat*" EXCLUDE
        PATTERN ".*" EXCLUDE)
install(FILES examples/bahnhof.pln examples/bahnhof.fst examples/README.md DESTINATION examples)
install(FILES README.md DESTINATION doc)
install(DIRECTORY doc/ DESTINATION doc OPTIONAL)
install(PROGRAMS scripts/desktop.sh DESTINATION .)

set(CPACK_PACKAGE_NAME velmo)
set(CPACK_PACKAGE_VENDOR "Velmo")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Velmo Gleisbildstellwerk: track-diagram control panel for SRCP servers")
set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_FILE_NAME velmo-${PROJECT_VERSION}-${CMAKE_SYSTEM_PROCESSOR})
include(CPack)
