# What a Linux install adds: compressed man pages, the Debian changelog and copyright, and
# links in bin to the executables in KORVEX_INSTALL_BINDIR.

find_program(KORVEX_GZIP gzip REQUIRED)
set(_docs ${CMAKE_BINARY_DIR}/install-docs)
set(_gz)
foreach(_page korvex.1 korvex-cli.1)
  add_custom_command(OUTPUT ${_docs}/${_page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_docs}
    COMMAND ${KORVEX_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/man/${_page} > ${_docs}/${_page}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/man/${_page})
  list(APPEND _gz ${_docs}/${_page}.gz)
endforeach()
add_custom_command(OUTPUT ${_docs}/changelog.gz
  COMMAND ${KORVEX_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/dist/linux/changelog > ${_docs}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/dist/linux/changelog ${_gz})
add_custom_target(korvex_install_docs ALL DEPENDS ${_gz} ${_docs}/changelog.gz)
install(FILES ${_gz} DESTINATION share/man/man1)
install(FILES ${_docs}/changelog.gz dist/linux/copyright DESTINATION share/doc/korvex)

# bin/NAME -> ../KORVEX_INSTALL_BINDIR/NAME; the executable finds its data through the link.
function(korvex_install_link name)
  install(CODE "
    set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${_bin}\")
    file(CREATE_LINK \"../${KORVEX_INSTALL_BINDIR}/${name}\" \"\${_bin}/${name}\" SYMBOLIC)")
endfunction()
