# The main window's pictures, compiled in.
file(GLOB corvane_art CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/art/*.png ${CMAKE_CURRENT_LIST_DIR}/art/*.jpg)
qt_add_resources(corvane_app "art" PREFIX "/" BASE ${CMAKE_CURRENT_LIST_DIR} FILES ${corvane_art})

# Shipped beside the program: the help document and the icon its desktop entry names.
# Deferred because the program's target is made after the modules are read.
function(corvane_ship_beside_program)
  add_custom_command(TARGET corvane POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help $<TARGET_FILE_DIR:corvane>/help
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/src/app/art/corvane.png
              $<TARGET_FILE_DIR:corvane>/corvane.png
      VERBATIM)
endfunction()
cmake_language(DEFER CALL corvane_ship_beside_program)
