# Fault tests of the workbook run (a full disk, read-only folders) and of the readers (a workbook
# replaced while it is read).
list(APPEND FCL_WORKBOOK_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/GuastiElaborazioneTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CartellaSostituitaTest.cpp
)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/GuastiElaborazioneTest.cpp PROPERTIES
  COMPILE_DEFINITIONS FCL_STAMPE_DIR="${CMAKE_BINARY_DIR}/programma/Stampe")
