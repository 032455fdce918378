# CPack pre-build step: a Debian package in section games keeps its programs in /usr/games
# (Debian policy 11.11), where the generic install uses bin/. The program finds its data from
# either folder, as ../share/tamberlo/. The compiler's .comment section goes too, as Debian's own
# packaging strips it.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(prefix ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
  file(MAKE_DIRECTORY ${prefix}/games)
  foreach(program tamberlo tamasset)
    file(RENAME ${prefix}/bin/${program} ${prefix}/games/${program})
    execute_process(COMMAND strip --remove-section=.comment ${prefix}/games/${program}
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  file(REMOVE_RECURSE ${prefix}/bin)
endif()
