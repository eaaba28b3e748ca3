# Warnings, sanitizers and the library helper every folder uses.

add_compile_options(-Wall -Wextra)
add_compile_definitions(QT_NO_SIGNALS_SLOTS_KEYWORDS)

if(KELVORA_SANITIZE)
  add_compile_options(-fsanitize=${KELVORA_SANITIZE} -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=${KELVORA_SANITIZE})
  if(KELVORA_SANITIZE MATCHES "undefined")
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
endif()

# The program's version from project(VERSION ...) as KelvoraVersion.h, for whatever shows or
# records it.
configure_file(${PROJECT_SOURCE_DIR}/packaging/KelvoraVersion.h.in
               ${PROJECT_BINARY_DIR}/generated/KelvoraVersion.h @ONLY)
add_library(kelvora_version INTERFACE)
add_library(kelvora::version ALIAS kelvora_version)
target_include_directories(kelvora_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

# kelvora_library(<name> SOURCES ... LIBS ...): a library target kelvora_<name> with the alias
# kelvora::<name>; src/ is its include root.
function(kelvora_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(kelvora_${name} STATIC ${ARG_SOURCES})
  add_library(kelvora::${name} ALIAS kelvora_${name})
  target_include_directories(kelvora_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(kelvora_${name} PUBLIC ${ARG_LIBS})
endfunction()

# kelvora_folder_library(<name> LIBS ...): kelvora::<name> from every source of the calling
# folder (its .cpp, .h and .qrc files) except a main.cpp, which belongs to a program. A folder
# without sources makes no target.
function(kelvora_folder_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(sources)
    kelvora_library(${name} SOURCES ${sources} LIBS ${ARG_LIBS})
  endif()
endfunction()
