# Tests of the workbook run: quadro tables, detail records, the run over an in-memory workbook.
list(APPEND FCL_WORKBOOK_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/CodificaRigaTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ElaboraCartellaTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordDettaglioTest.cpp
)
