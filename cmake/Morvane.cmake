# Build conventions shared by every target of the project.

# Warnings cover our own code only; third-party headers come in as system headers.
# MORVANE_WERROR makes them errors (scripts/test turns it on, so no warning lands).
add_library(morvane_build_flags INTERFACE)
target_compile_options(morvane_build_flags INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wimplicit-fallthrough $<$<BOOL:${MORVANE_WERROR}>:-Werror>
  # GCC 12 at -O2 and above reports overlapping copies and uninitialised reads inside
  # libstdc++'s own string concatenation (GCC bug 105329): noise, not our code.
  $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict -Wno-maybe-uninitialized>)

if(MORVANE_SANITIZE)
  set(_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined
                  -fno-omit-frame-pointer)
  add_compile_options(${_sanitizers})
  add_link_options(${_sanitizers})
endif()

# morvane_library(<name> [STATIC|SHARED] SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# Include paths are rooted at the project top, so code includes "engine/tracer.h".
function(morvane_library name)
  cmake_parse_arguments(ARG "STATIC;SHARED" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  set(kind STATIC)
  if(ARG_SHARED)
    set(kind SHARED)
  endif()
  add_library(${name} ${kind} ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}" "${PROJECT_BINARY_DIR}/generated")
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE morvane_build_flags ${ARG_PRIVATE_LIBS})
endfunction()

# morvane_executable(<name> SOURCES ... [LIBS ...])
function(morvane_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}" "${PROJECT_BINARY_DIR}/generated")
  target_link_libraries(${name} PRIVATE morvane_build_flags ${ARG_LIBS})
endfunction()

# morvane_version_record(<target> TITLE t [COMPANY c] [MAJOR n MINOR n REVISION n]
#                        [COMMENTS c] [TRADEMARKS t] [COPYRIGHT c])
# Gives <target> its own version record (platform/core/version_record.h).
function(morvane_version_record target)
  cmake_parse_arguments(VR "" "TITLE;COMPANY;MAJOR;MINOR;REVISION;COMMENTS;TRADEMARKS;COPYRIGHT" "" ${ARGN})
  foreach(field COMPANY COMMENTS TRADEMARKS COPYRIGHT)
    if(NOT DEFINED VR_${field})
      set(VR_${field} "${MORVANE_${field}}")
    endif()
  endforeach()
  foreach(field MAJOR MINOR REVISION)
    if(NOT DEFINED VR_${field})
      set(VR_${field} "${MORVANE_VERSION_${field}}")
    endif()
  endforeach()
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_version_record.cpp")
  configure_file("${PROJECT_SOURCE_DIR}/platform/core/version_record.cpp.in" "${out}" @ONLY)
  target_sources(${target} PRIVATE "${out}")
endfunction()
