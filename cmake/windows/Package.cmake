# Packs the Windows program folder (cmake -P; see cmake/Windows.cmake):
# stages what an installer's laptop needs from BIN, strips the binaries,
# zips the folder and, when MAKENSIS is given, builds the installer from NSI.
# The installer's file lists are written beside NSI, so the uninstaller
# removes exactly what was installed and leaves the user's files alone.
cmake_minimum_required(VERSION 3.25)

foreach(v BIN OUT NAME NSI)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "Package.cmake needs -D${v}=...")
  endif()
endforeach()

set(stage ${OUT}/package/${NAME})
file(REMOVE_RECURSE ${OUT}/package)
file(MAKE_DIRECTORY ${stage})

# The programs and their DLLs; the data files; the plugins; the guide.
file(GLOB files LIST_DIRECTORIES false RELATIVE ${BIN}
  ${BIN}/cfgvimo.exe ${BIN}/cfgvimo-cli.exe ${BIN}/vimo-sim.exe ${BIN}/*.dll
  ${BIN}/*.lng ${BIN}/DEFAULT.* ${BIN}/*.GIF ${BIN}/*.png)
file(GLOB_RECURSE help RELATIVE ${BIN} ${BIN}/help/*)
list(APPEND files ${PLUGINS} ${help})
foreach(f ${files})
  get_filename_component(dir ${stage}/${f} DIRECTORY)
  # Writable copies: the strip below rewrites them (Qt's own files may be
  # read-only where they come from).
  file(COPY ${BIN}/${f} DESTINATION ${dir}
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  if(STRIP AND f MATCHES "\\.(exe|dll)$")
    execute_process(COMMAND ${STRIP} --strip-unneeded ${stage}/${f} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "strip failed on ${f}")
    endif()
  endif()
endforeach()

# The zip: one folder that runs wherever it is unpacked.
set(zip ${OUT}/${NAME}.zip)
file(REMOVE ${zip})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${NAME}
                WORKING_DIRECTORY ${OUT}/package RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "zip failed")
endif()
file(SIZE ${zip} zip_size)
message(STATUS "${zip}: ${zip_size} bytes")

if(NOT MAKENSIS)
  message(STATUS "makensis not found: no installer (Debian package nsis)")
  return()
endif()

# File lists for the installer: install in order, remove in reverse, then
# the folders, deepest first (RMDir leaves a folder that still holds files).
get_filename_component(nsi_dir ${NSI} DIRECTORY)
file(GLOB_RECURSE staged LIST_DIRECTORIES false RELATIVE ${stage} ${stage}/*)
list(SORT staged)
set(install "")
set(uninstall "")
set(dirs "")
foreach(f ${staged})
  get_filename_component(d ${f} DIRECTORY)
  string(REPLACE "/" "\\" wf "${f}")
  string(REPLACE "/" "\\" wd "${d}")
  # The file's folder and every folder above it inside the program folder.
  set(up "${d}")
  while(NOT up STREQUAL "" AND NOT up IN_LIST dirs)
    list(APPEND dirs ${up})
    get_filename_component(up "${up}" DIRECTORY)
  endwhile()
  if(d STREQUAL "")
    string(APPEND install "  SetOutPath \"$INSTDIR\"\n")
  else()
    string(APPEND install "  SetOutPath \"$INSTDIR\\${wd}\"\n")
  endif()
  string(APPEND install "  File \"/oname=$INSTDIR\\${wf}\" \"${stage}/${f}\"\n")
  string(APPEND uninstall "  Delete \"$INSTDIR\\${wf}\"\n")
endforeach()
list(SORT dirs)
list(REVERSE dirs)
foreach(d ${dirs})
  string(REPLACE "/" "\\" wd "${d}")
  string(APPEND uninstall "  RMDir \"$INSTDIR\\${wd}\"\n")
endforeach()
file(WRITE ${nsi_dir}/install-files.nsh "${install}")
file(WRITE ${nsi_dir}/uninstall-files.nsh "${uninstall}")

execute_process(COMMAND ${MAKENSIS} -V2 -NOCD ${NSI} WORKING_DIRECTORY ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "makensis failed")
endif()
file(SIZE ${OUT}/${NAME}-setup.exe setup_size)
message(STATUS "${OUT}/${NAME}-setup.exe: ${setup_size} bytes")
