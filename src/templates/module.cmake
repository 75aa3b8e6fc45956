# The blank form pictures, drawn by tools/formpictures, compiled into the program.
file(GLOB corvane_form_pictures RELATIVE ${CMAKE_CURRENT_LIST_DIR}/pictures
     CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/pictures/*.jpg)
if(corvane_form_pictures)
  list(TRANSFORM corvane_form_pictures PREPEND ${CMAKE_CURRENT_LIST_DIR}/pictures/)
  qt_add_resources(corvane_templates "forms" PREFIX "/forms" BASE ${CMAKE_CURRENT_LIST_DIR}/pictures
                   FILES ${corvane_form_pictures})
endif()
