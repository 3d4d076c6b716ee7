# The libraries the runtime links. The installed package's config file includes this same file, so a
# game that finds the package gets exactly these imported targets.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(OpenGL REQUIRED)
# The platform: SDL, X11 (full screen on a display without a window manager). The media
# player library is not linked: the runtime opens it when music or a movie first plays.
set(RT_PKGCONFIG_SDL sdl2 x11)
set(RT_PKGCONFIG_CODECS libpng zlib lzo2)
pkg_check_modules(RT_SDL REQUIRED IMPORTED_TARGET ${RT_PKGCONFIG_SDL})
pkg_check_modules(RT_CODECS REQUIRED IMPORTED_TARGET ${RT_PKGCONFIG_CODECS})
