# Runs each layout check on a tree made here and expects it to stop (or pass) with the message
# that names the fault.
file(REMOVE_RECURSE ${WORK})

function(write path)
    file(WRITE ${WORK}/${path} "")
endfunction()

# Runs `call` in a script of its own, as the configure step would.
function(expect name call outcome message)
    set(driver ${WORK}/${name}.cmake)
    file(WRITE ${driver} "cmake_minimum_required(VERSION 3.25)\ninclude(${CHECKS})\n${call}\n")
    execute_process(COMMAND ${CMAKE_COMMAND} -P ${driver} RESULT_VARIABLE result
                    ERROR_VARIABLE output)
    if(outcome STREQUAL "stops" AND result EQUAL 0)
        message(FATAL_ERROR "${name}: the check let the tree pass")
    elseif(outcome STREQUAL "passes" AND NOT result EQUAL 0)
        message(FATAL_ERROR "${name}: the check stopped a good tree: ${output}")
    endif()
    string(REGEX REPLACE "[ \n]+" " " output "${output}")
    if(message AND NOT output MATCHES "${message}")
        message(FATAL_ERROR "${name}: expected \"${message}\" in: ${output}")
    endif()
endfunction()

write(good/CMakeLists.txt)
write(good/one_test.cpp)
write(good/fixture.h)
expect(GoodFolder "strikora_check_test_folder(${WORK}/good)" passes "")

expect(MissingFolder "strikora_check_test_folder(${WORK}/absent)" stops
       "The test folder .*absent is missing")

write(nolist/one_test.cpp)
expect(NoCMakeLists "strikora_check_test_folder(${WORK}/nolist)" stops "has no CMakeLists.txt")

write(empty/CMakeLists.txt)
write(empty/fixture.h)
expect(NoTests "strikora_check_test_folder(${WORK}/empty)" stops "holds no \\*_test.cpp")

write(misnamed/CMakeLists.txt)
write(misnamed/one_test.cpp)
write(misnamed/two_tests.cpp)
expect(MisnamedTest "strikora_check_test_folder(${WORK}/misnamed)" stops "two_tests.cpp is misnamed")

write(bench/a_bench.cpp)
write(bench/b_bench.cpp)
expect(UnlistedBenchmark "strikora_require_listed(${WORK}/bench \"*.cpp\" \"a_bench.cpp\" benchmark)"
       stops "b_bench.cpp is no benchmark")
