# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installation: the program folder (executable, the office's keeper, the work it loads into the office, HAND-M.CUR,
# x/o.cjs) under lib/festoria, a launcher on bin/, the font alias, the desktop entry, the
# AppStream metainfo, the manual page and the icon in the hicolor theme; and a Debian package through CPack (cpack -G DEB in the build
# folder) with its copyright file, changelog and lintian overrides.
include(GNUInstallDirs)

set(FESTORIA_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/festoria)
# The UNO runtime comes from the office's program folder (a run path the link sets); the
# installed program keeps exactly that run path. Debian's links to the UNO libraries in the
# system's library folder are no way round it: the libraries they lead to find their own
# private ones (libreglo, libunoidllo, libxmlreaderlo) only beside themselves, through
# $ORIGIN, which the links do not reach. The package's lintian overrides say so.
set_target_properties(festoria PROPERTIES
    SKIP_BUILD_RPATH ON BUILD_WITH_INSTALL_RPATH ON INSTALL_RPATH "${FESTORIA_LO_PROGRAM_DIR}")
install(TARGETS festoria festoria_office_keeper RUNTIME DESTINATION ${FESTORIA_PROGRAM_DIR})
# The program's work that it loads into the office, in a folder of the program's own (a
# library right under lib/ would have the package run ldconfig for nothing).
install(TARGETS festoria_in_office LIBRARY DESTINATION ${FESTORIA_PROGRAM_DIR}/office)
# A stripped install (the package's) also drops the compiler's notes, as Debian's own do.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${FESTORIA_PROGRAM_DIR}/festoria\"
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${FESTORIA_PROGRAM_DIR}/festoria-office-keeper\"
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${FESTORIA_PROGRAM_DIR}/office/festoria-in-office.so\"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()")
install(FILES ${CMAKE_SOURCE_DIR}/resources/HAND-M.CUR DESTINATION ${FESTORIA_PROGRAM_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/skin.qss DESTINATION ${FESTORIA_PROGRAM_DIR}/x
        RENAME o.cjs)
install(FILES ${CMAKE_SOURCE_DIR}/resources/fonts/fonts.conf DESTINATION ${FESTORIA_PROGRAM_DIR}/fonts)
# The invitation's Book Antiqua alias for every program on the machine, as font packages
# ship theirs: the rule in fontconfig's conf.avail, enabled by a link in /etc/fonts/conf.d.
set(FESTORIA_FONT_ALIAS 30-festoria-book-antiqua.conf)
install(FILES ${CMAKE_SOURCE_DIR}/resources/fonts/${FESTORIA_FONT_ALIAS}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/conf.d)
file(CREATE_LINK /usr/${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail/${FESTORIA_FONT_ALIAS}
     ${CMAKE_BINARY_DIR}/packaging/conf.d/${FESTORIA_FONT_ALIAS} SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/conf.d/${FESTORIA_FONT_ALIAS}
        DESTINATION /etc/fonts/conf.d)

file(RELATIVE_PATH FESTORIA_PROGRAM_DIR_FROM_BIN /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${FESTORIA_PROGRAM_DIR})
configure_file(${CMAKE_SOURCE_DIR}/packaging/festoria.in ${CMAKE_BINARY_DIR}/packaging/festoria @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/festoria DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_SOURCE_DIR}/packaging/festoria.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/com.quillmont.festoria.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Debian installs manual pages compressed, without a time stamp in the archive.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/festoria.1.gz
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/festoria.1 > ${CMAKE_BINARY_DIR}/packaging/festoria.1.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/festoria.1 VERBATIM)
add_custom_target(festoria-manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/festoria.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/festoria.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The Debian package's own documents: the copyright file (machine-readable), the changelog
# (compressed without a name or time stamp, so it is the same at every build) and the
# lintian overrides, each with its reason.
set(FESTORIA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/festoria)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/packaging/changelog ${CMAKE_SOURCE_DIR}/packaging/description)
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog changelog_top LIMIT_COUNT 1)
string(REGEX MATCH "^festoria \\(([^)]*)\\)" changelog_top "${changelog_top}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/changelog's latest entry is version '${CMAKE_MATCH_1}', "
        "the project's is ${PROJECT_VERSION}: add an entry for it.")
endif()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(festoria-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${FESTORIA_DOC_DIR})
configure_file(${CMAKE_SOURCE_DIR}/packaging/festoria.lintian-overrides.in
    ${CMAKE_BINARY_DIR}/packaging/festoria.lintian-overrides @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/festoria.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME festoria)

foreach(size 32 48 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icon/festoria-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME festoria.png)
endforeach()

set(CPACK_PACKAGE_NAME festoria)
set(CPACK_PACKAGE_VENDOR "Quillmont")
set(CPACK_PACKAGE_CONTACT "The Festoria developers <support@festoria.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turns party details into a finished Word invitation")
# Read here, not through CPACK_PACKAGE_DESCRIPTION_FILE, which escapes the text for XML.
file(READ ${CMAKE_SOURCE_DIR}/packaging/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://festoria.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Word processors are in Debian's editors section, beside LibreOffice Writer.
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The office makes the documents, the PDF and the printed page; Qt's print support (with its
# CUPS plugin) lists the printers in the print dialog and CUPS's lp (cups-client) hands them
# the office's PDF; the URW fonts are embedded in the PDF; xdg-email opens the mail program
# for "Send by Email..."; libical writes the calendar event, with the zone rules of tzdata;
# poppler's Qt library draws the saved pictures and the zoomed page from the office's PDF.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libreoffice-writer-nogui | libreoffice-writer, libreoffice-draw-nogui | libreoffice-draw, qt6-qpa-plugins, libqt6printsupport6, cups-client, fonts-liberation, fonts-urw-base35, xdg-utils, libical3, libpoppler-qt6-3, tzdata")
# Fonts for the world's scripts, so that details typed in any of them are drawn, never shown
# as empty boxes: recommended, not required, for their size.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "cups, fonts-noto-core, fonts-noto-cjk, fonts-noto-color-emoji")
# The package carries stripped binaries: the debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
