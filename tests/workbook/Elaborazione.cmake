# Tests of the workbook run: quadro tables, detail records, the run over an in-memory workbook and
# over real .xls files, the current operator's loader and the `elabora` command.
list(APPEND FCL_WORKBOOK_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/CaricaOperatoreCorrenteTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CodificaRigaTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComandoElaboraTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ElaboraCartellaRealeTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ElaboraCartellaTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordDettaglioTest.cpp
)
list(APPEND FCL_WORKBOOK_TEST_LIBS fcl_register fcl_cli)
