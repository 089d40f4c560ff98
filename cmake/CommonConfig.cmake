# Compile settings shared by every target of the project.
add_library(kelvara_options INTERFACE)
target_compile_features(kelvara_options INTERFACE cxx_std_20)
target_compile_definitions(kelvara_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS)
target_compile_options(kelvara_options INTERFACE -Wall -Wextra)

if(KELVARA_SANITIZE)
    target_compile_options(kelvara_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(kelvara_options INTERFACE -fsanitize=address,undefined)
endif()

if(KELVARA_FUZZ)
    # The library code is instrumented for coverage; the fuzz targets add the libFuzzer driver.
    # Undefined behaviour stops the run, so that libFuzzer keeps the input that caused it.
    target_compile_options(kelvara_options INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    target_link_options(kelvara_options INTERFACE -fsanitize=address,undefined)
endif()

# A compiler cache, when installed, makes rebuilds of unchanged sources (a second build folder,
# a fresh checkout of the same tree) cost a lookup instead of a compile.
find_program(KELVARA_CCACHE ccache)
if(KELVARA_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${KELVARA_CCACHE})
endif()
