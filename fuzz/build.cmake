# The fuzz targets in the normal build: compiled and linked by clang as a project of their
# own (fuzz/CMakeLists.txt), never run here, so that a target which stops linking fails
# the build instead of waiting for the next tools/fuzz. Skipped without a clang whose
# libFuzzer runtime links.
find_program(KELVORA_FUZZ_CXX NAMES clang++ clang++-16 clang++-15 clang++-14)
if(KELVORA_FUZZ_CXX AND NOT DEFINED KELVORA_FUZZ_LINKS)
  set(probe ${CMAKE_BINARY_DIR}/CMakeFiles/fuzz_probe)
  file(WRITE ${probe}.cpp "#include <cstddef>\n#include <cstdint>\n"
    "extern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
  execute_process(COMMAND ${KELVORA_FUZZ_CXX} -fsanitize=fuzzer,address,undefined ${probe}.cpp -o ${probe}
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(result EQUAL 0)
    set(KELVORA_FUZZ_LINKS ON CACHE INTERNAL "clang links a libFuzzer target")
  else()
    set(KELVORA_FUZZ_LINKS OFF CACHE INTERNAL "clang links a libFuzzer target")
  endif()
endif()
if(KELVORA_FUZZ_CXX AND KELVORA_FUZZ_LINKS)
  include(ExternalProject)
  ExternalProject_Add(kelvora_fuzz
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${KELVORA_FUZZ_CXX}
               -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
               -DKELVORA_WERROR=${KELVORA_WERROR}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
  message(STATUS "Fuzz targets: built with ${KELVORA_FUZZ_CXX}")
else()
  message(STATUS "Fuzz targets: skipped, no clang that links a libFuzzer target")
endif()
