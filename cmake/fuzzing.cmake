# libFuzzer builds: every library is instrumented for coverage and built with
# AddressSanitizer and UndefinedBehaviorSanitizer; the fuzz programs of
# tests/fuzz link libFuzzer's driver. Needs clang++ (Debian: clang,
# libclang-rt-14-dev); tools/fuzz.sh configures, builds and runs them.
option(BEUGUNGSBILDER_FUZZ "Build the libFuzzer targets (clang++ only)" OFF)
if(BEUGUNGSBILDER_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "BEUGUNGSBILDER_FUZZ needs clang++ (-DCMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
