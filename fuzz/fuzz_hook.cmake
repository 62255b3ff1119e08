# Included by the `fuzz` preset right after the top-level project(): the fuzz targets join the
# tree at the end of the top-level file, once every library of it is declared.
if(CMAKE_CURRENT_SOURCE_DIR STREQUAL CMAKE_SOURCE_DIR)
    cmake_language(DEFER CALL include fuzz/fuzz_targets.cmake)
endif()
