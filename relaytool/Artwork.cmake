# The artwork of both toolkits' windows: one SVG per picture in icons/,
# rendered at build time into PNG pictures at the sizes a window draws it, so
# that no SVG is drawn at run time.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
# The tab icons in ImageList1's order (Form1Layout.h's kTabIcons) and the Exit
# button's close glyph, 16 design pixels square.
set(relaytool_glyphs network keypress others remote close)
set(relaytool_glyph_size 16)
# The connect dialog's picture, 128 design pixels square.
set(relaytool_picture cable)
set(relaytool_picture_size 128)
# The program's icon, 32 design pixels square.
set(relaytool_program_icon relaytool)
set(relaytool_program_icon_size 32)

# Renders the artwork `name` as a PNG picture `size` pixels square into `png`
# (also for the packages' icons, in packaging/).
function(relaytool_render name size png)
  get_filename_component(dir ${png} DIRECTORY)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/icons/${name}.svg
    DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/icons/${name}.svg VERBATIM)
endfunction()
