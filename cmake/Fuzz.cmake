# Fuzz builds use clang's libFuzzer: everything of ours is instrumented for coverage and
# checked by AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets link libFuzzer.
if(TESMIRA_BUILD_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TESMIRA_BUILD_FUZZ needs clang: CC=clang CXX=clang++ cmake ...")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
