# The installed package: the static libraries, every library's include/ folder (its public
# headers, nothing else) under include/zorvel, and a package configuration, so that another
# project can write
#   find_package(Zorvel REQUIRED)
#   target_link_libraries(game PRIVATE Zorvel::gfx)   # Zorvel::file comes with it
# Zorvel::common and Zorvel::platform are what those two build on; a native package also holds
# the substitute platform (Zorvel::subst) that the library runs on there.
# All of it is the install component "library", left out of a plain install and of the tool's
# release archive:
#   cmake --install <build> --component library --prefix <prefix>
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(zv_packaged zv_common zv_platform zv_file zv_gfx)
if(NOT WIN32)
  list(APPEND zv_packaged zv_subst)
  install(FILES ${PROJECT_SOURCE_DIR}/testing/subst/win32_subst.h
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zorvel/subst COMPONENT library EXCLUDE_FROM_ALL)
endif()
foreach(target IN LISTS zv_packaged)
  string(REPLACE "zv_" "" name ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
endforeach()
foreach(library common platform file gfx)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/lib/${library}/include/
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zorvel COMPONENT library EXCLUDE_FROM_ALL)
endforeach()

# A sanitized build's libraries need the sanitizer runtime wherever they are linked.
if(ZV_SANITIZE)
  target_link_options(zv_common INTERFACE $<INSTALL_INTERFACE:-fsanitize=address,undefined>)
endif()

set(zv_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Zorvel)
install(TARGETS ${zv_packaged} EXPORT ZorvelTargets COMPONENT library EXCLUDE_FROM_ALL
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zorvel)
install(EXPORT ZorvelTargets NAMESPACE Zorvel:: DESTINATION ${zv_package_dir}
        COMPONENT library EXCLUDE_FROM_ALL)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ZorvelConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/ZorvelConfig.cmake
                              INSTALL_DESTINATION ${zv_package_dir})
# The version file also refuses a package built for another pointer size.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZorvelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZorvelConfig.cmake ${PROJECT_BINARY_DIR}/ZorvelConfigVersion.cmake
        DESTINATION ${zv_package_dir} COMPONENT library EXCLUDE_FROM_ALL)
