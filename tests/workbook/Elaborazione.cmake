# Tests of the workbook run: quadro tables, detail records, the run over an in-memory workbook and
# over real .xls files, the current operator's loader and the `elabora` command.
list(APPEND FCL_WORKBOOK_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/CaricaOperatoreCorrenteTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CodificaRigaTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComandoElaboraTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ElaboraCartellaRealeTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ElaboraCartellaTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListatoPdfTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordDettaglioTest.cpp
)
list(APPEND FCL_WORKBOOK_TEST_LIBS fcl_register fcl_cli)
# The listing test draws over the templates generated into the build tree (skipped without them).
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/ListatoPdfTest.cpp PROPERTIES
  COMPILE_DEFINITIONS FCL_STAMPE_DIR="${CMAKE_BINARY_DIR}/programma/Stampe")
if(FCL_BUILD_UI)
  # The tools folder comes after the tests: the dependency is added once every folder is read.
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL add_dependencies test_workbook
    modelli-stampa)
endif()
