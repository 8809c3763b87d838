# `cmake --install <build> --prefix P` lays Melodeck out as a Linux program:
#
#   P/lib/melodeck/melodeck        the program, with the shipped skins in
#   P/lib/melodeck/skin/<name>/    its program folder beside it
#   P/bin/melodeck                 a relative link to the program
#   P/share/applications/melodeck.desktop
#   P/share/icons/hicolor/<n>x<n>/apps/melodeck.png
#   P/share/metainfo/net.melodeck.Melodeck.metainfo.xml
#
# The program finds its skins beside its executable (a link to it resolved),
# as it does in the build tree, so an installed copy needs no path compiled
# in and the whole prefix can be moved. Playlists and the user's own skins
# go to the user's data folder when the program folder is not writable (see
# src/winsvc/ProgramFolders.h). The test tools, demos and benchmarks are not
# installed.
set(MELODECK_INSTALL_PROGRAM_DIR lib/melodeck)

install(TARGETS melodeck RUNTIME DESTINATION ${MELODECK_INSTALL_PROGRAM_DIR})
foreach(skin IN LISTS MELODECK_SHIPPED_SKINS)
  install(DIRECTORY "${MELODECK_APP_DIR}/skin/${skin}"
          DESTINATION ${MELODECK_INSTALL_PROGRAM_DIR}/skin)
endforeach()
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION share/icons)

configure_file(${PROJECT_SOURCE_DIR}/packaging/net.melodeck.Melodeck.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/net.melodeck.Melodeck.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/net.melodeck.Melodeck.metainfo.xml
        DESTINATION share/metainfo)

# The link and the desktop entry depend on the prefix given at install time
# (`--prefix`), so they are made then. The entry starts the program by its
# full path: a prefix outside PATH (/opt/...) still works from the menu, and
# the program recognises the entry as its own (src/net/UrlRegistration).
install(CODE "set(MELODECK_DESKTOP_IN \"${PROJECT_SOURCE_DIR}/packaging/melodeck.desktop.in\")
set(MELODECK_PROGRAM_DIR ${MELODECK_INSTALL_PROGRAM_DIR})")
install(CODE [[
  set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  file(MAKE_DIRECTORY "${root}/bin")
  message(STATUS "Installing: ${root}/bin/melodeck")
  file(REMOVE "${root}/bin/melodeck")
  file(CREATE_LINK ../${MELODECK_PROGRAM_DIR}/melodeck "${root}/bin/melodeck" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${root}/bin/melodeck")

  # Quoted as the program's own entry is (src/net/UrlRegistration): only a
  # path with more than "A-Za-z0-9/._+-", then with `"`, "`", "$" and "\"
  # escaped inside the quotes, every "\" escaped once more for the value,
  # and "%" doubled.
  set(MELODECK_EXEC "${CMAKE_INSTALL_PREFIX}/bin/melodeck")
  if(NOT MELODECK_EXEC MATCHES "^[A-Za-z0-9/._+-]+$")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" MELODECK_EXEC "${MELODECK_EXEC}")
    string(REPLACE "\\" "\\\\" MELODECK_EXEC "${MELODECK_EXEC}")
    string(REPLACE "%" "%%" MELODECK_EXEC "${MELODECK_EXEC}")
    set(MELODECK_EXEC "\"${MELODECK_EXEC}\"")
  endif()
  message(STATUS "Installing: ${root}/share/applications/melodeck.desktop")
  configure_file("${MELODECK_DESKTOP_IN}" "${root}/share/applications/melodeck.desktop" @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${root}/share/applications/melodeck.desktop")
]])
