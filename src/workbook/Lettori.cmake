# The workbook readers: .xls through FreeXL, .xlsx and .ods through libzip and Expat.
pkg_check_modules(FREEXL REQUIRED IMPORTED_TARGET GLOBAL freexl)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET GLOBAL libzip)
pkg_check_modules(EXPAT REQUIRED IMPORTED_TARGET GLOBAL expat)

# Expat 2.6 and later can put off scanning an unfinished token again (a long token otherwise costs
# time growing with its square); the reader asks for it when the Expat it is built with has it.
include(CheckSymbolExists)
set(CMAKE_REQUIRED_INCLUDES ${EXPAT_INCLUDE_DIRS})
set(CMAKE_REQUIRED_LIBRARIES ${EXPAT_LINK_LIBRARIES})
set(CMAKE_REQUIRED_QUIET ON)
check_symbol_exists(XML_SetReparseDeferralEnabled expat.h FCL_EXPAT_HA_RIANALISI_DIFFERITA)
unset(CMAKE_REQUIRED_INCLUDES)
unset(CMAKE_REQUIRED_LIBRARIES)
unset(CMAKE_REQUIRED_QUIET)
if(FCL_EXPAT_HA_RIANALISI_DIFFERITA)
  set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/AnalizzatoreXml.cpp APPEND PROPERTY
    COMPILE_DEFINITIONS FCL_EXPAT_RIANALISI_DIFFERITA)
endif()

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
