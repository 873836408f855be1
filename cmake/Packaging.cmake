# `make package`: a Debian package. Depends comes from the shared-library scan,
# plus what the scan cannot see: Qt's platform plugins and the fonts.
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Safe-driving self-diagnosis in Japanese")
set(CPACK_PACKAGE_DESCRIPTION
  "Answer 32 yes/no statements about your own driving; tolvane scores them on three scales and shows advice for each driver type that applies.")
set(CPACK_PACKAGE_CONTACT "tolvane developers <tolvane@example.org>")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
include(CPack)
