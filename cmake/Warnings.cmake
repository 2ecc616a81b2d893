# Warnings are errors on our own code in every build type.
add_library(tesmira_warnings INTERFACE)
target_compile_options(tesmira_warnings INTERFACE -Wall -Wextra -Wshadow -Werror)

option(TESMIRA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TESMIRA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
