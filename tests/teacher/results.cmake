# Tests of the class's results: reading registers and the figures of the summary.
dorvalia_gtest(results_tests
    ${CMAKE_CURRENT_LIST_DIR}/RegisterReaderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ClassSummaryTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegisterDatesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CourseSummaryTest.cpp
)
target_link_libraries(results_tests PRIVATE teacher)

if(DORVALIA_GUI)
    # The results tab read as a teacher uses it, its exports, and the verb resumen.
    dorvalia_qtest(results_window_test ${CMAKE_CURRENT_LIST_DIR}/ResultsWindowTest.cpp)
    target_link_libraries(results_window_test PRIVATE teacher_windows)
endif()
