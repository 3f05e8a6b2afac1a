# Import libraries that load their system DLL at the first call into it, not
# at the program's start. Each DLL in the import table is loaded and
# initialised before the first line of the program runs; the file dialogs
# (comdlg32 with the printer DLLs it pulls in) and the sockets (ws2_32) cost
# the window a noticeable part of its start-up, although most starts never
# use them, and the masked drawing (msimg32) is needed only once a button
# picture is painted. The functions used from such a DLL are listed in
# cmake/delayload/<dll>.def; a function missing there fails the link, so it
# cannot silently bring the DLL back to the start.
#
# add_delay_loaded_import(<name>) defines the imported library target
# <name>_delayed, to be linked instead of <name>.
function(add_delay_loaded_import name)
    set(target ${name}_delayed)
    if(TARGET ${target})
        return()
    endif()
    set(def ${PROJECT_SOURCE_DIR}/cmake/delayload/${name}.def)
    set(archive ${CMAKE_BINARY_DIR}/delayload/lib${name}_delayed.a)
    # dlltool leaves two empty files in the temporary folder each time it
    # runs (the names it reserves for the assembler it starts); it gets a
    # temporary folder of its own, removed when it is done.
    set(scratch ${CMAKE_BINARY_DIR}/delayload/${name}.tmp)
    add_custom_command(
        OUTPUT ${archive}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${scratch}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${scratch}
        COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${scratch}
                ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${name}.dll --output-delaylib ${archive}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${scratch}
        DEPENDS ${def}
        COMMENT "Delay-loaded import library for ${name}.dll"
        VERBATIM)
    add_custom_target(${target}_archive DEPENDS ${archive})
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${archive})
    add_dependencies(${target} ${target}_archive)
endfunction()
