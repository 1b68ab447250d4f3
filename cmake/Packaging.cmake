# The release archive, ZorvelSetup-<version>-<win32|win64>.zip: the tool and its readme,
# which Japanese Windows users expect in Shift-JIS with CR LF line ends.
set(ZV_README ${CMAKE_BINARY_DIR}/readme.txt)
configure_file(${PROJECT_SOURCE_DIR}/res/readme.txt.in ${CMAKE_BINARY_DIR}/readme-utf8.txt
               @ONLY NEWLINE_STYLE CRLF)
add_custom_command(
  OUTPUT ${ZV_README}
  COMMAND iconv -f UTF-8 -t CP932 -o ${ZV_README} ${CMAKE_BINARY_DIR}/readme-utf8.txt
  DEPENDS ${CMAKE_BINARY_DIR}/readme-utf8.txt
  COMMENT "Converting the readme to Shift-JIS")
add_custom_target(readme ALL DEPENDS ${ZV_README})

install(TARGETS ZorvelSetup RUNTIME DESTINATION .)
install(FILES ${ZV_README} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ZorvelSetup)
set(CPACK_PACKAGE_VENDOR Zorvel)
set(CPACK_PACKAGE_FILE_NAME ZorvelSetup-${PROJECT_VERSION}-${ZV_WINEARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
