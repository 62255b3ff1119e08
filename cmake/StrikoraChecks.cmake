# Checks of the source layout, run while configuring. They only read the tree, so a script
# (cmake -P) can run them too. An expected folder or file that is missing, or a file whose
# name the build would not pick up, stops the configure step: nothing is left out silently.

# Stops unless `dir` exists and holds a CMakeLists.txt.
function(strikora_require_folder dir what)
    if(NOT IS_DIRECTORY ${dir})
        message(FATAL_ERROR "The ${what} folder ${dir} is missing.")
    endif()
    if(NOT EXISTS ${dir}/CMakeLists.txt)
        message(FATAL_ERROR "The ${what} folder ${dir} has no CMakeLists.txt.")
    endif()
endfunction()

# Stops when a file in `dir` matching `pattern` is not among the `listed` names.
function(strikora_require_listed dir pattern listed what)
    file(GLOB found RELATIVE ${dir} ${dir}/${pattern})
    foreach(file IN LISTS found)
        if(NOT file IN_LIST listed)
            message(FATAL_ERROR "${dir}/${file} is no ${what} the build knows of: "
                                "name it in ${dir}/CMakeLists.txt or remove it.")
        endif()
    endforeach()
endfunction()

# Stops when a file in `dir` has a name the build of its kind would not take: sources are
# `allowed` (a list of regular expressions for file names); folders and CMakeLists.txt pass.
function(strikora_require_names dir allowed what)
    file(GLOB entries RELATIVE ${dir} ${dir}/*)
    foreach(entry IN LISTS entries)
        if(IS_DIRECTORY ${dir}/${entry} OR entry STREQUAL "CMakeLists.txt")
            continue()
        endif()
        set(known FALSE)
        foreach(pattern IN LISTS allowed)
            if(entry MATCHES "${pattern}")
                set(known TRUE)
            endif()
        endforeach()
        if(NOT known)
            message(FATAL_ERROR "${dir}/${entry} is misnamed: a ${what} folder holds only "
                                "files matching ${allowed}.")
        endif()
    endforeach()
endfunction()

# A test folder: its CMakeLists.txt, at least one *_test.cpp, and only *_test.cpp and headers.
function(strikora_check_test_folder dir)
    strikora_require_folder(${dir} "test")
    file(GLOB tests ${dir}/*_test.cpp)
    if(NOT tests)
        message(FATAL_ERROR "The test folder ${dir} holds no *_test.cpp.")
    endif()
    strikora_require_names(${dir} "_test\\.cpp$;\\.h$" "test")
endfunction()
