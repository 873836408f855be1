# The program's icon, drawn from dist/org.tolvane.tolvane.svg at build time
# with librsvg: PNGs of the usual sizes, and for Windows an .ico of them.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(TOLVANE_ICON_DIR ${PROJECT_BINARY_DIR}/icon)
set(TOLVANE_ICON_PNGS)
foreach(size 16 24 32 48 64 128 256)
  set(png ${TOLVANE_ICON_DIR}/tolvane-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TOLVANE_ICON_DIR}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
      ${PROJECT_SOURCE_DIR}/dist/org.tolvane.tolvane.svg
    DEPENDS ${PROJECT_SOURCE_DIR}/dist/org.tolvane.tolvane.svg
    VERBATIM)
  list(APPEND TOLVANE_ICON_PNGS ${png})
endforeach()

if(TOLVANE_WIN32)
  find_program(ICOTOOL icotool REQUIRED)
  # The sizes Explorer, the taskbar and Alt+Tab ask for; 256 stored as PNG.
  set(ico ${TOLVANE_ICON_DIR}/tolvane.ico)
  add_custom_command(OUTPUT ${ico}
    COMMAND ${ICOTOOL} -c -o ${ico} ${TOLVANE_ICON_DIR}/tolvane-16.png
      ${TOLVANE_ICON_DIR}/tolvane-24.png ${TOLVANE_ICON_DIR}/tolvane-32.png
      ${TOLVANE_ICON_DIR}/tolvane-48.png -r ${TOLVANE_ICON_DIR}/tolvane-256.png
    DEPENDS ${TOLVANE_ICON_PNGS}
    VERBATIM)
endif()
add_custom_target(tolvane_icon DEPENDS ${TOLVANE_ICON_PNGS} $<$<BOOL:${TOLVANE_WIN32}>:${ico}>)
