# The class's results: reading the registers of a folder and summarizing them, and their CSV
# exports. Reading runs in parallel (Qt Concurrent, which needs Qt Core only).
find_package(Qt6 REQUIRED COMPONENTS Concurrent)
target_sources(teacher PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ClassSummary.cpp ${CMAKE_CURRENT_LIST_DIR}/ClassSummary.h
    ${CMAKE_CURRENT_LIST_DIR}/CourseSummary.cpp ${CMAKE_CURRENT_LIST_DIR}/CourseSummary.h
    ${CMAKE_CURRENT_LIST_DIR}/KeyOutline.cpp ${CMAKE_CURRENT_LIST_DIR}/KeyOutline.h
    ${CMAKE_CURRENT_LIST_DIR}/RegisterDates.cpp ${CMAKE_CURRENT_LIST_DIR}/RegisterDates.h
    ${CMAKE_CURRENT_LIST_DIR}/RegisterReadLock.cpp ${CMAKE_CURRENT_LIST_DIR}/RegisterReadLock.h
    ${CMAKE_CURRENT_LIST_DIR}/RegisterReader.cpp ${CMAKE_CURRENT_LIST_DIR}/RegisterReader.h
    ${CMAKE_CURRENT_LIST_DIR}/StudentNames.cpp ${CMAKE_CURRENT_LIST_DIR}/StudentNames.h
    ${CMAKE_CURRENT_LIST_DIR}/SummaryCsv.cpp ${CMAKE_CURRENT_LIST_DIR}/SummaryCsv.h
    ${CMAKE_CURRENT_LIST_DIR}/SummaryTable.cpp ${CMAKE_CURRENT_LIST_DIR}/SummaryTable.h
    ${CMAKE_CURRENT_LIST_DIR}/SummaryXlsx.cpp ${CMAKE_CURRENT_LIST_DIR}/SummaryXlsx.h
)
# The workbook: libxlsxwriter (Debian's libxlsxwriter-dev).
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
target_link_libraries(teacher PUBLIC Qt6::Concurrent PRIVATE PkgConfig::XLSXWRITER)
