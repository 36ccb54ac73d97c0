# Optional checked builds; neither is on in an everyday build.
#   CADRELLE_SANITIZE: everything under AddressSanitizer and UndefinedBehaviorSanitizer (`make test-asan`).
#   CADRELLE_FUZZ:     the libFuzzer targets of fuzz/, with clang (`make fuzz`).
option(CADRELLE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(CADRELLE_FUZZ "Build the libFuzzer targets (needs clang++)" OFF)

if(CADRELLE_SANITIZE)
    # Undefined behaviour aborts like a memory error does, so no finding can pass unnoticed.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(CADRELLE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "CADRELLE_FUZZ needs clang++ (configure with -DCMAKE_CXX_COMPILER=clang++)")
    endif()
    # Every library is instrumented for coverage; only the fuzz targets link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    # The targets name the library and the test support by name only, so their order does not matter.
    add_subdirectory(${PROJECT_SOURCE_DIR}/fuzz ${CMAKE_BINARY_DIR}/fuzz)
endif()
