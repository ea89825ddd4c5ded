# STASHWELL_FUZZ: the build that `make fuzz` configures with clang. Everything is compiled with
# AddressSanitizer, UndefinedBehaviorSanitizer (every finding fatal) and libFuzzer's coverage; only
# the modules beneath the interface and the fuzz targets are built.
option(STASHWELL_FUZZ "Build the fuzz targets with clang, libFuzzer and the sanitizers" OFF)

if(STASHWELL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "STASHWELL_FUZZ needs clang (scripts/fuzz configures it)")
  endif()
  add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
