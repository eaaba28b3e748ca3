# Declaring test programs: one call per group of tests, a table of test name -> sources -> what
# else each needs.
#
# kelvora_tests(<gtest|qtest> [LIBS <lib>...] [LABELS <label>...]
#   TEST <name> <source>... [LIBS <lib>...] [LABELS <label>...] [DEFINES <definition>...]
#                           [DEPENDS <target>...] [ENVIRONMENT <VAR=value>...] [TIMEOUT <s>]
#   TEST ...)
#
# Each TEST is one executable registered with CTest as one test; the LIBS and LABELS before the
# first TEST go to every test of the call. gtest programs run GoogleTest with its main, qtest
# programs are Qt Test programs. Both run on the offscreen platform with tests/ as an include
# root; qtest programs write their pictures to <build>/shots.
function(kelvora_tests kind)
  if(NOT kind MATCHES "^(gtest|qtest)$")
    message(FATAL_ERROR "kelvora_tests: the kind is gtest or qtest, not '${kind}'")
  endif()
  set(shared "")
  set(row "")
  set(inRow FALSE)
  foreach(arg IN LISTS ARGN)
    if(arg STREQUAL "TEST")
      if(inRow)
        _kelvora_test(${kind} ${row} ${shared})
      endif()
      set(row "")
      set(inRow TRUE)
    elseif(inRow)
      list(APPEND row "${arg}")
    else()
      list(APPEND shared "${arg}")
    endif()
  endforeach()
  if(NOT inRow)
    message(FATAL_ERROR "kelvora_tests: no TEST given")
  endif()
  _kelvora_test(${kind} ${row} ${shared})
endfunction()

# One row of the table: the executable, its links and its CTest properties.
function(_kelvora_test kind name)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "TIMEOUT"
                        "LIBS;LABELS;DEFINES;DEPENDS;ENVIRONMENT")
  if(NOT ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "kelvora_tests: test ${name} has no sources")
  endif()
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINES})
  set(environment "QT_QPA_PLATFORM=offscreen" ${ARG_ENVIRONMENT})
  if(kind STREQUAL "gtest")
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    list(APPEND environment "KELVORA_SHOTS=${CMAKE_BINARY_DIR}/shots")
  endif()
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${environment}")
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# kelvora_gtest(<name> SOURCES ... LIBS ... [LABELS ...]) and kelvora_qtest(...): one test
# alone, the form used before the tables; kept only until the branches in flight have moved to
# kelvora_tests.
function(kelvora_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  _kelvora_test(gtest ${name} ${ARG_SOURCES} LIBS ${ARG_LIBS} LABELS ${ARG_LABELS})
endfunction()

function(kelvora_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  _kelvora_test(qtest ${name} ${ARG_SOURCES} LIBS ${ARG_LIBS} LABELS ${ARG_LABELS})
endfunction()
