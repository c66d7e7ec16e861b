# Installing like any desktop program, and the Debian package built from it by CPack.
install(FILES ${PROJECT_SOURCE_DIR}/resources/net.shareseek.shareseek.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${PROJECT_SOURCE_DIR}/resources/net.shareseek.shareseek.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/net.shareseek.shareseek.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/net.shareseek.shareseek.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/shareseek.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/shareseek-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME shareseek.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME shareseek)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "shareseek developers <dev@shareseek.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Search public cloud-storage share sites for files")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Type a keyword, tick share sites and search: every hit's title and address\n\
arrives as a numbered row. Filter, open, copy and export the rows. Also shareseek-cli,\n\
the same search for terminals and scripts (JSON, CSV, NDJSON).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # shareseek_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://bbs.shareseek.net/")
# The libraries come from the binaries themselves; the fonts the window draws with do not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, fonts-arphic-ukai")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
