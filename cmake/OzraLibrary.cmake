# Every subsystem library and test suite takes the sources of its folder, so
# adding a file needs no edit here.

# ozra_library(name [DEPENDS lib...] [SOURCES extra...])
function(ozra_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources AND NOT ARG_SOURCES)
    # A subsystem whose first files have not landed yet.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    return()
  endif()
  add_library(${name} STATIC ${sources} ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# A GoogleTest suite from the *.cpp files of a tests/ subfolder; its data
# files sit in the folder's data/ subfolder.
function(ozra_test_suite name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    OZRA_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    OZRA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# A program of the system: linked with the fast allocator where it is used.
function(ozra_program name)
  if(TARGET PkgConfig::TCMALLOC)
    target_link_libraries(${name} PRIVATE PkgConfig::TCMALLOC)
  endif()
endfunction()
