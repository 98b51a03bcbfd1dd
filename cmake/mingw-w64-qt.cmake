# Cross-compiles for 64-bit Windows like mingw-w64-posix.cmake, with Qt 6
# for MinGW-w64 (the desktop program, the command line's serial port and
# their tests). Qt is found through one variable, CFG_QT_WINDOWS: the prefix
# of a Qt built by scripts/build-qt-windows.sh. It may be given as a cache
# variable or in the environment; without it the shared ready build beside
# the project's clone (../shared/qt6-mingw-6.4.2) is used when it is there.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-posix.cmake)

if(NOT CFG_QT_WINDOWS AND DEFINED ENV{CFG_QT_WINDOWS})
  set(CFG_QT_WINDOWS "$ENV{CFG_QT_WINDOWS}")
endif()
if(NOT CFG_QT_WINDOWS)
  get_filename_component(_cfg_shared_qt "${CMAKE_CURRENT_LIST_DIR}/../../shared/qt6-mingw-6.4.2" ABSOLUTE)
  if(EXISTS "${_cfg_shared_qt}/lib/cmake/Qt6/Qt6Config.cmake")
    set(CFG_QT_WINDOWS "${_cfg_shared_qt}")
  endif()
endif()
if(NOT CFG_QT_WINDOWS OR NOT EXISTS "${CFG_QT_WINDOWS}/lib/cmake/Qt6/Qt6Config.cmake")
  message(FATAL_ERROR "No Qt for Windows: set CFG_QT_WINDOWS to the prefix made by "
                      "scripts/build-qt-windows.sh (now: '${CFG_QT_WINDOWS}')")
endif()
set(CFG_QT_WINDOWS "${CFG_QT_WINDOWS}" CACHE PATH "Prefix of Qt 6 built for MinGW-w64" FORCE)
# try_compile projects read this file again; hand them the same choice.
set(ENV{CFG_QT_WINDOWS} "${CFG_QT_WINDOWS}")

list(APPEND CMAKE_FIND_ROOT_PATH "${CFG_QT_WINDOWS}")
list(APPEND CMAKE_PREFIX_PATH "${CFG_QT_WINDOWS}")

# Qt's build tools (moc, rcc, uic) are the host's: Debian's Qt of the same
# version.
if(NOT QT_HOST_PATH)
  set(QT_HOST_PATH /usr CACHE PATH "Prefix of the host Qt whose tools run at build time")
endif()
if(NOT QT_HOST_PATH_CMAKE_DIR)
  file(GLOB _cfg_host_info LIST_DIRECTORIES true /usr/lib/*/cmake/Qt6HostInfo)
  if(_cfg_host_info)
    list(GET _cfg_host_info 0 _cfg_host_info)
    get_filename_component(_cfg_host_cmake "${_cfg_host_info}" DIRECTORY)
    set(QT_HOST_PATH_CMAKE_DIR "${_cfg_host_cmake}" CACHE PATH "Folder holding the host Qt's Qt6HostInfo package")
  endif()
endif()
