# The Win32 side, cross-built with mingw-w64: the helper that serves the
# modem-pool backend under Wine, and the test doubles of the four modem-pool
# programs. Skipped (with a note) when no mingw-w64 compiler is installed.
find_program(MINGW64_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
find_program(MINGW32_CXX NAMES i686-w64-mingw32-g++-posix i686-w64-mingw32-g++)
set(POOLBRIDGE_WIN32_DIR ${CMAKE_BINARY_DIR}/win32)
set(POOLBRIDGE_WINE_HELPER ${POOLBRIDGE_WIN32_DIR}/poolbridge-wine-helper.exe)

if(NOT MINGW64_CXX)
    message(STATUS "mingw-w64 not found: the Wine helper and the modem-pool doubles are not built")
    return()
endif()

set(win32_flags -std=c++20 -O2 -Wall -Wextra -static -I${CMAKE_SOURCE_DIR}/src)
set(helper_sources
    ${CMAKE_SOURCE_DIR}/src/platform/win32/HelperMain.cpp
    ${CMAKE_SOURCE_DIR}/src/platform/win32/Win32ModemPool.cpp)
add_custom_command(
    OUTPUT ${POOLBRIDGE_WINE_HELPER}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${POOLBRIDGE_WIN32_DIR}
    COMMAND ${MINGW64_CXX} ${win32_flags} -o ${POOLBRIDGE_WINE_HELPER} ${helper_sources}
    DEPENDS ${helper_sources}
        ${CMAKE_SOURCE_DIR}/src/platform/win32/Win32ModemPool.h
        ${CMAKE_SOURCE_DIR}/src/bridge/ModemPoolHost.h
        ${CMAKE_SOURCE_DIR}/src/platform/HexText.h
    COMMENT "Cross-building the Wine helper"
    VERBATIM)

# One double, copied under each program's name (and once in lower case, which
# must not be taken for PowerMMS.exe).
set(sim_source ${CMAKE_SOURCE_DIR}/tools/modem-sim/ModemSim.cpp)
set(doubles_dir ${POOLBRIDGE_WIN32_DIR}/doubles)
set(sim64 ${POOLBRIDGE_WIN32_DIR}/modem-sim64.exe)
add_custom_command(
    OUTPUT ${sim64}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${POOLBRIDGE_WIN32_DIR}
    COMMAND ${MINGW64_CXX} ${win32_flags} -municode -mwindows -o ${sim64} ${sim_source}
        -lcomctl32 -lws2_32
    DEPENDS ${sim_source}
    COMMENT "Cross-building the modem-pool double (64-bit)"
    VERBATIM)
set(double_outputs)
foreach(name "叮叮摩卡" "CoolCard" "新酷卡" "PowerMMS" "powermms")
    set(out ${doubles_dir}/${name}/${name}.exe)
    add_custom_command(
        OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${doubles_dir}/${name}
        COMMAND ${CMAKE_COMMAND} -E copy ${sim64} ${out}
        DEPENDS ${sim64}
        VERBATIM)
    list(APPEND double_outputs ${out})
endforeach()

if(MINGW32_CXX)
    set(sim32 ${doubles_dir}/x86/CoolCard.exe)
    add_custom_command(
        OUTPUT ${sim32}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${doubles_dir}/x86
        COMMAND ${MINGW32_CXX} ${win32_flags} -municode -mwindows -o ${sim32} ${sim_source}
            -lcomctl32 -lws2_32
        DEPENDS ${sim_source}
        COMMENT "Cross-building the modem-pool double (32-bit)"
        VERBATIM)
    list(APPEND double_outputs ${sim32})
endif()

add_custom_target(win32_programs ALL DEPENDS ${POOLBRIDGE_WINE_HELPER} ${double_outputs})
set(POOLBRIDGE_HAVE_WIN32_PROGRAMS ON)
set(POOLBRIDGE_DOUBLES_DIR ${doubles_dir})
