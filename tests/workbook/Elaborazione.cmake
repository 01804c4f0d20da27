# Tests of the workbook run: quadro tables, detail records, the run over an in-memory workbook and
# over real .xls files, the current operator's loader and the `elabora` command.
list(APPEND FCL_WORKBOOK_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/CaricaOperatoreCorrenteTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CodificaRigaTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColonneListatoTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/pdf/StrumentiPdf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComandoElaboraTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ElaboraCartellaRealeTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ElaboraCartellaTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListatoPdfTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordDettaglioTest.cpp
)
find_package(ZLIB REQUIRED)
list(APPEND FCL_WORKBOOK_TEST_LIBS fcl_register fcl_cli ZLIB::ZLIB)
# The listing test draws over the templates generated into the build tree (skipped without them).
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/ListatoPdfTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColonneListatoTest.cpp PROPERTIES
  COMPILE_DEFINITIONS FCL_STAMPE_DIR="${CMAKE_BINARY_DIR}/programma/Stampe")
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/ComandoElaboraTest.cpp PROPERTIES
  COMPILE_DEFINITIONS FCL_CARTELLA_CLI="${CMAKE_BINARY_DIR}/app/fiscolario-cli")
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL add_dependencies test_workbook guida)
if(FCL_BUILD_UI)
  # The tools folder comes after the tests: the dependency is added once every folder is read.
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL add_dependencies test_workbook
    modelli-stampa)
endif()
