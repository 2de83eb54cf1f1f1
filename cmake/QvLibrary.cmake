# qv_library(NAME DEPS...): one static library per source folder, sources found by glob
# so that adding a file never needs an edit here.
function(qv_library name)
  file(GLOB _cpp CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB _h CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(_cpp)
    add_library(${name} STATIC ${_cpp} ${_h})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# qv_test(NAME DIR DEPS...): one GoogleTest executable per test folder.
function(qv_test name dir)
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT _src)
    return()
  endif()
  file(GLOB _common CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/common/*.h ${PROJECT_SOURCE_DIR}/tests/common/*.cpp)
  add_executable(${name} ${_src} ${_common})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  set(_deps)
  foreach(_d ${ARGN})
    if(TARGET ${_d})
      list(APPEND _deps ${_d})
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE ${_deps} Qt6::Widgets Qt6::Test GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    QV_SOURCE_DIR="${PROJECT_SOURCE_DIR}" QV_BIN_DIR="${QV_BIN_DIR}"
    QV_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
