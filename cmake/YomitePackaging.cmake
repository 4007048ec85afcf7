# The Debian package, made by CPack's DEB generator from what `cmake --install`
# puts under /usr (data/CMakeLists.txt), plus Debian's own documents: the
# copyright file and a changelog. scripts/package deb builds it in a tree of
# its own with the distribution's compiler and linker flags; the install test
# packages the test build's programs the same way.
include(GNUInstallDirs)

set(YOMITE_MAINTAINER "The Yomite authors <yomite@users.noreply.github.com>")
execute_process(COMMAND date -u -R -d "${YOMITE_RELEASE_DATE}"
  OUTPUT_VARIABLE YOMITE_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)

# Debian keeps documents compressed and without a time stamp (gzip -n).
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in
  ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/packaging/changelog > ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog)
add_custom_target(yomite_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME yomite)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reader for Japanese plain-text books in vertical columns")
set(CPACK_PACKAGE_DESCRIPTION "Yomite sets a Japanese plain text in vertical columns, right to
left, as a printed Japanese page is read (or in horizontal rows), with ruby,
emphasis marks, side lines, footnotes and links. It reads Shift_JIS, EUC-JP,
JIS, UTF-16 and UTF-8 texts, also straight out of ZIP archives.

The package holds the viewer (yomite), yomiseal, which turns a Shift_JIS text
into a locked text that only the viewer shows, and yomite-render, which draws
the viewer's pages to PNG or PDF without a display.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # yomite_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${YOMITE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/yomite/yomite)
# The libraries from what the programs link (dpkg-shlibdeps), and the faces
# that stand in for the default ones.
# libzip is loaded when first needed, so no program names it: its package
# (libzip.so.4 is in libzip4) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(REGEX REPLACE "^lib(.*)\\.so\\.([0-9]+)$" "lib\\1\\2" yomite_libzip_package
  "${YOMITE_LIBZIP_SONAME}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "${yomite_libzip_package}, fonts-ipafont-gothic | fonts-noto-cjk, fonts-ipafont-mincho | fonts-noto-cjk")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
