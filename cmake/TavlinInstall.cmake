# What `cmake --install` (and `make install`) puts under the prefix: the
# program in bin/, and beside it the files the desktop needs to find and
# start it. The autostart entry is not among them: the launch-at-login
# setting writes it while Tavlin runs.
include(GNUInstallDirs)

# tavlin_install_configured(<template> DESTINATION <folder> [RENAME <name>]):
# installs a text file made from <template> (relative to the calling
# folder) with @TAVLIN_INSTALLED_BINARY@ replaced by the installed program's
# absolute path. The path is worked out when installing, so that a prefix
# given to `cmake --install --prefix` is the one the file names; desktop
# entries and D-Bus service files need it.
function(tavlin_install_configured template)
  cmake_parse_arguments(ARG "" "DESTINATION;RENAME" "" ${ARGN})
  get_filename_component(source "${template}" ABSOLUTE)
  get_filename_component(name "${template}" NAME)
  if(ARG_RENAME)
    set(name "${ARG_RENAME}")
  endif()
  set(made "${CMAKE_CURRENT_BINARY_DIR}/installed/${name}")
  install(CODE "
    set(TAVLIN_INSTALLED_BINARY \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tavlin\")
    configure_file(\"${source}\" \"${made}\" @ONLY)
  ")
  install(FILES "${made}" DESTINATION "${ARG_DESTINATION}")
endfunction()
