# Man pages written by the programs themselves (their hidden --man option prints the page
# from their own option and command tables), so a page cannot drift from what the program
# accepts. kestrix_man_page(TARGET) builds man/TARGET.1 with the program and installs it to
# share/man/man1 compressed (gzip -9n: reproducible, as Debian installs manual pages).
include(GNUInstallDirs)

function(kestrix_man_page target)
  set(page ${CMAKE_BINARY_DIR}/man/${target}.1)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DOUTPUT=${page}
            -P ${CMAKE_SOURCE_DIR}/cmake/WriteManPage.cmake
    DEPENDS ${target} ${CMAKE_SOURCE_DIR}/cmake/WriteManPage.cmake
    COMMENT "Writing the man page ${target}(1)")
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND gzip -9nc ${page} > ${page}.gz
    DEPENDS ${page}
    COMMENT "Compressing the man page ${target}(1)")
  add_custom_target(${target}_man ALL DEPENDS ${page} ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
