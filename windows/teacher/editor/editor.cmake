# «Preparar lección»: the key written in a form beside the reading, its text view, and the key
# model with its undo stack (teacher/editor).
target_sources(teacher_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/KeyHighlighter.cpp ${CMAKE_CURRENT_LIST_DIR}/KeyHighlighter.h
    ${CMAKE_CURRENT_LIST_DIR}/KeyTextSync.cpp ${CMAKE_CURRENT_LIST_DIR}/KeyTextSync.h
    ${CMAKE_CURRENT_LIST_DIR}/PrepareView.cpp ${CMAKE_CURRENT_LIST_DIR}/PrepareView.h
    ${CMAKE_CURRENT_LIST_DIR}/PrepareParts.h
    ${CMAKE_CURRENT_LIST_DIR}/PrepareOpening.cpp ${CMAKE_CURRENT_LIST_DIR}/PrepareTree.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrepareForm.cpp ${CMAKE_CURRENT_LIST_DIR}/PrepareExports.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrepareView.ui
    ${CMAKE_CURRENT_LIST_DIR}/StartPage.cpp ${CMAKE_CURRENT_LIST_DIR}/StartPage.h
)
# The sample lesson of the source tree, for a program run from its build folder.
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/StartPage.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    DORVALIA_SOURCE_SAMPLES="${PROJECT_SOURCE_DIR}/samples")
if(TARGET Qt6::PrintSupport)
    target_link_libraries(teacher_windows PUBLIC Qt6::PrintSupport)
    target_compile_definitions(teacher_windows PRIVATE DORVALIA_PRINTING)
endif()
target_link_libraries(teacher_windows PUBLIC key_editor viewer_adapter rtf)
