# libFuzzer targets, one per reader of outside input. Built by the `fuzz` preset only (clang;
# the whole tree is compiled with coverage, ASan and UBSan, the targets link libFuzzer's main).
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (configure with the fuzz preset).")
endif()

set(fuzz_dir ${PROJECT_SOURCE_DIR}/fuzz)

function(strikora_fuzz_target name)
    add_executable(${name} ${fuzz_dir}/${name}.cpp ${fuzz_dir}/fuzz_support.h)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz
                                             AUTOMOC OFF)
    target_link_libraries(${name} PRIVATE ${ARGN})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY STRIKORA_FUZZ_TARGETS ${name})
endfunction()

strikora_fuzz_target(live_response_fuzz strikora_live)
strikora_fuzz_target(header_lines_fuzz strikora_grid_core)
strikora_fuzz_target(mask_fuzz strikora_grid_core)
strikora_fuzz_target(grid_settings_fuzz strikora_grid_core)
strikora_fuzz_target(players_document_fuzz strikora_players)
# The naming is toolkit-free; it is compiled in alone rather than with the whole service.
strikora_fuzz_target(document_name_fuzz strikora_engine pugixml::pugixml)
target_sources(document_name_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/src/service/document_name.cpp)
target_include_directories(document_name_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/src)
# The match-list and search readers live beside the requests that feed them (QtCore, QtNetwork).
strikora_fuzz_target(match_list_fuzz strikora_service)
strikora_fuzz_target(search_results_fuzz strikora_service)

get_property(targets GLOBAL PROPERTY STRIKORA_FUZZ_TARGETS)
add_custom_target(fuzz_targets DEPENDS ${targets})
