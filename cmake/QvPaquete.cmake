# Installation and the Debian package (make package).
#
# The installed program folder holds what build/bin holds: the programs, the
# remote-desktop launchers and the data files. Programs do not belong in share/, and
# the folder is not writable: each user's settings go to the per-user configuration
# folder. The commands on the path are links into it, so that the programs still find
# their folder.
set(QV_INSTALL_DIR lib/quorvane)
set(QV_PAQUETE ${PROJECT_SOURCE_DIR}/packaging)
set(QV_ENLACES ${CMAKE_BINARY_DIR}/enlaces)
file(MAKE_DIRECTORY ${QV_ENLACES})

install(TARGETS quorvane RelayServer sadsim quorvane-cli RUNTIME DESTINATION ${QV_INSTALL_DIR})
file(GLOB _qv_datos CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/*.lng ${PROJECT_SOURCE_DIR}/data/*.tba)
install(FILES ${_qv_datos} DESTINATION ${QV_INSTALL_DIR})
install(PROGRAMS data/MirrorViewer data/MirrorServer DESTINATION ${QV_INSTALL_DIR})
install(PROGRAMS scripts/run-with-sim.sh DESTINATION ${QV_INSTALL_DIR} RENAME run-with-sim)
if(EXISTS ${PROJECT_SOURCE_DIR}/data/help)
  install(DIRECTORY data/help DESTINATION ${QV_INSTALL_DIR})
endif()

# The station settings of the PC are the administrator's, kept across upgrades in /etc;
# the program folder links to them. A user's own changes go to the user's copy.
set(QV_SYSCONF_DIR /etc/quorvane CACHE PATH "Folder of the installed station settings")
install(FILES data/Quorvane.ini DESTINATION ${QV_SYSCONF_DIR})
file(CREATE_LINK ${QV_SYSCONF_DIR}/Quorvane.ini ${QV_ENLACES}/Quorvane.ini SYMBOLIC)
install(FILES ${QV_ENLACES}/Quorvane.ini DESTINATION ${QV_INSTALL_DIR})
file(WRITE ${QV_ENLACES}/conffiles "${QV_SYSCONF_DIR}/Quorvane.ini\n")

# The demo capture and its configuration are shared data; the program folder links to
# them as it holds them in the build ("ejemplos" beside the programs).
install(DIRECTORY data/ejemplos/ DESTINATION share/quorvane/ejemplos)
file(CREATE_LINK ../../share/quorvane/ejemplos ${QV_ENLACES}/ejemplos SYMBOLIC)
install(FILES ${QV_ENLACES}/ejemplos DESTINATION ${QV_INSTALL_DIR})

foreach(_enlace quorvane:quorvane quorvane-cli:quorvane-cli quorvane-sim:run-with-sim)
  string(REPLACE ":" ";" _partes ${_enlace})
  list(GET _partes 0 _nombre)
  list(GET _partes 1 _destino)
  file(CREATE_LINK ../${QV_INSTALL_DIR}/${_destino} ${QV_ENLACES}/${_nombre} SYMBOLIC)
  install(FILES ${QV_ENLACES}/${_nombre} DESTINATION bin)
endforeach()

# Desktop: menu entry, file types with the icon of signal files, software-centre data.
install(FILES data/quorvane.desktop DESTINATION share/applications)
install(FILES src/app/iconos/producto.svg DESTINATION share/icons/hicolor/scalable/apps RENAME quorvane.svg)
install(FILES ${QV_PAQUETE}/application-x-quorvane-signals.svg DESTINATION share/icons/hicolor/scalable/mimetypes)
install(FILES ${QV_PAQUETE}/quorvane-mime.xml DESTINATION share/mime/packages RENAME quorvane.xml)
install(FILES ${QV_PAQUETE}/org.quorvane.Quorvane.metainfo.xml DESTINATION share/metainfo)

# The relay as a system service, installed where Debian 12 keeps units; not enabled.
install(FILES ${QV_PAQUETE}/quorvane-relay.service DESTINATION /lib/systemd/system)

# Manual pages and the changelog are installed compressed, as Debian wants them.
set(_qv_comprimidos)
function(qv_comprimir origen destino)
  add_custom_command(OUTPUT ${destino}
    COMMAND gzip -9nc ${origen} > ${destino}
    DEPENDS ${origen} VERBATIM)
  set(_qv_comprimidos ${_qv_comprimidos} ${destino} PARENT_SCOPE)
endfunction()
set(_qv_doc ${CMAKE_BINARY_DIR}/paquete)
file(MAKE_DIRECTORY ${_qv_doc}/man/es)
foreach(_pagina quorvane quorvane-cli quorvane-sim)
  qv_comprimir(${QV_PAQUETE}/man/${_pagina}.1 ${_qv_doc}/man/${_pagina}.1.gz)
  qv_comprimir(${QV_PAQUETE}/man/es/${_pagina}.1 ${_qv_doc}/man/es/${_pagina}.1.gz)
  install(FILES ${_qv_doc}/man/${_pagina}.1.gz DESTINATION share/man/man1)
  install(FILES ${_qv_doc}/man/es/${_pagina}.1.gz DESTINATION share/man/es/man1)
endforeach()
# A native package: its Debian changelog is the changelog.
qv_comprimir(${QV_PAQUETE}/changelog ${_qv_doc}/changelog.gz)
add_custom_target(documentos_paquete ALL DEPENDS ${_qv_comprimidos})
install(FILES ${_qv_doc}/changelog.gz ${QV_PAQUETE}/copyright DESTINATION share/doc/quorvane)

# The package version is the changelog's: a release without its entry fails here.
file(STRINGS ${QV_PAQUETE}/changelog _qv_cabecera LIMIT_COUNT 1)
if(NOT _qv_cabecera MATCHES "^quorvane \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog has no entry for version ${PROJECT_VERSION}")
endif()

set(QV_MAINTAINER "Quorvane developers <devel@quorvane.org>" CACHE STRING "Maintainer of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_CONTACT "${QV_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control program of the SAD data-acquisition unit")
set(CPACK_PACKAGE_DESCRIPTION "Describes a capture, programs it into the SAD unit, reads the samples back,
shows and analyses them and keeps them in files. Includes the relay that shares
one unit among the stations of a classroom (also as a system service, not
enabled), the command-line companion, a demo capture and a simulated unit for
use without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${QV_ENLACES}/conffiles ${QV_PAQUETE}/postinst ${QV_PAQUETE}/prerm ${QV_PAQUETE}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Loaded at run time, so the library scan cannot see them: the X11 platform plugin and the
# SVG plugins that draw every toolbar icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
# Remote monitoring runs a VNC server and viewer; the standard dialogs' Spanish texts come
# with Qt's translations; headless demos run under Xvfb.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "x11vnc, tigervnc-viewer | xtightvncviewer, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xvfb")
include(CPack)
