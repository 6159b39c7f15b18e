# The Debian package, made by `cpack -G DEB` in a build configured by tools/package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvora)
set(CPACK_PACKAGE_VENDOR "The Kelvora developers")
set(CPACK_PACKAGE_CONTACT "The Kelvora developers <dev@kelvora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "capacity tables of liquid storage tanks")
set(CPACK_PACKAGE_DESCRIPTION
    "Kelvora produces the capacity table of a liquid storage tank: for every level
from a first to a last level at a fixed step, the litres the tank holds, or the
kilograms with a density, exported as a spreadsheet workbook (.xlsx or .xls),
plus a quick answer for one level.

Tanks are horizontal cylinders (circular or elliptical) with one of eight head
shapes at each end, inclined cylinders read by a gauge, spheres, or a table of
measured calibration points. The interface is in Chinese.

The package holds the window (kelvora), the command kelvora-table that makes
the same tables from scripts, and the help (help.chm).")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/strip_comment.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# shlibdeps finds the shared libraries the programs link, ISA-L's libisal2 among them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by shlibdeps: the fonts the Chinese interface is drawn with (and DejaVu Sans,
# which the A4 document loads from its Debian file), Qt's own texts in Chinese, and a
# viewer for the help.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, fonts-wqy-microhei, fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xchm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
