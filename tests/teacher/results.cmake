# Tests of the class's results: reading registers and the figures of the summary.
dorvalia_gtest(results_tests
    ${CMAKE_CURRENT_LIST_DIR}/RegisterReaderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ClassSummaryTest.cpp
)
target_link_libraries(results_tests PRIVATE teacher)
