# Runs each layout and layer check on a tree made here and expects it to stop (or pass) with the
# message that names the fault.
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

# The layer check, on a small tree of folders from the table and a made-up Qt include folder.
write(qt/QtCore/QString)
write(qt/QtWidgets/QLabel)
function(layer_tree name path text)
    file(WRITE ${WORK}/${name}/ui/frame.cpp "#include <QLabel>\n#include \"Engine/convert.h\"\n")
    file(WRITE ${WORK}/${name}/service/session.cpp "#include <QString>\n#include \"players/team.h\"\n")
    file(WRITE ${WORK}/${name}/${path} "${text}")
endfunction()
function(expect_layers name outcome message)
    expect(${name} "strikora_check_layers(${WORK}/${name} ${WORK}/qt)" ${outcome} "${message}")
endfunction()

layer_tree(GoodLayers live/match.h "#include \"Engine/convert.h\"\n#include <vector>\n")
expect_layers(GoodLayers passes "")

layer_tree(QtInLive live/match.h "// [;\\\n#include <QString>\n")
expect_layers(QtInLive stops "live/match.h:2: #include <QString>: live is toolkit-free")

layer_tree(ArrowUp players/team.cpp "#include \"service/session.h\"\n")
expect_layers(ArrowUp stops "players/team.cpp:1: .*players -> service is no layer arrow")

layer_tree(WidgetsInService service/http.cpp "#include <QLabel>\n")
expect_layers(WidgetsInService stops "service may not include QtWidgets")

layer_tree(UnknownFolder extra/x.cpp "")
expect_layers(UnknownFolder stops "the folder extra is in no layer")
