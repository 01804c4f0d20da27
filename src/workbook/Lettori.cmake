# The workbook readers: .xls through FreeXL, .xlsx and .ods through libzip and Expat.
pkg_check_modules(FREEXL REQUIRED IMPORTED_TARGET GLOBAL freexl)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET GLOBAL libzip)
pkg_check_modules(EXPAT REQUIRED IMPORTED_TARGET GLOBAL expat)

list(APPEND FCL_WORKBOOK_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AnalizzatoreXml.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ApriCartella.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchivioZip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ContenutoOds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ErroriCartella.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileComposto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FoglioXlsx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LettoreBiff8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LettoreFlusso.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LettoreOds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LettoreXls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LettoreXlsx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StiliXlsx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TestiCondivisi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TestoCella.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TestoXml.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VoceZip.cpp
)
list(APPEND FCL_WORKBOOK_LIBS PkgConfig::FREEXL PkgConfig::LIBZIP PkgConfig::EXPAT)
