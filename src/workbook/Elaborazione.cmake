# The workbook run: quadro tables, value classes, detail records and the intermediate file.
list(APPEND FCL_WORKBOOK_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CodificaRiga.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefinizioneQuadro.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ElaboraCartella.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListatoPdf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModelloFoglioBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScrittoreFoglioBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordDettaglio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ValoreCampo.cpp
)
# The workbooks written in the blank workbook's layout (the blank workbook, invoices to a workbook).
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET GLOBAL xlsxwriter)
list(APPEND FCL_WORKBOOK_LIBS fcl_pdf PkgConfig::XLSXWRITER)
