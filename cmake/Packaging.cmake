include(GNUInstallDirs)

set(strikora_packaging ${PROJECT_SOURCE_DIR}/packaging)
# The reverse-DNS name of the application, under the publisher's domain; AppStream and the
# desktop want the desktop entry and the metainfo named after it.
set(strikora_app_id example.strikorakey.StrikoraKey)

install(TARGETS strikorakey RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${strikora_packaging}/${strikora_app_id}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${strikora_packaging}/${strikora_app_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${strikora_packaging}/icons/strikorakey.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES ${strikora_packaging}/icons/hicolor/${size}x${size}/apps/strikorakey.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Compressed at configure time: the package preset builds only the program, so a build rule
# would not run before cpack. -n leaves name and time out of the header, so the result is
# the same on every build.
function(strikora_gzip source output)
    execute_process(COMMAND gzip -9n -c ${source} OUTPUT_FILE ${output}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip could not compress ${source}")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
set(strikora_packaging_out ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${strikora_packaging_out})
strikora_gzip(${strikora_packaging}/strikorakey.1 ${strikora_packaging_out}/strikorakey.1.gz)
strikora_gzip(${strikora_packaging}/changelog ${strikora_packaging_out}/changelog.gz)

install(FILES ${strikora_packaging_out}/strikorakey.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${strikora_packaging_out}/changelog.gz ${strikora_packaging}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/strikorakey)

set(CPACK_PACKAGE_NAME "strikorakey")
set(CPACK_PACKAGE_VENDOR "StrikoraKey")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop companion for managers of Strikora teams")
set(CPACK_PACKAGE_DESCRIPTION [=[
StrikoraKey helps managers of teams in the Strikora online football-management
game. It logs in to the game service with the manager's user name and read-only
security code, then:

 - follows live matches: the commentary as it comes in, the events that name
   players, the counters of both sides and a summary of every followed match,
   with a taskbar alert and a notification when a followed match scores;
 - finds teams and their matches;
 - downloads the manager's team documents into dated XML files;
 - rates every player of the squad for each position and behaviour.

An account with the Strikora game is needed.]=])
# The version the program shows (major.minor.build); the release number, the third of the
# four, stays in the executable's version information only.
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
set(CPACK_GENERATOR "DEB")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "StrikoraKey developers <dev@strikorakey.example>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.strikorakey.example/")
set(CPACK_DEBIAN_PACKAGE_SECTION "net")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# dpkg-shlibdeps derives the dependencies from the libraries the stripped binary links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
