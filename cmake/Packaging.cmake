# What `cmake --install` puts beside the programs, and the Debian package made of it all.
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
# Configure again when a file appears there, such as the man page.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging})

if(LOCKVALE_GUI)
  install(FILES ${packaging}/lockvale.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${packaging}/lockvale-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME lockvale.xml)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${packaging}/icons/lockvale.svg DESTINATION ${icons}/scalable/apps)
  foreach(size 16 32 48 128 256)
    install(FILES ${packaging}/icons/lockvale-${size}.png
            DESTINATION ${icons}/${size}x${size}/apps RENAME lockvale.png)
  endforeach()
endif()

if(EXISTS ${packaging}/lockvale-cli.1 AND NOT WIN32)
  # The page names the project's version. Debian ships man pages gzipped, without a time
  # stamp so that the package builds the same.
  configure_file(${packaging}/lockvale-cli.1 ${PROJECT_BINARY_DIR}/lockvale-cli.1 @ONLY)
  set(man_page ${PROJECT_BINARY_DIR}/lockvale-cli.1.gz)
  add_custom_command(OUTPUT ${man_page}
    COMMAND gzip -9 -n -c ${PROJECT_BINARY_DIR}/lockvale-cli.1 > ${man_page}
    DEPENDS ${PROJECT_BINARY_DIR}/lockvale-cli.1 VERBATIM)
  add_custom_target(man_page ALL DEPENDS ${man_page})
  install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(WIN32 AND LOCKVALE_GUI)
  # lockvale.exe runs from the zip's folder: beside it the Qt plugins it loads and the DLLs that
  # it and they import, found over their imports in Qt's and MinGW's folders.
  set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
  install(FILES ${qt_plugins}/platforms/qwindows.dll DESTINATION platforms)
  install(DIRECTORY ${qt_plugins}/styles DESTINATION . FILES_MATCHING PATTERN "*.dll")
  set(dll_folders ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
  foreach(runtime libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(found ${found} DIRECTORY)
    string(APPEND dll_folders :${found})
  endforeach()
  install(CODE "set(program \"$<TARGET_FILE:lockvale>\")
    set(qt_plugins \"${qt_plugins}\")
    set(dll_folders \"${dll_folders}\")
    set(dll_script \"${PROJECT_SOURCE_DIR}/scripts/windows-dlls\")")
  install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/InstallWindowsDlls.cmake)
endif()

if(WIN32)
  # The programs in a zip, nothing to install on Windows: lockvale-cli.exe linked statically,
  # lockvale.exe with Qt's DLLs beside it.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR DEB)
endif()
set(CPACK_PACKAGE_NAME lockvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})  # the version the programs report
set(CPACK_PACKAGE_CONTACT "Lockvale developers <dev@lockvale.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "encrypts and decrypts files and texts with AES")
set(CPACK_PACKAGE_DESCRIPTION [[
Lockvale encrypts files into ".encr" files and decrypts them again with a key
you type, using AES with 128-, 192- or 256-bit keys. It also turns short texts
into hexadecimal ciphertext and back. A command-line tool, lockvale-cli, does
the same for files in scripts.]])
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
if(LOCKVALE_GUI)
  # Their dpkg triggers refresh the menu and MIME caches; the package needs no scripts of its own.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info")
endif()
include(CPack)
