# One interface target that every module links: language level, warnings and Qt strictness.
add_library(hw_config INTERFACE)
target_compile_features(hw_config INTERFACE cxx_std_20)
target_compile_options(hw_config INTERFACE -Wall -Wextra -Wshadow -Wold-style-cast -Wnon-virtual-dtor
                                           -Woverloaded-virtual -Wpedantic)
option(HW_WERROR "Treat compiler warnings as errors" OFF)
if(HW_WERROR)
  target_compile_options(hw_config INTERFACE -Werror)
endif()
target_compile_definitions(hw_config INTERFACE
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH
  QT_DISABLE_DEPRECATED_UP_TO=0x060000)
if(HW_SANITIZE)
  target_compile_options(hw_config INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(hw_config INTERFACE -fsanitize=address,undefined)
endif()
# The test binaries that open windows: they run in the program's own application object
# (tests/support), and LeakSanitizer checks only the others. Window tests leave behind what
# Qt and the platform keep until exit (and what an error unwinding through Qt's event
# delivery strands there), which it cannot tell from a leak of ours.
set(HW_GUI_TESTS tutor_tests app_tests recipes_tests report_tests report_cups_tests
                 hardening_corpus_tests hardening_soak_tests)
# Fuzzing (clang only): every library carries libFuzzer's coverage hooks and both
# sanitizers; the fuzz targets alone link libFuzzer's driver (fuzz/CMakeLists.txt).
if(HW_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "HW_BUILD_FUZZ needs clang: configure with -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
  endif()
  target_compile_options(hw_config INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
  target_link_options(hw_config INTERFACE -fsanitize=address,undefined)
endif()

# hw_add_library(name SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# A module library with its public headers under <module>/include.
function(hw_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  # Public headers are listed so that moc sees the Q_OBJECT classes declared there.
  file(GLOB_RECURSE public_headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/include/*.h)
  add_library(${name} STATIC ${ARG_SOURCES} ${public_headers})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                                     PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC hw_config ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# hw_strict_conversions(target)
# The parsers of untrusted bytes are held to implicit conversions that lose neither value nor sign.
function(hw_strict_conversions name)
  target_compile_options(${name} PRIVATE -Wconversion -Wsign-conversion -Wcast-qual)
endfunction()

# hw_add_test(name SOURCES ... LIBS ... [LABELS ...] [TIMEOUT s] [COST c])
# A GoogleTest binary; each test case becomes its own CTest test, run on Qt's offscreen platform.
# The binary learns its time-out (HW_TEST_TIMEOUT), so that a test that hangs is ended by its
# own watchdog, with a message, before CTest's time-out ends it silently. COST (about the
# seconds a case takes) makes a parallel run start the long binaries' cases first, before
# CTest has timed them itself: otherwise a long case that comes last runs on alone at the end.
function(hw_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT;COST" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  if(NOT ARG_COST)
    set(ARG_COST 0)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  if(name IN_LIST HW_GUI_TESTS)
    target_link_libraries(${name} PRIVATE hw_config hw_test_main_windows ${ARG_LIBS})
  else()
    target_link_libraries(${name} PRIVATE hw_config hw_test_main_plain ${ARG_LIBS})
  endif()
  if(HW_SANITIZE)
    # The sanitizers' defaults travel in the binary (an environment list would be split).
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/hardening/SanitizerDefaults.cpp)
    if(name IN_LIST HW_GUI_TESTS)
      target_compile_definitions(${name} PRIVATE HW_CHECK_LEAKS=0)
    endif()
  endif()
  include(GoogleTest)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT_MODIFICATION "HW_TEST_TIMEOUT=set:${ARG_TIMEOUT}"
               TIMEOUT ${ARG_TIMEOUT}
               COST ${ARG_COST}
               LABELS "${ARG_LABELS}")
endfunction()
