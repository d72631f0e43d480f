# cmake -DBUILD_DIR=... -DPREFIX=... -DEXAMPLES_DIR=... -P check_install.cmake
cmake_policy(VERSION 3.25)
foreach(var BUILD_DIR PREFIX EXAMPLES_DIR VERSION)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result}): ${errors}")
endif()

set(failures "")
macro(fail text)
    list(APPEND failures "${text}")
endmacro()

function(expect_file path)
    if(NOT EXISTS "${PREFIX}/${path}" OR IS_DIRECTORY "${PREFIX}/${path}")
        set(failures "${failures};missing ${path}" PARENT_SCOPE)
    endif()
endfunction()

# Programs, executable.
foreach(program vesk vesk-run)
    expect_file(bin/${program})
    if(EXISTS "${PREFIX}/bin/${program}")
        file(GET_RUNTIME_DEPENDENCIES EXECUTABLES "${PREFIX}/bin/${program}"
             RESOLVED_DEPENDENCIES_VAR ignored UNRESOLVED_DEPENDENCIES_VAR unresolved)
        if(unresolved)
            fail("bin/${program} needs libraries that cannot be found: ${unresolved}")
        endif()
    endif()
endforeach()

# The desktop entry: accepted by the validator and with the keys the desktop needs.
set(desktop "${PREFIX}/share/applications/org.vesk_lang.vesk.desktop")
expect_file(share/applications/org.vesk_lang.vesk.desktop)
if(EXISTS "${desktop}")
    execute_process(COMMAND desktop-file-validate "${desktop}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR NOT out STREQUAL "")
        fail("desktop-file-validate rejects the entry: ${out}${err}")
    endif()
    file(STRINGS "${desktop}" lines ENCODING UTF-8)
    foreach(key "Name=Vesk" "Exec=vesk %f" "Icon=vesk" "Type=Application"
                "Categories=Development;IDE;" "MimeType=application/x-vesk-project;")
        if(NOT key IN_LIST lines)
            fail("the desktop entry lacks \"${key}\"")
        endif()
    endforeach()
    foreach(key "Name\\[ru\\]=" "Comment=" "Comment\\[ru\\]=")
        set(russian "")
        foreach(line IN LISTS lines)
            if(line MATCHES "^${key}(.*(а|е|и|о|р|с|т|П|С).*)$")
                set(russian "${CMAKE_MATCH_1}")
            endif()
        endforeach()
        if(russian STREQUAL "")
            fail("the desktop entry lacks a Russian ${key}")
        endif()
    endforeach()
endif()

# The AppStream metadata: named after the desktop entry, valid to the pedantic
# validator, in English and Russian, with what it provides.
set(metainfo "${PREFIX}/share/metainfo/org.vesk_lang.vesk.metainfo.xml")
expect_file(share/metainfo/org.vesk_lang.vesk.metainfo.xml)
if(EXISTS "${metainfo}")
    execute_process(COMMAND appstreamcli validate --no-net --pedantic --no-color "${metainfo}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR out MATCHES "(^|\n)[EWIP]: ")
        fail("appstreamcli rejects the metainfo (${result}): ${out}${err}")
    endif()
    # The whole tree too: the metainfo, its desktop entry and icon, seen together.
    get_filename_component(root "${PREFIX}" DIRECTORY)
    execute_process(COMMAND appstreamcli validate-tree --no-net --pedantic --no-color "${root}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT PREFIX MATCHES "/usr$" OR NOT result EQUAL 0 OR out MATCHES "(^|\n) *[EWIP]: ")
        fail("appstreamcli validate-tree rejects the install (${result}): ${out}${err}")
    endif()
    file(READ "${metainfo}" xml)
    foreach(piece "<id>org.vesk_lang.vesk</id>"
                  "<launchable type=\"desktop-id\">org.vesk_lang.vesk.desktop</launchable>"
                  "<summary xml:lang=\"ru\">" "<p xml:lang=\"ru\">" "<project_license>MIT</project_license>"
                  "<binary>vesk</binary>" "<binary>vesk-run</binary>"
                  "<mediatype>application/x-vesk-project</mediatype>"
                  "<category>Development</category>" "<release version=\"${VERSION}\"")
        string(FIND "${xml}" "${piece}" at)
        if(at EQUAL -1)
            fail("the metainfo lacks ${piece}")
        endif()
    endforeach()
endif()

# The mime type: well-formed XML mapping *.veskp to the project type.
set(mime "${PREFIX}/share/mime/packages/vesk.xml")
expect_file(share/mime/packages/vesk.xml)
if(EXISTS "${mime}")
    find_program(XMLLINT xmllint)
    if(XMLLINT)
        execute_process(COMMAND "${XMLLINT}" --noout "${mime}"
                        RESULT_VARIABLE result ERROR_VARIABLE err)
        if(NOT result EQUAL 0)
            fail("the mime XML is not well-formed: ${err}")
        endif()
    endif()
    file(READ "${mime}" xml)
    foreach(piece "<mime-type type=\"application/x-vesk-project\">"
                  "<glob pattern=\"*.veskp\"/>" "<comment xml:lang=\"ru\">Проект Vesk</comment>")
        string(FIND "${xml}" "${piece}" at)
        if(at EQUAL -1)
            fail("the mime XML lacks ${piece}")
        endif()
    endforeach()
endif()

# Icons: one per size, and each PNG really of that size.
foreach(size 16 32 48 64 128 256)
    set(icon share/icons/hicolor/${size}x${size}/apps/vesk.png)
    expect_file(${icon})
    if(EXISTS "${PREFIX}/${icon}")
        file(READ "${PREFIX}/${icon}" header LIMIT 24 HEX)
        string(SUBSTRING "${header}" 0 16 signature)
        string(SUBSTRING "${header}" 32 8 width)
        string(SUBSTRING "${header}" 40 8 height)
        math(EXPR expected "${size}" OUTPUT_FORMAT HEXADECIMAL)
        math(EXPR width "0x${width}")
        math(EXPR height "0x${height}")
        if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size
           OR NOT height EQUAL size)
            fail("${icon} is not a ${size}x${size} PNG")
        endif()
    endif()
endforeach()

# Manual pages: warning-free roff that man shows cleanly in any locale, with
# the version, the sections a user looks for and every option --help names.
foreach(program vesk vesk-run)
    set(page "${PREFIX}/share/man/man1/${program}.1")
    expect_file(share/man/man1/${program}.1)
    if(NOT EXISTS "${page}")
        continue()
    endif()
    execute_process(COMMAND groff -ww -z -Tutf8 -man "${page}"
                    RESULT_VARIABLE result ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR NOT err STREQUAL "")
        fail("groff warns about ${program}.1: ${err}")
    endif()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C MANWIDTH=80 man -l "${page}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE shown ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR NOT err STREQUAL "")
        fail("man -l ${program}.1 is not clean (${result}): ${err}")
    endif()
    foreach(piece "\nNAME\n       ${program} - " "\nSYNOPSIS\n" "\nOPTIONS\n" "\nEXIT STATUS\n"
                  "\nFILE FORMAT\n" "\nLIMITS\n" "256 MiB" "${program} ${VERSION}")
        string(FIND "${shown}" "${piece}" at)
        if(at EQUAL -1)
            fail("man ${program} lacks \"${piece}\"")
        endif()
    endforeach()
    execute_process(COMMAND "${PREFIX}/bin/${program}" --help
                    RESULT_VARIABLE result OUTPUT_VARIABLE help)
    string(REGEX MATCHALL "[ ,]--?[a-z][-a-z]*" options "${help}")
    if(NOT result EQUAL 0 OR NOT options)
        fail("${program} --help printed no options (${result}): ${help}")
    endif()
    foreach(option IN LISTS options)
        string(SUBSTRING "${option}" 1 -1 option)
        string(FIND "${shown}" "${option}" at)
        if(at EQUAL -1)
            fail("man ${program} does not describe ${option}")
        endif()
    endforeach()
endforeach()

# Every example project, and nothing else from the examples folder.
file(GLOB examples RELATIVE "${EXAMPLES_DIR}" "${EXAMPLES_DIR}/*.veskp")
foreach(example IN LISTS examples)
    expect_file(share/vesk/examples/${example})
endforeach()
file(GLOB installed RELATIVE "${PREFIX}/share/vesk/examples" "${PREFIX}/share/vesk/examples/*")
foreach(file IN LISTS installed)
    if(NOT file MATCHES "\\.veskp$")
        fail("share/vesk/examples/${file} is not a project file")
    endif()
endforeach()

list(FILTER failures EXCLUDE REGEX "^$")
if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "Install check failed:\n  ${text}")
endif()
message(STATUS "Installed into ${PREFIX}: all files present")
