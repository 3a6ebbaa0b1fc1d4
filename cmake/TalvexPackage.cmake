# Installation under /usr and the Debian package (scripts/package.sh).
#
# talvex-host goes to bin/; its plug-in and the runtime libraries are private to
# it and go to lib/<triplet>/talvex/, found through RUNPATH: $ORIGIN/../lib/...
# for the host, $ORIGIN for the libraries. The host looks for the plug-in there
# (PluginHost::defaultLibraryPath) when it is not beside it, as in a build
# folder. Being no folder of the dynamic linker's, it needs no ldconfig.

set(TALVEX_PRIVATE_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/talvex)
target_compile_definitions(talvexhostapp PRIVATE TALVEX_PRIVATE_LIBDIR="${TALVEX_PRIVATE_LIBDIR}")
set(TALVEX_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

set_target_properties(talvex-host PROPERTIES INSTALL_RPATH "$ORIGIN/../${TALVEX_PRIVATE_LIBDIR}")
set_target_properties(talvexrt talvexmodel Talvex PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS talvex-host RUNTIME DESTINATION bin)
install(TARGETS talvexrt talvexmodel Talvex LIBRARY DESTINATION ${TALVEX_PRIVATE_LIBDIR})

# The Chinese texts of Qt's own dialogs and buttons, which the host loads from
# its share folder before Qt's.
set(TALVEX_QT_TRANSLATION "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}/qtbase_zh_CN.qm")
install(FILES ${TALVEX_QT_TRANSLATION} DESTINATION share/talvex/translations)

install(FILES ${TALVEX_PACKAGING_DIR}/talvex-host.desktop DESTINATION share/applications)
install(FILES ${TALVEX_PACKAGING_DIR}/talvex-host.svg
        DESTINATION share/icons/hicolor/scalable/apps)

# The manual page and the changelog carry the project's version; Debian keeps
# both compressed.
function(_talvex_gzip_configured source target)
    configure_file(${source} ${CMAKE_BINARY_DIR}/packaging/${target} @ONLY)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${target}.gz
        COMMAND gzip -9nf -k ${target}
        DEPENDS ${CMAKE_BINARY_DIR}/packaging/${target}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
endfunction()
_talvex_gzip_configured(${TALVEX_PACKAGING_DIR}/talvex-host.1.in talvex-host.1)
_talvex_gzip_configured(${TALVEX_PACKAGING_DIR}/changelog.in changelog)
add_custom_target(talvex-docs ALL DEPENDS
    ${CMAKE_BINARY_DIR}/packaging/talvex-host.1.gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/talvex-host.1.gz DESTINATION share/man/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${TALVEX_PACKAGING_DIR}/copyright
        DESTINATION share/doc/talvex)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Talvex developers <dev@talvex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shift-exchange register of a staff and attendance system")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "talvex-host records, for one employee and one day, the working periods that\n"
    "replace the planned ones: a rest day in place of a working day, or changed\n"
    "working times. Its data lives in an SQLite file or in a PostgreSQL\n"
    "database shared by several desks. The interface is in Chinese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies as dpkg-shlibdeps computes them from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS /usr/${TALVEX_PRIVATE_LIBDIR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
