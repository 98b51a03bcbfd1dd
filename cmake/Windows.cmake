# The Windows build with Qt (preset "windows"): resources of the programs,
# the Qt and compiler DLLs beside them, the zip and the NSIS installer.
#
# bin/ is a program folder that runs as it is: each program with the DLLs,
# the Qt plugins and the data it needs beside it. tests/ gets the same DLLs
# and plugins (and the offscreen platform the GUI tests use).

# --- Resources: icon, version information, manifest -----------------------
function(cfg_windows_resources target description icon)
  set(CFG_RC_NAME ${target})
  set(CFG_RC_FILE ${target}.exe)
  set(CFG_RC_DESCRIPTION "${description}")
  set(CFG_RC_MANIFEST ${CMAKE_BINARY_DIR}/windows/${target}.manifest)
  if(icon)
    set(CFG_RC_ICON "1 ICON \"${PROJECT_SOURCE_DIR}/data/windows/cfg-veltrano.ico\"")
  else()
    set(CFG_RC_ICON "")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.manifest.in ${CFG_RC_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.rc.in ${CMAKE_BINARY_DIR}/windows/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/windows/${target}.rc)
  set_property(SOURCE ${CMAKE_BINARY_DIR}/windows/${target}.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CFG_RC_MANIFEST} ${PROJECT_SOURCE_DIR}/data/windows/cfg-veltrano.ico)
endfunction()

enable_language(RC)
cfg_windows_resources(cfgvimo "CFG-Veltrano configuration tool" ON)
cfg_windows_resources(cfgvimo-cli "CFG-Veltrano configuration tool (command line)" ON)
cfg_windows_resources(vimo-sim "VIMO panel simulator" OFF)

# --- The DLLs and plugins beside the programs -----------------------------
# The compiler's run-time DLLs, which the Qt DLLs link (the project's own
# executables have them linked in).
set(cfg_gcc_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    find_file(path_${dll} ${dll} PATHS /usr/${CFG_MINGW_TRIPLE}/lib /usr/${CFG_MINGW_TRIPLE}/bin NO_DEFAULT_PATH
              NO_CMAKE_FIND_ROOT_PATH)
    set(path ${path_${dll}})
  endif()
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "The MinGW run-time ${dll} was not found")
  endif()
  list(APPEND cfg_gcc_dlls ${path})
endforeach()

set(CFG_QT_BIN ${CFG_QT_WINDOWS}/bin)
set(CFG_QT_PLUGINS ${CFG_QT_WINDOWS}/plugins)
# What the programs need, and nothing more. The offscreen platform serves
# cfgvimo-cli's PDF printout, which needs fonts but no screen.
set(CFG_WINDOWS_RUNTIME
  ${cfg_gcc_dlls}
  ${CFG_QT_BIN}/Qt6Core.dll ${CFG_QT_BIN}/Qt6Gui.dll ${CFG_QT_BIN}/Qt6Widgets.dll
  ${CFG_QT_BIN}/Qt6PrintSupport.dll ${CFG_QT_BIN}/Qt6Network.dll)
set(CFG_WINDOWS_PLUGINS
  platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll imageformats/qgif.dll)

# cfg_windows_deploy(NAME FOLDER EXTRA...): copies the DLLs and plugins into
# FOLDER whenever they change.
function(cfg_windows_deploy name folder)
  set(outputs)
  foreach(f ${CFG_WINDOWS_RUNTIME} ${ARGN})
    get_filename_component(n ${f} NAME)
    add_custom_command(OUTPUT ${folder}/${n}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${folder}/${n} DEPENDS ${f})
    list(APPEND outputs ${folder}/${n})
  endforeach()
  foreach(p ${CFG_WINDOWS_PLUGINS})
    add_custom_command(OUTPUT ${folder}/${p}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CFG_QT_PLUGINS}/${p} ${folder}/${p}
      DEPENDS ${CFG_QT_PLUGINS}/${p})
    list(APPEND outputs ${folder}/${p})
  endforeach()
  add_custom_target(${name} ALL DEPENDS ${outputs})
endfunction()

cfg_windows_deploy(cfg_windows_bin ${CFG_BIN_DIR})
foreach(t cfgvimo cfgvimo-cli)
  add_dependencies(${t} cfg_windows_bin)
endforeach()
if(CFG_BUILD_TESTS)
  cfg_windows_deploy(cfg_windows_tests ${CMAKE_BINARY_DIR}/tests ${CFG_QT_BIN}/Qt6Test.dll)
endif()

# --- The zip and the installer --------------------------------------------
# cmake --build --preset windows --target windows-package
#   -> build/windows/cfg-veltrano-<version>-win64.zip
#      build/windows/cfg-veltrano-<version>-win64-setup.exe (with makensis)
find_program(CFG_MAKENSIS makensis)
find_program(CFG_MINGW_STRIP ${CFG_MINGW_TRIPLE}-strip)
set(CFG_PACKAGE_NAME cfg-veltrano-${PROJECT_VERSION}-win64)
configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/installer.nsi.in ${CMAKE_BINARY_DIR}/windows/installer.nsi @ONLY)
add_custom_target(windows-package
  COMMAND ${CMAKE_COMMAND}
    -DBIN=${CFG_BIN_DIR} -DOUT=${CMAKE_BINARY_DIR} -DNAME=${CFG_PACKAGE_NAME}
    -DSTRIP=${CFG_MINGW_STRIP} -DMAKENSIS=${CFG_MAKENSIS}
    -DNSI=${CMAKE_BINARY_DIR}/windows/installer.nsi
    "-DPLUGINS=${CFG_WINDOWS_PLUGINS}"
    -P ${PROJECT_SOURCE_DIR}/cmake/windows/Package.cmake
  DEPENDS cfgvimo cfgvimo-cli vimo-sim cfg_data cfg_windows_bin
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing the Windows zip and installer"
  VERBATIM)
