# The inputs found by the fuzz targets (fuzz/), kept in data/regressioni and read again.
list(APPEND FCL_WORKBOOK_TESTS ${CMAKE_CURRENT_LIST_DIR}/RegressioniFuzzTest.cpp)
