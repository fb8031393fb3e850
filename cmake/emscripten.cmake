# The browser build: Debian's Emscripten (emcc, its own clang and libc++, its prebuilt system
# libraries). Its link step runs JavaScript tools that need Debian's node modules on NODE_PATH.
set(SKIMLARK_EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "Where Emscripten is installed")
set(EMSCRIPTEN_ROOT_PATH ${SKIMLARK_EMSCRIPTEN_ROOT})
include(${SKIMLARK_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
