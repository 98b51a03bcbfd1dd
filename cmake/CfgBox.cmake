# cfg_box(NAME DIR [DEPS ...]): one static library per box, made of every
# .cpp file in the box's folder (sub-folders excluded). A box without sources
# yet is an interface library so that dependents still configure.
function(cfg_box name)
  cmake_parse_arguments(B "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${B_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${B_DEPS})
  endif()
endfunction()
