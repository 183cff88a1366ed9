# Installing: `cmake --install build --prefix P` puts the program and
# everything it reads beside it into P/lib/kovrin (the program finds its data
# beside its executable, through symlinks), starters into P/bin, and the
# desktop entry, icons and udev rule where Linux looks for them. config.xml,
# language/, layouts/ and udev/ are installed by data/CMakeLists.txt, kovrinctl
# by app/ctl/CMakeLists.txt; tests/install checks the whole tree.
set(KOVRIN_INSTALL_DIR lib/kovrin)

set_target_properties(kovrin kovrinctl PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS kovrin RUNTIME DESTINATION ${KOVRIN_INSTALL_DIR})
install(TARGETS tessel LIBRARY DESTINATION ${KOVRIN_INSTALL_DIR})
# What the build draws or copies beside the executables: fonts, the UI
# library's pictures and the skin images.
install(DIRECTORY ${KOVRIN_PROGRAM_DIR}/font ${KOVRIN_PROGRAM_DIR}/tessel
                  ${KOVRIN_PROGRAM_DIR}/skins
        DESTINATION ${KOVRIN_INSTALL_DIR})

foreach(program kovrin kovrinctl)
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(REMOVE \"\${bin}/${program}\")
    file(CREATE_LINK ../${KOVRIN_INSTALL_DIR}/${program} \"\${bin}/${program}\" SYMBOLIC)
    message(STATUS \"Installing: \${bin}/${program} -> ../${KOVRIN_INSTALL_DIR}/${program}\")")
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/data/kovrin.desktop DESTINATION share/applications)
foreach(size 48 128 256)
  install(FILES ${KOVRIN_PROGRAM_DIR}/skins/theme1/logo/app_${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME kovrin.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/data/udev/70-kovrin.rules DESTINATION lib/udev/rules.d)
