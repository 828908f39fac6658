# The download for Windows users, made by cpack (ZIP) from the Windows build:
# railwick-VERSION-win64.zip holding one folder with Railwick.exe, its
# resource pack in data/, the command-line tool railwick-cli.exe, the sample
# project in examples/ and a read-me. tools/package-windows.sh runs it.

# Packing follows a build and never starts one (cpack would build every test).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS railwick_app railwick RUNTIME DESTINATION .)
install(FILES ${RAILWICK_PACK_FILE} DESTINATION data)
# What the compiler writes beside the sample's models stays out.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION examples
  PATTERN .gitignore EXCLUDE PATTERN *.3dd EXCLUDE PATTERN *.z5t EXCLUDE PATTERN *.z5c EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME railwick)
set(CPACK_PACKAGE_VENDOR Railwick)
set(CPACK_PACKAGE_FILE_NAME railwick-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Debug information is for developers; the download carries the code only.
set(CPACK_STRIP_FILES ON)
include(CPack)
