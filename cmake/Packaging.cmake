include(GNUInstallDirs)

install(TARGETS strikorakey RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/strikorakey.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/strikorakey.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps)

set(CPACK_PACKAGE_NAME "strikorakey")
set(CPACK_PACKAGE_VENDOR "StrikoraKey")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop companion for managers of Strikora teams")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "StrikoraKey developers <dev@strikorakey.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libpugixml1v5")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
