# A build for the players' packages (SKIMLARK_PACKAGE_BUILD, set by scripts/package-linux and
# scripts/package-windows): anyone who builds the same commit gets the same bytes, and the
# programs' symbols go to files of their own beside them.
#
# Same bytes: the file names that debug information and __FILE__ carry are taken relative to the
# source folder, so the folder the build ran in leaves no trace; the link and strip steps of the
# Windows build stamp the PE header with SOURCE_DATE_EPOCH (Debian's mingw-w64 binutils read it)
# rather than the time of day. The packers read it too, so the scripts export it; it is kept here
# as configured so that a later `cmake --build` stamps the same time.
option(SKIMLARK_PACKAGE_BUILD
    "Build for the packages: reproducible binaries with their symbols split off into .debug files"
    OFF)
if(NOT SKIMLARK_PACKAGE_BUILD)
    function(skimlark_separate_symbols target)
    endfunction()
    return()
endif()

if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} OR NOT "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SKIMLARK_PACKAGE_BUILD takes its time stamps from SOURCE_DATE_EPOCH, "
                        "which is \"$ENV{SOURCE_DATE_EPOCH}\", not seconds since 1970 "
                        "(scripts/source-date-epoch prints the last commit's)")
endif()
set(SKIMLARK_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
# The packages hold only the game, its data and icons, which the scripts build by name: packing
# does not build the tools as well.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(SKIMLARK_WITH_EPOCH ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${SKIMLARK_SOURCE_DATE_EPOCH})

# Debug information for the symbol files, at the release's optimisation.
add_compile_options(-g)
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
cmake_path(IS_PREFIX CMAKE_SOURCE_DIR ${CMAKE_BINARY_DIR} buildInsideSource)
if(NOT buildInsideSource)
    # Only a build folder outside the sources needs its own name: GCC would take either mapping
    # for a file inside both.
    add_compile_options(-ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
endif()
set(CMAKE_C_LINKER_LAUNCHER ${SKIMLARK_WITH_EPOCH})
set(CMAKE_CXX_LINKER_LAUNCHER ${SKIMLARK_WITH_EPOCH})

if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "SKIMLARK_PACKAGE_BUILD needs objcopy to split off the symbols")
endif()

# After each link the program's debug information moves to TARGET.debug (skimlark.debug,
# skimlark.exe.debug) beside it, and the program keeps only a .gnu_debuglink naming that file with
# its checksum: gdb, given the file beside the program, finds it. The program itself is stripped
# of its debug sections and symbol table, as players get it.
function(skimlark_separate_symbols target)
    set(program $<TARGET_FILE:${target}>)
    set(symbols $<TARGET_FILE:${target}>.debug)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${SKIMLARK_WITH_EPOCH} ${CMAKE_OBJCOPY} --only-keep-debug ${program} ${symbols}
        COMMAND ${SKIMLARK_WITH_EPOCH} ${CMAKE_OBJCOPY} --strip-all
                --add-gnu-debuglink=${symbols} ${program}
        COMMENT "Moving ${target}'s symbols to a .debug file beside it"
        VERBATIM)
endfunction()
