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

# The layer arrows: a source folder, then the folders it includes directly. Whatever a path of
# arrows reaches may be included too (ui may include Engine); a folder includes itself freely.
set(STRIKORA_LAYER_ARROWS
    "app         -> ui"
    "ui          -> service live players grid/widget qt_text"
    "service     -> players qt_text"
    "players     -> Engine"
    "live        -> Engine"
    "grid/widget -> grid/core qt_text"
    "grid/core   -> Engine"
    "qt_text     -> Engine"
    "Engine      ->")
# The Qt modules a folder may include; a folder not named here includes no Qt header at all.
set(STRIKORA_LAYER_QT
    "app         -> QtCore QtGui QtWidgets"
    "ui          -> QtCore QtGui QtWidgets QtMultimedia"
    "grid/widget -> QtCore QtGui QtWidgets"
    "service     -> QtCore QtNetwork"
    "qt_text     -> QtCore")

# Reads "folder -> a b c" lines into <prefix>_<folder> lists; `out` gets the folders.
function(strikora_read_arrows table prefix out)
    set(folders "")
    foreach(entry IN LISTS table)
        if(NOT entry MATCHES "^([^ ]+) +->(.*)$")
            message(FATAL_ERROR "The layer table entry \"${entry}\" is not \"folder -> folders\".")
        endif()
        set(folder ${CMAKE_MATCH_1})
        string(REGEX MATCHALL "[^ ]+" targets "${CMAKE_MATCH_2}")
        list(APPEND folders ${folder})
        set(${prefix}_${folder} ${targets} PARENT_SCOPE)
    endforeach()
    set(${out} ${folders} PARENT_SCOPE)
endfunction()

# `out` gets `folder` and every folder a path of arrows leads to from it.
function(strikora_reachable folder out)
    set(reached ${folder})
    set(queue ${folder})
    while(queue)
        list(POP_FRONT queue current)
        foreach(next IN LISTS arrow_${current})
            if(NOT next IN_LIST reached)
                list(APPEND reached ${next})
                list(APPEND queue ${next})
            endif()
        endforeach()
    endwhile()
    set(${out} ${reached} PARENT_SCOPE)
endfunction()

# The source folder a header path such as "grid/core/cell.h" lies in, or "" for none; the
# longest folder that fits wins, so grid/core is not taken for a folder grid.
function(strikora_folder_of path folders out)
    set(found "")
    foreach(folder IN LISTS folders)
        string(FIND "${path}" "${folder}/" at)
        string(LENGTH "${folder}" length)
        string(LENGTH "${found}" longest)
        if(at EQUAL 0 AND length GREATER longest)
            set(found ${folder})
        endif()
    endforeach()
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

# Why the Qt header `name` may not be included by `folder`, or "" when it may.
function(strikora_qt_fault folder name qt_headers out)
    set(${out} "" PARENT_SCOPE)
    set(allowed ${qt_${folder}})
    if(NOT allowed)
        set(${out} "${folder} is toolkit-free and includes no Qt header" PARENT_SCOPE)
        return()
    endif()
    if(name MATCHES "^(Qt[A-Za-z]*)/")
        set(modules ${CMAKE_MATCH_1})
    else()
        file(GLOB modules RELATIVE ${qt_headers} ${qt_headers}/Qt*/${name})
        list(TRANSFORM modules REPLACE "/.*" "")
    endif()
    if(NOT modules)
        set(${out} "${name} is in no Qt module below ${qt_headers}" PARENT_SCOPE)
        return()
    endif()
    foreach(module IN LISTS modules)
        if(module IN_LIST allowed)
            return()
        endif()
    endforeach()
    list(JOIN modules "/" modules)
    list(JOIN allowed ", " allowed)
    set(${out} "${folder} may not include ${modules}, only ${allowed}" PARENT_SCOPE)
endfunction()

# Stops naming every #include under `src` that goes against the layer arrows or the Qt modules
# of its folder; a folder with sources that the table does not name stops it too. `qt_headers`
# is Qt's include folder (QtCore/, QtWidgets/, ... below it).
function(strikora_check_layers src qt_headers)
    strikora_read_arrows("${STRIKORA_LAYER_ARROWS}" arrow folders)
    strikora_read_arrows("${STRIKORA_LAYER_QT}" qt ignored)
    file(GLOB_RECURSE files RELATIVE ${src} ${src}/*.cpp ${src}/*.h ${src}/*.h.in)
    set(faults "")
    foreach(file IN LISTS files)
        get_filename_component(folder ${file} DIRECTORY)
        if(NOT folder IN_LIST folders)
            list(APPEND faults "${src}/${file}: the folder ${folder} is in no layer")
            continue()
        endif()
        strikora_reachable(${folder} allowed)
        # One list entry a line: characters that CMake lists treat specially go first.
        file(READ ${src}/${file} text)
        string(REGEX REPLACE "[][;\\\\]" "_" text "${text}")
        string(REPLACE "\n" ";" lines "${text}")
        set(number 0)
        foreach(line IN LISTS lines)
            math(EXPR number "${number} + 1")
            if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*(([<\"])([^>\"]*)[>\"])")
                continue()
            endif()
            set(where "${src}/${file}:${number}: #include ${CMAKE_MATCH_1}")
            set(bracket ${CMAKE_MATCH_2})
            set(header ${CMAKE_MATCH_3})
            if(bracket STREQUAL "<" AND header MATCHES "^Q")
                strikora_qt_fault(${folder} ${header} ${qt_headers} fault)
            else()
                strikora_folder_of(${header} "${folders}" to)
                if(to AND NOT to IN_LIST allowed)
                    set(fault "${folder} -> ${to} is no layer arrow")
                elseif(NOT to AND bracket STREQUAL "\"" AND header MATCHES "/")
                    set(fault "names no source folder")
                else()
                    set(fault "")
                endif()
            endif()
            if(fault)
                list(APPEND faults "${where}: ${fault}")
            endif()
        endforeach()
    endforeach()
    if(faults)
        list(JOIN faults "\n" faults)
        message(FATAL_ERROR "Includes against the layers:\n${faults}")
    endif()
endfunction()
