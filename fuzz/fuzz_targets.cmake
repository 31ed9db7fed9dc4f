# libFuzzer targets over the portable core: each fuzz/*_fuzz.cpp becomes one program. Built with
# clang only (configure with CC=clang CXX=clang++ and -DQUINTREL_FUZZ=ON); scripts/fuzz.sh runs them.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz targets need clang: configure with CC=clang CXX=clang++")
endif()

# Every sanitizer finding stops the run, so that libFuzzer keeps the input that caused it.
set(fuzz_sanitizers -fsanitize=address,undefined,float-divide-by-zero -fno-sanitize-recover=all)

add_library(quintrel_fuzz_core STATIC ${core_sources} ${core_test_support})
target_include_directories(quintrel_fuzz_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(quintrel_fuzz_core PUBLIC ${fuzz_sanitizers} -g -fno-omit-frame-pointer
                       PRIVATE -fsanitize=fuzzer-no-link ${warnings})
target_link_options(quintrel_fuzz_core PUBLIC ${fuzz_sanitizers})

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_fuzz.cpp)
foreach(fuzz_source ${fuzz_sources})
  get_filename_component(fuzz_name ${fuzz_source} NAME_WE)
  add_executable(${fuzz_name} ${fuzz_source})
  target_compile_options(${fuzz_name} PRIVATE -fsanitize=fuzzer ${warnings})
  target_link_options(${fuzz_name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${fuzz_name} PRIVATE quintrel_fuzz_core)
endforeach()
