# Warnings on our own code in every build type. They become errors when the build asks for it
# with CMake's own switch, as scripts/build.sh and CI do: -DCMAKE_COMPILE_WARNING_AS_ERROR=ON.
add_library(tesmira_warnings INTERFACE)
target_compile_options(tesmira_warnings INTERFACE -Wall -Wextra -Wshadow)

option(TESMIRA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TESMIRA_SANITIZE)
    # GCC leaves float-to-integer overflow out of "undefined"; seconds, factors and sample
    # positions go through that conversion.
    add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined,float-cast-overflow)
    add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

option(TESMIRA_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
if(TESMIRA_SANITIZE_THREAD)
    if(TESMIRA_SANITIZE)
        message(FATAL_ERROR "ThreadSanitizer does not combine with TESMIRA_SANITIZE")
    endif()
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
