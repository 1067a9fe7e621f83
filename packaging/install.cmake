# What `cmake --install` puts in place, and the Debian package that CPack makes of it.
# Included from the root CMakeLists.txt after the programs' targets, so that the teacher's
# program is installed only when this tree builds it.
include(GNUInstallDirs)

set(DORVALIA_DEVELOPER "Equipo de Dorvalia" CACHE STRING "Who makes Dorvalia, for the package")
set(DORVALIA_MAINTAINER "Equipo de Dorvalia <dorvalia@example.org>"
    CACHE STRING "The package's maintainer: name and address")
# The project has no web address yet: without one the package and the software centres' metadata
# name none, and show no screenshots. Build folders made before keep a placeholder address in
# their cache: it goes.
if(DORVALIA_HOMEPAGE MATCHES "\\.example\\.org")
    unset(DORVALIA_HOMEPAGE CACHE)
    unset(DORVALIA_SCREENSHOTS_URL CACHE)
endif()
unset(DORVALIA_LICENSE CACHE)
unset(DORVALIA_LICENSE_TEXT CACHE)
set(DORVALIA_HOMEPAGE "" CACHE STRING "The program's web page")
set(DORVALIA_SCREENSHOTS_URL "" CACHE STRING
    "Where the software centres find the screenshots (docs/*.png), when the project has one")
# Free software: the licence's text is COPYING; the package's copyright file names it and the
# parts that the Windows installer carries.
set(DORVALIA_LICENSE "GPL-3.0-or-later")

set(here "${CMAKE_CURRENT_LIST_DIR}")
set(out "${CMAKE_BINARY_DIR}/packaging")
set(programs dorvalia)
if(TARGET dorvalia-docente)
    list(APPEND programs dorvalia-docente)
endif()
# Each program is a component of its own, and on Debian a package of its own: a student's computer
# gets the student's program without the teacher's, which would show a published key's answers.
set(component_dorvalia alumno)
set(component_dorvalia-docente docente)

if(WIN32 OR APPLE)
    # Windows and macOS: the program beside its documents, and Qt's libraries and plugins
    # copied next to it by Qt's own deployment tool (windeployqt, macdeployqt).
    set_target_properties(${programs} PROPERTIES MACOSX_BUNDLE ON)
    foreach(program IN LISTS programs)
        install(TARGETS ${program} BUNDLE DESTINATION . RUNTIME DESTINATION .)
        qt_generate_deploy_app_script(TARGET ${program} FILENAME_VARIABLE deploy
                                      NO_UNSUPPORTED_PLATFORM_ERROR)
        install(SCRIPT "${deploy}")
    endforeach()
    install(FILES "${PROJECT_SOURCE_DIR}/samples/dorvalia_intro.rtf"
                  "${PROJECT_SOURCE_DIR}/samples/dorvalia_instrucciones.rtf" DESTINATION .)
    install(FILES "${PROJECT_SOURCE_DIR}/samples/El_volcan_lec.rtf"
                  "${PROJECT_SOURCE_DIR}/samples/El_volcan_CRJ.TXT" DESTINATION ejemplo)
    return()
endif()

set(documents "${CMAKE_INSTALL_DATADIR}/dorvalia")
foreach(program IN LISTS programs)
    install(TARGETS ${program} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}"
            COMPONENT ${component_${program}})
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/samples/dorvalia_intro.rtf"
              "${PROJECT_SOURCE_DIR}/samples/dorvalia_instrucciones.rtf"
        DESTINATION "${documents}" COMPONENT alumno)
# The sample lesson in a folder of its own: the installed folder is read-only, so a teacher copies
# the lesson to where the class can write its registers.
install(FILES "${PROJECT_SOURCE_DIR}/samples/El_volcan_lec.rtf"
              "${PROJECT_SOURCE_DIR}/samples/El_volcan_CRJ.TXT"
        DESTINATION "${documents}/ejemplo" COMPONENT alumno)

# Menu entries. The student's program looks for its introduction and instructions in the folder
# it starts in, so its entry starts it in the installed documents folder (the Path key). The
# folder is known only at install time (a package installs under /usr, a developer elsewhere):
# the entry is written then.
foreach(program IN LISTS programs)
    install(CODE "
        set(DORVALIA_DOCUMENTS_DIR \"\${CMAKE_INSTALL_PREFIX}/${documents}\")
        configure_file(\"${here}/${program}.desktop.in\" \"${out}/${program}.desktop\" @ONLY)
    " COMPONENT ${component_${program}})
    install(FILES "${out}/${program}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications"
            COMPONENT ${component_${program}})
endforeach()

# Software centres' metadata: the web page and the screenshots only where the project has them.
set(DORVALIA_METAINFO_URL "")
if(DORVALIA_HOMEPAGE)
    set(DORVALIA_METAINFO_URL "<url type=\"homepage\">${DORVALIA_HOMEPAGE}</url>")
endif()
set(metainfo_dorvalia org.dorvalia.dorvalia)
set(metainfo_dorvalia-docente org.dorvalia.docente)
foreach(program IN LISTS programs)
    set(id "${metainfo_${program}}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${here}/${id}.metainfo.xml.in")
    file(READ "${here}/${id}.metainfo.xml.in" metainfo)
    string(CONFIGURE "${metainfo}" metainfo @ONLY)
    string(REGEX REPLACE "\n *\n" "\n" metainfo "${metainfo}")
    if(NOT DORVALIA_SCREENSHOTS_URL)
        string(REGEX REPLACE "  <screenshots>.*</screenshots>\n" "" metainfo "${metainfo}")
    endif()
    file(CONFIGURE OUTPUT "${out}/${id}.metainfo.xml" CONTENT "${metainfo}" @ONLY)
    install(FILES "${out}/${id}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo"
            COMPONENT ${component_${program}})
endforeach()

# Icons: the sizes menus, panels and software centres ask for, and the drawing they come from.
foreach(program IN LISTS programs)
    foreach(size 16 22 24 32 48 64 128 256)
        install(FILES "${here}/icons/hicolor/${size}x${size}/${program}.png"
                DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
                COMPONENT ${component_${program}})
    endforeach()
    install(FILES "${here}/icons/${program}.svg"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
            COMPONENT ${component_${program}})
endforeach()

# Manual pages and the package's documents, compressed as Debian wants them (gzip -n: no time
# stamp, so the same sources give the same package).
configure_file("${here}/debian/changelog.in" "${out}/changelog" @ONLY)
configure_file("${here}/debian/copyright.in" "${out}/copyright" @ONLY)
set(compressed)
set(sources changelog)
foreach(program IN LISTS programs)
    list(APPEND sources man/${program}.1)
endforeach()
foreach(source IN LISTS sources)
    if(source STREQUAL "changelog")
        set(from "${out}/changelog")
    else()
        set(from "${here}/${source}")
    endif()
    get_filename_component(name "${source}" NAME)
    add_custom_command(OUTPUT "${out}/${name}.gz"
                       COMMAND gzip -9nc "${from}" > "${out}/${name}.gz"
                       DEPENDS "${from}" VERBATIM)
    list(APPEND compressed "${out}/${name}.gz")
endforeach()
# The teacher's guide as a web page too, beside its picture.
add_custom_command(OUTPUT "${out}/guia-docente.html"
                   COMMAND markdown-html "${PROJECT_SOURCE_DIR}/docs/guia-docente.md"
                           "${out}/guia-docente.html" "Guía del docente de Dorvalia"
                   DEPENDS markdown-html "${PROJECT_SOURCE_DIR}/docs/guia-docente.md" VERBATIM)
add_custom_target(packaging_files ALL DEPENDS ${compressed} "${out}/guia-docente.html")
foreach(program IN LISTS programs)
    install(FILES "${out}/${program}.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1"
            COMPONENT ${component_${program}})
    # Each package has its copyright and changelog, as Debian wants.
    install(FILES "${out}/copyright" "${out}/changelog.gz"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${program}" COMPONENT ${component_${program}})
endforeach()
# The guide goes with the teacher's program, and shows it in pictures beside it; without the
# teacher's program (a build without windows) it goes with the student's.
if(TARGET dorvalia-docente)
    set(guide_package dorvalia-docente)
else()
    set(guide_package dorvalia)
endif()
install(FILES "${PROJECT_SOURCE_DIR}/docs/guia-docente.md" "${out}/guia-docente.html"
              "${PROJECT_SOURCE_DIR}/docs/docente.png" "${PROJECT_SOURCE_DIR}/docs/preparar.png"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${guide_package}"
        COMPONENT ${component_${guide_package}})
install(FILES "${here}/debian/lintian-overrides" RENAME dorvalia
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" COMPONENT alumno)

# The Debian package: `scripts/package`.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL)
foreach(program IN LISTS programs)
    list(APPEND CPACK_COMPONENTS_ALL ${component_${program}})
endforeach()
set(CPACK_PACKAGE_NAME dorvalia)
set(CPACK_DEBIAN_PACKAGE_SOURCE dorvalia)
set(CPACK_DEBIAN_ALUMNO_PACKAGE_NAME dorvalia)
set(CPACK_DEBIAN_DOCENTE_PACKAGE_NAME dorvalia-docente)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "${DORVALIA_DEVELOPER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DORVALIA_MAINTAINER}")
if(DORVALIA_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${DORVALIA_HOMEPAGE}")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from dpkg-shlibdeps (Debian's libqt6gui6 brings the X11 window plugin along).
# What Qt loads at run time no linker sees, so it is named here: the toolkit's Spanish texts
# (dialogs, buttons), and the voice's data, which libespeak-ng reads when «Escuchar» is used
# (dpkg-shlibdeps names the library itself). The program uses Qt's public interface alone, so the
# package takes any Qt 6 of the same series that dpkg-shlibdeps names, not the very build it was
# made with. The teacher's package takes the student's of the very same version: the teacher
# tries lessons with it, and the program documents and the sample lesson are there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ALUMNO_PACKAGE_DEPENDS "qt6-translations-l10n, espeak-ng-data")
set(CPACK_DEBIAN_DOCENTE_PACKAGE_DEPENDS
    "dorvalia (= ${PROJECT_VERSION}), qt6-translations-l10n, espeak-ng-data")
set(summary "comprensión lectora para alumnos de habla hispana")
set(about "Dorvalia ayuda a los alumnos a leer con atención: el alumno abre una lección,
lee cada sección, contesta sus preguntas y sabe al momento si su respuesta es
correcta, con el comentario del docente. Al cerrar la lección, sus respuestas
se añaden a un registro que el docente abre con una hoja de cálculo.")
set(CPACK_DEBIAN_ALUMNO_DESCRIPTION "${summary}
${about}
.
El paquete trae el programa del alumno, sus documentos y una lección de
ejemplo. El programa del docente va en el paquete dorvalia-docente, que no
conviene instalar en los ordenadores de los alumnos.")
set(CPACK_DEBIAN_DOCENTE_DESCRIPTION "programa del docente de Dorvalia, comprensión lectora
${about}
.
El paquete trae el programa del docente (preparar y revisar una lección,
publicarla para la clase, resumir los registros de una clase) y su guía.")
include(CPack)
