# What `cmake --install` puts under CMAKE_INSTALL_PREFIX: the two programs, the help pages,
# the desktop entry, the icons, the AppStream metadata and the manual pages. Tests and
# benchmarks have no install rules.

# The help is built into the program; the installed copy is for reading outside it.
set(KELVORA_INSTALL_HELPDIR ${CMAKE_INSTALL_DATADIR}/kelvora/help)

if(TARGET kelvora)
  install(TARGETS kelvora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/app/help/ DESTINATION ${KELVORA_INSTALL_HELPDIR}
          FILES_MATCHING PATTERN "*.html")
endif()

add_subdirectory(${PROJECT_SOURCE_DIR}/packaging ${PROJECT_BINARY_DIR}/packaging)
