if(MSVC)
  add_compile_options(/W4 /utf-8)
  add_compile_definitions(_CRT_SECURE_NO_WARNINGS)
else()
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
endif()
if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()
if(QEL_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(QEL_FUZZ AND NOT WIN32)
  # Coverage counters in the core too, or the fuzzer sees only its own harness.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Collects the sources of a folder so that parallel work adds files without
# touching the build description.
function(qel_sources out)
  file(GLOB _s CONFIGURE_DEPENDS ${ARGN})
  set(${out} ${_s} PARENT_SCOPE)
endfunction()

# A static library from every source in a folder, or an interface library while
# the folder holds only headers. Include paths are rooted at the project.
function(qel_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LINK" ${ARGN})
  if(A_SOURCES)
    add_library(${name} STATIC ${A_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${name} PUBLIC ${A_LINK})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${name} INTERFACE ${A_LINK})
  endif()
endfunction()

# Unicode entry points (wWinMain / wmain). MinGW needs -municode; MSVC picks the
# entry from the function it finds. `console` marks a console program.
function(qel_unicode_entry target)
  cmake_parse_arguments(A "CONSOLE" "" "" ${ARGN})
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
    if(A_CONSOLE)
      target_link_options(${target} PRIVATE -mconsole)
    endif()
  endif()
endfunction()
