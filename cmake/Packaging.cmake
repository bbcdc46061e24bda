# The Debian package: `cpack -G DEB` in the build directory. The shared libraries' packages come from
# dpkg-shlibdeps (the xcb platform plug-in comes with libqt6gui6, the SVG plug-ins with libqt6svg6, both
# linked); the QML modules the views load at run time are invisible to it and listed here. Keep the list in
# step with the imports under qml/ (a test checks it against them and the modules they import).
set(TANDREL_RUNTIME_PACKAGES
  # QML modules: QtQuick, QtQuick.Controls.Basic, QtQuick.Layouts and the modules they import.
  qml6-module-qtqml
  qml6-module-qtqml-models
  qml6-module-qtqml-workerscript
  qml6-module-qtquick
  qml6-module-qtquick-window
  qml6-module-qtquick-templates
  qml6-module-qtquick-controls
  qml6-module-qtquick-layouts
  qml6-module-qtquick-shapes
  qml6-module-qtwebengine
)
list(JOIN TANDREL_RUNTIME_PACKAGES ", " runtime_depends)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tandrel-notch)
set(CPACK_PACKAGE_VENDOR "Tandrel Notch developers")
set(CPACK_PACKAGE_CONTACT "${TANDREL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TANDREL_MAINTAINER}")
# Debian's control file has no licence field: the copyright file in the documentation says it.
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RPM_PACKAGE_LICENSE ${TANDREL_LICENSE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tandrel inbox in the band at the top of the screen")
set(CPACK_PACKAGE_DESCRIPTION "Tandrel Notch keeps the messages of the Tandrel messaging service within reach:
collapsed, it is a slim band at the top centre of the screen; on hover or click it grows into a card with the
personal and team inboxes, where messages are read, labelled, focused and answered.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tandrel-notch)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${runtime_depends}")
# Qt's own texts (dialog buttons, messages) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
