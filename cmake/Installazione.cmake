# Installation and the Debian package.
#
# `cmake --install` lays out the two programs in bin/ and, in share/fiscolario/, the skeleton of a
# program folder: the print templates (Stampe/), the guide and the blank workbook (Help/), the
# example operator and workbook (esempio/) and a configurazione.ini with empty values. The first
# start of a user copies the skeleton into ~/.local/share/fiscolario (src/shell/CartellaModello).
# The desktop entry, the icon and the MIME type of .FCL backup files go where the desktop looks for
# them. `cpack` (from the build folder) makes fiscolario_<version>_<arch>.deb from the same rules.
#
# The build's own programma/ folder receives the guide too, so that it stays a complete program
# folder for the tests and the demo.

include(GNUInstallDirs)

set(FCL_PROGRAMMA_BUILD "${CMAKE_BINARY_DIR}/programma")
set(FCL_SCHELETRO "${CMAKE_INSTALL_DATADIR}/fiscolario")

# --- The user guide: resources/guida plus the pictures it shows, into programma/Help. -----------
file(GLOB_RECURSE fcl_guida_sorgenti CONFIGURE_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/guida/*.html" "${CMAKE_SOURCE_DIR}/resources/guida/*.css")
# The guide shows the windows at 1366x768; the larger pictures of docs/ stay out of the package.
file(GLOB fcl_guida_schermate CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/docs/screenshots/*.png")
list(FILTER fcl_guida_schermate EXCLUDE REGEX "-1920x1080[.]png$")
file(GLOB fcl_guida_stampe CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/docs/stampe/*.png")
set(fcl_guida_uscite "")
foreach(sorgente IN LISTS fcl_guida_sorgenti)
  file(RELATIVE_PATH relativo "${CMAKE_SOURCE_DIR}/resources/guida" "${sorgente}")
  list(APPEND fcl_guida_copie "${sorgente}" "${FCL_PROGRAMMA_BUILD}/Help/${relativo}")
endforeach()
foreach(sorgente IN LISTS fcl_guida_schermate)
  get_filename_component(nome "${sorgente}" NAME)
  list(APPEND fcl_guida_copie "${sorgente}" "${FCL_PROGRAMMA_BUILD}/Help/img/schermate/${nome}")
endforeach()
foreach(sorgente IN LISTS fcl_guida_stampe)
  get_filename_component(nome "${sorgente}" NAME)
  list(APPEND fcl_guida_copie "${sorgente}" "${FCL_PROGRAMMA_BUILD}/Help/img/stampe/${nome}")
endforeach()
# The rest of the skeleton, so that programma/ is the skeleton the build-tree programs complete
# their program folders from (src/shell/CartellaModello).
list(APPEND fcl_guida_copie
  "${CMAKE_SOURCE_DIR}/packaging/configurazione.ini" "${FCL_PROGRAMMA_BUILD}/configurazione.ini"
  "${CMAKE_SOURCE_DIR}/resources/esempio/ESEMPIO_ANALITICO.xlsx"
  "${FCL_PROGRAMMA_BUILD}/esempio/ESEMPIO_ANALITICO.xlsx"
  "${CMAKE_SOURCE_DIR}/resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL"
  "${FCL_PROGRAMMA_BUILD}/esempio/SAVE_ESEMPIO_ALFABETA.FCL")
while(fcl_guida_copie)
  list(POP_FRONT fcl_guida_copie sorgente destinazione)
  add_custom_command(OUTPUT "${destinazione}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${sorgente}" "${destinazione}"
    DEPENDS "${sorgente}" VERBATIM)
  list(APPEND fcl_guida_uscite "${destinazione}")
endwhile()
add_custom_target(guida ALL DEPENDS ${fcl_guida_uscite} COMMENT "Guida in programma/Help")

# Every local link and picture of the guide must resolve in the Help folder as it is installed.
if(FCL_BUILD_TESTS)
  add_test(NAME guida_collegamenti
    COMMAND ${CMAKE_COMMAND} -DHELP=${FCL_PROGRAMMA_BUILD}/Help
            -P ${CMAKE_SOURCE_DIR}/cmake/ControllaGuida.cmake)
  set_tests_properties(guida_collegamenti PROPERTIES LABELS "guida;shell")
endif()

# --- The application icon, drawn by the program's own code, as PNG files of the theme sizes. ----
set(FCL_ICONE_BUILD "${CMAKE_BINARY_DIR}/icone")
if(FCL_BUILD_UI AND TARGET fcl_ui)
  add_executable(genera-icona "${CMAKE_SOURCE_DIR}/packaging/icona/GeneraIcona.cpp")
  target_link_libraries(genera-icona PRIVATE fcl_ui fcl_warnings)
  add_custom_command(OUTPUT "${FCL_ICONE_BUILD}/256x256/apps/fiscolario.png"
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:genera-icona>
            "${FCL_ICONE_BUILD}"
    DEPENDS genera-icona COMMENT "Disegno dell'icona del programma")
  add_custom_target(icona ALL DEPENDS "${FCL_ICONE_BUILD}/256x256/apps/fiscolario.png")
endif()

# --- Install rules. -------------------------------------------------------------------------------
install(TARGETS fiscolario-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
if(TARGET fiscolario)
  install(TARGETS fiscolario RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endif()

install(FILES "${CMAKE_SOURCE_DIR}/packaging/configurazione.ini" DESTINATION "${FCL_SCHELETRO}")
install(FILES "${CMAKE_SOURCE_DIR}/resources/esempio/ESEMPIO_ANALITICO.xlsx"
              "${CMAKE_SOURCE_DIR}/resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL"
        DESTINATION "${FCL_SCHELETRO}/esempio")
# Templates and blank workbook are drawn at build time; the guide is copied there above.
if(FCL_BUILD_UI)
  install(DIRECTORY "${FCL_PROGRAMMA_BUILD}/Stampe/" DESTINATION "${FCL_SCHELETRO}/Stampe"
          FILES_MATCHING PATTERN "*.pdf")
endif()
install(DIRECTORY "${FCL_PROGRAMMA_BUILD}/Help/" DESTINATION "${FCL_SCHELETRO}/Help"
        PATTERN "*~" EXCLUDE)
# The reference data (municipalities, places of birth) are built into the program; their sources
# and licences travel with the package.
install(FILES "${CMAKE_SOURCE_DIR}/resources/dati-riferimento/LICENZE.md"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/fiscolario")

install(FILES "${CMAKE_SOURCE_DIR}/packaging/fiscolario.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/fiscolario-mime.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME fiscolario.xml)
if(TARGET icona)
  install(DIRECTORY "${FCL_ICONE_BUILD}/" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
endif()

# --- Documents of the package: copyright, changelog, manual pages. ------------------------------
# Debian wants them compressed with gzip -9n (no name, no time stamp: the same bytes every build).
set(FCL_MANUTENTORE "Fiscolario <assistenza@fiscolario.it>"
    CACHE STRING "Maintainer of the Debian package: name and e-mail address")
find_program(FCL_GZIP gzip REQUIRED)
set(FCL_DOCUMENTI_BUILD "${CMAKE_BINARY_DIR}/documenti")
configure_file("${CMAKE_SOURCE_DIR}/packaging/changelog.in" "${FCL_DOCUMENTI_BUILD}/changelog"
               @ONLY)
configure_file("${CMAKE_SOURCE_DIR}/packaging/fiscolario.1" "${FCL_DOCUMENTI_BUILD}/fiscolario.1"
               @ONLY)
configure_file("${CMAKE_SOURCE_DIR}/packaging/fiscolario-cli.1"
               "${FCL_DOCUMENTI_BUILD}/fiscolario-cli.1" @ONLY)
set(fcl_documenti_gz "")
foreach(nome IN ITEMS changelog fiscolario.1 fiscolario-cli.1)
  add_custom_command(OUTPUT "${FCL_DOCUMENTI_BUILD}/${nome}.gz"
    COMMAND ${FCL_GZIP} -9nkf "${FCL_DOCUMENTI_BUILD}/${nome}"
    DEPENDS "${FCL_DOCUMENTI_BUILD}/${nome}" VERBATIM)
  list(APPEND fcl_documenti_gz "${FCL_DOCUMENTI_BUILD}/${nome}.gz")
endforeach()
add_custom_target(documenti ALL DEPENDS ${fcl_documenti_gz})
install(FILES "${CMAKE_SOURCE_DIR}/packaging/copyright" "${FCL_DOCUMENTI_BUILD}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/fiscolario")
install(FILES "${FCL_DOCUMENTI_BUILD}/fiscolario-cli.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
if(TARGET fiscolario)
  install(FILES "${FCL_DOCUMENTI_BUILD}/fiscolario.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()

# --- The Debian package. --------------------------------------------------------------------------
# Made with the "deb" presets (prefix /usr, no tests): scripts/pacchetto.sh builds it and checks it
# with lintian. Lines of the long description stay within 80 columns.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "fiscolario")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Fiscolario")
set(CPACK_PACKAGE_CONTACT "${FCL_MANUTENTORE}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FCL_MANUTENTORE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Comunicazione polivalente per l'Agenzia delle Entrate")
set(CPACK_PACKAGE_DESCRIPTION
  "Legge la cartella di lavoro con un foglio per quadro, stampa il listato di\n"
  "controllo in PDF e scrive il file telematico della comunicazione con il\n"
  "frontespizio. Tiene l'archivio degli operatori, il backUp e il ripristino\n"
  "di un operatore, e importa gli operatori dai programmi VELA e ORSA.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
# Libraries found by dpkg-shlibdeps; Qt's Italian texts are data, named by hand; xdg-open opens
# the guide and the PDFs in the desktop's own programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core")
include(CPack)
