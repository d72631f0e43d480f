# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DWORK_DIR=... -DVERSION=... -P check_package.cmake
# Builds the Debian package from a copy of the source tree, as a user would with
# dpkg-buildpackage, and checks what it holds; with lintian where it is installed.
cmake_policy(VERSION 3.25)
foreach(var SOURCE_DIR BUILD_DIR WORK_DIR VERSION)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

# A copy, so that the build leaves nothing in the tree and its packages land in
# WORK_DIR (dpkg-buildpackage writes them beside the tree it builds). Build
# folders and version control stay behind.
set(tree "${WORK_DIR}/vesk")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${tree}")
file(REAL_PATH "${BUILD_DIR}" build_dir)
file(GLOB entries RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
foreach(entry IN LISTS entries)
    file(REAL_PATH "${SOURCE_DIR}/${entry}" path)
    if(entry MATCHES "^(\\..*|build.*|obj-.*)$" OR path STREQUAL build_dir)
        continue()
    endif()
    file(COPY "${SOURCE_DIR}/${entry}" DESTINATION "${tree}")
endforeach()

# The suite that runs this check has already run the tests, so the package is
# built without them. ccache, when there, makes a second run cheap.
include(ProcessorCount)
ProcessorCount(jobs)
set(env "DEB_BUILD_OPTIONS=nocheck parallel=${jobs}")
if(EXISTS /usr/lib/ccache/c++)
    list(APPEND env "PATH=/usr/lib/ccache:$ENV{PATH}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${env}
                        dpkg-buildpackage -us -uc -b -Pnocheck
                WORKING_DIRECTORY "${tree}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(WRITE "${WORK_DIR}/build.log" "${out}${err}")
if(NOT result EQUAL 0)
    string(LENGTH "${out}" length)
    math(EXPR from "${length} - 3000")
    if(from LESS 0)
        set(from 0)
    endif()
    string(SUBSTRING "${out}" ${from} -1 tail)
    message(FATAL_ERROR "dpkg-buildpackage failed (${result}), see ${WORK_DIR}/build.log:\n${tail}${err}")
endif()

execute_process(COMMAND dpkg-architecture -qDEB_HOST_ARCH OUTPUT_VARIABLE arch
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(package "${WORK_DIR}/vesk_${VERSION}_${arch}.deb")
set(dbgsym "${WORK_DIR}/vesk-dbgsym_${VERSION}_${arch}.deb")
set(changes "${WORK_DIR}/vesk_${VERSION}_${arch}.changes")
# The names carry debian/changelog's version: one that lags behind the
# project's shows here as missing files.
file(GLOB built RELATIVE "${WORK_DIR}" "${WORK_DIR}/*.deb" "${WORK_DIR}/*.changes")
foreach(file "${package}" "${dbgsym}" "${changes}")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "the package build did not make ${file}; it made: ${built}")
    endif()
endforeach()

set(failures "")
macro(fail text)
    list(APPEND failures "${text}")
endmacro()

execute_process(COMMAND dpkg-deb --field "${package}" Package Version Depends Recommends Description
                OUTPUT_VARIABLE fields RESULT_VARIABLE result)
execute_process(COMMAND dpkg-deb --contents "${package}"
                OUTPUT_VARIABLE contents RESULT_VARIABLE result2)
execute_process(COMMAND dpkg-deb --contents "${dbgsym}"
                OUTPUT_VARIABLE debug_contents RESULT_VARIABLE result3)
if(NOT result EQUAL 0 OR NOT result2 EQUAL 0 OR NOT result3 EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read the packages")
endif()

# The libraries the programs link come from the symbols files; the Qt platform
# plugins and the fonts standing in for the interface's own are loaded by name.
foreach(piece "Package: vesk\n" "Version: ${VERSION}\n" "libqt6widgets6 (>= " "libqt6gui6 (>= "
              "libqt6printsupport6 (>= " "libqt6core6 (>= " "libc6 (>= " "libstdc++6 (>= "
              "qt6-qpa-plugins" "fonts-liberation" "Recommends: qt6-translations-l10n")
    string(FIND "${fields}" "${piece}" at)
    if(at EQUAL -1)
        fail("control fields lack \"${piece}\":\n${fields}")
    endif()
endforeach()

foreach(path "./usr/bin/vesk" "./usr/bin/vesk-run"
             "./usr/share/applications/org.vesk_lang.vesk.desktop"
             "./usr/share/mime/packages/vesk.xml"
             "./usr/share/icons/hicolor/256x256/apps/vesk.png"
             "./usr/share/man/man1/vesk.1.gz" "./usr/share/man/man1/vesk-run.1.gz"
             "./usr/share/metainfo/org.vesk_lang.vesk.metainfo.xml"
             "./usr/share/vesk/examples/hello.veskp"
             "./usr/share/doc/vesk/copyright" "./usr/share/doc/vesk/changelog.gz")
    string(FIND "${contents}" " ${path}\n" at)
    if(at EQUAL -1)
        fail("the package lacks ${path}")
    endif()
endforeach()

# Both programs stripped, each with its debugging information in the -dbgsym
# package under its build id.
file(MAKE_DIRECTORY "${WORK_DIR}/unpacked")
execute_process(COMMAND dpkg-deb -x "${package}" "${WORK_DIR}/unpacked" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot unpack ${package}")
endif()
foreach(program vesk vesk-run)
    execute_process(COMMAND readelf -S -n "${WORK_DIR}/unpacked/usr/bin/${program}"
                    OUTPUT_VARIABLE elf RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        fail("readelf cannot read usr/bin/${program}")
        continue()
    endif()
    if(elf MATCHES "\\.symtab|\\.debug_")
        fail("usr/bin/${program} is not stripped")
    endif()
    if(NOT elf MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
        fail("usr/bin/${program} has no build id")
        continue()
    endif()
    set(debug "./usr/lib/debug/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug")
    string(FIND "${debug_contents}" " ${debug}\n" at)
    if(at EQUAL -1)
        fail("the -dbgsym package lacks ${debug}, the symbols of usr/bin/${program}")
    endif()
endforeach()

# Errors and warnings fail; informational and pedantic tags do not.
find_program(LINTIAN lintian)
if(LINTIAN)
    execute_process(COMMAND "${LINTIAN}" --fail-on error,warning --tag-display-limit 0 "${changes}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR out MATCHES "(^|\n)[EW]: ")
        fail("lintian rejects the package (${result}):\n${out}${err}")
    endif()
else()
    message(STATUS "lintian is not installed: the package is not checked with it")
endif()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "Package check failed:\n  ${text}")
endif()
message(STATUS "Built and checked ${package}")
