# Shared build rules.
#
# Every folder of src/ is one static library whose sources are picked up by
# globbing, so adding a file needs no edit here. Every tests/<dir>/tst_*.cpp
# is one test program run by CTest: offscreen, with the media engine's null
# outputs. A tst_x11_*.cpp test runs instead on a virtual X server of its own
# (xvfb-run) with the engine's real video output; it is left out, with a
# notice, where xvfb-run or libxcb is missing.

# MELODECK_SANITIZE builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/test --sanitize); MELODECK_FUZZ builds
# with clang for libFuzzer (scripts/fuzz). Neither is on by default.
option(MELODECK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(MELODECK_FUZZ "Build the tests/fuzz targets as libFuzzer programs (clang)" OFF)
set(MELODECK_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
if(MELODECK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "MELODECK_FUZZ needs clang (libFuzzer); configure with CMAKE_CXX_COMPILER=clang++")
  endif()
  # Libraries get the coverage instrumentation; only the fuzz targets link
  # libFuzzer's main (tests/fuzz/CMakeLists.txt).
  add_compile_options(${MELODECK_SANITIZER_FLAGS} -fsanitize=fuzzer-no-link)
  add_link_options(-fsanitize=address,undefined)
elseif(MELODECK_SANITIZE)
  add_compile_options(${MELODECK_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# What every test runs with: offscreen windows, the engine's null outputs,
# no session bus (a test's player would otherwise show up among the
# desktop's media controls; tst_Mpris starts a bus of its own), and under
# the sanitizers the options that make any finding fail the test.
set(MELODECK_TEST_ENV
    "QT_QPA_PLATFORM=offscreen;MELODECK_MPV_VO=null;MELODECK_MPV_AO=null;MELODECK_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;QT_LOGGING_RULES=qt.qpa.*=false;DBUS_SESSION_BUS_ADDRESS=unix:path=${CMAKE_BINARY_DIR}/no-session-bus")
set(MELODECK_TEST_TIMEOUT 120)
if(MELODECK_SANITIZE OR MELODECK_FUZZ)
  list(APPEND MELODECK_TEST_ENV
       "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0"
       "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
       "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0")
  # Instrumented code runs several times slower.
  set(MELODECK_TEST_TIMEOUT 360)
endif()

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
    if(name MATCHES "^tst_x11_")
      melodeck_x11_test(${T_DIR} ${name})
      continue()
    endif()
    add_test(NAME ${T_DIR}/${name} COMMAND ${name})
    set_tests_properties(${T_DIR}/${name} PROPERTIES
      TIMEOUT ${MELODECK_TEST_TIMEOUT}
      ENVIRONMENT "${MELODECK_TEST_ENV}")
  endforeach()
endfunction()

# A test on a virtual X server started for it alone; MELODECK_MPV_VO is empty so
# the engine chooses its video output as the program does.
function(melodeck_x11_test dir name)
  find_program(MELODECK_XVFB_RUN xvfb-run)
  find_library(MELODECK_XCB_LIBRARY xcb)
  if(NOT MELODECK_XVFB_RUN OR NOT MELODECK_XCB_LIBRARY)
    message(STATUS "${dir}/${name} left out: it needs xvfb-run and libxcb")
    return()
  endif()
  target_link_libraries(${name} PRIVATE melodeck_x11testsupport)
  add_test(NAME ${dir}/${name}
           COMMAND ${MELODECK_XVFB_RUN} -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${name}>)
  set(env ${MELODECK_TEST_ENV})
  list(FILTER env EXCLUDE REGEX "^(QT_QPA_PLATFORM|MELODECK_MPV_VO)=")
  # On a real X server the xcb platform brings in D-Bus and OpenGL drivers
  # that are loaded and unloaded again, whose allocations LeakSanitizer can
  # then neither attribute nor suppress by name; memory errors are still
  # caught there, leaks are checked by every offscreen test.
  list(TRANSFORM env REPLACE "detect_leaks=1" "detect_leaks=0")
  set_tests_properties(${dir}/${name} PROPERTIES
    TIMEOUT ${MELODECK_TEST_TIMEOUT}
    ENVIRONMENT "${env};QT_QPA_PLATFORM=xcb;MELODECK_MPV_VO=")
endfunction()
