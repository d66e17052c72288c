# Delay-loaded system DLLs: loaded at their first call, through the hook in
# src/win/dll_search.cpp, by full path from the system folder, never from beside the program.
#
#   veltrano_link_delay_loaded(<target> <PUBLIC|PRIVATE|INTERFACE> <library>...)
#
# links <target> to the DLL of each import library <library> (winmm for winmm.dll) as a
# delay-loaded one. MSVC does it with /DELAYLOAD and delayimp.lib; with MinGW-w64 dlltool makes
# a delay-import library at configure time from the toolchain's own import library (all of its
# functions, so none of them can slip back into the import table), and libmingwex holds the
# delay-load helper.

# Writes <library>.def from the functions that the import library imports (its __imp_ symbols;
# the 32-bit ones keep their @n, and lose the leading underscore of C names there).
function(veltrano_delay_import_def import_library dll def)
    execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${import_library}
                    OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${CMAKE_NM} could not read ${import_library}")
    endif()
    string(REGEX MATCHALL " I __imp_[^\r\n]+" imports "${symbols}")
    set(text "LIBRARY ${dll}\nEXPORTS\n")
    foreach(import ${imports})
        string(REGEX REPLACE "^ I __imp_" "" name "${import}")
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            string(REGEX REPLACE "^_" "" name "${name}")
        endif()
        string(APPEND text "${name}\n")
    endforeach()
    # Written only when it changes, so a new configuration does not relink everything.
    file(WRITE ${def}.new "${text}")
    configure_file(${def}.new ${def} COPYONLY)
    file(REMOVE ${def}.new)
endfunction()

function(veltrano_link_delay_loaded target scope)
    set(libraries ${ARGN})
    if(MSVC)
        foreach(library ${libraries})
            target_link_options(${target} ${scope} /DELAYLOAD:${library}.dll)
        endforeach()
        target_link_libraries(${target} ${scope} ${libraries} delayimp)
        return()
    endif()
    set(folder ${CMAKE_BINARY_DIR}/delay-load)
    file(MAKE_DIRECTORY ${folder})
    foreach(library ${libraries})
        find_library(VELTRANO_IMPORT_LIBRARY_${library} ${library})
        set(import_library ${VELTRANO_IMPORT_LIBRARY_${library}})
        if(NOT import_library)
            message(FATAL_ERROR "no import library for ${library}")
        endif()
        set(def ${folder}/${library}.def)
        set(delay_library ${folder}/lib${library}-delay.a)
        veltrano_delay_import_def(${import_library} ${library}.dll ${def})
        if(${def} IS_NEWER_THAN ${delay_library})
            set(undecorate)
            if(CMAKE_SIZEOF_VOID_P EQUAL 4)
                # stdcall names are imported without their @n.
                set(undecorate --kill-at)
            endif()
            execute_process(COMMAND ${CMAKE_DLLTOOL} ${undecorate} --input-def ${def}
                                    --dllname ${library}.dll --output-delaylib ${delay_library}
                            RESULT_VARIABLE status)
            if(NOT status EQUAL 0)
                message(FATAL_ERROR "${CMAKE_DLLTOOL} could not make ${delay_library}")
            endif()
        endif()
        target_link_libraries(${target} ${scope} ${delay_library})
    endforeach()
endfunction()
