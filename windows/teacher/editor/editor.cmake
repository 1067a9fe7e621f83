# «Preparar lección»: the key written in a form beside the reading, its text view, and the key
# model with its undo stack (teacher/editor).
target_sources(teacher_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/KeyHighlighter.cpp ${CMAKE_CURRENT_LIST_DIR}/KeyHighlighter.h
    ${CMAKE_CURRENT_LIST_DIR}/KeyTextSync.cpp ${CMAKE_CURRENT_LIST_DIR}/KeyTextSync.h
    ${CMAKE_CURRENT_LIST_DIR}/PrepareView.cpp ${CMAKE_CURRENT_LIST_DIR}/PrepareView.h
    ${CMAKE_CURRENT_LIST_DIR}/PrepareView.ui
)
target_include_directories(teacher_windows PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(teacher_windows PUBLIC key_editor lesson_adapters rtf)
