# SPDX-License-Identifier: GPL-3.0-or-later
# The build's half of the layer rules: with the include directories of each
# folder's library, exactly the folders of its row in src/layers.txt (and its
# own) can be included. For every row, a probe compiled with that library's
# include directories asks __has_include for one header of every folder of
# src/, the same search an #include makes.
#
#   cmake -DCXX=<compiler> -DSOURCE_DIR=<checkout> -DWORK_DIR=<scratch folder>
#         -DROOTS_<row>=<include directories> ... -P includeroots.cmake
# <row> is the table's folder as a C identifier (tools_loggersim); a row without
# ROOTS_ has no library, which only a row that may include anything may lack.
cmake_minimum_required(VERSION 3.18)

file(GLOB entries LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*)
set(folders)
foreach(entry IN LISTS entries)
    file(GLOB headers RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/${entry}/*.h)
    if(headers)
        list(GET headers 0 header_${entry})
        list(APPEND folders ${entry})
    endif()
endforeach()

file(STRINGS ${SOURCE_DIR}/src/layers.txt lines)
file(MAKE_DIRECTORY ${WORK_DIR})
set(problems)
foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
        continue()
    endif()
    string(REGEX REPLACE " +" ";" words "${line}")
    list(GET words 0 row)
    # The Qt modules close the row: capitalised words or "*" from the end on.
    list(LENGTH words qt_start)
    while(qt_start GREATER 2)
        math(EXPR i "${qt_start} - 1")
        list(GET words ${i} word)
        if(NOT word MATCHES "^([A-Z]|\\*$)")
            break()
        endif()
        set(qt_start ${i})
    endwhile()
    math(EXPR may_count "${qt_start} - 1")
    list(SUBLIST words 1 ${may_count} may)
    string(MAKE_C_IDENTIFIER "${row}" key)
    if(NOT DEFINED ROOTS_${key})
        if(NOT "*" IN_LIST may)
            list(APPEND problems "${row}: no library to check")
        endif()
        continue()
    endif()

    set(probe "")
    foreach(folder IN LISTS folders)
        set(header ${header_${folder}})
        if(folder STREQUAL row OR folder IN_LIST may)
            string(APPEND probe "#if !__has_include(\"${header}\")\n"
                                "#error layer rule: ${row} does not find ${header}, which its row allows\n#endif\n")
        elseif(NOT "*" IN_LIST may)
            string(APPEND probe "#if __has_include(\"${header}\")\n"
                                "#error layer rule: ${row} finds ${header}, which its row forbids\n#endif\n")
        endif()
    endforeach()
    set(source ${WORK_DIR}/${key}.cpp)
    file(WRITE ${source} "${probe}")
    set(flags)
    foreach(dir IN LISTS ROOTS_${key})
        list(APPEND flags -I${dir})
    endforeach()
    execute_process(COMMAND ${CXX} -std=c++17 -fsyntax-only ${flags} ${source}
                    RESULT_VARIABLE failed ERROR_VARIABLE output)
    if(failed)
        string(REGEX MATCHALL "layer rule: [^\n]*" errors "${output}")
        string(REPLACE "layer rule: " "" errors "${errors}")
        # The compiler may echo the line after the message.
        list(REMOVE_DUPLICATES errors)
        if(NOT errors)
            set(errors "${row}: the probe does not compile: ${output}")
        endif()
        list(APPEND problems ${errors})
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n" text)
    message(FATAL_ERROR "${text}")
endif()
