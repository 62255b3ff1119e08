include(GoogleTest)
include(${CMAKE_CURRENT_LIST_DIR}/StrikoraChecks.cmake)

# One library target per source folder, built from the sources it holds. Only folders that
# use the toolkit (QT) run the meta-object compiler.
function(strikora_library target)
    cmake_parse_arguments(ARG "QT" "" "PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    strikora_require_names(${CMAKE_CURRENT_SOURCE_DIR} "\\.cpp$;\\.h$;\\.qrc$;\\.in$" "source")
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    list(FILTER sources INCLUDE REGEX ".*\\.(cpp|qrc)$")
    if(NOT sources)
        # A folder of headers only.
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${target} INTERFACE ${ARG_PUBLIC_DEPS})
        return()
    endif()
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(${target} STATIC ${sources} ${headers})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    set_target_properties(${target} PROPERTIES AUTOMOC ${ARG_QT} AUTORCC ${ARG_QT})
endfunction()

# One test program per test folder; every *_test.cpp in it joins the program.
# Widget and Qt tests run offscreen, so no display is ever needed.
function(strikora_test target)
    cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
    strikora_check_test_folder(${CMAKE_CURRENT_SOURCE_DIR})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_executable(${target} ${sources})
    set_target_properties(${target} PROPERTIES AUTOMOC ${ARG_QT})
    if(ARG_QT)
        target_link_libraries(${target} PRIVATE strikora_test_qt_main ${ARG_DEPS})
    else()
        target_link_libraries(${target} PRIVATE GTest::gtest_main GTest::gmock ${ARG_DEPS})
    endif()
    # ctest counts and names the cases, one process each.
    gtest_discover_tests(${target} NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1"
        TIMEOUT 120)
endfunction()
