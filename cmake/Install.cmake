# `cmake --install` lays out the runtime as a relocatable package named rtgame:
#   lib/librtgame.a                          the library
#   include/rtgame/runtime/...               the headers (games include "runtime/runtime.h")
#   lib/cmake/rtgame/                        find_package(rtgame CONFIG) → target rtgame::rtgame
#   lib/pkgconfig/rtgame.pc                  pkg-config --cflags --libs rtgame
include(CMakePackageConfigHelpers)

set(RT_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/rtgame)

install(TARGETS runtime EXPORT rtgameTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# runtime.h includes headers of the subsystems, so the whole header tree goes along.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/runtime DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/rtgame
        FILES_MATCHING PATTERN "*.h")
install(EXPORT rtgameTargets NAMESPACE rtgame:: DESTINATION ${RT_PACKAGE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/rtgameConfig.cmake.in
    ${PROJECT_BINARY_DIR}/rtgameConfig.cmake INSTALL_DESTINATION ${RT_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/rtgameConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/rtgameConfig.cmake ${PROJECT_BINARY_DIR}/rtgameConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/RuntimeDependencies.cmake
        DESTINATION ${RT_PACKAGE_DIR})

# The library is static, so its dependencies go in Requires and Libs (not the .private fields):
# a plain `pkg-config --libs rtgame` links.
list(JOIN RT_PKGCONFIG_SDL " " RT_PC_SDL)
list(JOIN RT_PKGCONFIG_CODECS " " RT_PC_CODECS)
# The .pc file finds the prefix from its own place, so the installed tree can be moved.
file(RELATIVE_PATH RT_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
set(RT_PC_REQUIRES "${RT_PC_SDL} ${RT_PC_CODECS} gl")
configure_file(${PROJECT_SOURCE_DIR}/cmake/rtgame.pc.in ${PROJECT_BINARY_DIR}/rtgame.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/rtgame.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
