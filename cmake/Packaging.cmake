# Installed layout: the programs in bin/, their files in share/glyphary/,
# where they look for them relative to themselves, so the tree can move.
# make install and make package build first; installing or packaging (also in
# the package test) must not rebuild every test and benchmark on its own.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

# Man pages and the changelog go out compressed as Debian wants them: gzip -9
# without a name or time stamp, so the bytes depend on the text alone.
set(GLYPHARY_GZIPPED ${CMAKE_BINARY_DIR}/gzipped)
function(glyphary_gzip source out_var)
  get_filename_component(name ${source} NAME)
  set(out ${GLYPHARY_GZIPPED}/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${GLYPHARY_GZIPPED}
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/${source} ${out}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    VERBATIM)
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()
glyphary_gzip(data/glyphary-cli.1 GLYPHARY_CLI_MAN)
glyphary_gzip(data/glyphary.1 GLYPHARY_MAN)
glyphary_gzip(data/changelog GLYPHARY_CHANGELOG)
add_custom_target(glyphary_gzipped ALL
  DEPENDS ${GLYPHARY_CLI_MAN} ${GLYPHARY_MAN} ${GLYPHARY_CHANGELOG})

install(TARGETS glyphary-cli RUNTIME DESTINATION bin)
install(FILES fonts/glyphary-fonts.conf DESTINATION share/glyphary/fonts)
install(DIRECTORY help/ DESTINATION share/glyphary/help)
install(FILES ${GLYPHARY_CLI_MAN} DESTINATION share/man/man1)
install(FILES data/copyright ${GLYPHARY_CHANGELOG} DESTINATION share/doc/glyphary)
if(GLYPHARY_GUI)
  install(TARGETS glyphary RUNTIME DESTINATION bin)
  install(FILES ${GLYPHARY_MAN} DESTINATION share/man/man1)
  install(FILES data/${GLYPHARY_APP_ID}.desktop DESTINATION share/applications)
  install(FILES data/${GLYPHARY_APP_ID}.metainfo.xml DESTINATION share/metainfo)
  install(FILES data/${GLYPHARY_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)
  install(FILES data/${GLYPHARY_APP_ID}.png DESTINATION share/icons/hicolor/48x48/apps)
endif()

# make package: glyphary_<version>_<arch>.deb, with stripped programs and no
# debug-symbols package.
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGE_NAME glyphary)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tarvent Software <glyphary@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "anti-aliased caption images from one line of text")
# Lines under 80 columns: dpkg shows them as they are.
set(CPACK_PACKAGE_DESCRIPTION
  "Glyphary turns one line of text into a clean, anti-aliased caption image
and saves it as BMP, PNG or JPEG. The desktop program has a Japanese
interface; glyphary-cli gives the same rendering on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/glyphary)
# The fonts are data, which dpkg-shlibdeps cannot see; without that tool the
# libraries are listed by hand.
set(GLYPHARY_FONT_PACKAGES "fonts-ipafont-gothic, fonts-ipafont-mincho")
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS ${GLYPHARY_FONT_PACKAGES})
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libqt6gui6, libqt6core6, libpango-1.0-0, \
libpangocairo-1.0-0, libpangoft2-1.0-0, libcairo2, libfontconfig1, libfreetype6, libglib2.0-0, \
zlib1g, libjpeg62-turbo, \
${GLYPHARY_FONT_PACKAGES}")
endif()
# The window on a Wayland desktop; Qt's own dialogs in Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n, fonts-noto-color-emoji")
# The Python module: the Python it was built for, and NumPy for its images.
if(GLYPHARY_PYTHON)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${GLYPHARY_PYTHON_DEPENDS}")
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", python3-numpy")
endif()
include(CPack)
