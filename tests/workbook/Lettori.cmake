# Tests of the workbook readers and of the blank workbook of the Help folder.
list(APPEND FCL_WORKBOOK_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/TestoCellaTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LettoriTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LettoriSpecialiTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CartelleIlleggibiliTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LimitiCartelleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScansioneRigheTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TestoXmlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CartellaVuotaTest.cpp
)
# The blank workbook is made at build time by tools/cartella-vuota; its test reads it from the
# program-folder skeleton of the build tree.
add_library(fcl_test_lettori INTERFACE)
# The fixtures are in tests/workbook/data (made by data/genera.py).
target_compile_definitions(fcl_test_lettori INTERFACE
  FCL_DATI_LETTORI="${CMAKE_CURRENT_LIST_DIR}/data"
  FCL_CARTELLA_VUOTA="${CMAKE_BINARY_DIR}/programma/Help/Comunicazione polivalente - foglio base.xlsx")
add_dependencies(fcl_test_lettori cartella-vuota)
list(APPEND FCL_WORKBOOK_TEST_LIBS fcl_test_lettori PkgConfig::LIBZIP)
