# How every test is registered: bounzo_test, with one tier label per test, so
# that `ctest -L <tier>` runs one kind of test.
#   unit     plain C++ and the scripted backend, seconds in all
#   window   real windows on Qt's offscreen platform
#   x11      the real program in its own X server, Wayland compositor or
#            accessibility session
#   soak     long random play
#   package  the Debian package and the release metadata
#   windows  the Windows build under Wine: the unit tier cross-built, and the
#            Win32 backend's own tests
# In a Windows build the unit tests carry the label windows and the tiers that
# need Qt or X are not built.
if(WIN32)
  # Debian ships GoogleTest as sources for other targets to build with.
  set(BUILD_GMOCK OFF)
  set(INSTALL_GTEST OFF)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
include(GoogleTest)

set(BOUNZO_TEST_TIERS unit window x11 soak package windows)

# bounzo_test(NAME TIER
#             SOURCES source... [LIBS library...] [QT] | COMMAND command arg...
#             [TIMEOUT seconds] [ENVIRONMENT VAR=value...])
# With SOURCES: a GoogleTest program whose cases CTest runs one by one; QT
# gives it a QApplication (qt_test_main, tests/qt_test_main.cpp) instead of
# gtest_main. Its cases run off screen unless ENVIRONMENT says otherwise.
# With COMMAND: one test that runs the command, usually a script.
function(bounzo_test name tier)
  cmake_parse_arguments(T "QT" "TIMEOUT" "SOURCES;LIBS;COMMAND;ENVIRONMENT" ${ARGN})
  if(NOT tier IN_LIST BOUNZO_TEST_TIERS)
    message(FATAL_ERROR "bounzo_test(${name}): tier '${tier}' is not one of ${BOUNZO_TEST_TIERS}")
  endif()
  if((T_SOURCES AND T_COMMAND) OR NOT (T_SOURCES OR T_COMMAND) OR T_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "bounzo_test(${name}): give SOURCES or COMMAND, and only known keywords")
  endif()
  if(WIN32)
    if(tier STREQUAL unit)
      set(tier windows)
    elseif(NOT tier STREQUAL windows)
      return()
    endif()
  endif()
  set(properties LABELS ${tier})
  if(T_TIMEOUT)
    list(APPEND properties TIMEOUT ${T_TIMEOUT})
  endif()

  if(T_COMMAND)
    add_test(NAME ${name} COMMAND ${T_COMMAND})
    set_tests_properties(${name} PROPERTIES ${properties})
    if(T_ENVIRONMENT)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
    endif()
    return()
  endif()

  add_executable(${name} ${T_SOURCES})
  if(T_QT)
    target_link_libraries(${name} PRIVATE ${T_LIBS} qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  if(NOT T_ENVIRONMENT)
    set(T_ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
  # Table rows are named by their index: a row printed as raw bytes would
  # name its test after pointers, different in every build.
  # Under Wine the cases are listed when the tests run, in the Wine prefix of
  # that run, not while building.
  if(WIN32)
    set(discovery DISCOVERY_MODE PRE_TEST)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES ${discovery}
    PROPERTIES ${properties} ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()
