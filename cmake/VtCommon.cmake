# Flags shared by every target of the project.
add_library(vt_options INTERFACE)
target_include_directories(vt_options INTERFACE ${PROJECT_SOURCE_DIR})
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(vt_options INTERFACE -Wall -Wextra -Wno-unused-parameter)
endif()

if(VT_SANITIZE)
  set(VT_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_compile_options(vt_options INTERFACE ${VT_SAN_FLAGS})
  target_link_options(vt_options INTERFACE ${VT_SAN_FLAGS})
endif()

if(VT_FUZZ)
  # Coverage for libFuzzer in every library; the targets link the fuzzer's own main.
  set(VT_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
  target_compile_options(vt_options INTERFACE ${VT_FUZZ_FLAGS})
  target_link_options(vt_options INTERFACE -fsanitize=address,undefined)
endif()

if(WIN32)
  # Ship one executable that needs nothing beyond the system DLLs.
  target_compile_definitions(vt_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  target_link_options(vt_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# vt_library(NAME SOURCES... [LIBS libs...]) - a static library of project code.
function(vt_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PUBLIC vt_options ${ARG_LIBS})
endfunction()
