# The class's results: the tab, its charts, the printed report and the verb `resumen`.
find_package(Qt6 REQUIRED COMPONENTS Concurrent)
target_sources(teacher_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ClassResultsView.cpp ${CMAKE_CURRENT_LIST_DIR}/ClassResultsView.h
    ${CMAKE_CURRENT_LIST_DIR}/ClassResultsView.ui
    ${CMAKE_CURRENT_LIST_DIR}/ResultsCharts.cpp ${CMAKE_CURRENT_LIST_DIR}/ResultsCharts.h
    ${CMAKE_CURRENT_LIST_DIR}/SummaryCommand.cpp ${CMAKE_CURRENT_LIST_DIR}/SummaryCommand.h
    ${CMAKE_CURRENT_LIST_DIR}/SummaryPdf.cpp ${CMAKE_CURRENT_LIST_DIR}/SummaryPdf.h
)
target_link_libraries(teacher_windows PUBLIC chart Qt6::Concurrent)
