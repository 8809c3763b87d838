# Shared build rules.
#
# Every folder of src/ is one static library whose sources are picked up by
# globbing, so adding a file needs no edit here. Every tests/<dir>/tst_*.cpp
# is one test program run by CTest: offscreen, with the media engine's null
# outputs. A tst_x11_*.cpp test runs instead on a virtual X server of its own
# (xvfb-run) with the engine's real video output; it is left out, with a
# notice, where xvfb-run or libxcb is missing.

function(melodeck_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  endif()
endfunction()

# melodeck_module(NAME <lib> DIR <folder> [DEPS <targets...>])
function(melodeck_module)
  cmake_parse_arguments(M "" "NAME;DIR" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${M_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${M_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(cpp_sources ${sources})
  list(FILTER cpp_sources INCLUDE REGEX "\\.cpp$")
  if(cpp_sources)
    add_library(${M_NAME} STATIC ${sources})
    set(scope PUBLIC)
    melodeck_warnings(${M_NAME})
  else()
    # A folder that holds no code yet still gives a target to link against.
    add_library(${M_NAME} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${M_NAME} ${scope} ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${M_NAME} ${scope} Qt6::Core Qt6::Gui Qt6::Widgets ${M_DEPS})
endfunction()

# melodeck_tests(DIR <folder> LIBS <targets...>): one test program per tst_*.cpp.
function(melodeck_tests)
  cmake_parse_arguments(T "" "DIR" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${T_DIR}/tst_*.cpp)
  foreach(src IN LISTS tests)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE Qt6::Test melodeck_testsupport ${T_LIBS})
    melodeck_warnings(${name})
    set(data "MELODECK_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
    if(name MATCHES "^tst_x11_")
      melodeck_x11_test(${T_DIR} ${name} ${data})
      continue()
    endif()
    add_test(NAME ${T_DIR}/${name} COMMAND ${name})
    set_tests_properties(${T_DIR}/${name} PROPERTIES
      TIMEOUT 120
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;MELODECK_MPV_VO=null;MELODECK_MPV_AO=null;${data};QT_LOGGING_RULES=qt.qpa.*=false")
  endforeach()
endfunction()

# A test on a virtual X server started for it alone; MELODECK_MPV_VO is empty so
# the engine chooses its video output as the program does.
function(melodeck_x11_test dir name data)
  find_program(MELODECK_XVFB_RUN xvfb-run)
  find_library(MELODECK_XCB_LIBRARY xcb)
  if(NOT MELODECK_XVFB_RUN OR NOT MELODECK_XCB_LIBRARY)
    message(STATUS "${dir}/${name} left out: it needs xvfb-run and libxcb")
    return()
  endif()
  target_link_libraries(${name} PRIVATE ${MELODECK_XCB_LIBRARY})
  add_test(NAME ${dir}/${name}
           COMMAND ${MELODECK_XVFB_RUN} -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${name}>)
  set_tests_properties(${dir}/${name} PROPERTIES
    TIMEOUT 60
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;MELODECK_MPV_VO=;MELODECK_MPV_AO=null;${data};QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()
