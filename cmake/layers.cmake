# The program is built in layers, each a library of its own:
#
#   core  <-  win  <-  controls  <-  render, sound, ui  <-  dialogs  <-  app
#   core  <-  clock  <-  sound, ui, dialogs, app
#
# A layer includes its headers as "folder/name.h" from a view of the source tree made for it: a
# folder of links to its own folder and to those of the layers below. An include that reaches up
# or sideways names a folder the view does not hold, and does not compile.
#
#   veltrano_layer_view(<target> <folder>...)

function(veltrano_layer_view target)
    set(view ${CMAKE_BINARY_DIR}/layer-views/${target})
    file(MAKE_DIRECTORY ${view})
    foreach(folder ${ARGN})
        if(NOT EXISTS ${view}/${folder})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${view}/${folder}
                 RESULT linked SYMBOLIC)
            if(NOT linked EQUAL 0)
                # A file system without links (Windows without the right to make them): the layer
                # still builds, from the whole tree, and only the other builds keep it honest.
                message(STATUS "no link for ${target}'s view of ${folder}: ${linked}")
                target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
                return()
            endif()
        endif()
    endforeach()
    target_include_directories(${target} PUBLIC ${view})
endfunction()
